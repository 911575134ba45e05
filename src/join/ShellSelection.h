#pragma once

#include "platform/WinVersion.h"

#include <cstdint>
#include <string>

namespace partwright {

inline constexpr std::uint32_t kPlatformWin32Nt = 2;
inline constexpr int kUnknownWinVersion = 11;

// Reduces a version record to a code from 1 to 11; 11 when no rule applies.
int ClassifyWinVersion(const WinVersionRecord& record);

// "command.com" for the codes 1 to 4 (the DOS-based systems), "cmd.exe" for every other code.
std::string ShellNameForVersion(int versionCode);

// Windows: the version code of the running system (1 to 11; 11 whenever the query fails).
int GetWinVersion();

// Windows: the command interpreter that joins on the running system.
std::string GetShellName();

} // namespace partwright
