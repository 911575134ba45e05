#pragma once

#include <filesystem>
#include <string>

namespace partwright {

// The file name of a path without its folder, as messages name a file. The separators are the
// system's: on Windows "\\" and "/", elsewhere "/" alone, where "\\" is a character of a name.
inline std::string FileNameOf(const std::string& path)
{
    constexpr bool kWindows = std::filesystem::path::preferred_separator == '\\';
    const auto cut = path.find_last_of(kWindows ? "/\\" : "/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

} // namespace partwright
