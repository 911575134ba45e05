// The build from the window, end to end: real parts, a real child process, real mounts where the
// machine allows them. What the user is shown, and the files on disk afterwards.

#include "support/ModalBoxWatcher.h"
#include "support/Processes.h"
#include "support/TempDir.h"
#include "support/WindowDriver.h"
#include "ui/ProgressWindow.h"

#include <QApplication>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QScopeGuard>
#include <QTest>
#include <csignal>
#include <filesystem>
#include <map>
#include <sys/mount.h>

using namespace partwright;
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMiB = std::size_t{1024} * 1024;

// A box's title, icon, buttons and default button, before its text.
QString Look(const QString& title, int icon, int buttons, int preferred)
{
    return title +
           QString::asprintf(" [icon %d, buttons %#x, default %#x] ", icon, buttons, preferred);
}

const QString kError = Look("Error...", QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok);
const QString kNote = Look("Info...", QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok);
const QString kQuestion =
    Look("Question...", QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
const QString kCannot = kError + "Cannot built ISO.\n\n";
const QString kReplace = kQuestion + "'%1/%2' already exists.\n\nDo you want to replace it?";

} // namespace

class tst_Build : public QObject {
    Q_OBJECT

    static QString Q(const std::string& text) { return QString::fromStdString(text); }

    test::TempDir big_; // two sparse parts of 512 MiB: joins that run long enough to interrupt
    std::vector<std::string> bigParts_{big_.file("BIG.001"), big_.file("BIG.002")};

    // Every file (path: content) and folder (path: "/") below the folder.
    static std::map<std::string, std::string> Snapshot(const test::TempDir& dir)
    {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::recursive_directory_iterator(dir.path()))
            files[e.path().string()] = e.is_directory() ? "/" : test::ReadFile(e.path().string());
        return files;
    }
    // The boxes shown so far, apart by "|".
    static QString Shown(const test::ModalBoxWatcher& boxes)
    {
        QStringList shown;
        for (const test::SeenBox& box : boxes.seen())
            shown << Look(box.title, box.icon, box.buttons.toInt(), box.defaultButton) + box.text;
        return shown.join('|');
    }
    // Stops the joining child once it has written enough for the bar to move (16 of 1,024 MiB)
    // into the folder's temporary image, and returns it; SIGCONT lets it go on.
    std::vector<pid_t> HoldJoin(const test::TempDir& dir) const
    {
        const auto written = [&] {
            for (const auto& e : fs::directory_iterator(dir.path()))
                if (e.path().filename().string().starts_with(".partwright-") &&
                    e.file_size() >= 16 * kMiB)
                    return true;
            return false;
        };
        std::vector<pid_t> cats;
        for (int attempt = 0; attempt < 10000 && (cats.empty() || !written()); ++attempt) {
            for (pid_t cat : cats)
                kill(cat, SIGCONT);
            QTest::qSleep(1);
            cats = test::ProcessesMentioning(bigParts_.front());
            for (pid_t cat : cats)
                kill(cat, SIGSTOP);
        }
        return cats;
    }
    // Building, with the controls off and the hourglass up; or idle, with none of it.
    static bool Busy(test::WindowDriver& driver, bool busy)
    {
        const QCursor* pointer = QApplication::overrideCursor();
        return driver.window().isBuilding() == busy && driver.list()->isEnabled() != busy &&
               (pointer && pointer->shape() == Qt::WaitCursor) == busy && (busy || !pointer);
    }

