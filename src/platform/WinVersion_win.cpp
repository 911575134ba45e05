#include "platform/WinVersion.h"

#include <cstring>
#include <windows.h>

namespace partwright {

WinVersionRecord QueryWinVersionRecord()
{
    // Prepared as the query expects it; a query that fails quietly leaves it like this.
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    std::memset(info.szCSDVersion, ' ', sizeof info.szCSDVersion);

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExA(&info);
#pragma GCC diagnostic pop

    WinVersionRecord record;
    record.platformId = info.dwPlatformId;
    record.majorVersion = info.dwMajorVersion;
    record.minorVersion = info.dwMinorVersion;
    record.serviceText.assign(info.szCSDVersion,
                              strnlen(info.szCSDVersion, sizeof info.szCSDVersion));
    return record;
}

} // namespace partwright
