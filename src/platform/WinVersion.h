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

// Windows: the running system's version record. A query that fails leaves the record as it was
// prepared, which classifies as unknown.
WinVersionRecord QueryWinVersionRecord();

} // namespace partwright
