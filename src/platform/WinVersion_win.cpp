#include "platform/WideText_win.h"
#include "platform/WinVersion.h"

#include <cwchar>
#include <windows.h>

namespace partwright {

WinVersionRecord QueryWinVersionRecord()
{
    // Prepared as the query expects it; a query that fails quietly leaves it like this.
    OSVERSIONINFOW info;
    ZeroMemory(&info, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    std::wmemset(info.szCSDVersion, L' ', std::size(info.szCSDVersion));

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&info);
#pragma GCC diagnostic pop

    WinVersionRecord record;
    record.platformId = info.dwPlatformId;
    record.majorVersion = info.dwMajorVersion;
    record.minorVersion = info.dwMinorVersion;
    record.serviceText = Utf8(std::wstring_view(
        info.szCSDVersion, wcsnlen(info.szCSDVersion, std::size(info.szCSDVersion))));
    return record;
}

} // namespace partwright
