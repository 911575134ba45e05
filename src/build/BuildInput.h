#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace partwright {

// A build needs at least one entry and a destination that is not blank.
bool IsBuildInputValid(std::size_t entryCount, const std::string& destinationText);

// The first entry that does not name an existing regular file (relative names count from the
// current directory, as they do for the child), or nothing when every entry does.
std::optional<std::string> FirstMissingPart(const std::vector<std::string>& parts);

} // namespace partwright
