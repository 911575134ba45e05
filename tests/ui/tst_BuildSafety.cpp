// A build never loses a file: refusals before anything runs, questions, cancel, a killed child,
// progress while the join runs. Real files, real mounts where the machine allows them.

#include "support/ModalBoxWatcher.h"
#include "support/Processes.h"
#include "support/TempDir.h"
#include "support/WindowDriver.h"
#include "ui/ProgressWindow.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <sys/mount.h>
#include <unistd.h>

using namespace partwright;
using namespace std::string_literals;
using partwright::test::ModalBoxWatcher;
using partwright::test::TempDir;
using partwright::test::WindowDriver;
namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kMiB = 1024ULL * 1024;

// A part of the given size with a pattern that differs from part to part.
void WritePart(const std::string& path, std::uint64_t size, char seed)
{
    std::string block(kMiB, '\0');
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>(seed + i * 7);
    FILE* file = std::fopen(path.c_str(), "wb");
    for (std::uint64_t written = 0; written < size; written += block.size())
        std::fwrite(block.data(), 1, std::min<std::uint64_t>(block.size(), size - written), file);
    std::fclose(file);
}

std::size_t FilesIn(const fs::path& folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

// A file system mounted for one test; unmounted again when the test is over.
class Mount {
public:
    Mount(const char* source, const std::string& target, const char* type, unsigned long flags,
          const char* options)
        : target_(target)
    {
        mounted_ = mount(source, target.c_str(), type, flags, options) == 0;
        error_ = mounted_ ? std::string() : std::string(std::strerror(errno));
    }
    // Takes over a mount made by a mount command.
    explicit Mount(std::string target) : target_(std::move(target)), mounted_(true) {}
    ~Mount()
    {
        if (mounted_)
            umount2(target_.c_str(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    const std::string& error() const { return error_; }

private:
    std::string target_;
    bool mounted_ = false;
    std::string error_;
};

} // namespace

class tst_BuildSafety : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void replacingAnExistingImageAsksFirst();
    void destinationThatIsAPartIsRefused_data();
    void destinationThatIsAPartIsRefused();
    void partThatIsAFolderIsRefused();
    void destinationThatCannotBeWrittenIsRefused_data();
    void destinationThatCannotBeWrittenIsRefused();
    void readOnlyDestinationFolder();
    void fullFileSystem();
    void fatFileSystemLimit();
    void progressReachesTheTotalWhileTheWindowPaints();
    void cancelInTheMiddleKeepsTheOldImage();
    void killedChildKeepsTheOldImage();
    void closingDuringABuildAsks_data();
    void closingDuringABuildAsks();

private:
    void startBigBuild(const std::string& destination);
    void waitForProgress();
    ProgressWindow* progressWindow() const;

    TempDir bigParts_; // two parts of 512 MiB, shared by the long joins
    std::vector<std::string> big_;
    std::unique_ptr<TempDir> dir_;
    std::unique_ptr<WindowDriver> driver_;
    std::unique_ptr<ModalBoxWatcher> boxes_;
};

void tst_BuildSafety::initTestCase()
{
    for (char seed : {'a', 'b'}) {
        big_.push_back(bigParts_.file("BIG.00"s + char('1' + (seed - 'a'))));
        WritePart(big_.back(), 512 * kMiB, seed);
    }
}

void tst_BuildSafety::init()
{
    dir_ = std::make_unique<TempDir>();
    driver_ = std::make_unique<WindowDriver>();
    boxes_ = std::make_unique<ModalBoxWatcher>();
}

void tst_BuildSafety::cleanup()
{
    boxes_.reset();
    driver_.reset();
    dir_.reset();
    QVERIFY(test::ProcessesMentioning(bigParts_.path().string()).empty());
}

ProgressWindow* tst_BuildSafety::progressWindow() const
{
    return driver_->window().findChild<ProgressWindow*>();
}

void tst_BuildSafety::startBigBuild(const std::string& destination)
{
    driver_->setEntries(big_);
    driver_->destination()->setText(Q(destination));
    driver_->click("cmdBuild");
    QVERIFY(driver_->window().isBuilding());
    QVERIFY(progressWindow() && progressWindow()->isVisible());
}

void tst_BuildSafety::waitForProgress()
{
    auto* bar = progressWindow()->findChild<QProgressBar*>();
    QTRY_VERIFY_WITH_TIMEOUT(bar->value() > 0, 30000);
}

void tst_BuildSafety::replacingAnExistingImageAsksFirst()
{
    test::WriteFile(dir_->file("a.001"), "new ");
    test::WriteFile(dir_->file("a.002"), "one");
    test::WriteFile(dir_->file("OUT.ISO"), "old image");
    driver_->setEntries({dir_->file("a.001"), dir_->file("a.002")});
    driver_->destination()->setText(Q(dir_->file("OUT.ISO")));

    boxes_->answerNext(QMessageBox::No);
    driver_->click("cmdBuild");
    QTRY_COMPARE(boxes_->seen().size(), 1);
    const auto question = boxes_->seen()[0];
    QCOMPARE(question.title, QStringLiteral("Question..."));
    QCOMPARE(question.text,
             Q("'" + dir_->file("OUT.ISO") + "' already exists.\n\nDo you want to replace it?"));
    QCOMPARE(question.icon, QMessageBox::Question);
    QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(question.defaultButton, QMessageBox::No);
    QTest::qWait(50);
    QCOMPARE(boxes_->seen().size(), 1); // "No" ends the build without a further report
    QVERIFY(!driver_->window().isBuilding());
    QVERIFY(driver_->button("cmdBuild")->isEnabled());
    QCOMPARE(test::ReadFile(dir_->file("OUT.ISO")), "old image"s);
    QCOMPARE(FilesIn(dir_->path()), 3u);

    boxes_->answerNext(QMessageBox::Yes);
    driver_->click("cmdBuild");
    QTRY_COMPARE(boxes_->seen().size(), 3);
    QCOMPARE(boxes_->seen()[2].text, QStringLiteral("ISO built succesfully."));
    QCOMPARE(test::ReadFile(dir_->file("OUT.ISO")), "new one"s);
    QCOMPARE(FilesIn(dir_->path()), 3u);
}

void tst_BuildSafety::destinationThatIsAPartIsRefused_data()
{
    QTest::addColumn<QString>("spelling"); // how the destination names part a.002

    QTest::newRow("same path") << "%1/a.002";
    QTest::newRow("another spelling") << "%1/./sub/../a.002";
    QTest::newRow("relative path") << "a.002";
    QTest::newRow("surrounded by blanks") << "  %1/a.002  ";
    QTest::newRow("symbolic link") << "%1/link.iso";
    QTest::newRow("hard link") << "%1/hard.iso";
}

void tst_BuildSafety::destinationThatIsAPartIsRefused()
{
    QFETCH(QString, spelling);
    const QString folder = Q(dir_->path().string());
    test::WriteFile(dir_->file("a.001"), "one");
    test::WriteFile(dir_->file("a.002"), "two");
    fs::create_directory(dir_->file("sub"));
    fs::create_symlink(dir_->file("a.002"), dir_->file("link.iso"));
    fs::create_hard_link(dir_->file("a.002"), dir_->file("hard.iso"));
    const auto startFolder = fs::current_path();
    fs::current_path(dir_->path());

    driver_->setEntries({dir_->file("a.001"), dir_->file("a.002")});
    driver_->destination()->setText(QString(spelling).replace(QStringLiteral("%1"), folder));
    driver_->click("cmdBuild");
    fs::current_path(startFolder);

    QTRY_COMPARE(boxes_->seen().size(), 1);
    QCOMPARE(boxes_->seen()[0].title, QStringLiteral("Error..."));
    QCOMPARE(boxes_->seen()[0].text,
             Q("Cannot built ISO.\n\nThe destination is one of the parts:\n'" +
               dir_->file("a.002") + "'"));
    QCOMPARE(test::ReadFile(dir_->file("a.002")), "two"s);
    QCOMPARE(FilesIn(dir_->path()), 5u);
}

void tst_BuildSafety::partThatIsAFolderIsRefused()
{
    test::WriteFile(dir_->file("a.001"), "one");
    fs::create_directory(dir_->file("a.002"));
    driver_->setEntries({dir_->file("a.001"), dir_->file("a.002")});
    driver_->destination()->setText(Q(dir_->file("OUT.ISO")));
    driver_->click("cmdBuild");
    QTRY_COMPARE(boxes_->seen().size(), 1);
    QCOMPARE(boxes_->seen()[0].text, Q("Cannot built ISO.\n\nThis part does not exist or is not a "
                                       "file:\n'" +
                                       dir_->file("a.002") + "'"));
    QCOMPARE(FilesIn(dir_->path()), 2u);
}

void tst_BuildSafety::destinationThatCannotBeWrittenIsRefused_data()
{
    QTest::addColumn<bool>("loop");
    QTest::newRow("a folder") << false;
    QTest::newRow("a loop of links") << true;
}

void tst_BuildSafety::destinationThatCannotBeWrittenIsRefused()
{
    QFETCH(bool, loop);
    test::WriteFile(dir_->file("a.001"), "one");
    if (loop) {
        fs::create_symlink("OUT2.ISO", dir_->file("OUT.ISO"));
        fs::create_symlink("OUT.ISO", dir_->file("OUT2.ISO"));
    } else {
        fs::create_directory(dir_->file("OUT.ISO"));
    }
    driver_->setEntries({dir_->file("a.001")});
    driver_->destination()->setText(Q(dir_->file("OUT.ISO")));
    driver_->click("cmdBuild");
    QTRY_COMPARE(boxes_->seen().size(), 1);
    QCOMPARE(boxes_->seen()[0].text,
             loop ? Q("Cannot built ISO.\n\nThe destination cannot be used:\n'" +
                      dir_->file("OUT.ISO") + "'\nToo many levels of symbolic links (error 40).")
                  : Q("Cannot built ISO.\n\nThe destination is a folder:\n'" +
                      dir_->file("OUT.ISO") + "'"));
    QCOMPARE(FilesIn(dir_->path()), loop ? 3u : 2u);
}

void tst_BuildSafety::readOnlyDestinationFolder()
{
    // Root writes everywhere, so the folder is made read-only by a read-only bind mount.
    test::WriteFile(dir_->file("a.001"), "one");
    fs::create_directory(dir_->file("ro"));
    test::WriteFile(dir_->file("ro/OUT.ISO"), "old");
    Mount bind(dir_->file("ro").c_str(), dir_->file("ro"), nullptr, MS_BIND, nullptr);
    if (!bind.mounted())
        QSKIP(qPrintable("cannot bind-mount here: " + Q(bind.error())));
    if (mount(nullptr, dir_->file("ro").c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY,
              nullptr) != 0)
        QSKIP("cannot make the bind mount read-only here");

    boxes_->answerNext(QMessageBox::Yes); // replace OUT.ISO
    driver_->setEntries({dir_->file("a.001")});
    driver_->destination()->setText(Q(dir_->file("ro/OUT.ISO")));
    driver_->click("cmdBuild");
    QTRY_COMPARE(boxes_->seen().size(), 2);
    QCOMPARE(boxes_->seen()[1].title, QStringLiteral("Error..."));
    QCOMPARE(boxes_->seen()[1].text, Q("Cannot built ISO.\n\nThe image cannot be written in '" +
                                       dir_->file("ro") + "':\nRead-only file system (error 30)."));
    QCOMPARE(test::ReadFile(dir_->file("ro/OUT.ISO")), "old"s);
    QCOMPARE(FilesIn(dir_->file("ro")), 1u);
}

void tst_BuildSafety::fullFileSystem()
{
    fs::create_directory(dir_->file("small"));
    Mount small("partwright-test", dir_->file("small"), "tmpfs", 0, "size=1m");
    if (!small.mounted())
        QSKIP(qPrintable("cannot mount a small tmpfs here: " + Q(small.error())));
    WritePart(dir_->file("a.001"), kMiB, 'x');
    WritePart(dir_->file("a.002"), kMiB, 'y');

    driver_->setEntries({dir_->file("a.001"), dir_->file("a.002")});
    driver_->destination()->setText(Q(dir_->file("small/OUT.ISO")));
    driver_->click("cmdBuild");
    QTRY_COMPARE(boxes_->seen().size(), 1);
    QCOMPARE(boxes_->seen()[0].title, QStringLiteral("Error..."));
    QCOMPARE(boxes_->seen()[0].text,
             Q("Cannot built ISO.\n\nThere is not enough free space in '" + dir_->file("small") +
               "':\nthe image needs 2,097,152 bytes (2.00 MiB), only 1,048,576 bytes (1.00 MiB) "
               "are free."));
    QCOMPARE(FilesIn(dir_->file("small")), 0u);
}

void tst_BuildSafety::fatFileSystemLimit()
{
    const std::string image = dir_->file("fat.img");
    test::WriteFile(image, "");
    fs::resize_file(image, 64 * kMiB);
    if (std::system(("mkfs.vfat '" + image + "' >/dev/null 2>&1").c_str()) != 0)
        QSKIP("mkfs.vfat (dosfstools) is not available");
    fs::create_directory(dir_->file("fat"));
    if (std::system(
            ("mount -o loop '" + image + "' '" + dir_->file("fat") + "' 2>/dev/null").c_str()) != 0)
        QSKIP("this machine cannot mount a FAT file system (no loop device or no vfat driver)");
    const Mount fat(dir_->file("fat"));

    // Two sparse parts of 3 GiB: 6 GiB would not fit any FAT file, whatever room there is.
    for (const char* name : {"a.001", "a.002"}) {
        test::WriteFile(dir_->file(name), "");
        fs::resize_file(dir_->file(name), 3072 * kMiB);
    }
    driver_->setEntries({dir_->file("a.001"), dir_->file("a.002")});
    driver_->destination()->setText(Q(dir_->file("fat/OUT.ISO")));
    driver_->click("cmdBuild");
    QTRY_COMPARE(boxes_->seen().size(), 1);
    QCOMPARE(boxes_->seen()[0].text,
             Q("Cannot built ISO.\n\nThe image would be 6,442,450,944 bytes (6.00 GiB), but '" +
               dir_->file("fat") +
               "' is on a FAT file system, which holds no file larger than "
               "4,294,967,295 bytes (4 GiB - 1 byte)."));
}

void tst_BuildSafety::progressReachesTheTotalWhileTheWindowPaints()
{
    // A timer's ticks arrive while the child runs: the event loop, and painting, go on.
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);

    // The bar follows the bytes written, then shows the flush to disk as a phase of its own.
    int largest = 0;
    QString figuresSeen;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
        if (ProgressWindow* progress = progressWindow()) {
            const auto* bar = progress->findChild<QProgressBar*>();
            if (bar->maximum() > 0)
                largest = std::max(largest, bar->value());
            figuresSeen += progress->findChild<QLabel*>(QStringLiteral("lblFigures"))->text();
        }
    });
    watch.start(50);

    startBigBuild(dir_->file("BIG.ISO"));
    QVERIFY(!driver_->button("cmdBuild")->isEnabled());
    QVERIFY(driver_->button("cmdHelp")->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(boxes_->seen().size(), 1, 120000);
    QCOMPARE(boxes_->seen()[0].text, QStringLiteral("ISO built succesfully."));
    QVERIFY(!progressWindow());

    QVERIFY2(ticks > 10, qPrintable(QString::number(ticks)));
    QVERIFY2(largest > 0 && figuresSeen.contains(QStringLiteral(" of 1.00 GiB")),
             qPrintable(figuresSeen));
    QCOMPARE(fs::file_size(dir_->file("BIG.ISO")), 1024 * kMiB);
    QCOMPARE(FilesIn(dir_->path()), 1u);
}

