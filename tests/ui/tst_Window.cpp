// The main window as a user meets it: its frame and keyboard, parts entering it (picked in the
// real dialog, dropped from a file manager), the list buttons, the destination chosen in the real
// save dialog, About and Read Help.

#include "list/FileNames.h"
#include "support/ModalBoxWatcher.h"
#include "support/RecordingFileChooser.h"
#include "support/TempDir.h"
#include "support/WindowDriver.h"
#include "ui/FontFit.h"
#include "ui/QtFileChooser.h"
#include "ui/frmAbout.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QMimeData>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
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
    driver.setEntries({});
    for (QString word : listing.split(' ', Qt::SkipEmptyParts)) {
        const bool selected = word.endsWith('*');
        driver.entries().append(word.remove('*').toStdString());
        driver.entries().setSelected(driver.entries().count(), selected);
    }
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

// Runs the real dialog for the request. Once it is up, notes the names it lists after the filter
// it shows, puts the names into its name box at once (typed key by key they race the folder's
// listing) and presses Enter.
std::string RunDialog(const FileDialogRequest& request, const QString& names,
                      QStringList* listed = nullptr)
{
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return; // not up yet, or a question box is in front of it
        poll.stop();
        auto* model = dialog->findChild<QFileSystemModel*>();
        const QModelIndex root = model->index(QDir::currentPath());
        if (listed)
            *listed << dialog->selectedNameFilter();
        for (int wait = 0; listed && wait < 500 && model->rowCount(root) == 0; ++wait)
            QTest::qWait(10); // the model reads the folder in the background
        for (int row = 0; listed && row < model->rowCount(root); ++row)
            if (model->flags(model->index(row, 0, root)).testFlag(Qt::ItemIsEnabled))
                *listed << model->fileName(model->index(row, 0, root));
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(names);
        QTest::keyClick(dialog->findChild<QLineEdit*>("fileNameEdit"), Qt::Key_Return);
        if (dialog->isVisible())
            dialog->reject(); // never left open
    });
    poll.start(20);
    return QtFileChooser().choose(nullptr, request);
}

// A click on Clear delivered as the window system delivers a person's click, so a modal window
// in front can block it; then time for it to land.
void ClickClearThroughTheWindowSystem(test::WindowDriver& driver)
{
    const QPushButton* clear = driver.button("cmdClear");
    QTest::mouseClick(driver.window().windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      clear->mapTo(&driver.window(), clear->rect().center()));
    QTest::qWait(200);
}

} // namespace

class tst_Window : public QObject {
    Q_OBJECT

private slots:
    void frameTitleAndCaptions();
    void tabOrderAndAccessKeys();
    void theRealDialogsGetTheWindowsRequests();
    void droppedFilesEnterAsPickedOnesAndJoinByteForByte();
    void onePickedPartBringsItsSet();
    void listButtons();
    void aboutIsModalAndShowsTheVersion();
    void helpViewer();

    void cleanup() // the window stays; what a test changed around it does not
    {
        boxes_.forget();
        chooser_->requests.clear();
        driver_.setEntries({});
        fs::current_path(startFolder_);
    }

private:
    const fs::path startFolder_ = fs::current_path();
    const std::shared_ptr<test::RecordingFileChooser> chooser_ =
        std::make_shared<test::RecordingFileChooser>();
    test::WindowDriver driver_{[this] {
        WindowServices services = SystemWindowServices();
        services.files = chooser_;
        return services;
    }()};
    test::ModalBoxWatcher boxes_;
};

