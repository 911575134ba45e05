#pragma once

#include "join/BuildInput.h"

#include <string>
#include <vector>

namespace partwright {

// Signs that the listed parts are not one complete set, in plain words: part numbers that leave
// a gap, a set that does not start at 0 or 1, a part number listed more than once, an empty part,
// and sizes no splitter writes. Splitters make every part but the last the same size, the last
// shorter, or longer by less than the number of parts; or they give the first parts one byte more
// than the rest. Entries without a part number are left out; the list order is the user's and is
// not questioned. Empty when nothing looks wrong.
std::vector<std::string> PartSetFindings(const std::vector<ListedPart>& entries);

} // namespace partwright
