#include "list/ListOperations.h"

#include <cstddef>

namespace partwright {

void AddListItems(InputList& lv, const std::vector<std::string>& items)
{
    for (const auto& item : items)
        lv.append(item);
}

void DeleteSelected(InputList& lv)
{
    int position = 1;
    while (position <= lv.count()) {
        if (lv.isSelected(position))
            lv.remove(position);
        else
            ++position;
    }
}

namespace {

// Inserts the texts one after another, the first after the given 1-based position.
void InsertAfter(std::vector<std::string>& texts, int position,
                 const std::vector<std::string>& block)
{
    texts.insert(texts.begin() + position, block.begin(), block.end());
}

} // namespace

void MoveListview(InputList& lv, int Direction)
{
    const int n = lv.count();
    if (n == 0)
        return;
    const bool up = Direction == -1;

    // Split into the selected and the remaining texts. The anchor p is the first selected
    // position for a move up and the last one for a move down; 0 when nothing is selected.
    std::vector<std::string> selected;
    std::vector<std::string> remaining;
    int p = 0;
    for (int i = 1; i <= n; ++i) {
        if (lv.isSelected(i)) {
            selected.push_back(lv.text(i));
            const bool anchorFixed = up && p != 0; // a move up keeps the first selected one
            if (!anchorFixed)
                p = i;
        } else {
            remaining.push_back(lv.text(i));
        }
    }
    const int k = static_cast<int>(selected.size());

    std::vector<std::string> order;
    int blockFirst;
    int blockLast;
    if (up && p < 3) {
        order = std::move(selected);
        order.insert(order.end(), remaining.begin(), remaining.end());
        blockFirst = 1;
        blockLast = k;
    } else if (up) {
        order = std::move(remaining);
        InsertAfter(order, p - 2, selected); // directly before the entry above the block
        blockFirst = p - 1;
        blockLast = p + k - 2;
    } else if (p >= n - 1) {
        order = std::move(remaining);
        order.insert(order.end(), selected.begin(), selected.end());
        blockFirst = n - k + 1;
        blockLast = n;
    } else {
        order = std::move(remaining);
        InsertAfter(order, p - k + 1, selected); // directly after the entry below the block
        blockFirst = p - k + 2;
        blockLast = p + 1;
    }

    // Rebuild, then select the block; its last entry ends as the current one.
    lv.clear();
    AddListItems(lv, order);
    if (const int current = lv.currentItem())
        lv.setSelected(current, false);
    for (int position = blockFirst; position <= blockLast; ++position)
        lv.makeCurrent(position);
    lv.focus();
}

} // namespace partwright
