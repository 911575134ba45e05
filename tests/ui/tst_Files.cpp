// Picking, deleting, clearing and sorting entries in the real window.

#include "support/ModalBoxWatcher.h"
#include "support/RecordingFileChooser.h"
#include "support/TempDir.h"
#include "support/WindowDriver.h"

#include <QApplication>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <filesystem>

using namespace partwright;
using partwright::test::SelectedPositions;
using namespace std::string_literals;
using partwright::test::ModalBoxWatcher;
using partwright::test::RecordingFileChooser;
using partwright::test::TempDir;
using partwright::test::WindowDriver;
using Texts = std::vector<std::string>;

class tst_Files : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void theOpenDialogIsAskedForSeveralExistingFiles();
    void pickedFilesEnterInPartNumberOrder_data();
    void pickedFilesEnterInPartNumberOrder();
    void cancelChangesNothing();
    void pickAppendsAfterExistingEntries();
    void pickAfterTheCurrentEntryWasDeleted();
    void pickTheSameFileTwice();
    void blankDialogResultIsReported();
    void pickFromAFolderThatIsGoneIsReported();
    void singlePickedFileBuildsBesideIt();
    void pickedPartsJoinInNumericOrder();
    void hostileNamesAreShownEscapedAndJoinedByteForByte();
    void droppedFilesEnterAsPickedOnes();
    void nothingIsTakenWhileABuildRuns();

    void deleteRemovesTheSelectedEntries_data();
    void deleteRemovesTheSelectedEntries();
    void deleteKeyInTheDestinationEditsText();
    void clearEmptiesTheList();
    void sortButton();
    void sortButtonOnAnEmptyList();

private:
    WindowDriver& pickWith(std::initializer_list<std::string> results);

    std::filesystem::path startFolder_;
    std::shared_ptr<RecordingFileChooser> chooser_;
    std::unique_ptr<WindowDriver> driver_;
    std::unique_ptr<ModalBoxWatcher> boxes_;
};

void tst_Files::init()
{
    startFolder_ = std::filesystem::current_path();
    chooser_ = std::make_shared<RecordingFileChooser>();
    WindowServices services = SystemWindowServices();
    services.files = chooser_;
    driver_ = std::make_unique<WindowDriver>(services);
    boxes_ = std::make_unique<ModalBoxWatcher>();
}

void tst_Files::cleanup()
{
    boxes_.reset();
    driver_.reset();
    std::filesystem::current_path(startFolder_);
}

namespace {

// A file manager's drop of these URLs onto the window; true when the window took it.
bool Drop(QWidget& window, const QList<QUrl>& urls)
{
    QMimeData data;
    data.setUrls(urls);
    const QPoint where = window.rect().center();
    QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    return drop.isAccepted();
}

// A file URL made from the bytes of a path, which need not be valid text.
QUrl FileUrl(const std::string& path)
{
    return QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/"));
}

} // namespace

WindowDriver& tst_Files::pickWith(std::initializer_list<std::string> results)
{
    for (const auto& result : results)
        chooser_->results.push_back(result);
    for (std::size_t i = 0; i < results.size(); ++i)
        driver_->click("cmdFiles");
    return *driver_;
}

void tst_Files::theOpenDialogIsAskedForSeveralExistingFiles()
{
    pickWith({""});
    QCOMPARE(chooser_->requests.size(), 1);
    const FileDialogRequest& request = chooser_->requests.front();
    QCOMPARE(request.kind, FileDialogRequest::Kind::Open);
    QCOMPARE(request.title, QStringLiteral("Open"));
    QCOMPARE(request.filterDescription, QStringLiteral("All files (*.*)"));
    QCOMPARE(request.filterPattern, QStringLiteral("*.*"));
    QVERIFY(request.allowMultiSelect);
    QVERIFY(request.fileMustExist);
    QVERIFY(!request.promptToCreate);
}

