#include "list/ListOperations.h"

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

} // namespace partwright
