#include "platform/FileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <system_error>
#include <unistd.h>

namespace partwright {

namespace {

constexpr long kMsdosSuperMagic = 0x4d44; // the kernel's vfat and msdos file systems

[[noreturn]] void ThrowErrno(const std::string& what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

} // namespace

VolumeInfo QueryVolume(const std::string& folder)
{
    struct statvfs space {};
    if (statvfs(folder.c_str(), &space) != 0)
        ThrowErrno(folder);
    struct statfs kind {};
    if (statfs(folder.c_str(), &kind) != 0)
        ThrowErrno(folder);
    return VolumeInfo{static_cast<std::uint64_t>(space.f_bavail) * space.f_frsize,
                      static_cast<long>(kind.f_type) == kMsdosSuperMagic};
}

std::string CreateTemporaryBeside(const std::string& destination)
{
    const std::filesystem::path target(destination);
    // Hidden, and short enough for any file system whatever the destination's name.
    const std::string stem = target.filename().string().substr(0, 150);

    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = (target.parent_path() /
                            ("." + stem + ".partwright-" + std::to_string(random()) + ".tmp"))
                               .string();
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            ThrowErrno(path);
        struct stat existing {};
        if (stat(destination.c_str(), &existing) == 0)
            fchmod(fd, existing.st_mode & 07777);
        close(fd);
        return path;
    }
    throw std::system_error(EEXIST, std::generic_category(), destination);
}

} // namespace partwright
