// Parts entering the real window (picked in the real dialog, dropped from a file manager), the
// list buttons, and the destination chosen in the real save dialog.

#include "list/FileNames.h"
#include "support/ModalBoxWatcher.h"
#include "support/RecordingFileChooser.h"
#include "support/TempDir.h"
#include "support/WindowDriver.h"
#include "ui/QtFileChooser.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <filesystem>

using namespace partwright;
using namespace std::string_literals;
using partwright::test::TempDir;
using Texts = std::vector<std::string>;
namespace fs = std::filesystem;

namespace {

// "A B* C": entries in list order, an asterisk marks a selected one.
void SetUp(test::WindowDriver& driver, const QString& listing)
{
    const QStringList words = listing.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    driver.setEntries({});
    for (const QString& word : words)
        driver.entries().append(QString(word).remove(QLatin1Char('*')).toStdString());
    driver.list()->clearSelection();
    for (int position = 1; position <= words.size(); ++position)
        driver.entries().setSelected(position, words[position - 1].endsWith(QLatin1Char('*')));
}

QString Listing(test::WindowDriver& driver)
{
    QStringList words;
    for (int position = 1; position <= driver.entries().count(); ++position)
        words << QString::fromStdString(driver.entries().text(position)) +
                     (driver.entries().isSelected(position) ? "*" : "");
    return words.join(QLatin1Char(' '));
}

// A file manager's drop of these URLs onto the window; true when the window took it.
bool Drop(QWidget& window, const QList<QUrl>& urls)
{
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(window.rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&window, &enter);
    QDropEvent drop(window.rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
    return enter.isAccepted() && QApplication::sendEvent(&window, &drop) && drop.isAccepted();
}

// A file URL made from the bytes of a path, which need not be valid text.
QUrl FileUrl(const std::string& path)
{
    return QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/"));
}

// Runs the real dialog for the request and acts on it once it is up; never leaves it open.
std::string ChooseWhileShown(const FileDialogRequest& request,
                             const std::function<void(QFileDialog&)>& act)
{
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return; // not up yet, or a question box is in front of it
        poll.stop();
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    poll.start(20);
    return QtFileChooser().choose(nullptr, request);
}

// Puts names into the name box at once (typed key by key they race the folder's listing).
void EnterNames(QFileDialog& dialog, const QString& text)
{
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    name->setText(text);
    QTest::keyClick(name, Qt::Key_Return);
}

QStringList ListedNames(QFileDialog& dialog)
{
    auto* model = dialog.findChild<QFileSystemModel*>();
    const QModelIndex root = model->index(QDir::currentPath());
    for (int wait = 0; wait < 500 && model->rowCount(root) == 0; ++wait)
        QTest::qWait(10); // the model reads the folder in the background
    QStringList names;
    for (int row = 0; row < model->rowCount(root); ++row)
        if (model->flags(model->index(row, 0, root)).testFlag(Qt::ItemIsEnabled))
            names << model->fileName(model->index(row, 0, root));
    names.sort();
    return names;
}

} // namespace

class tst_Files : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void pickedFilesEnterInPartNumberOrder();
    void theRealDialogsGetTheWindowsRequests();
    void hostileNamesAreShownEscapedAndJoinedByteForByte();
    void droppedFilesEnterAsPickedOnes();
    void listButtons();
    void destinationMustEndInIso();

private:
    fs::path startFolder_;
    std::shared_ptr<test::RecordingFileChooser> chooser_;
    std::unique_ptr<test::WindowDriver> driver_;
    std::unique_ptr<test::ModalBoxWatcher> boxes_;
};

void tst_Files::init()
{
    startFolder_ = fs::current_path();
    chooser_ = std::make_shared<test::RecordingFileChooser>();
    WindowServices services = SystemWindowServices();
    services.files = chooser_;
    driver_ = std::make_unique<test::WindowDriver>(services);
    boxes_ = std::make_unique<test::ModalBoxWatcher>();
}

void tst_Files::cleanup()
{
    boxes_.reset();
    driver_.reset();
    fs::current_path(startFolder_);
}

void tst_Files::pickedFilesEnterInPartNumberOrder()
{
    const struct {
        std::string result;
        QString listing, destination, box;
    } cases[] = {
        {"/tmp\0DISC.10\0DISC.9\0DISC.1"s, "x.5* /tmp/DISC.1 /tmp/DISC.9 /tmp/DISC.10",
         "/tmp/OUTFILE.ISO", ""},
        {"/tmp/g.001", "x.5* /tmp/g.001", "OUTFILE.ISO",
         ""}, // beside it, as the folder moves there
        {"", "x.5", "mine.iso", ""},
        {"   ", "x.5", "mine.iso", "Invalid files.\n\nCannot open.\n\n0\n"},
        {"/gone\0a.1\0b.2"s, "x.5", "mine.iso",
         "File could not be opened.\n\n2\nNo such file or directory"},
    };
    for (const auto& c : cases) {
        SetUp(*driver_, "x.5");
        driver_->destination()->setText("mine.iso");
        boxes_->forget();
        chooser_->results.push_back(c.result);
        driver_->click("cmdFiles");
        QCOMPARE(Listing(*driver_), c.listing); // the first entry is current and selected
        QCOMPARE(driver_->entries().currentItem(), 1);
        QCOMPARE(driver_->destination()->text(), c.destination);
        QTRY_COMPARE(boxes_->seen().size(), c.box.isEmpty() ? 0 : 1);
        if (!c.box.isEmpty())
            QCOMPARE(boxes_->seen()[0].text, c.box);
        else if (c.destination != "mine.iso")
            QCOMPARE(fs::current_path(), fs::path("/tmp")); // where the next dialog opens
    }
}