// Awkward names too: a folder whose name ends in a line break, parts whose names hold a
// right-to-left override and a byte that is not UTF-8. Folders and non-local URLs are left out.
void tst_Window::droppedFilesEnterAsPickedOnesAndJoinByteForByte()
{
    TempDir dir;
    const std::string folder = dir.file("set\n"), stem = "/DISC\xE2\x80\xAEosi\xFF";
    const std::string odd = folder + stem + ".002";
    fs::create_directories(folder + "/sub");
    fs::create_directory(dir.file("b"));
    test::WriteFile(folder + stem + ".001", std::string(5000, 'a'));
    test::WriteFile(odd, std::string(5000, 'b'));
    test::WriteFile(dir.file("b") + stem + ".003", "c");
    QVERIFY(Drop(driver_.window(),
                 {FileUrl(odd), FileUrl(folder + "/sub"), QUrl("https://example.com/DISC.004"),
                  FileUrl(dir.file("b") + stem + ".003"), FileUrl(folder + stem + ".001")}));
    QCOMPARE(driver_.entryTexts(),
             (Texts{folder + stem + ".001", odd, dir.file("b") + stem + ".003"}));
    const QString shown = QString::fromStdString(dir.path().string()) + "/set\\n/";
    QCOMPARE(driver_.list()->topLevelItem(1)->text(0), shown + "DISC<U+202E>osi\\xFF.002");
    QCOMPARE(driver_.list()->topLevelItem(1)->toolTip(0), shown + "DISC<U+202E>osi\\xFF.002");
    QCOMPARE(driver_.destination()->text(), shown + "OUTFILE.ISO"); // the first file's folder
    QVERIFY(!Drop(driver_.window(), {FileUrl(folder + "/sub"), QUrl("https://e.com/D.5")}));

    driver_.click("cmdBuild");
    QTRY_COMPARE(boxes_.seen().size(), 1);
    QCOMPARE(boxes_.seen()[0].text,
             "ISO built succesfully.\nThe image is '" + shown + "OUTFILE.ISO'.");
    QCOMPARE(boxes_.seen()[0].icon, QMessageBox::Warning); // as the success box always had
    QCOMPARE(test::ReadFile(folder + "/OUTFILE.ISO"),
             std::string(5000, 'a') + std::string(5000, 'b') + "c");
}

// The offer's default button, Yes, adds the rest of the set; the build joins all of it.
void tst_Window::onePickedPartBringsItsSet()
{
    TempDir dir;
    std::string joined;
    for (const char* name : {"DISC.001", "DISC.002", "DISC.003"})
        test::WriteFile(dir.file(name), name), joined += name;
    chooser_->results = {dir.file("DISC.002")};
    driver_.click("cmdFiles");
    QTRY_COMPARE(boxes_.seen().size(), 1);
    const QString folder = QString::fromStdString(dir.path().string());
    QCOMPARE(boxes_.seen()[0].text,
             "DISC.002 is one of 3 parts of DISC in '" + folder + "'. Add the other 2?");
    QCOMPARE(boxes_.seen()[0].defaultButton, QMessageBox::Yes);
    QCOMPARE(driver_.destination()->text(), folder + "/OUTFILE.ISO");
    driver_.click("cmdBuild");
    QTRY_COMPARE(boxes_.seen().size(), 2);
    QCOMPARE(test::ReadFile(dir.file("OUTFILE.ISO")), joined);
}

void tst_Window::listButtons()
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
        SetUp(driver_, c.before);
        driver_.destination()->setText("keep.iso");
        driver_.button("cmdFiles")->setFocus();
        if (driver_.button(c.button)) {
            driver_.click(c.button);
        } else {
            const QKeyCombination key = QKeySequence::fromString(c.button)[0];
            driver_.list()->setFocus();
            QTest::keyClick(driver_.list(), key.key(), key.keyboardModifiers());
        }
        QCOMPARE(Listing(driver_), c.after);
        if (QByteArray("cmdUp cmdDown cmdSort").contains(c.button))
            QCOMPARE(driver_.window().focusWidget(), driver_.list());
        // The Delete key in the destination box edits text, not the list.
        driver_.destination()->setFocus();
        driver_.destination()->setCursorPosition(0);
        QTest::keyClick(driver_.destination(), Qt::Key_Delete);
        QCOMPARE(driver_.destination()->text(), QStringLiteral("eep.iso"));
        QCOMPARE(Listing(driver_), c.after);
    }
}

