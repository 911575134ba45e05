// The list rules the operations rely on, and adding and deleting, on the real Qt list.

#include "list/ListOperations.h"
#include "support/WindowDriver.h"
#include "ui/ListViewControl.h"

#include <QTest>
#include <QTreeWidget>

using namespace partwright;
using partwright::test::SelectedPositions;

class tst_InputList : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firstAppendToAnEmptyListIsCurrentAndSelected();
    void makingCurrentSelectsWithoutTouchingOthers();
    void addListItemsAppendsInArrayOrder();
    void textsKeepTheirExactBytes();
    void deleteSelected_data();
    void deleteSelected();

private:
    QTreeWidget* view_ = nullptr;
    ListViewControl* list_ = nullptr;
};

void tst_InputList::init()
{
    view_ = new QTreeWidget;
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_ = new ListViewControl(*view_);
}

void tst_InputList::cleanup()
{
    delete list_;
    delete view_;
}

void tst_InputList::firstAppendToAnEmptyListIsCurrentAndSelected()
{
    list_->append("a.001");
    QCOMPARE(list_->currentItem(), 1);
    QCOMPARE(SelectedPositions(*list_), std::vector<int>{1});

    list_->append("a.002"); // later appends change neither
    QCOMPARE(list_->currentItem(), 1);
    QCOMPARE(SelectedPositions(*list_), std::vector<int>{1});

    list_->clear();
    QCOMPARE(list_->count(), 0);
    QCOMPARE(list_->currentItem(), 0);
    list_->append("b.001");
    QCOMPARE(list_->currentItem(), 1);
    QCOMPARE(SelectedPositions(*list_), std::vector<int>{1});
}

void tst_InputList::makingCurrentSelectsWithoutTouchingOthers()
{
    AddListItems(*list_, {"a", "b", "c", "d"});
    list_->setSelected(1, false);
    list_->setSelected(2, true);
    list_->makeCurrent(4);
    QCOMPARE(list_->currentItem(), 4);
    QCOMPARE(SelectedPositions(*list_), (std::vector<int>{2, 4}));
    list_->makeCurrent(3);
    QCOMPARE(SelectedPositions(*list_), (std::vector<int>{2, 3, 4}));
}

void tst_InputList::addListItemsAppendsInArrayOrder()
{
    AddListItems(*list_, {"x.2", "x.1"});
    AddListItems(*list_, {});
    AddListItems(*list_, {"x.3", "x.1"});
    QCOMPARE(EntryTexts(*list_), (std::vector<std::string>{"x.2", "x.1", "x.3", "x.1"}));
}

void tst_InputList::textsKeepTheirExactBytes()
{
    const std::string invalidUtf8 = "/img/\xff\xfe name.001";
    const std::string umlaut = "/img/Gr\xc3\xb6\xc3\x9f"
                               "e.002";
    AddListItems(*list_, {invalidUtf8, umlaut});
    QCOMPARE(list_->text(1), invalidUtf8);
    QCOMPARE(list_->text(2), umlaut);
    QCOMPARE(view_->topLevelItem(1)->text(0), QStringLiteral("/img/Größe.002"));
    QCOMPARE(view_->topLevelItem(1)->toolTip(0), QStringLiteral("/img/Größe.002"));
}

void tst_InputList::deleteSelected_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<std::vector<int>>("selected");
    QTest::addColumn<std::vector<std::string>>("remaining");

    QTest::newRow("two in the middle")
        << 5 << std::vector<int>{2, 3} << std::vector<std::string>{"e1", "e4", "e5"};
    QTest::newRow("first and last")
        << 5 << std::vector<int>{1, 5} << std::vector<std::string>{"e2", "e3", "e4"};
    QTest::newRow("every other") << 5 << std::vector<int>{1, 3, 5}
                                 << std::vector<std::string>{"e2", "e4"};
    QTest::newRow("all") << 3 << std::vector<int>{1, 2, 3} << std::vector<std::string>{};
    QTest::newRow("none") << 3 << std::vector<int>{} << std::vector<std::string>{"e1", "e2", "e3"};
    QTest::newRow("empty list") << 0 << std::vector<int>{} << std::vector<std::string>{};
}

void tst_InputList::deleteSelected()
{
    QFETCH(int, count);
    QFETCH(std::vector<int>, selected);
    QFETCH(std::vector<std::string>, remaining);
    for (int i = 1; i <= count; ++i)
        list_->append("e" + std::to_string(i));
    for (int i = 1; i <= count; ++i)
        list_->setSelected(i, std::find(selected.begin(), selected.end(), i) != selected.end());

    DeleteSelected(*list_);
    QCOMPARE(EntryTexts(*list_), remaining);
    QCOMPARE(SelectedPositions(*list_), std::vector<int>{});
}

QTEST_MAIN(tst_InputList)
#include "tst_InputList.moc"
