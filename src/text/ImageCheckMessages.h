#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The line the success report gives a written ISO 9660 image. Names come as the image and the
// list have them and are shown escaped (DisplayText): an image's maker may write anything.
namespace partwright::messages {

// What the primary volume descriptor declares against the image's size: "Volume DISC: 1,760
// blocks of 2,048 bytes, matching the image size.", else a warning that the image is shorter or
// longer than that. An empty name is said to be none.
std::string VolumeAgainstImage(const std::string& volume, std::uint32_t blocks,
                               std::uint32_t blockSize, std::uint64_t imageSize);

// The image does not start with a volume descriptor, but the entry at this 1-based position
// (named by its file name) does.
std::string VolumeStartsAtEntry(const std::string& entry, std::size_t position);

} // namespace partwright::messages