void tst_Window::theRealDialogsGetTheWindowsRequests()
{
    TempDir dir;
    fs::create_directory(dir.file("d2"));
    for (const char* name : {"DISC.001", "DISC.002", "NODOT", "B.ISO", "c.Iso", "d2/y.2"})
        test::WriteFile(dir.file(name), name);
    fs::current_path(dir.path());
    driver_.click("cmdFiles"); // what the window asks for goes to the real dialog
    driver_.click("cmdDestination");
    const FileDialogRequest open = chooser_->requests.value(0), save = chooser_->requests.value(1);
    const std::string base = fs::canonical(dir.path()).string();
    QStringList listed;

    QCOMPARE(RunDialog(open, R"("DISC.002" "DISC.001")", &listed), base + "\0DISC.002\0DISC.001"s);
    QCOMPARE(listed.takeFirst(), QStringLiteral("All files (*.*)"));
    listed.sort();
    QCOMPARE(listed, (QStringList{"B.ISO", "DISC.001", "DISC.002", "NODOT", "c.Iso", "d2"}));
    // A file from another folder keeps its own; d2/y.2 does not become this folder's y.2.
    std::string folder;
    Texts paths;
    QVERIFY(SplitFileNames(
        RunDialog(open, QString::fromStdString(R"("DISC.001" ")" + base + R"(/d2/y.2")")), '/',
        folder, paths));
    QCOMPARE(paths, (Texts{base + "/d2/y.2", base + "/DISC.001"}));

    listed.clear();
    QCOMPARE(RunDialog(save, "B.ISO", &listed), dir.file("B.ISO"));
    QCOMPARE(listed.takeFirst(), QStringLiteral("ISO files (*.ISO)"));
    listed.sort();
    QCOMPARE(listed, (QStringList{"B.ISO", "c.Iso", "d2"}));
    QVERIFY(boxes_.seen().isEmpty()); // an existing name is taken without a question
    // A new name is asked about, and chosen, not created.
    boxes_.answerNext(QMessageBox::Yes);
    QCOMPARE(RunDialog(save, "new image.iso"), dir.file("new image.iso"));
    QCOMPARE(boxes_.seen().size(), 1);
    QCOMPARE(boxes_.seen()[0].text,
             "new image.iso\nThis file does not exist.\nDo you want to create it?");
    QVERIFY(!fs::exists(dir.file("new image.iso")));
}

// A fixed frame; whatever the font and the scale factor, no caption is cut off, no button looks
// like the default one and no control covers another (the arrow buttons share an edge, the etched
// line's two lines lie on each other).
void tst_Window::frameTitleAndCaptions()
{
    auto& window = driver_.window();
    QCOMPARE(window.windowTitle(), QStringLiteral("Partwright [1.1.0] by Quillon"));
    QCOMPARE(window.windowIcon().availableSizes(), (QList<QSize>{{32, 32}, {16, 16}}));
    QCOMPARE(driver_.destination()->text(), QStringLiteral("OUTFILE.ISO"));
    QCOMPARE(window.size(), QSize(443, 255));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(
        !(window.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    // A plain list of paths in shaded rows of one height (quick with thousands of them), with no
    // "Files" header row over it and no room for a tree's branches before them.
    const QTreeWidget* list = driver_.list();
    QVERIFY(list->isHeaderHidden() && list->alternatingRowColors() && list->uniformRowHeights() &&
            !list->rootIsDecorated());
    for (const auto& [name, tip] :
         {std::pair("lvwFiles", "Input files that should be pasted together"),
          {"txtOuputIso", "Destination file"},
          {"cmdAbout", "Help..."},
          {"imgQuillon", "Nice picture, huh?"}})
        QCOMPARE(window.findChild<QWidget*>(name)->toolTip(), QString(tip));
    for (const auto& [name, caption] :
         {std::pair("lblFiles", "Input files:"), {"lblDestination", "Destination file:"}})
        QCOMPARE(window.findChild<QLabel*>(name)->text(), QString(caption));
    // The etched line as drawn: grey over white, the white showing below it.
    const QImage drawn = window.grab().toImage();
    const QRect white = window.findChild<QWidget*>("Line1_0")->geometry(),
                grey = window.findChild<QWidget*>("Line1_1")->geometry();
    const qreal scale = drawn.devicePixelRatio();
    QCOMPARE(drawn.pixelColor(QPoint(white.center().x(), white.bottom()) * scale),
             QColor(Qt::white));
    QCOMPARE(drawn.pixelColor(QPoint(grey.center().x(), grey.top()) * scale),
             QColor(128, 128, 128));
    const auto controls = window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* control : controls) {
        const auto* button = qobject_cast<QPushButton*>(control);
        const auto* label = qobject_cast<QLabel*>(control);
        QVERIFY2((!button || (CaptionFits(*button) && !button->autoDefault())) &&
                     (!label || label->width() >= label->sizeHint().width()) &&
                     window.rect().contains(control->geometry()),
                 qPrintable(control->objectName()));
        for (QWidget* other : controls)
            QVERIFY2(other == control ||
                         control->geometry().intersected(other->geometry()).height() <= 1 ||
                         control->objectName().startsWith(QLatin1String("Line1_")),
                     qPrintable(control->objectName() + " / " + other->objectName()));
    }
}

// Tab goes round from the list, where the focus starts; Alt and a caption's letter fire it.
void tst_Window::tabOrderAndAccessKeys()
{
    const QStringList order{"lvwFiles",       "cmdFiles", "cmdClear", "cmdDelete",
                            "cmdSort",        "cmdUp",    "cmdDown",  "txtOuputIso",
                            "cmdDestination", "cmdBuild", "cmdHelp",  "cmdAbout"};
    QTRY_COMPARE(QApplication::focusWidget(), driver_.list());
    for (int step = 1; step <= order.size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), order[step % order.size()]);
    }
    const std::pair<Qt::Key, const char*> keys[] = {
        {Qt::Key_F, "cmdFiles"}, {Qt::Key_C, "cmdClear"},       {Qt::Key_D, "cmdDelete"},
        {Qt::Key_S, "cmdSort"},  {Qt::Key_E, "cmdDestination"}, {Qt::Key_B, "cmdBuild"},
        {Qt::Key_H, "cmdHelp"}};
    for (const auto& [key, name] : keys) {
        QSignalSpy clicked(driver_.button(name), &QPushButton::clicked);
        driver_.window().activateWindow();
        QTest::keyClick(driver_.window().windowHandle(), key, Qt::AltModifier);
        QTRY_COMPARE_WITH_TIMEOUT(clicked.size(), 1, 2000);
        QTRY_VERIFY(!QApplication::activeModalWidget()); // Build and Help report; answered
    }
}

