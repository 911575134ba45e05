#include "join/ShellSelection.h"

#include "text/Blanks.h"

namespace partwright {

namespace {

int ClassifyNt(const WinVersionRecord& record)
{
    if (record.majorVersion == 5 && record.minorVersion == 1)
        return 9;
    switch (record.majorVersion) {
    case 3:
        return 6;
    case 4:
        return 7;
    case 5:
        return 8;
    case 6:
        return 10;
    default:
        return kUnknownWinVersion;
    }
}

int ClassifyDosBased(const WinVersionRecord& record)
{
    if (record.majorVersion != 4)
        return kUnknownWinVersion;
    const auto service = TrimBlanks(record.serviceText);
    switch (record.minorVersion) {
    case 0:
        return service == "B" ? 2 : 1;
    case 10:
        return service == "A" ? 4 : 3;
    case 90:
        return 5;
    default:
        return kUnknownWinVersion;
    }
}

} // namespace

int ClassifyWinVersion(const WinVersionRecord& record)
{
    return record.platformId == kPlatformWin32Nt ? ClassifyNt(record) : ClassifyDosBased(record);
}

std::string ShellNameForVersion(int versionCode)
{
    return versionCode >= 1 && versionCode <= 4 ? "command.com" : "cmd.exe";
}

} // namespace partwright
