#include "platform/FileSystem.h"
#include "platform/SystemError.h"
#include "platform/WideText_win.h"

#include <windows.h>

namespace partwright {

VolumeInfo QueryVolume(const std::string& folder)
{
    const std::wstring wideFolder = Wide(folder);
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExW(wideFolder.c_str(), &available, nullptr, nullptr))
        ThrowLastError(folder);

    // A network share may not say what file system it is on (or where its volume starts): its
    // room is known, and the share itself refuses a file too large for it.
    wchar_t root[MAX_PATH + 1] = {};
    wchar_t fileSystem[MAX_PATH + 1] = {};
    if (GetVolumePathNameW(wideFolder.c_str(), root, MAX_PATH + 1))
        GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, fileSystem,
                              MAX_PATH + 1);
    const std::wstring_view name(fileSystem);
    return VolumeInfo{available.QuadPart, name == L"FAT" || name == L"FAT32" || name == L"FAT12"};
}

} // namespace partwright