void tst_Window::aboutIsModalAndShowsTheVersion()
{
    driver_.setEntries({"/img/a.1", "/img/a.2"});
    bool clearedWhileOpen = true; // stays so if About never opens
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
        if (!about)
            return;
        poll.stop(); // OK, the default button, closes it also after a failed check
        const auto close = qScopeGuard([about] { QTest::keyClick(about, Qt::Key_Return); });
        QCOMPARE(about->windowTitle(), QStringLiteral("About..."));
        QCOMPARE(about->findChild<QLabel*>("lblVersion")->text(), QStringLiteral("Version 1.1.0"));
        // No line of the description is cut off at the side or below: it ends above OK.
        auto* text = about->findChild<QLabel*>("lblDescription");
        QVERIFY(text->wordWrap() || text->sizeHint().width() <= text->width());
        const QFont title = about->findChild<QLabel*>("lblTitle")->font(); // large and bold
        QVERIFY(title.bold() && title.pointSizeF() > text->font().pointSizeF() * 1.5);
        QVERIFY(text->y() + text->heightForWidth(text->width()) <=
                about->findChild<QPushButton*>("cmdOK")->y());
        ClickClearThroughTheWindowSystem(driver_);
        clearedWhileOpen = driver_.entries().count() == 0;
    });
    poll.start(20);
    driver_.click("cmdAbout");
    QVERIFY(!clearedWhileOpen);

    // The same click with no About window in front reaches the button.
    driver_.window().activateWindow();
    ClickClearThroughTheWindowSystem(driver_);
    QCOMPARE(driver_.entries().count(), 0);
}

void tst_Window::helpViewer()
{
    // The button looks beside the running program: this test program, which has no help file.
    const QString helpFile = QCoreApplication::applicationDirPath() +
                             QStringLiteral("/Partwright_by_Quillon_README.txt");
    QVERIFY2(!QFileInfo::exists(helpFile), qPrintable(helpFile));
    const auto removeHelpFile = qScopeGuard([&] { QFile::remove(helpFile); });
    // xdg-open is started and not waited for; whether it finds a viewer is its own business.
    for (const bool helpFileThere : {false, true}) {
        if (helpFileThere)
            test::WriteFile(helpFile.toStdString(), "Help");
        boxes_.forget();
        driver_.click("cmdHelp");
        QTest::qWait(100);
        QCOMPARE(boxes_.seen().size(), helpFileThere ? 0 : 1);
        for (const auto& box : boxes_.seen()) {
            QCOMPARE(box.icon, QMessageBox::Critical);
            QCOMPARE(box.text, "Help file cannot be opened.\n\nHelp file should be located at:\n'" +
                                   helpFile + "'.");
        }
    }
}

QTEST_MAIN(tst_Window)
#include "tst_Window.moc"
