#pragma once

#include <string>

namespace partwright {

// The character that separates the directories of a path on this system.
char NativeSeparator();

// The directory that holds the running program file, with symbolic links resolved, so a
// launcher link elsewhere still leads to the files installed beside the program.
std::string ProgramDirectory();

} // namespace partwright
