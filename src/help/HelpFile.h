#pragma once

#include <string>

namespace partwright {

inline constexpr char kHelpFileName[] = "Partwright_by_Quillon_README.txt";

// The help file beside the program: its directory, a separator unless the directory already ends
// with one, and the help file's name.
std::string HelpFilePath(const std::string& programDirectory, char separator);

} // namespace partwright
