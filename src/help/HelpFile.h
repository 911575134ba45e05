#pragma once

#include <string>

namespace partwright {

inline constexpr char kHelpFileName[] = "Partwright_by_Quillon_README.txt";

// The help file beside the program: its directory, a separator unless the directory already ends
// with one, and the help file's name.
std::string HelpFilePath(const std::string& programDirectory, char separator);

// The system's own help viewer on the help file, not waited for. False when it cannot start, and
// where the viewer would not say so itself (Linux), when the help file cannot be read.
bool StartHelpViewer(const std::string& helpFilePath);

} // namespace partwright