void tst_Files::pickedFilesEnterInPartNumberOrder_data()
{
    QTest::addColumn<std::string>("result");
    QTest::addColumn<Texts>("entries");
    QTest::addColumn<QString>("destination");

    QTest::newRow("several files")
        << "/tmp\0game.003\0game.001\0game.002"s
        << Texts{"/tmp/game.001", "/tmp/game.002", "/tmp/game.003"} << "/tmp/OUTFILE.ISO";
    QTest::newRow("numbers, not text")
        << "/tmp\0DISC.10\0DISC.9\0DISC.1"s << Texts{"/tmp/DISC.1", "/tmp/DISC.9", "/tmp/DISC.10"}
        << "/tmp/OUTFILE.ISO";
    QTest::newRow("one file") << "/tmp/game.001"s << Texts{"/tmp/game.001"} << "OUTFILE.ISO";
    QTest::newRow("root folder") << "/\0b.2\0a.1"s << Texts{"/a.1", "/b.2"} << "/OUTFILE.ISO";
    QTest::newRow("folder with separator")
        << "/tmp/\0b.2\0a.1"s << Texts{"/tmp/a.1", "/tmp/b.2"} << "/tmp/OUTFILE.ISO";
}

void tst_Files::pickedFilesEnterInPartNumberOrder()
{
    QFETCH(std::string, result);
    QFETCH(Texts, entries);
    QFETCH(QString, destination);

    WindowDriver& driver = pickWith({result});
    QCOMPARE(driver.entryTexts(), entries);
    QCOMPARE(driver.entries().currentItem(), 1);
    QCOMPARE(SelectedPositions(driver.entries()), std::vector<int>{1});
    QCOMPARE(driver.window().focusWidget(), driver.list());
    QCOMPARE(driver.destination()->text(), destination);
    QCOMPARE(std::filesystem::current_path(), std::filesystem::path(entries.front()).parent_path());
    QVERIFY(boxes_->seen().isEmpty());
}

void tst_Files::cancelChangesNothing()
{
    driver_->setEntries({"/x/a.1", "/x/b.2"});
    driver_->entries().setSelected(2, true);
    driver_->destination()->setText(QStringLiteral("/x/mine.iso"));
    const auto folder = std::filesystem::current_path();

    pickWith({""});
    QCOMPARE(driver_->entryTexts(), (Texts{"/x/a.1", "/x/b.2"}));
    QCOMPARE(SelectedPositions(driver_->entries()), (std::vector<int>{1, 2}));
    QCOMPARE(driver_->destination()->text(), QStringLiteral("/x/mine.iso"));
    QCOMPARE(std::filesystem::current_path(), folder);
    QTest::qWait(20);
    QVERIFY(boxes_->seen().isEmpty());
}

void tst_Files::pickAppendsAfterExistingEntries()
{
    // DISC.002 listed; DISC.003 and DISC.001 picked later are sorted among themselves only.
    driver_->setEntries({"/tmp/DISC.002", "/old/x.5", "/old/y.6"});
    driver_->entries().setSelected(2, true);
    driver_->entries().makeCurrent(3); // entry 3 current; entries 1, 2 and 3 selected

    pickWith({"/tmp\0DISC.003\0DISC.001"s});
    QCOMPARE(driver_->entryTexts(),
             (Texts{"/tmp/DISC.002", "/old/x.5", "/old/y.6", "/tmp/DISC.001", "/tmp/DISC.003"}));
    // The old current entry lost its selection, entry 1 is current; other selections stay.
    QCOMPARE(driver_->entries().currentItem(), 1);
    QCOMPARE(SelectedPositions(driver_->entries()), (std::vector<int>{1, 2}));
    QCOMPARE(driver_->destination()->text(), QStringLiteral("/tmp/OUTFILE.ISO"));

    driver_->entries().setSelected(4, true);
    pickWith({"/tmp/z.9"});
    QCOMPARE(SelectedPositions(driver_->entries()), (std::vector<int>{1, 2, 4}));
    QCOMPARE(driver_->destination()->text(), QStringLiteral("OUTFILE.ISO"));

    driver_->click("cmdSort");
    QCOMPARE(driver_->entryTexts(), (Texts{"/tmp/DISC.001", "/tmp/DISC.002", "/tmp/DISC.003",
                                           "/old/x.5", "/old/y.6", "/tmp/z.9"}));
}

