#pragma once

#include "platform/FileSystem.h"
#include "text/FileName.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace partwright {

// A build needs at least one entry and a destination that is not blank.
bool IsBuildInputValid(std::size_t entryCount, const std::string& destinationText);

// The first entry that does not name an existing regular file (relative names count from the
// current directory, as they do for the child), or nothing when every entry does.
std::optional<std::string> FirstMissingPart(const std::vector<std::string>& parts);

// The destination as the join writes it: without surrounding blanks and absolute. When it is a
// symbolic link, the file the link leads to, so the link stays and its target gets the image.
// Throws std::filesystem::filesystem_error when it cannot be followed (a loop of links, a folder
// that cannot be read).
std::string ResolveDestination(const std::string& destinationText);

// The part that is the destination itself under another name (another spelling, a relative path,
// a symbolic or hard link), or nothing.
std::optional<std::string> PartThatIsDestination(const std::vector<std::string>& parts,
                                                 const std::string& destination);

// A listed part with its size, as the build found it.
struct ListedPart {
    std::string path;
    std::uint64_t size = 0;
};

// Throws std::filesystem::filesystem_error for a part that is gone.
std::vector<ListedPart> MeasureParts(const std::vector<std::string>& parts);

// The size the image will have.
std::uint64_t ImageSize(const std::vector<ListedPart>& parts);

// Why the file system of the destination's folder cannot take the image, or nothing.
std::optional<std::string> RoomProblem(std::uint64_t imageSize, const VolumeInfo& volume,
                                       const std::string& folder);

} // namespace partwright
