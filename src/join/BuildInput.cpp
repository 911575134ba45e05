#include "join/BuildInput.h"

#include "join/JoinCommand.h"
#include "platform/NativePaths.h"
#include "text/Blanks.h"
#include "text/Messages.h"

#include <filesystem>
#include <system_error>

namespace partwright {

bool IsBuildInputValid(std::size_t entryCount, const std::string& destinationText)
{
    const bool hasEntries = entryCount > 0;
    const bool hasDestination = !IsBlank(destinationText);
    return hasEntries && hasDestination;
}

std::optional<std::string> FirstMissingPart(const std::vector<std::string>& parts)
{
    for (const auto& part : parts) {
        std::error_code error;
        if (part.empty() || !std::filesystem::is_regular_file(PathOf(part), error))
            return part;
    }
    return std::nullopt;
}

std::string ResolveDestination(const std::string& destinationText)
{
    std::filesystem::path destination = PathOf(FullPath(JoinDestination(destinationText)));
    // Follow the link, and a link it leads to, also when the file at the end does not exist yet;
    // as far as the system itself would.
    constexpr int kMostLinks = 40;
    for (int hop = 0; std::filesystem::is_symlink(destination); ++hop) {
        if (hop == kMostLinks)
            throw std::filesystem::filesystem_error(
                "", destination, std::make_error_code(std::errc::too_many_symbolic_link_levels));
        const std::filesystem::path target = std::filesystem::read_symlink(destination);
        destination = target.is_absolute() ? target : destination.parent_path() / target;
    }
    return NameOf(destination);
}

std::optional<std::string> PartThatIsDestination(const std::vector<std::string>& parts,
                                                 const std::string& destination)
{
    for (const auto& part : parts) {
        std::error_code error; // a destination that does not exist yet is no part
        if (std::filesystem::equivalent(PathOf(part), PathOf(destination), error))
            return part;
    }
    return std::nullopt;
}

std::vector<ListedPart> MeasureParts(const std::vector<std::string>& parts)
{
    std::vector<ListedPart> measured;
    measured.reserve(parts.size());
    for (const auto& part : parts)
        measured.push_back({part, std::filesystem::file_size(PathOf(part))});
    return measured;
}

std::uint64_t ImageSize(const std::vector<ListedPart>& parts)
{
    std::uint64_t total = 0;
    for (const auto& part : parts)
        total += part.size;
    return total;
}

std::optional<std::string> RoomProblem(std::uint64_t imageSize, const VolumeInfo& volume,
                                       const std::string& folder)
{
    constexpr std::uint64_t kLargestFatFile = 0xFFFFFFFFu; // 4 GiB - 1 byte
    if (volume.isFat && imageSize > kLargestFatFile)
        return messages::TooLargeForFat(folder, imageSize);
    // While the image is written, a destination it replaces still takes its room.
    if (imageSize > volume.freeBytes)
        return messages::NotEnoughRoom(folder, imageSize, volume.freeBytes);
    return std::nullopt;
}

} // namespace partwright