void tst_Files::pickAfterTheCurrentEntryWasDeleted()
{
    // The current entry deleted with the Delete button.
    driver_->setEntries({"/tmp/a.1", "/tmp/x.5", "/tmp/b.2"});
    driver_->entries().setSelected(1, false);
    driver_->entries().makeCurrent(2);
    driver_->click("cmdDelete");
    QCOMPARE(driver_->entryTexts(), (Texts{"/tmp/a.1", "/tmp/b.2"}));

    // And a list left with no current entry at all.
    driver_->list()->setCurrentItem(nullptr);
    QCOMPARE(driver_->entries().currentItem(), 0);

    pickWith({"/tmp\0c.3\0d.4"s});
    QVERIFY(boxes_->seen().isEmpty());
    QCOMPARE(driver_->entryTexts(), (Texts{"/tmp/a.1", "/tmp/b.2", "/tmp/c.3", "/tmp/d.4"}));
    QCOMPARE(driver_->entries().currentItem(), 1);
    QVERIFY(driver_->entries().isSelected(1));
    QCOMPARE(driver_->window().focusWidget(), driver_->list());
    QCOMPARE(driver_->destination()->text(), QStringLiteral("/tmp/OUTFILE.ISO"));
}

void tst_Files::pickTheSameFileTwice()
{
    pickWith({"/tmp/a.001", "/tmp/a.001", "/tmp\0a.001\0a.001"s});
    QCOMPARE(driver_->entryTexts(), Texts(4, "/tmp/a.001"));
}

void tst_Files::blankDialogResultIsReported()
{
    driver_->setEntries({"/x/a.1"});
    driver_->destination()->setText(QStringLiteral("mine.iso"));
    pickWith({"   "});
    QTRY_COMPARE(boxes_->seen().size(), 1);
    QCOMPARE(boxes_->seen()[0].title, QStringLiteral("Error..."));
    QCOMPARE(boxes_->seen()[0].text, QStringLiteral("Invalid files.\n\nCannot open.\n\n0\n"));
    QCOMPARE(boxes_->seen()[0].icon, QMessageBox::Critical);
    QCOMPARE(driver_->entryTexts(), Texts{"/x/a.1"});
    QCOMPARE(driver_->destination()->text(), QStringLiteral("mine.iso"));
}

void tst_Files::pickFromAFolderThatIsGoneIsReported()
{
    driver_->destination()->setText(QStringLiteral("mine.iso"));
    pickWith({"/nonexistent-folder\0a.1\0b.2"s});
    QTRY_COMPARE(boxes_->seen().size(), 1);
    QCOMPARE(boxes_->seen()[0].title, QStringLiteral("Error..."));
    QCOMPARE(boxes_->seen()[0].text,
             QStringLiteral("File could not be opened.\n\n2\nNo such file or directory"));
    QCOMPARE(driver_->entries().count(), 0);
    QCOMPARE(driver_->destination()->text(), QStringLiteral("mine.iso"));
}

void tst_Files::singlePickedFileBuildsBesideIt()
{
    TempDir parts;
    TempDir elsewhere;
    test::WriteFile(parts.file("only.001"), "the whole image");
    std::filesystem::current_path(elsewhere.path());

    pickWith({parts.file("only.001")});
    QCOMPARE(driver_->destination()->text(), QStringLiteral("OUTFILE.ISO"));
    driver_->click("cmdBuild");
    QTRY_COMPARE(boxes_->seen().size(), 1);
    QCOMPARE(boxes_->seen()[0].text, QStringLiteral("ISO built succesfully."));
    QCOMPARE(test::ReadFile(parts.file("OUTFILE.ISO")), "the whole image"s);
    QVERIFY(!std::filesystem::exists(elsewhere.file("OUTFILE.ISO")));
}

void tst_Files::pickedPartsJoinInNumericOrder()
{
    TempDir dir;
    std::string expected;
    for (int number : {1, 9, 10}) {
        const std::string content =
            "<" + std::to_string(number) + std::string(std::size_t{1000} * number, 'p') + ">";
        test::WriteFile(dir.file("DISC." + std::to_string(number)), content);
        expected += content;
    }

    pickWith({dir.path().string() + "\0DISC.9\0DISC.10\0DISC.1"s});
    boxes_->answerNext(QMessageBox::Yes); // a set with a gap: build anyway
    driver_->click("cmdBuild");
    QTRY_COMPARE(boxes_->seen().size(), 2);
    QVERIFY(boxes_->seen()[0].text.contains(
        QStringLiteral("Parts 2 to 8 are missing between DISC.1 and DISC.9.")));
    QCOMPARE(boxes_->seen()[1].text, QStringLiteral("ISO built succesfully."));
    QCOMPARE(test::ReadFile(dir.file("OUTFILE.ISO")), expected);
}