void tst_Files::hostileNamesAreShownEscapedAndJoinedByteForByte()
{
    // A folder whose name ends in a line break; a part whose name holds a right-to-left override
    // and a byte that is not UTF-8.
    TempDir dir;
    const std::string folder = dir.file("set\n");
    const std::string second = "DISC\xE2\x80\xAEosi\xFF.002";
    fs::create_directory(folder);
    test::WriteFile(folder + "/DISC.001", std::string(5000, 'a'));
    test::WriteFile(folder + "/" + second, std::string(3000, 'b'));
    const QString shownFolder = QString::fromStdString(dir.path().string()) + "/set\\n/";

    chooser_->results.push_back(folder + '\0' + second + '\0' + "DISC.001");
    driver_->click("cmdFiles");
    QCOMPARE(driver_->entryTexts(), (Texts{folder + "/DISC.001", folder + "/" + second}));
    QCOMPARE(driver_->list()->topLevelItem(1)->text(0), shownFolder + "DISC<U+202E>osi\\xFF.002");
    QCOMPARE(driver_->list()->topLevelItem(1)->toolTip(0),
             driver_->list()->topLevelItem(1)->text(0));
    QCOMPARE(driver_->destination()->text(), shownFolder + "OUTFILE.ISO");

    driver_->click("cmdBuild");
    QTRY_COMPARE(boxes_->seen().size(), 1);
    QCOMPARE(boxes_->seen()[0].text, QStringLiteral("ISO built succesfully."));
    QCOMPARE(test::ReadFile(folder + "/OUTFILE.ISO"),
             std::string(5000, 'a') + std::string(3000, 'b'));
}

void tst_Files::droppedFilesEnterAsPickedOnes()
{
    TempDir dir;
    for (const char* folder : {"a", "b", "a/sub"})
        fs::create_directory(dir.file(folder));
    const std::string odd = dir.file("a/DISC\xFF.004"); // not valid UTF-8
    for (const std::string& part : {dir.file("a/DISC.002"), dir.file("a/DISC.001"), odd})
        test::WriteFile(part, "x");
    test::WriteFile(dir.file("b/DISC.003"), "x");
    driver_->setEntries({dir.file("a/EARLIER.009")});

    QVERIFY(Drop(driver_->window(),
                 {FileUrl(dir.file("a/DISC.002")), FileUrl(dir.file("a/sub")),
                  QUrl("https://example.com/DISC.005"), FileUrl(dir.file("b/DISC.003")),
                  FileUrl(odd), FileUrl(dir.file("a/DISC.001"))}));
    QCOMPARE(driver_->entryTexts(), (Texts{dir.file("a/EARLIER.009"), dir.file("a/DISC.001"),
                                           dir.file("a/DISC.002"), dir.file("b/DISC.003"), odd}));
    QCOMPARE(driver_->entries().currentItem(), 1);
    QCOMPARE(driver_->destination()->text(), QString::fromStdString(dir.file("a/OUTFILE.ISO")));
    QCOMPARE(fs::current_path(), dir.path() / "a");
    // A drop with no local file is not taken.
    QVERIFY(!Drop(driver_->window(), {FileUrl(dir.file("a/sub")), QUrl("https://e.com/D.5")}));

    // Nor is anything while a build runs.
    WindowServices services = SystemWindowServices();
    services.joinCommand = [](const std::vector<std::string>&, const TemporaryImage& temporary) {
        return ChildCommand{{"/bin/sleep", "60"}, {}, temporary.outputDescriptor()};
    };
    test::WindowDriver building(services);
    building.setEntries({dir.file("a/DISC.001")});
    building.destination()->setText(QString::fromStdString(dir.file("OUT.ISO")));
    building.click("cmdBuild");
    QVERIFY(building.window().isBuilding());
    QVERIFY(!Drop(building.window(), {FileUrl(dir.file("a/DISC.002"))}));
    QCOMPARE(building.entries().count(), 1);
    boxes_->answerNext(QMessageBox::Yes); // cancel the build and close
    building.window().close();
    QTRY_VERIFY(!building.window().isBuilding());
}

