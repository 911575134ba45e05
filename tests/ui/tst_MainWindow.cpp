// The main window as a user meets it: layout, captions, tooltips, keyboard order, title, frame.

#include "support/WindowDriver.h"
#include "ui/FontFit.h"

#include <QAccessible>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTest>

using partwright::test::WindowDriver;

class tst_MainWindow : public QObject {
    Q_OBJECT

private slots:
    void controls_data();
    void controls();
    void labelsAreSizedToTheirText_data();
    void labelsAreSizedToTheirText();
    void picturesHaveTheirSizes_data();
    void picturesHaveTheirSizes();
    void etchedSeparator();
    void tabOrderAndStartingFocus();
    void titleDestinationAndFrame();
    void listIsAOneColumnReportWithoutHeader();
    void noButtonIsDefault();
    void picturesHaveAccessibleNames_data();
    void picturesHaveAccessibleNames();
    void captionsFitTheirControls();

private:
    WindowDriver driver_;
};

void tst_MainWindow::controls_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("tooltip");

    // Pixels are the designed twips divided by 15.
    QTest::newRow("lvwFiles") << QString() << QRect(96, 24, 225, 137)
                              << "Input files that should be pasted together";
    QTest::newRow("cmdFiles")
        << "&Files..." << QRect(352, 24, 81, 25)
        << "Select the files that should be pasted together (multiselect is available)...";
    QTest::newRow("cmdClear") << "&Clear" << QRect(352, 56, 81, 25) << "Clear all input files";
    QTest::newRow("cmdDelete") << "&Delete" << QRect(352, 88, 81, 25)
                               << "Clear selected input files (multiselect is available)";
    QTest::newRow("cmdSort") << "&Sort" << QRect(352, 120, 81, 25) << "Sort all input files";
    QTest::newRow("cmdUp") << QString() << QRect(328, 24, 17, 17)
                           << "Move all selected input files up (multiselect is available)";
    QTest::newRow("cmdDown") << QString() << QRect(328, 40, 17, 17)
                             << "Move all selected input files down (multiselect is available)";
    QTest::newRow("txtOuputIso") << "OUTFILE.ISO" << QRect(96, 184, 225, 19) << "Destination file";
    QTest::newRow("cmdDestination")
        << "D&estination..." << QRect(352, 182, 81, 25) << "Choose destination file";
    QTest::newRow("cmdBuild") << "&Build" << QRect(352, 224, 81, 25)
                              << "Build all input files to the destination file";
    QTest::newRow("cmdHelp") << "Read &Help" << QRect(8, 224, 81, 25)
                             << "Open the help file in the text viewer";
    QTest::newRow("cmdAbout") << QString() << QRect(96, 224, 25, 25) << "Help...";
    QTest::newRow("imgQuillon") << QString() << QRect(8, 24, 70, 70) << "Nice picture, huh?";
}

void tst_MainWindow::controls()
{
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);
    QFETCH(QString, tooltip);

    auto* control =
        driver_.window().findChild<QWidget*>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(control);
    QCOMPARE(control->geometry(), geometry);
    QCOMPARE(control->toolTip(), tooltip);
    QVERIFY(control->isVisible());
    QVERIFY(control->isEnabled());
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->icon().isNull(), !caption.isEmpty()); // picture buttons have no caption
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        QCOMPARE(edit->text(), caption);
    }
}

void tst_MainWindow::labelsAreSizedToTheirText_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QPoint>("position");
    QTest::newRow("lblFiles") << "Input files:" << QPoint(96, 8);
    QTest::newRow("lblDestination") << "Destination file:" << QPoint(96, 168);
}

void tst_MainWindow::labelsAreSizedToTheirText()
{
    QFETCH(QString, caption);
    QFETCH(QPoint, position);
    auto* label = driver_.window().findChild<QLabel*>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(label);
    QCOMPARE(label->text(), caption);
    QCOMPARE(label->pos(), position);
    QCOMPARE(label->size(), label->sizeHint());
    QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    QCOMPARE(label->toolTip(), QString());
}

void tst_MainWindow::picturesHaveTheirSizes_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("cmdUp") << QSize(14, 15);
    QTest::newRow("cmdDown") << QSize(14, 15);
    QTest::newRow("cmdAbout") << QSize(16, 16);
}

