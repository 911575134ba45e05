#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The part-number sort. Part files carry their sequence number as the extension of their name
// (DISC.001, DISC.002, DISC.010); these functions put texts in ascending order of that number.
// They know nothing of the list on screen and work on any array of texts.
namespace partwright::modFunctions {

// The number after the last "." of the text: optionally signed decimal digits with surrounding
// blanks and leading zeros allowed. Nothing when there is no ".", when the rest is not such a
// number, or when it lies outside -32768...32767.
std::optional<std::int16_t> ParseExtNumber(const std::string& text);

// The part number the sort uses: the number after the last ".", and 0 where there is none.
inline std::int16_t GetExtNumber(const std::string& text)
{
    return ParseExtNumber(text).value_or(0);
}

// A text with its part number worked out once, so a sort does not parse it on every comparison.
struct NumberedText {
    std::int16_t partNumber;
    std::string text;
};

inline std::int16_t PartNumberOf(const std::string& text)
{
    return GetExtNumber(text);
}
inline std::int16_t PartNumberOf(const NumberedText& item)
{
    return item.partNumber;
}

template <typename Array> void SwapItems(Array& items, std::ptrdiff_t i, std::ptrdiff_t j)
{
    if (i != j)
        std::swap(items[i], items[j]);
}

// -1 when element i has the smaller part number, otherwise 1; never 0.
template <typename Array> int CompareItems(const Array& items, std::ptrdiff_t i, std::ptrdiff_t j)
{
    const auto numberJ = PartNumberOf(items[j]);
    const auto numberI = PartNumberOf(items[i]);
    return numberI < numberJ ? -1 : 1;
}

// Quicksort with the range's first element as pivot and a one-directional partition. Equal part
// numbers keep no particular order. The smaller side is sorted by recursion and the larger one
// by the loop, so the depth stays logarithmic even for sorted input; the partition steps, and so
// the resulting order, are those of sorting the left side first and then the right side.
template <typename Array>
void QuickSortRange(Array& items, std::ptrdiff_t first, std::ptrdiff_t last)
{
    while (first < last) {
        std::ptrdiff_t boundary = first;
        for (std::ptrdiff_t i = first + 1; i <= last; ++i) {
            if (CompareItems(items, i, first) < 0)
                SwapItems(items, ++boundary, i);
        }
        SwapItems(items, first, boundary);

        if (boundary - first < last - boundary) {
            QuickSortRange(items, first, boundary - 1);
            first = boundary + 1;
        } else {
            QuickSortRange(items, boundary + 1, last);
            last = boundary - 1;
        }
    }
}

// Sorts elements first...last of the texts in ascending part-number order.
void QuickSort(std::vector<std::string>& items, std::ptrdiff_t first, std::ptrdiff_t last);

} // namespace partwright::modFunctions
