#include "platform/FileSystem.h"

#include <system_error>
#include <windows.h>

namespace partwright {

namespace {

[[noreturn]] void ThrowLastError(const std::string& what)
{
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

} // namespace

VolumeInfo QueryVolume(const std::string& folder)
{
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExA(folder.c_str(), &available, nullptr, nullptr))
        ThrowLastError(folder);

    char root[MAX_PATH + 1] = {};
    char fileSystem[MAX_PATH + 1] = {};
    if (!GetVolumePathNameA(folder.c_str(), root, sizeof root) ||
        !GetVolumeInformationA(root, nullptr, 0, nullptr, nullptr, nullptr, fileSystem,
                               sizeof fileSystem))
        ThrowLastError(folder);
    const std::string name(fileSystem);
    return VolumeInfo{available.QuadPart, name == "FAT" || name == "FAT32" || name == "FAT12"};
}

} // namespace partwright
