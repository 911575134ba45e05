#pragma once

#include <cstdint>
#include <string>

namespace partwright {

// What the file system that holds a folder can take.
struct VolumeInfo {
    std::uint64_t freeBytes = 0; // available to this program
    bool isFat = false;          // FAT12/16/32: no file may exceed 4 GiB - 1 byte
};

// Throws std::system_error when the folder cannot be queried.
VolumeInfo QueryVolume(const std::string& folder);

} // namespace partwright
