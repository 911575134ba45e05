#pragma once

#include "list/InputList.h"

#include <string>
#include <vector>

namespace partwright {

// The image's name until the user chooses another; picked parts put their folder in front of it.
inline constexpr char kDefaultImageName[] = "OUTFILE.ISO";

// Picked or dropped, new parts enter the same way: the program moves into their folder (as the
// classic open dialog does, so a bare destination name lands beside the parts), they are appended
// in part-number order after the entries there are, the first entry of the list becomes current
// and the list gets the focus. Returns the destination that goes with them: the directory (empty
// for a single picked path) followed by the default image name.
std::string AddPickedParts(InputList& list, const std::string& directory,
                           std::vector<std::string> paths);

// The directory of dropped files as the open dialog gives it: the first file's folder with its
// separator.
std::string DirectoryOfDrop(const std::vector<std::string>& paths, char separator);

// Orders the whole list by part number. The rebuilt list's first entry is current but not
// selected, and the list has the focus; an empty list stays as it is.
void SortListview(InputList& list);

} // namespace partwright
