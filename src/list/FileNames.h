#pragma once

#include <string>
#include <vector>

namespace partwright {

// Splits what the open dialog returned into a directory and full paths. The result is either one
// full path (the directory stays empty) or a directory followed by one NUL-separated name per
// chosen file; the names then enter the paths in reverse order. A name that is itself an absolute
// path (a file from another folder than the first one) enters as it is. The directory gets a
// trailing separator unless it has one. False, with both emptied, when the result is blank.
bool SplitFileNames(const std::string& dialogResult, char separator, std::string& directory,
                    std::vector<std::string>& paths);

} // namespace partwright
