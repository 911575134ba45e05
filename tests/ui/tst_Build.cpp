// The build from the window, with real files and a real child process.

#include "join/JoinCommand.h"
#include "support/ModalBoxWatcher.h"
#include "support/TempDir.h"
#include "support/WindowDriver.h"

#include <QApplication>
#include <QTest>
#include <filesystem>

using namespace partwright;
using partwright::test::ModalBoxWatcher;
using partwright::test::TempDir;
using partwright::test::WindowDriver;

namespace {

const char* const kBusySet[] = {"cmdFiles",       "cmdClear", "cmdDelete",  "cmdSort",
                                "cmdDestination", "cmdBuild", "cmdAbout",   "cmdUp",
                                "cmdDown",        "lvwFiles", "txtOuputIso"};

QStringList DisabledControls(WindowDriver& driver)
{
    QStringList disabled;
    for (const char* name : kBusySet)
        if (!driver.window().findChild<QWidget*>(QString::fromLatin1(name))->isEnabled())
            disabled << QString::fromLatin1(name);
    return disabled;
}

QStringList AllBusyControls()
{
    QStringList all;
    for (const char* name : kBusySet)
        all << QString::fromLatin1(name);
    return all;
}

bool PointerIsHourglass()
{
    return QApplication::overrideCursor() &&
           QApplication::overrideCursor()->shape() == Qt::WaitCursor;
}

// Writes parts with distinct contents, of one size but for a shorter last part, as a splitter
// makes them, and returns their paths and the joined bytes.
std::pair<std::vector<std::string>, std::string> MakeParts(const TempDir& dir,
                                                           const QStringList& names)
{
    std::vector<std::string> paths;
    std::string joined;
    int index = 0;
    for (const QString& name : names) {
        ++index;
        std::string content = "part " + std::to_string(index);
        content.resize(index == names.size() ? 3000 : 5000, char('a' + index));
        const std::string path = dir.file(name.toStdString());
        test::WriteFile(path, content);
        paths.push_back(path);
        joined += content;
    }
    return {paths, joined};
}

} // namespace

class tst_Build : public QObject {
    Q_OBJECT

private slots:
    void joinsRealFilesByteForByte_data();
    void joinsRealFilesByteForByte();
    void failuresReportAndChangeNothing_data();
    void failuresReportAndChangeNothing();
    void childThatCannotStart();
    void keyboardFocusComesBackAfterTheBuild_data();
    void keyboardFocusComesBackAfterTheBuild();
};

void tst_Build::joinsRealFilesByteForByte_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("destination");

    QTest::newRow("plain") << QStringList{"DISC.001", "DISC.002", "DISC.003"} << "DISC.ISO";
    QTest::newRow("single part") << QStringList{"ONE.001"} << "ONE.ISO";
    QTest::newRow("blanks") << QStringList{"my disc.001", "my disc.002"} << "my disc.iso";
    QTest::newRow("quotes and dollar")
        << QStringList{"it's \"$HOME\".001", "`id` $(id).002"} << "$PATH 'out'.iso";
    QTest::newRow("semicolons and leading dash")
        << QStringList{"-n.001", "--help;.002", "a;rm -rf x.003"} << "-o; x.iso";
    QTest::newRow("non-ASCII") << QStringList{"Ærø Ünïcödé.001", "日本語.002"} << "Größe.iso";
}

void tst_Build::joinsRealFilesByteForByte()
{
    QFETCH(QStringList, names);
    QFETCH(QString, destination);
    TempDir dir;
    const auto [parts, joined] = MakeParts(dir, names);
    const std::string output = dir.file(destination.toStdString());

    WindowDriver driver;
    ModalBoxWatcher boxes;
    driver.setEntries(parts);
    driver.destination()->setText(QString::fromStdString(output));

    driver.click("cmdBuild");
    QCOMPARE(DisabledControls(driver), AllBusyControls());
    QVERIFY(driver.button("cmdHelp")->isEnabled());
    QVERIFY(PointerIsHourglass());
    QVERIFY(driver.window().isBuilding());

    QTRY_COMPARE(boxes.seen().size(), 1);
    QCOMPARE(boxes.seen()[0].title, QStringLiteral("Info..."));
    QCOMPARE(boxes.seen()[0].text, QStringLiteral("ISO built succesfully."));
    QCOMPARE(boxes.seen()[0].icon, QMessageBox::Warning); // the exclamation icon
    QCOMPARE(boxes.seen()[0].buttons, QMessageBox::Ok);

    QCOMPARE(DisabledControls(driver), QStringList());
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(test::ReadFile(output), joined);
    QCOMPARE(driver.entryTexts(), parts);
    QCOMPARE(driver.destination()->text(), QString::fromStdString(output));
    for (const char* stray : {"x", "id", "out"})
        QVERIFY(!std::filesystem::exists(dir.file(stray)));
}

