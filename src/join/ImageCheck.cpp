#include "join/ImageCheck.h"

#include "text/ImageCheckMessages.h"

#include <array>

namespace partwright {

namespace {

constexpr std::uint64_t kSectorSize = 2048;
constexpr std::uint64_t kFirstDescriptor = 16 * kSectorSize;
constexpr int kDescriptorsToSearch = 32;
constexpr unsigned char kPrimaryVolume = 1;
constexpr unsigned char kSetTerminator = 255;

std::uint32_t LittleEndian(const unsigned char* bytes, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

std::string VolumeName(const unsigned char* field, std::size_t length)
{
    std::string name(reinterpret_cast<const char*>(field), length);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\0'))
        name.pop_back();
    return name;
}

} // namespace

std::optional<IsoVolume> ReadPrimaryVolume(FileReader& image, std::uint64_t start)
{
    std::array<unsigned char, kSectorSize> sector{};
    for (int index = 0; index < kDescriptorsToSearch; ++index) {
        const std::uint64_t at = start + kFirstDescriptor + index * kSectorSize;
        if (image.readAt(at, reinterpret_cast<char*>(sector.data()), sector.size()) < sector.size())
            return std::nullopt;
        const bool descriptor = sector[1] == 'C' && sector[2] == 'D' && sector[3] == '0' &&
                                sector[4] == '0' && sector[5] == '1' && sector[6] == 1;
        if (!descriptor || sector[0] == kSetTerminator)
            return std::nullopt;
        if (sector[0] == kPrimaryVolume) {
            IsoVolume volume{VolumeName(&sector[40], 32), LittleEndian(&sector[80], 4),
                             LittleEndian(&sector[128], 2)};
            if (volume.blocks == 0 || volume.blockSize == 0)
                return std::nullopt;
            return volume;
        }
    }
    return std::nullopt;
}

namespace {

std::string CheckLine(FileReader& image, const std::vector<ListedPart>& parts)
{
    const std::uint64_t size = image.size();
    if (const auto volume = ReadPrimaryVolume(image, 0))
        return messages::VolumeAgainstImage(volume->name, volume->blocks, volume->blockSize, size);

    // No descriptor at the start: is there one where another entry begins?
    std::uint64_t offset = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0 && ReadPrimaryVolume(image, offset))
            return messages::VolumeStartsAtEntry(FileNameOf(parts[i].path), i + 1);
        offset += parts[i].size;
    }
    return {};
}

} // namespace

std::string ImageCheckLine(const std::string& imagePath, const std::vector<ListedPart>& parts)
{
    try {
        FileReader image(imagePath);
        return CheckLine(image, parts);
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace partwright
