#include "text/ImageCheckMessages.h"

#include "text/DisplayText.h"
#include "text/Numbers.h"

namespace partwright::messages {

std::string VolumeAgainstImage(const std::string& volume, std::uint32_t blocks,
                               std::uint32_t blockSize, std::uint64_t imageSize)
{
    const std::string name = volume.empty() ? "(without a name)" : DisplayText(volume);
    const std::string declared =
        GroupedNumber(blocks) + " blocks of " + GroupedNumber(blockSize) + " bytes";
    const std::uint64_t declaredSize = std::uint64_t{blocks} * blockSize;
    if (declaredSize == imageSize)
        return "Volume " + name + ": " + declared + ", matching the image size.";
    if (imageSize < declaredSize)
        return "Warning: the image is " + Bytes(declaredSize - imageSize) +
               " shorter than volume " + name + " declares (" + declared +
               "), so a part is probably missing, truncated or in the wrong place.";
    return "Warning: the image is " + Bytes(imageSize - declaredSize) + " longer than volume " +
           name + " declares (" + declared +
           "), so a part is probably listed twice or in the wrong place.";
}

std::string VolumeStartsAtEntry(const std::string& entry, std::size_t position)
{
    return "Warning: the image does not start with its volume descriptor; " + DisplayText(entry) +
           " (entry " + std::to_string(position) +
           ") does, so the first entry is probably not the first part.";
}

} // namespace partwright::messages