void tst_MainWindow::picturesHaveTheirSizes()
{
    QFETCH(QSize, size);
    auto* button = driver_.button(QTest::currentDataTag());
    QCOMPARE(button->iconSize(), size);
    QCOMPARE(button->icon().availableSizes().value(0), size);

    auto* picture = driver_.window().findChild<QLabel*>(QStringLiteral("imgQuillon"));
    QCOMPARE(picture->pixmap().size(), QSize(70, 70));
}

void tst_MainWindow::etchedSeparator()
{
    auto* grey = driver_.window().findChild<QFrame*>(QStringLiteral("Line1_1"));
    auto* white = driver_.window().findChild<QFrame*>(QStringLiteral("Line1_0"));
    QVERIFY(grey && white);
    QCOMPARE(grey->geometry(), QRect(6, 216, 426, 1));
    QCOMPARE(white->geometry(), QRect(7, 216, 425, 2));
    QCOMPARE(grey->palette().color(QPalette::Window), QColor(128, 128, 128));
    QCOMPARE(white->palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(grey->focusPolicy(), Qt::NoFocus);
}

void tst_MainWindow::tabOrderAndStartingFocus()
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

void tst_MainWindow::titleDestinationAndFrame()
{
    auto& window = driver_.window();
    QCOMPARE(window.windowTitle(), QStringLiteral("Partwright [1.1.0] by Quillon"));
    QCOMPARE(driver_.destination()->text(), QStringLiteral("OUTFILE.ISO"));

    QCOMPARE(window.size(), QSize(443, 255));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    const Qt::WindowFlags flags = window.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(window.windowIcon().availableSizes(), (QList<QSize>{{32, 32}, {16, 16}}));
}

void tst_MainWindow::listIsAOneColumnReportWithoutHeader()
{
    QTreeWidget* list = driver_.list();
    QCOMPARE(list->columnCount(), 1);
    QCOMPARE(list->headerItem()->text(0), QStringLiteral("Files"));
    QVERIFY(list->isHeaderHidden());
    QVERIFY(!list->rootIsDecorated());
    QCOMPARE(list->columnWidth(0), 225 * 15);
    QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    QVERIFY(list->alternatingRowColors());
    QCOMPARE(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(list->topLevelItemCount(), 0);

    // A long path scrolls sideways instead of being cut off.
    driver_.setEntries({"/" + std::string(400, 'x') + "/DISC.001"});
    QApplication::processEvents();
    QVERIFY(list->horizontalScrollBar()->maximum() > 0);
    driver_.setEntries({});
}

void tst_MainWindow::noButtonIsDefault()
{
    for (auto* button : driver_.window().findChildren<QPushButton*>()) {
        QVERIFY2(!button->isDefault(), qPrintable(button->objectName()));
        QVERIFY2(!button->autoDefault(), qPrintable(button->objectName()));
    }
}

void tst_MainWindow::picturesHaveAccessibleNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("cmdUp") << "Move up";
    QTest::newRow("cmdDown") << "Move down";
    QTest::newRow("cmdAbout") << "About Partwright";
    QTest::newRow("imgQuillon") << "Partwright picture";
    QTest::newRow("lvwFiles") << "Input files";
    QTest::newRow("txtOuputIso") << "Destination file";
}

void tst_MainWindow::picturesHaveAccessibleNames()
{
    QFETCH(QString, name);
    auto* control =
        driver_.window().findChild<QWidget*>(QString::fromLatin1(QTest::currentDataTag()));
    // What a screen reader gets is what the accessibility interface reports.
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), name);
    if (qobject_cast<QPushButton*>(control) || qobject_cast<QLabel*>(control))
        QVERIFY(!accessible->text(QAccessible::Description).isEmpty());
}

void tst_MainWindow::captionsFitTheirControls()
{
    // Whatever the font and the scale factor, no caption is cut off: each fits the area its
    // button draws text in, and each label is as large as its text.
    for (auto* button : driver_.window().findChildren<QPushButton*>())
        QVERIFY2(partwright::CaptionFits(*button), qPrintable(button->objectName()));
    for (auto* label : driver_.window().findChildren<QLabel*>())
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->objectName()));
}

QTEST_MAIN(tst_MainWindow)
#include "tst_MainWindow.moc"
