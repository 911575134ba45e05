#include "build/Destination.h"

#include <algorithm>
#include <cctype>

namespace partwright {

bool IsIsoName(const std::string& name)
{
    constexpr std::string_view kEnding = ".iso";
    if (name.size() < kEnding.size())
        return false;
    return std::equal(kEnding.begin(), kEnding.end(), name.end() - kEnding.size(),
                      [](char wanted, char given) {
                          return wanted == std::tolower(static_cast<unsigned char>(given));
                      });
}

} // namespace partwright
