#pragma once

#include "list/PartName.h"

#include <cstddef>
#include <string>
#include <vector>

// The part-number sort. Part files carry their sequence number or letters as the ending of their
// name (DISC.001, DISC.002, DISC.010; img.iso.aa, img.iso.ab); these functions put texts in
// ascending order of that number. They know nothing of the list on screen and work on any array
// of texts.
namespace partwright::modFunctions {

// What a text is sorted by, worked out once per sort rather than on every comparison.
struct SortKey {
    SortNumber number; // of the file name; 0 for letters and for names without a number
    std::string name;  // the file name as the system compares names
};

SortKey SortKeyOf(const std::string& text);

// Below 0 when a goes first, above 0 when b does, 0 when the two tie: the smaller number first,
// and among equal numbers the file name that is first in byte order. Letter suffixes thus follow
// GNU split's order, including its widening ("yz", then "zaaa").
int CompareItems(const SortKey& a, const SortKey& b);

// Sorts elements first...last of the texts in ascending part-number order; texts that tie keep
// their order.
void QuickSort(std::vector<std::string>& items, std::ptrdiff_t first, std::ptrdiff_t last);

} // namespace partwright::modFunctions
