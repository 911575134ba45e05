#pragma once

#include "join/BuildInput.h"
#include "platform/FileReader.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace partwright {

// What an ISO 9660 primary volume descriptor declares.
struct IsoVolume {
    std::string name; // without the blanks that pad it; empty when it has none
    std::uint32_t blocks = 0;
    std::uint32_t blockSize = 0;
};

// The primary volume descriptor of an ISO 9660 image that starts at the offset: the volume
// descriptor set begins 32,768 bytes in. Reads only the descriptors, a few kilobytes.
std::optional<IsoVolume> ReadPrimaryVolume(FileReader& image, std::uint64_t start);

// One line about a written image for the success report: its volume name and whether its size
// matches what the volume declares, or where the volume descriptor turned up instead of at the
// start. Empty when the image is not ISO 9660, or not a regular file that can be read (which is
// never waited for).
std::string ImageCheckLine(const std::string& imagePath, const std::vector<ListedPart>& parts);

} // namespace partwright
