#include "platform/FileSystem.h"
#include "platform/SystemError.h"

#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace partwright {

namespace {

constexpr long kMsdosSuperMagic = 0x4d44; // the kernel's vfat and msdos file systems

} // namespace

VolumeInfo QueryVolume(const std::string& folder)
{
    struct statvfs space {};
    if (statvfs(folder.c_str(), &space) != 0)
        ThrowLastError(folder);
    struct statfs kind {};
    if (statfs(folder.c_str(), &kind) != 0)
        ThrowLastError(folder);
    return VolumeInfo{static_cast<std::uint64_t>(space.f_bavail) * space.f_frsize,
                      static_cast<long>(kind.f_type) == kMsdosSuperMagic};
}

} // namespace partwright
