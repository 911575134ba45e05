#include "platform/FileSystem.h"

#include <filesystem>
#include <random>
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

std::string CreateTemporaryBeside(const std::string& destination)
{
    const std::filesystem::path target(destination);
    const std::string stem = target.filename().string().substr(0, 150);
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path =
            (target.parent_path() / (stem + ".partwright-" + std::to_string(random()) + ".tmp"))
                .string();
        const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS)
            continue;
        if (file == INVALID_HANDLE_VALUE)
            ThrowLastError(path);
        CloseHandle(file);
        return path;
    }
    throw std::system_error(ERROR_FILE_EXISTS, std::system_category(), destination);
}

} // namespace partwright