void tst_Files::listButtons()
{
    const struct {
        const char* button; // or the key pressed in the list
        QString before, after;
    } cases[] = {
        {"cmdUp", "A B* C* D", "B* C* A D"}, {"cmdDown", "A B* C* D", "A D B* C*"},
        {"cmdDelete", "A B* C* D", "A D"},   {"Delete", "A B* C* D", "A D"},
        {"cmdClear", "A B* C* D", ""},       {"cmdSort", "d.10 c.9* x a.1*", "x a.1 c.9 d.10"},
    };
    for (const auto& c : cases) {
        SetUp(*driver_, c.before);
        driver_->destination()->setText("keep.iso");
        driver_->button("cmdFiles")->setFocus();
        if (driver_->button(c.button)) {
            driver_->click(c.button);
        } else {
            const QKeyCombination key = QKeySequence::fromString(c.button)[0];
            driver_->list()->setFocus();
            QTest::keyClick(driver_->list(), key.key(), key.keyboardModifiers());
        }
        QCOMPARE(Listing(*driver_), c.after);
        if (QByteArray("cmdUp cmdDown cmdSort").contains(c.button))
            QCOMPARE(driver_->window().focusWidget(), driver_->list());
        // The Delete key in the destination box edits text, not the list.
        driver_->destination()->setFocus();
        driver_->destination()->setCursorPosition(0);
        QTest::keyClick(driver_->destination(), Qt::Key_Delete);
        QCOMPARE(driver_->destination()->text(), QStringLiteral("eep.iso"));
        QCOMPARE(Listing(*driver_), c.after);
    }
}

void tst_Files::destinationMustEndInIso()
{
    const std::pair<std::string, QString> cases[] = {
        {"/my out/Game.Iso", "/my out/Game.Iso"}, {"/out/game.img", "keep.iso"}, {"", "keep.iso"}};
    for (const auto& [chosen, destination] : cases) {
        chooser_->results.push_back(chosen);
        driver_->destination()->setText("keep.iso");
        driver_->click("cmdDestination");
        QCOMPARE(driver_->destination()->text(), destination);
    }
}

void tst_Files::theRealDialogsGetTheWindowsRequests()
{
    TempDir dir;
    fs::create_directory(dir.file("d2"));
    for (const char* name : {"DISC.001", "DISC.002", "NODOT", "B.ISO", "c.Iso", "d2/y.2"})
        test::WriteFile(dir.file(name), name);
    fs::current_path(dir.path());
    driver_->click("cmdFiles"); // what the window asks for goes to the real dialog
    driver_->click("cmdDestination");
    const FileDialogRequest open = chooser_->requests.value(0), save = chooser_->requests.value(1);
    const std::string base = fs::canonical(dir.path()).string();
    QStringList names;

    ChooseWhileShown(open, [&](QFileDialog& dialog) { names = ListedNames(dialog); });
    QCOMPARE(names, (QStringList{"B.ISO", "DISC.001", "DISC.002", "NODOT", "c.Iso", "d2"}));
    QCOMPARE(ChooseWhileShown(open, [](QFileDialog& d) { EnterNames(d, "DISC.002"); }),
             base + "/DISC.002");
    QCOMPARE(
        ChooseWhileShown(open, [](QFileDialog& d) { EnterNames(d, "\"DISC.002\" \"DISC.001\""); }),
        base + "\0DISC.002\0DISC.001"s);
    // A file from another folder keeps its own; d2/y.2 does not become this folder's y.2.
    const std::string twoFolders = ChooseWhileShown(open, [&](QFileDialog& d) {
        EnterNames(d, QString::fromStdString("\"DISC.001\" \"" + base + "/d2/y.2\""));
    });
    std::string folder;
    Texts paths;
    QVERIFY(SplitFileNames(twoFolders, '/', folder, paths));
    QCOMPARE(paths, (Texts{base + "/d2/y.2", base + "/DISC.001"}));

    ChooseWhileShown(save, [&](QFileDialog& dialog) { names = ListedNames(dialog); });
    QCOMPARE(names, (QStringList{"B.ISO", "c.Iso", "d2"}));
    QCOMPARE(ChooseWhileShown(save, [](QFileDialog& d) { EnterNames(d, "B.ISO"); }),
             dir.file("B.ISO"));
    QVERIFY(boxes_->seen().isEmpty()); // an existing name is taken without a question
    // A new name is asked about, and chosen, not created.
    boxes_->answerNext(QMessageBox::Yes);
    QCOMPARE(ChooseWhileShown(save, [](QFileDialog& d) { EnterNames(d, "new image.iso"); }),
             dir.file("new image.iso"));
    QCOMPARE(boxes_->seen().size(), 1);
    QCOMPARE(boxes_->seen()[0].text,
             "new image.iso\nThis file does not exist.\nDo you want to create it?");
    QCOMPARE(boxes_->seen()[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QVERIFY(!fs::exists(dir.file("new image.iso")));
}

QTEST_MAIN(tst_Files)
#include "tst_Files.moc"
