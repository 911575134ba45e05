#include "join/Destination.h"

#include "text/AsciiCase.h"

#include <algorithm>
#include <string_view>

namespace partwright {

bool IsIsoName(const std::string& name)
{
    constexpr std::string_view kEnding = ".iso";
    if (name.size() < kEnding.size())
        return false;
    return std::equal(kEnding.begin(), kEnding.end(), name.end() - kEnding.size(),
                      [](char wanted, char given) { return wanted == AsciiLower(given); });
}

} // namespace partwright