void tst_Build::failuresReportAndChangeNothing_data()
{
    QTest::addColumn<QStringList>("names");   // parts to create
    QTest::addColumn<QStringList>("entries"); // list entries, relative to the folder
    QTest::addColumn<QString>("destination"); // relative to the folder unless blank
    QTest::addColumn<QString>("expected");    // %1 stands for the folder

    QTest::newRow("empty list") << QStringList{} << QStringList{} << "OUT.ISO"
                                << "Invalid input.";
    QTest::newRow("blank destination") << QStringList{"A.001"} << QStringList{"A.001"} << "   "
                                       << "Invalid input.";
    QTest::newRow("empty destination") << QStringList{"A.001"} << QStringList{"A.001"} << ""
                                       << "Invalid input.";
    QTest::newRow("missing middle part")
        << QStringList{"A.001", "A.003"} << QStringList{"A.001", "A.002", "A.003"} << "OUT.ISO"
        << "Cannot built ISO.\n\nThis part does not exist or is not a file:\n'%1/A.002'";
    QTest::newRow("destination folder does not exist")
        << QStringList{"A.001"} << QStringList{"A.001"} << "nowhere/OUT.ISO"
        << "Cannot built ISO.\n\nThe image cannot be written in '%1/nowhere':\n"
           "No such file or directory (error 2).";
}

void tst_Build::failuresReportAndChangeNothing()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, entries);
    QFETCH(QString, destination);
    QFETCH(QString, expected);
    TempDir dir;
    MakeParts(dir, names);
    std::vector<std::string> paths;
    for (const QString& entry : entries)
        paths.push_back(dir.file(entry.toStdString()));
    const QString destinationText =
        destination.trimmed().isEmpty()
            ? destination
            : QString::fromStdString(dir.file(destination.toStdString()));

    WindowDriver driver;
    ModalBoxWatcher boxes;
    driver.setEntries(paths);
    driver.destination()->setText(destinationText);

    driver.click("cmdBuild");
    QTRY_COMPARE(boxes.seen().size(), 1);
    QCOMPARE(boxes.seen()[0].title, QStringLiteral("Error..."));
    QCOMPARE(boxes.seen()[0].text,
             expected.replace(QStringLiteral("%1"), QString::fromStdString(dir.path().string())));
    QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
    QCOMPARE(boxes.seen()[0].buttons, QMessageBox::Ok);

    QVERIFY(!driver.window().isBuilding());
    QCOMPARE(DisabledControls(driver), QStringList());
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(driver.entryTexts(), paths);
    QCOMPARE(driver.destination()->text(), destinationText);
}

void tst_Build::childThatCannotStart()
{
    TempDir dir;
    const auto [parts, joined] = MakeParts(dir, {"A.001"});
    WindowServices services;
    services.joinCommand = [](const std::vector<std::string>& p, const TemporaryImage& t) {
        return ChildCommand{ComposeCatArguments("/nonexistent/cat", p), {}, t.outputDescriptor()};
    };
    WindowDriver driver(services);
    ModalBoxWatcher boxes;
    driver.setEntries(parts);
    driver.destination()->setText(QString::fromStdString(dir.file("OUT.ISO")));

    driver.click("cmdBuild");
    QTRY_COMPARE(boxes.seen().size(), 1);
    QCOMPARE(boxes.seen()[0].title, QStringLiteral("Error..."));
    QCOMPARE(boxes.seen()[0].text,
             QStringLiteral("Cannot built ISO.\n\nThe command interpreter could not be started: "
                            "No such file or directory (error 2)."));
    QCOMPARE(DisabledControls(driver), QStringList());
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!std::filesystem::exists(dir.file("OUT.ISO")));
    QCOMPARE(std::distance(std::filesystem::directory_iterator(dir.path()), {}),
             1); // no stray file
}

void tst_Build::keyboardFocusComesBackAfterTheBuild_data()
{
    QTest::addColumn<bool>("withParts");
    QTest::newRow("after success") << true;
    QTest::newRow("after invalid input") << false;
}

void tst_Build::keyboardFocusComesBackAfterTheBuild()
{
    QFETCH(bool, withParts);
    TempDir dir;
    const auto [parts, joined] = MakeParts(dir, {"A.001"});
    WindowDriver driver;
    ModalBoxWatcher boxes;
    if (withParts)
        driver.setEntries(parts);
    driver.destination()->setText(QString::fromStdString(dir.file("OUT.ISO")));

    QPushButton* build = driver.button("cmdBuild");
    build->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), build);
    QTest::keyClick(build, Qt::Key_Space);
    QTRY_COMPARE(boxes.seen().size(), 1);
    QTRY_COMPARE(driver.window().focusWidget(), build);
}

QTEST_MAIN(tst_Build)
#include "tst_Build.moc"