void tst_BuildSafety::cancelInTheMiddleKeepsTheOldImage()
{
    test::WriteFile(dir_->file("BIG.ISO"), "old image");
    boxes_->answerNext(QMessageBox::Yes); // replace it
    startBigBuild(dir_->file("BIG.ISO"));
    waitForProgress();
    QTest::mouseClick(progressWindow()->findChild<QPushButton*>(QStringLiteral("cmdCancel")),
                      Qt::LeftButton);

    QTRY_COMPARE_WITH_TIMEOUT(boxes_->seen().size(), 2, 30000);
    QCOMPARE(boxes_->seen()[1].title, QStringLiteral("Info..."));
    QCOMPARE(boxes_->seen()[1].icon, QMessageBox::Information);
    QCOMPARE(boxes_->seen()[1].text, Q("The build was cancelled.\n\n'" + dir_->file("BIG.ISO") +
                                       "' has not been changed."));
    QCOMPARE(test::ReadFile(dir_->file("BIG.ISO")), "old image"s);
    QCOMPARE(FilesIn(dir_->path()), 1u);
    QVERIFY(driver_->button("cmdBuild")->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
}

void tst_BuildSafety::killedChildKeepsTheOldImage()
{
    test::WriteFile(dir_->file("BIG.ISO"), "old image");
    boxes_->answerNext(QMessageBox::Yes);
    startBigBuild(dir_->file("BIG.ISO"));
    waitForProgress();

    // The cat that joins the parts, killed by someone else.
    const auto cats = test::ProcessesMentioning(big_.front());
    QCOMPARE(cats.size(), std::size_t{1});
    kill(cats.front(), SIGKILL);

    QTRY_COMPARE_WITH_TIMEOUT(boxes_->seen().size(), 2, 30000);
    QCOMPARE(boxes_->seen()[1].title, QStringLiteral("Error..."));
    QCOMPARE(boxes_->seen()[1].text,
             QStringLiteral("Cannot built ISO.\n\nThe join was ended from outside (signal 9)."));
    QCOMPARE(test::ReadFile(dir_->file("BIG.ISO")), "old image"s);
    QCOMPARE(FilesIn(dir_->path()), 1u);
}

void tst_BuildSafety::closingDuringABuildAsks_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("No keeps building") << false;
    QTest::newRow("Yes cancels and closes") << true;
}

