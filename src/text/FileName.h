#pragma once

#include <string>

namespace partwright {

// The file name of a path without its folder, as messages name a file; both separators count,
// so a Windows path reads the same everywhere.
inline std::string FileNameOf(const std::string& path)
{
    const auto cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

} // namespace partwright
