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

// Null for a position that names no entry.
QTreeWidgetItem* ListViewControl::item(int position) const
{
    return position >= 1 ? view_.topLevelItem(position - 1) : nullptr;
}

int ListViewControl::count() const
{
    return view_.topLevelItemCount();
}

std::string ListViewControl::text(int position) const
{
    const QTreeWidgetItem* entry = item(position);
    return entry ? entry->data(0, kPathRole).toByteArray().toStdString() : std::string();
}

bool ListViewControl::isSelected(int position) const
{
    const QTreeWidgetItem* entry = item(position);
    return entry && entry->isSelected();
}

void ListViewControl::setSelected(int position, bool selected)
{
    if (QTreeWidgetItem* entry = item(position))
        entry->setSelected(selected);
}

int ListViewControl::currentItem() const
{
    QTreeWidgetItem* current = view_.currentItem();
    return current ? view_.indexOfTopLevelItem(current) + 1 : 0;
}

void ListViewControl::makeCurrent(int position)
{
    if (QTreeWidgetItem* entry = item(position))
        view_.setCurrentItem(entry, 0, QItemSelectionModel::Select | QItemSelectionModel::Rows);
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
    delete item(position); // an item leaves its view as it goes
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