void tst_Files::hostileNamesAreShownEscapedAndJoinedByteForByte()
{
    // A folder whose name ends in a line break; a part whose name holds a right-to-left override
    // and a byte that is not UTF-8.
    TempDir dir;
    const std::string folder = dir.file("set\n");
    const std::string second = "DISC\xE2\x80\xAE"
                               "osi\xFF.002";
    std::filesystem::create_directory(folder);
    test::WriteFile(folder + "/DISC.001", std::string(5000, 'a'));
    test::WriteFile(folder + "/" + second, std::string(3000, 'b'));
    const Texts paths{folder + "/DISC.001", folder + "/" + second};
    const QString shownFolder = QString::fromStdString(dir.path().string()) + "/set\\n/";

    pickWith({folder + '\0' + second + '\0' + "DISC.001"});
    driver_->click("cmdDown");
    QCOMPARE(driver_->entryTexts(), (Texts{paths[1], paths[0]}));
    driver_->click("cmdSort");
    QCOMPARE(driver_->entryTexts(), paths);
    const QString shown[] = {shownFolder + "DISC.001", shownFolder + "DISC<U+202E>osi\\xFF.002"};
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(driver_->list()->topLevelItem(i)->text(0), shown[i]);
        QCOMPARE(driver_->list()->topLevelItem(i)->toolTip(0), shown[i]);
    }
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
        std::filesystem::create_directory(dir.file(folder));
    const std::string odd = dir.file("a/DISC\xFF.004"); // not valid UTF-8
    for (const std::string& part :
         {dir.file("a/DISC.002"), dir.file("a/DISC.001"), dir.file("b/DISC.003"), odd})
        test::WriteFile(part, "x");
    driver_->setEntries({dir.file("a/EARLIER.009")});

    QVERIFY(Drop(driver_->window(),
                 {FileUrl(dir.file("a/DISC.002")), FileUrl(dir.file("a/sub")),
                  QUrl(QStringLiteral("https://example.com/DISC.005")),
                  FileUrl(dir.file("b/DISC.003")), FileUrl(odd), FileUrl(dir.file("a/DISC.001"))}));
    QCOMPARE(driver_->entryTexts(), (Texts{dir.file("a/EARLIER.009"), dir.file("a/DISC.001"),
                                           dir.file("a/DISC.002"), dir.file("b/DISC.003"), odd}));
    QCOMPARE(SelectedPositions(driver_->entries()), std::vector<int>{1});
    QCOMPARE(driver_->destination()->text(),
             QString::fromStdString(dir.file("a/OUTFILE.ISO"))); // the first dropped file's folder
    QCOMPARE(std::filesystem::current_path(), dir.path() / "a");

    // Nothing a file manager drops that is not a local file is taken.
    QVERIFY(!Drop(driver_->window(), {FileUrl(dir.file("a/sub")),
                                      QUrl(QStringLiteral("https://example.com/DISC.005"))}));
    QCOMPARE(driver_->entryTexts().size(), 5u);
    QVERIFY(boxes_->seen().isEmpty());
}

void tst_Files::nothingIsTakenWhileABuildRuns()
{
    TempDir dir;
    test::WriteFile(dir.file("DISC.001"), "x");
    WindowServices services = SystemWindowServices();
    services.joinCommand = [](const std::vector<std::string>&, const TemporaryImage& temporary) {
        return ChildCommand{{"/bin/sleep", "60"}, {}, temporary.outputDescriptor()};
    };
    WindowDriver driver(services);
    driver.setEntries({dir.file("DISC.001")});
    driver.destination()->setText(QString::fromStdString(dir.file("OUT.ISO")));
    driver.click("cmdBuild");
    QVERIFY(driver.window().isBuilding());

    QVERIFY(!Drop(driver.window(), {FileUrl(dir.file("DISC.001"))}));
    QCOMPARE(driver.entryTexts(), Texts{dir.file("DISC.001")});
    boxes_->answerNext(QMessageBox::Yes); // cancel the build and close
    driver.window().close();
    QTRY_VERIFY(!driver.window().isBuilding());
}