void tst_BuildSafety::closingDuringABuildAsks()
{
    QFETCH(bool, cancel);
    startBigBuild(dir_->file("BIG.ISO"));
    boxes_->answerNext(cancel ? QMessageBox::Yes : QMessageBox::No);
    driver_->window().close();

    QTRY_VERIFY(!boxes_->seen().isEmpty());
    QCOMPARE(boxes_->seen()[0].text,
             QStringLiteral("An image is being built.\n\nDo you want to cancel the build and close "
                            "Partwright?"));
    QCOMPARE(boxes_->seen()[0].defaultButton, QMessageBox::No);
    if (cancel) {
        QTRY_VERIFY_WITH_TIMEOUT(!driver_->window().isVisible(), 30000);
        QCOMPARE(boxes_->seen().size(), 1);
        QCOMPARE(FilesIn(dir_->path()), 0u);
    } else {
        QVERIFY(driver_->window().isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(boxes_->seen().size(), 2, 120000);
        QCOMPARE(boxes_->seen()[1].text, QStringLiteral("ISO built succesfully."));
        QVERIFY(driver_->window().isVisible());
        QCOMPARE(fs::file_size(dir_->file("BIG.ISO")), 1024 * kMiB);
    }
}

QTEST_MAIN(tst_BuildSafety)
#include "tst_BuildSafety.moc"
