// Moving selected entries with the arrow buttons of the real window.

#include "support/WindowDriver.h"

#include <QApplication>
#include <QTest>

using namespace partwright;
using partwright::test::WindowDriver;

namespace {

// "A B C* D* E": letters are entries, an asterisk marks a selected one.
void SetUp(WindowDriver& driver, const QString& listing)
{
    const QStringList words = listing.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    std::vector<std::string> texts;
    for (const QString& word : words)
        texts.push_back(QString(word).remove(QLatin1Char('*')).toStdString());
    driver.setEntries(texts);
    driver.list()->clearSelection();
    for (int position = 1; position <= static_cast<int>(words.size()); ++position)
        if (words[position - 1].endsWith(QLatin1Char('*')))
            driver.entries().setSelected(position, true);
}

QString Listing(WindowDriver& driver)
{
    QStringList words;
    for (int position = 1; position <= driver.entries().count(); ++position)
        words << QString::fromStdString(driver.entries().text(position)) +
                     (driver.entries().isSelected(position) ? QStringLiteral("*") : QString());
    return words.join(QLatin1Char(' '));
}

QString Current(WindowDriver& driver)
{
    const int current = driver.entries().currentItem();
    return current ? QString::fromStdString(driver.entries().text(current)) : QString();
}

} // namespace

class tst_Move : public QObject {
    Q_OBJECT

private slots:
    void moves_data();
    void moves();
    void repeatedMovesCarryTheBlockToTheEdge();
    void emptyListChangesNothing();

private:
    WindowDriver driver_;
};

void tst_Move::moves_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("current");

    // The worked examples.
    QTest::newRow("up, block inside") << "cmdUp"
                                      << "A B C* D* E"
                                      << "A C* D* B E"
                                      << "D";
    QTest::newRow("down, block inside") << "cmdDown"
                                        << "A B* C* D E"
                                        << "A D B* C* E"
                                        << "C";
    QTest::newRow("up, gap gathered") << "cmdUp"
                                      << "A B C* D E* F"
                                      << "A C* E* B D F"
                                      << "E";
    QTest::newRow("down, gap gathered") << "cmdDown"
                                        << "A B* C D* E F"
                                        << "A C E B* D* F"
                                        << "D";
    QTest::newRow("up from position 2 to the top") << "cmdUp"
                                                   << "A B* C D E*"
                                                   << "B* E* A C D"
                                                   << "E";
    QTest::newRow("down from n-1 to the bottom") << "cmdDown"
                                                 << "A B* C D* E"
                                                 << "A C E B* D*"
                                                 << "D";
    QTest::newRow("down, gap from the top") << "cmdDown"
                                            << "A* B C* D E F"
                                            << "B D A* C* E F"
                                            << "C";
    QTest::newRow("up, gap at the top") << "cmdUp"
                                        << "A* B C* D E"
                                        << "A* C* B D E"
                                        << "C";

    // Edges.
    QTest::newRow("up, nothing selected") << "cmdUp"
                                          << "A B C"
                                          << "A B C"
                                          << "A";
    QTest::newRow("down, nothing selected") << "cmdDown"
                                            << "A B C"
                                            << "A B C"
                                            << "A";
    QTest::newRow("up, all selected") << "cmdUp"
                                      << "A* B* C*"
                                      << "A* B* C*"
                                      << "C";
    QTest::newRow("down, all selected") << "cmdDown"
                                        << "A* B* C*"
                                        << "A* B* C*"
                                        << "C";
    QTest::newRow("up, one entry selected") << "cmdUp"
                                            << "A*"
                                            << "A*"
                                            << "A";
    QTest::newRow("down, one entry selected") << "cmdDown"
                                              << "A*"
                                              << "A*"
                                              << "A";
    QTest::newRow("up, one entry") << "cmdUp"
                                   << "A"
                                   << "A"
                                   << "A";
    QTest::newRow("down, one entry") << "cmdDown"
                                     << "A"
                                     << "A"
                                     << "A";
    QTest::newRow("up, block at the top") << "cmdUp"
                                          << "A* B* C D"
                                          << "A* B* C D"
                                          << "B";
    QTest::newRow("down, block at the bottom") << "cmdDown"
                                               << "A B C* D*"
                                               << "A B C* D*"
                                               << "D";
    QTest::newRow("up, one step") << "cmdUp"
                                  << "A B C D*"
                                  << "A B D* C"
                                  << "D";
    QTest::newRow("down, one step") << "cmdDown"
                                    << "A* B C D"
                                    << "B A* C D"
                                    << "A";
    QTest::newRow("duplicates move as entries") << "cmdDown"
                                                << "X* X Y"
                                                << "X X* Y"
                                                << "X";
}

void tst_Move::moves()
{
    QFETCH(QString, button);
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(QString, current);

    SetUp(driver_, before);
    driver_.button(qPrintable(button))->setFocus();
    driver_.click(qPrintable(button));

    QCOMPARE(Listing(driver_), after);
    QCOMPARE(Current(driver_), current);
    QCOMPARE(driver_.window().focusWidget(), driver_.list());
}

void tst_Move::repeatedMovesCarryTheBlockToTheEdge()
{
    SetUp(driver_, "A B C D* E* F");
    driver_.click("cmdUp");
    QCOMPARE(Listing(driver_), QStringLiteral("A B D* E* C F"));
    driver_.click("cmdUp");
    driver_.click("cmdUp");
    QCOMPARE(Listing(driver_), QStringLiteral("D* E* A B C F"));
    driver_.click("cmdUp");
    QCOMPARE(Listing(driver_), QStringLiteral("D* E* A B C F"));
    for (int press = 0; press < 6; ++press)
        driver_.click("cmdDown");
    QCOMPARE(Listing(driver_), QStringLiteral("A B C F D* E*"));
    QCOMPARE(Current(driver_), QStringLiteral("E"));
}

void tst_Move::emptyListChangesNothing()
{
    driver_.setEntries({});
    for (const char* name : {"cmdUp", "cmdDown"}) {
        QPushButton* button = driver_.button(name);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Space);
        QCOMPARE(driver_.entries().count(), 0);
        QCOMPARE(driver_.window().focusWidget(), button);
    }
}

QTEST_MAIN(tst_Move)
#include "tst_Move.moc"
