#include "ui/ListViewControl.h"

#include "text/DisplayText.h"

#include <QByteArray>
#include <QItemSelectionModel>
#include <QTreeWidget>

namespace partwright {

namespace {

constexpr int kPathRole = Qt::UserRole;

} // namespace

ListViewControl::ListViewControl(QTreeWidget& view) : view_(view) {}

QTreeWidgetItem* ListViewControl::item(int position) const
{
    return view_.topLevelItem(position - 1);
}

int ListViewControl::count() const
{
    return view_.topLevelItemCount();
}

std::string ListViewControl::text(int position) const
{
    return item(position)->data(0, kPathRole).toByteArray().toStdString();
}

bool ListViewControl::isSelected(int position) const
{
    return item(position)->isSelected();
}

void ListViewControl::setSelected(int position, bool selected)
{
    item(position)->setSelected(selected);
}

int ListViewControl::currentItem() const
{
    QTreeWidgetItem* current = view_.currentItem();
    return current ? view_.indexOfTopLevelItem(current) + 1 : 0;
}

void ListViewControl::makeCurrent(int position)
{
    view_.setCurrentItem(item(position), 0,
                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void ListViewControl::append(const std::string& text)
{
    const QByteArray path = QByteArray::fromStdString(text);
    auto* entry = new QTreeWidgetItem;
    entry->setText(0, QString::fromStdString(DisplayText(text)));
    entry->setToolTip(0, entry->text(0)); // the narrow list cuts long paths off
    entry->setData(0, kPathRole, path);
    entry->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren);
    const bool wasEmpty = count() == 0;
    view_.addTopLevelItem(entry);
    if (wasEmpty)
        makeCurrent(1);
}

void ListViewControl::remove(int position)
{
    delete view_.takeTopLevelItem(position - 1);
}

void ListViewControl::clear()
{
    view_.clear();
}

void ListViewControl::focus()
{
    view_.setFocus(Qt::OtherFocusReason);
}

} // namespace partwright
