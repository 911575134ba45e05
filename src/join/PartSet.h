#pragma once

#include "join/BuildInput.h"

#include <string>
#include <vector>

namespace partwright {

// Signs that the listed parts are not one complete set, in plain words. The set is the largest
// group of entries with one stem and one kind of suffix (see PartSequence); where it has two
// members or more, every other entry is named with the place it would be joined at. The members
// are checked on their places in the set's sequence: places that leave a gap, a set that does not
// start at its first suffix (0 or 1 for numbers, "aa" for letters), a place listed more than
// once, an empty part, and sizes no splitter writes. Splitters make every part but the last the
// same size, the last shorter, or longer by less than the number of parts; or they give the first
// parts one byte more than the rest. The list order is the user's and is not questioned. Empty
// when nothing looks wrong.
std::vector<std::string> PartSetFindings(const std::vector<ListedPart>& entries);

} // namespace partwright
