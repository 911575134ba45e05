#include "list/modFunctions.h"

#include "list/PartName.h"
#include "text/FileName.h"

#include <algorithm>
#include <utility>

namespace partwright::modFunctions {

namespace {

// What a text is sorted by, worked out once per sort rather than on every comparison.
struct SortKey {
    SortNumber number; // of the file name; 0 for letters and for names without a number
    std::string name;  // the file name as the system compares names
};

SortKey SortKeyOf(const std::string& text)
{
    return {ParsePartName(text).number, ComparedName(FileNameOf(text))};
}

// Below 0 when a goes first, above 0 when b does, 0 when the two tie.
int CompareItems(const SortKey& a, const SortKey& b)
{
    if (const int numbers = CompareSortNumbers(a.number, b.number))
        return numbers;
    return a.name.compare(b.name);
}

} // namespace

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