void tst_Files::deleteRemovesTheSelectedEntries_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<std::vector<int>>("selected");
    QTest::addColumn<Texts>("remaining");

    const Texts all{"e1", "e2", "e3", "e4", "e5"};
    const Texts without23{"e1", "e4", "e5"};
    for (const char* how : {"button", "Delete", "Shift+Delete", "Ctrl+Delete", "Alt+Delete"}) {
        QTest::addRow("%s, entries 2 and 3", how) << how << std::vector<int>{2, 3} << without23;
        QTest::addRow("%s, nothing selected", how) << how << std::vector<int>{} << all;
    }
    QTest::newRow("button, all") << "button" << std::vector<int>{1, 2, 3, 4, 5} << Texts{};
    QTest::newRow("Delete, all") << "Delete" << std::vector<int>{1, 2, 3, 4, 5} << Texts{};
}

void tst_Files::deleteRemovesTheSelectedEntries()
{
    QFETCH(QString, how);
    QFETCH(std::vector<int>, selected);
    QFETCH(Texts, remaining);

    driver_->setEntries({"e1", "e2", "e3", "e4", "e5"});
    driver_->list()->clearSelection();
    for (int position : selected)
        driver_->entries().setSelected(position, true);
    driver_->destination()->setText(QStringLiteral("keep.iso"));

    if (how == QLatin1String("button")) {
        driver_->click("cmdDelete");
    } else {
        const QKeyCombination key = QKeySequence::fromString(how)[0];
        driver_->list()->setFocus();
        QTest::keyClick(driver_->list(), key.key(), key.keyboardModifiers());
    }
    QCOMPARE(driver_->entryTexts(), remaining);
    QCOMPARE(driver_->destination()->text(), QStringLiteral("keep.iso"));
    QVERIFY(boxes_->seen().isEmpty());
}

void tst_Files::deleteKeyInTheDestinationEditsText()
{
    driver_->setEntries({"e1", "e2"});
    driver_->list()->selectAll();
    QLineEdit* destination = driver_->destination();
    destination->setText(QStringLiteral("abc"));
    destination->setFocus();
    destination->setCursorPosition(0);
    QTest::keyClick(destination, Qt::Key_Delete);
    QCOMPARE(destination->text(), QStringLiteral("bc"));
    QCOMPARE(driver_->entries().count(), 2);
}

void tst_Files::clearEmptiesTheList()
{
    driver_->setEntries({"e1", "e2", "e3"});
    driver_->list()->clearSelection();
    driver_->destination()->setText(QStringLiteral("keep.iso"));
    driver_->click("cmdClear");
    QCOMPARE(driver_->entries().count(), 0);
    QCOMPARE(driver_->destination()->text(), QStringLiteral("keep.iso"));
    QVERIFY(boxes_->seen().isEmpty());
}

void tst_Files::sortButton()
{
    driver_->setEntries({"b.2", "x.iso", "a.1", "y", "c.2", "z.txt", "a.1"});
    driver_->list()->selectAll();
    driver_->button("cmdFiles")->setFocus();

    driver_->click("cmdSort");
    QCOMPARE(driver_->entryTexts(), (Texts{"z.txt", "x.iso", "y", "a.1", "a.1", "b.2", "c.2"}));
    QCOMPARE(SelectedPositions(driver_->entries()), std::vector<int>{});
    QCOMPARE(driver_->window().focusWidget(), driver_->list());

    // A single entry is rebuilt the same way.
    driver_->setEntries({"only.1"});
    driver_->button("cmdFiles")->setFocus();
    driver_->click("cmdSort");
    QCOMPARE(driver_->entryTexts(), Texts{"only.1"});
    QCOMPARE(SelectedPositions(driver_->entries()), std::vector<int>{});
    QCOMPARE(driver_->window().focusWidget(), driver_->list());
}

void tst_Files::sortButtonOnAnEmptyList()
{
    QPushButton* sort = driver_->button("cmdSort");
    sort->setFocus();
    QTest::keyClick(sort, Qt::Key_Space);
    QCOMPARE(driver_->entries().count(), 0);
    QCOMPARE(driver_->window().focusWidget(), sort);
    QTest::qWait(20);
    QVERIFY(boxes_->seen().isEmpty());
}

QTEST_MAIN(tst_Files)
#include "tst_Files.moc"
