#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The part-number sort. Part files carry their sequence number or letters as the ending of their
// name (DISC.001, DISC.002, DISC.010; img.iso.aa, img.iso.ab); the sort puts texts in ascending
// order of that number. It knows nothing of the list on screen and works on any array of texts.
namespace partwright::modFunctions {

// Sorts elements first...last of the texts in ascending part-number order: the smaller number
// first, and among equal numbers the file name that is first in byte order, so letter suffixes
// follow GNU split's order, including its widening ("yz", then "zaaa"). Texts that tie keep their
// order.
void QuickSort(std::vector<std::string>& items, std::ptrdiff_t first, std::ptrdiff_t last);

} // namespace partwright::modFunctions
