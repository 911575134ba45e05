#include "build/BuildInput.h"

#include "text/Blanks.h"

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
        if (part.empty() || !std::filesystem::is_regular_file(part, error))
            return part;
    }
    return std::nullopt;
}

} // namespace partwright
