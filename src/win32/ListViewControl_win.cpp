#include "platform/WideText_win.h"
#include "text/DisplayText.h"
#include "win32/ListViewControl.h"

#include <commctrl.h>
#include <stdexcept>

namespace partwright::win32 {

namespace {

// The item of a position, -1 for one that names no entry. A call given -1 would take it for
// every item.
int Index(int position, int count)
{
    return position >= 1 && position <= count ? position - 1 : -1;
}

} // namespace

ListViewControl::ListViewControl(HWND view) : view_(view) {}

int ListViewControl::count() const
{
    return static_cast<int>(SendMessageW(view_, LVM_GETITEMCOUNT, 0, 0));
}

std::string ListViewControl::text(int position) const
{
    const int index = Index(position, count());
    return index < 0 ? std::string() : paths_.at(static_cast<std::size_t>(index));
}

bool ListViewControl::isSelected(int position) const
{
    const int index = Index(position, count());
    return index >= 0 && ListView_GetItemState(view_, index, LVIS_SELECTED) != 0;
}

void ListViewControl::setSelected(int position, bool selected)
{
    if (const int index = Index(position, count()); index >= 0)
        ListView_SetItemState(view_, index, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

int ListViewControl::currentItem() const
{
    return ListView_GetNextItem(view_, -1, LVNI_FOCUSED) + 1;
}

void ListViewControl::makeCurrent(int position)
{
    const int index = Index(position, count());
    if (index < 0)
        return;
    ListView_SetItemState(view_, index, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    ListView_EnsureVisible(view_, index, FALSE);
}

void ListViewControl::append(const std::string& text)
{
    std::wstring shown = Wide(DisplayText(text));
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = count();
    item.pszText = shown.data();
    const int index =
        static_cast<int>(SendMessageW(view_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0)
        throw std::runtime_error("the list cannot take another entry");
    paths_.insert(paths_.begin() + index, text);
    if (count() == 1)
        makeCurrent(1);
}

void ListViewControl::remove(int position)
{
    const int index = Index(position, count());
    if (index < 0)
        return;
    ListView_DeleteItem(view_, index);
    paths_.erase(paths_.begin() + index);
}

void ListViewControl::clear()
{
    ListView_DeleteAllItems(view_);
    paths_.clear();
}

void ListViewControl::focus()
{
    SetFocus(view_);
}

} // namespace partwright::win32
