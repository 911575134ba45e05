#pragma once

#include <filesystem>
#include <string>

namespace partwright {

// The character that separates the directories of a path on this system.
char NativeSeparator();

// The directory that holds the running program file, with symbolic links resolved, so a
// launcher link elsewhere still leads to the files installed beside the program.
std::string ProgramDirectory();

// Names travel through the program as the bytes of a path on Linux and as UTF-8 on Windows, so
// a name outside the system's ANSI code page is found as itself. These convert between that form
// and the standard library's paths.
std::filesystem::path PathOf(const std::string& name);
std::string NameOf(const std::filesystem::path& path);

// The name as a full path, counted from the current directory as the system counts it; a network
// share's path (\\server\share\...) stays one. Throws std::filesystem::filesystem_error.
std::string FullPath(const std::string& name);

} // namespace partwright
