// The window's input list keeps the contract every input list keeps.

#include "support/InputListContract.h"
#include "ui/ListViewControl.h"

#include <QTest>
#include <QTreeWidget>

class tst_InputLists : public QObject {
    Q_OBJECT

private slots:
    void listViewControlKeepsTheContract();
};

void tst_InputLists::listViewControlKeepsTheContract()
{
    QTreeWidget view;
    view.setSelectionMode(QAbstractItemView::ExtendedSelection); // as the main window's list
    partwright::ListViewControl list(view);
    for (const auto& [outcome, expected] : partwright::test::InputListContract(list))
        QCOMPARE(QString::fromStdString(outcome), QString::fromStdString(expected));
}

QTEST_MAIN(tst_InputLists)
#include "tst_InputLists.moc"
