#pragma once

#include <string>

namespace partwright {

// Full paths of the system's own programs. Windows looks for a bare program name in the program's
// folder and the current folder before its own, and a folder of downloaded parts is exactly where
// a planted "cmd.exe" would lie: the program starts system programs by these paths only.
std::string SystemFolderProgram(const std::string& fileName);  // in GetSystemDirectoryW
std::string WindowsFolderProgram(const std::string& fileName); // in GetWindowsDirectoryW

// The system folder, a local folder that always exists: the current folder of every child, which
// cmd.exe cannot take from a network share.
std::string SystemFolder();

// Takes the current folder out of where the program looks for the DLLs it loads by name, for the
// same reason. Windows XP before its first service pack keeps it in, and the program still starts.
void KeepCurrentFolderOutOfDllSearch();

} // namespace partwright
