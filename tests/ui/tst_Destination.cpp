// Choosing the destination: the acceptance rule in the window and the real save dialog.

#include "support/ModalBoxWatcher.h"
#include "support/RecordingFileChooser.h"
#include "support/TempDir.h"
#include "support/WindowDriver.h"
#include "ui/QtFileChooser.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <filesystem>

using namespace partwright;
using partwright::test::ModalBoxWatcher;
using partwright::test::RecordingFileChooser;
using partwright::test::TempDir;
using partwright::test::WindowDriver;

namespace {

const FileDialogRequest kSaveRequest{
    FileDialogRequest::Kind::Save, "Save", "ISO files (*.ISO)", "*.ISO", false, false, true};

// Types a name into the real save dialog once it is up and presses Enter; gives up after a
// while so a dialog that stays open cannot hang the test.
std::string TypeIntoSaveDialog(const QString& name, int enterPresses = 1)
{
    QTimer poll;
    int pressed = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return; // not up yet, or a question box is on top of it
        if (pressed == enterPresses) {
            dialog->reject();
            return;
        }
        // A closed question box leaves no window active; a person would click the dialog first.
        dialog->activateWindow();
        if (!QTest::qWaitForWindowActive(dialog))
            return;
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        edit->clear();
        QTest::keyClicks(edit, name);
        ++pressed;
        QTest::keyClick(edit, Qt::Key_Return);
    });
    poll.start(30);
    return QtFileChooser().choose(nullptr, kSaveRequest);
}

} // namespace

class tst_Destination : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void theSaveDialogIsAskedForAnIsoName();
    void chosenNames_data();
    void chosenNames();
    void saveDialogListsIsoFilesInAnyCase();
    void newNameIsCreatedOnlyAfterYes();
    void existingNameIsTakenWithoutAQuestion();

private:
    std::filesystem::path startFolder_;
};

void tst_Destination::init()
{
    startFolder_ = std::filesystem::current_path();
}

void tst_Destination::cleanup()
{
    std::filesystem::current_path(startFolder_);
}

void tst_Destination::theSaveDialogIsAskedForAnIsoName()
{
    auto chooser = std::make_shared<RecordingFileChooser>();
    WindowServices services = SystemWindowServices();
    services.files = chooser;
    WindowDriver driver(services);
    driver.click("cmdDestination");
    QCOMPARE(chooser->requests.size(), 1);
    const FileDialogRequest& request = chooser->requests.front();
    QCOMPARE(request.kind, FileDialogRequest::Kind::Save);
    QCOMPARE(request.title, QStringLiteral("Save"));
    QCOMPARE(request.filterDescription, QStringLiteral("ISO files (*.ISO)"));
    QCOMPARE(request.filterPattern, QStringLiteral("*.ISO"));
    QVERIFY(request.promptToCreate);
    QVERIFY(!request.allowMultiSelect);
}

void tst_Destination::chosenNames_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("destination");

    QTest::newRow("upper case kept") << "/out/Game.ISO"
                                     << "/out/Game.ISO";
    QTest::newRow("mixed case") << "/out/game.Iso"
                                << "/out/game.Iso";
    QTest::newRow("just .iso") << "/out/.iso"
                               << "/out/.iso";
    QTest::newRow("blanks in the name") << "/my out/my game.iso"
                                        << "/my out/my game.iso";
    QTest::newRow("no ending") << "/out/game"
                               << "previous.iso";
    QTest::newRow("other ending") << "/out/game.img"
                                  << "previous.iso";
    QTest::newRow("iso only in the folder") << "/x.iso/game"
                                            << "previous.iso";
    QTest::newRow("cancelled") << ""
                               << "previous.iso";
}

void tst_Destination::chosenNames()
{
    QFETCH(QString, chosen);
    QFETCH(QString, destination);
    auto chooser = std::make_shared<RecordingFileChooser>();
    chooser->results.push_back(chosen.toStdString());
    WindowServices services = SystemWindowServices();
    services.files = chooser;
    WindowDriver driver(services);
    ModalBoxWatcher boxes;
    driver.setEntries({"/img/a.1"});
    driver.destination()->setText(QStringLiteral("previous.iso"));

    driver.click("cmdDestination");
    QCOMPARE(driver.destination()->text(), destination);
    QCOMPARE(driver.entryTexts(), std::vector<std::string>{"/img/a.1"});
    QTest::qWait(20);
    QVERIFY(boxes.seen().isEmpty());
}

void tst_Destination::saveDialogListsIsoFilesInAnyCase()
{
    TempDir dir;
    for (const char* name : {"a.iso", "B.ISO", "c.Iso", "d.img", "e.iso.001"})
        test::WriteFile(dir.file(name), "x");
    std::filesystem::current_path(dir.path());
    QStringList listed;
    QElapsedTimer waited;
    waited.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto* model = dialog->findChild<QFileSystemModel*>();
        const QModelIndex root = model->index(QString::fromStdString(dir.path().string()));
        if (model->rowCount(root) == 0 && !waited.hasExpired(30000))
            return; // still reading the folder
        for (int row = 0; row < model->rowCount(root); ++row)
            listed << model->fileName(model->index(row, 0, root));
        dialog->reject();
    });
    poll.start(20);
    QtFileChooser().choose(nullptr, kSaveRequest);
    listed.sort();
    QCOMPARE(listed, (QStringList{"B.ISO", "a.iso", "c.Iso"}));
}

void tst_Destination::newNameIsCreatedOnlyAfterYes()
{
    TempDir dir;
    std::filesystem::current_path(dir.path());
    ModalBoxWatcher boxes;

    // "No" keeps the dialog open; it is closed by the test after the second try.
    boxes.answerNext(QMessageBox::No);
    boxes.answerNext(QMessageBox::No);
    QCOMPARE(TypeIntoSaveDialog(QStringLiteral("new image.iso"), 2), std::string());
    QCOMPARE(boxes.seen().size(), 2);
    QCOMPARE(boxes.seen()[0].title, QStringLiteral("Save"));
    QCOMPARE(boxes.seen()[0].text,
             QStringLiteral("new image.iso\nThis file does not exist.\nDo you want to create it?"));
    QCOMPARE(boxes.seen()[0].buttons, QMessageBox::Yes | QMessageBox::No);

    boxes.answerNext(QMessageBox::Yes);
    QCOMPARE(TypeIntoSaveDialog(QStringLiteral("new image.iso")), dir.file("new image.iso"));
    QCOMPARE(boxes.seen().size(), 3);
    QVERIFY(!std::filesystem::exists(dir.file("new image.iso"))); // chosen, not created
}

void tst_Destination::existingNameIsTakenWithoutAQuestion()
{
    TempDir dir;
    test::WriteFile(dir.file("old.iso"), "keep me");
    std::filesystem::current_path(dir.path());
    ModalBoxWatcher boxes;
    QCOMPARE(TypeIntoSaveDialog(QStringLiteral("old.iso")), dir.file("old.iso"));
    QVERIFY(boxes.seen().isEmpty());
    QCOMPARE(test::ReadFile(dir.file("old.iso")), std::string("keep me"));
}

QTEST_MAIN(tst_Destination)
#include "tst_Destination.moc"
