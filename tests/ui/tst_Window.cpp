// The main window and the About window as a user meets them: frame, captions, keyboard, help.

#include "help/HelpFile.h"
#include "platform/NativePaths.h"
#include "support/ModalBoxWatcher.h"
#include "support/RecordingFileChooser.h"
#include "support/TempDir.h"
#include "support/WindowDriver.h"
#include "ui/FontFit.h"
#include "ui/frmAbout.h"

#include <QApplication>
#include <QLabel>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

using namespace partwright;
using partwright::test::ModalBoxWatcher;
using partwright::test::WindowDriver;

namespace {

WindowServices WithRecordingChooser()
{
    WindowServices services = SystemWindowServices();
    services.files = std::make_shared<test::RecordingFileChooser>();
    return services;
}

// A click on Clear delivered as the window system delivers a person's click, so a modal window
// in front can block it; then time for it to land.
void ClickClearThroughTheWindowSystem(WindowDriver& driver)
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
    void frameAndTitle();
    void captionsFitAndNothingOverlaps();
    void tabOrderAndStartingFocus();
    void accessKeysFireTheirButtons();
    void aboutIsModalAndShowsTheVersion();
    void helpViewer();
    void helpFileLiesBesideTheProgram();

private:
    WindowDriver driver_{WithRecordingChooser()};
};

void tst_Window::frameAndTitle()
{
    auto& window = driver_.window();
    QCOMPARE(window.windowTitle(), QStringLiteral("Partwright [1.1.0] by Quillon"));
    QCOMPARE(driver_.destination()->text(), QStringLiteral("OUTFILE.ISO"));
    QCOMPARE(window.size(), QSize(443, 255));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(!window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

void tst_Window::captionsFitAndNothingOverlaps()
{
    // Whatever the font and the scale factor, no caption is cut off.
    const QList<QWidget*> controls =
        driver_.window().findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* control : controls) {
        if (auto* button = qobject_cast<QPushButton*>(control))
            QVERIFY2(CaptionFits(*button), qPrintable(button->objectName()));
        if (auto* label = qobject_cast<QLabel*>(control))
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->objectName()));
        QVERIFY2(driver_.window().rect().contains(control->geometry()),
                 qPrintable(control->objectName()));
        // The two arrow buttons share an edge; the etched line's two lines lie on each other.
        for (QWidget* other : controls) {
            const QRect shared = control->geometry().intersected(other->geometry());
            QVERIFY2(other == control || shared.height() <= 1 ||
                         control->objectName().startsWith(QLatin1String("Line1_")),
                     qPrintable(control->objectName() + " / " + other->objectName()));
        }
    }
}

void tst_Window::tabOrderAndStartingFocus()
{
    const QStringList order{"lvwFiles",       "cmdFiles", "cmdClear", "cmdDelete",
                            "cmdSort",        "cmdUp",    "cmdDown",  "txtOuputIso",
                            "cmdDestination", "cmdBuild", "cmdHelp",  "cmdAbout"};
    QTRY_COMPARE(QApplication::focusWidget(), driver_.list());
    for (int step = 1; step <= order.size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), order[step % order.size()]);
    }
}

void tst_Window::accessKeysFireTheirButtons()
{
    ModalBoxWatcher boxes; // Build with an empty list and Help without a help file report
    const std::pair<Qt::Key, const char*> keys[] = {
        {Qt::Key_F, "cmdFiles"}, {Qt::Key_C, "cmdClear"},       {Qt::Key_D, "cmdDelete"},
        {Qt::Key_S, "cmdSort"},  {Qt::Key_E, "cmdDestination"}, {Qt::Key_B, "cmdBuild"},
        {Qt::Key_H, "cmdHelp"}};
    for (const auto& [key, name] : keys) {
        QSignalSpy clicked(driver_.button(name), &QPushButton::clicked);
        driver_.window().activateWindow();
        QTest::keyClick(driver_.window().windowHandle(), key, Qt::AltModifier);
        QTRY_COMPARE_WITH_TIMEOUT(clicked.size(), 1, 2000);
        QTRY_VERIFY(!QApplication::activeModalWidget());
    }
}

void tst_Window::aboutIsModalAndShowsTheVersion()
{
    driver_.setEntries({"/img/a.1", "/img/a.2"});
    QString title, version;
    bool clearedWhileOpen = true;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
        if (!about)
            return;
        poll.stop();
        title = about->windowTitle();
        version = about->findChild<QLabel*>(QStringLiteral("lblVersion"))->text();
        QCOMPARE(about->size(), QSize(323, 178));
        // Every line of the description ends above OK, whatever the font.
        auto* text = about->findChild<QLabel*>(QStringLiteral("lblDescription"));
        auto* ok = about->findChild<QPushButton*>(QStringLiteral("cmdOK"));
        QVERIFY(text->y() + text->heightForWidth(text->width()) <= ok->y());
        ClickClearThroughTheWindowSystem(driver_);
        clearedWhileOpen = driver_.entries().count() == 0;
        QTest::keyClick(about, Qt::Key_Return); // OK is the default button
    });
    poll.start(20);
    driver_.click("cmdAbout");
    QCOMPARE(title, QStringLiteral("About..."));
    QCOMPARE(version, QStringLiteral("Version 1.1.0"));
    QVERIFY(!clearedWhileOpen);
    QVERIFY(!QApplication::activeModalWidget());

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
    const QByteArray path = qgetenv("PATH");
    test::TempDir emptyPath;
    // xdg-open is started and not waited for; whether it finds a viewer is its own business.
    for (const auto& [helpFileThere, viewerOnPath] :
         {std::pair(true, true), {false, true}, {true, false}}) {
        if (helpFileThere)
            test::WriteFile(helpFile.toStdString(), "Help");
        else
            QFile::remove(helpFile);
        if (!viewerOnPath)
            qputenv("PATH", QByteArray::fromStdString(emptyPath.path().string()));
        ModalBoxWatcher boxes;
        driver_.click("cmdHelp");
        qputenv("PATH", path);
        QTest::qWait(100);
        QCOMPARE(boxes.seen().size(), helpFileThere && viewerOnPath ? 0 : 1);
        for (const auto& box : boxes.seen()) {
            QCOMPARE(box.icon, QMessageBox::Critical);
            QCOMPARE(box.text, "Help file cannot be opened.\n\nHelp file should be located at:\n'" +
                                   helpFile + "'.");
        }
    }
}

void tst_Window::helpFileLiesBesideTheProgram()
{
    const QString program = QStringLiteral(PARTWRIGHT_PROGRAM_FILE);
    const std::string expected =
        HelpFilePath(QFileInfo(program).absolutePath().toStdString(), NativeSeparator());
    QVERIFY2(QFileInfo::exists(QString::fromStdString(expected)), expected.c_str());
}

QTEST_MAIN(tst_Window)
#include "tst_Window.moc"
