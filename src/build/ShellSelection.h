#pragma once

#include <cstdint>
#include <string>

namespace partwright {

// The four values of the system's version record that decide which command interpreter joins.
struct WinVersionRecord {
    std::uint32_t platformId = 0;
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
    std::string serviceText; // up to the record's first NUL character
};

inline constexpr std::uint32_t kPlatformWin32Nt = 2;
inline constexpr int kUnknownWinVersion = 11;

// Reduces a version record to a code from 1 to 11; 11 when no rule applies.
int ClassifyWinVersion(const WinVersionRecord& record);

// "command.com" for the codes 1 to 4 (the DOS-based systems), "cmd.exe" for every other code.
std::string ShellNameForVersion(int versionCode);

} // namespace partwright