private slots:
    void initTestCase()
    {
        for (const auto& part : bigParts_) {
            test::WriteFile(part, "");
            fs::resize_file(part, 512 * kMiB);
        }
    }
    void cleanup() { QVERIFY(test::ProcessesMentioning(big_.path().string()).empty()); }

    // A destination in a folder mounted read-only: the error box, and everything as it was.
    void aFolderThatCannotBeWritten()
    {
        test::TempDir dir;
        const std::string part = dir.file("A.001"), folder = dir.file("ro");
        test::WriteFile(part, std::string(kMiB, 'a'));
        fs::create_directory(folder);
        // Root writes everywhere, so a read-only folder takes a read-only bind mount.
        const auto unmount = qScopeGuard([&] { umount2(folder.c_str(), MNT_DETACH); });
        if (mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
            mount(nullptr, folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            QSKIP("this machine does not let the test mount a file system");
        const auto files = Snapshot(dir);
        test::WindowDriver driver;
        test::ModalBoxWatcher watcher;
        QPushButton* build = driver.button("cmdBuild");
        build->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), build);

        driver.setEntries({part});
        driver.destination()->setText(Q(folder + "/OUT.ISO"));
        driver.click("cmdBuild");
        QTRY_COMPARE(Shown(watcher), kCannot + "The image cannot be written in '" + Q(folder) +
                                         "':\nRead-only file system (error 30).");
        QCOMPARE(watcher.seen().back().windowsBehind, 1); // no progress window behind the report
        QVERIFY(Busy(driver, false));
        QTRY_COMPARE(driver.window().focusWidget(), build); // the keyboard is back where it was
        QCOMPARE(driver.entryTexts(), std::vector<std::string>{part});
        QVERIFY(Snapshot(dir) == files); // the part as it was, no stray file
    }

    // A long join interrupted: by Cancel, by someone killing the child, by closing the window.
    void interruptedBuild_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("boxes");                          // apart by "|"; %1: the folder
        const QString replace = kReplace.arg("%1", "BIG.ISO") + "|"; // an old image is there
        const QString close = kQuestion + "An image is being built.\n\n"
                                          "Do you want to cancel the build and close Partwright?";
        const QString cancelled = kNote + "The build was cancelled.\n\n";
        QTest::newRow("cancel keeps the old image")
            << "cancel" << replace + cancelled + "'%1/BIG.ISO' has not been changed.";
        QTest::newRow("killed child keeps the old image")
            << "kill" << replace + kCannot + "The join was ended from outside (signal 9).";
        QTest::newRow("close, Yes: cancels, closes") << "close" << close;
    }
    void interruptedBuild()
    {
        QFETCH(QString, action);
        QFETCH(QString, boxes);
        test::TempDir dir;
        const std::string image = dir.file("BIG.ISO");
        boxes.replace("%1", Q(dir.path().string()));
        const bool old = boxes.contains("already exists"), closes = action == "close";
        test::WindowDriver driver;
        test::ModalBoxWatcher watcher;
        if (old) {
            test::WriteFile(image, "old image");
            watcher.answerNext(QMessageBox::Yes);
        }

        driver.setEntries(bigParts_);
        driver.destination()->setText(Q(image));
        driver.click("cmdBuild");
        // The join is held part-way, however fast the machine copies; the bar moves, the total
        // shows, while the window goes on painting.
        const std::vector<pid_t> cats = HoldJoin(dir);
        QPointer<ProgressWindow> progress = driver.window().findChild<ProgressWindow*>();
        QVERIFY(progress && !QApplication::activeModalWidget()); // Read Help stays usable
        QVERIFY(Busy(driver, true));
        QTRY_VERIFY_WITH_TIMEOUT(progress && progress->findChild<QProgressBar*>()->value() > 0,
                                 30000);
        QVERIFY(progress->findChild<QLabel*>("lblFigures")->text().contains(" of 1.00 GiB"));
        int above = -1; // its lines one below the other: what runs, the bar, the figures, Cancel
        for (const char* name : {"lblAction", "barProgress", "lblFigures", "cmdCancel"}) {
            const QRect place = progress->findChild<QWidget*>(name)->geometry();
            QVERIFY2(place.top() > above, name);
            above = place.bottom();
        }
        QMimeData dropped; // parts dragged onto the window are not taken while it builds
        dropped.setUrls({QUrl::fromLocalFile(Q(bigParts_[0]))});
        QDragEnterEvent enter({1, 1}, Qt::CopyAction, &dropped, Qt::LeftButton, {});
        QApplication::sendEvent(&driver.window(), &enter);
        QVERIFY(!enter.isAccepted());
        if (action == "kill") {
            for (pid_t cat : test::ProcessesMentioning(bigParts_.front()))
                kill(cat, SIGKILL);
        } else if (action == "cancel") {
            QTest::mouseClick(progress->findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
        } else {
            watcher.answerNext(QMessageBox::Yes);
            driver.window().close();
        }
        for (pid_t cat : cats)
            kill(cat, SIGCONT);
        QTRY_COMPARE_WITH_TIMEOUT(Shown(watcher), boxes, 60000);
        QCOMPARE(watcher.seen().back().windowsBehind,
                 closes ? 2 : 1); // progress gone by the report
        QTRY_COMPARE_WITH_TIMEOUT(driver.window().isVisible(), !closes, 30000);
        QVERIFY(Busy(driver, false));
        QCOMPARE(Q(test::ReadFile(image)), old ? "old image" : "");
        QCOMPARE(std::distance(fs::directory_iterator(dir.path()), {}), old ? 1 : 0);
    }
};

QTEST_MAIN(tst_Build)
#include "tst_Build.moc"
