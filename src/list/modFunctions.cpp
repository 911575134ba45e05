#include "list/modFunctions.h"

#include "text/FileName.h"

#include <algorithm>
#include <utility>

namespace partwright::modFunctions {

SortKey SortKeyOf(const std::string& text)
{
    return {ParsePartName(text).number, ComparedName(FileNameOf(text))};
}

int CompareItems(const SortKey& a, const SortKey& b)
{
    if (const int numbers = CompareSortNumbers(a.number, b.number))
        return numbers;
    return a.name.compare(b.name);
}

// Named as its callers know it; a stable sort keeps ties in list order.
void QuickSort(std::vector<std::string>& items, std::ptrdiff_t first, std::ptrdiff_t last)
{
    if (first >= last)
        return;
    struct Keyed {
        SortKey key;
        std::string text;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(static_cast<std::size_t>(last - first + 1));
    for (auto i = first; i <= last; ++i)
        keyed.push_back({SortKeyOf(items[i]), std::move(items[i])});

    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const Keyed& a, const Keyed& b) { return CompareItems(a.key, b.key) < 0; });

    for (auto i = first; i <= last; ++i)
        items[i] = std::move(keyed[static_cast<std::size_t>(i - first)].text);
}

} // namespace partwright::modFunctions
