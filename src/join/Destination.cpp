#include "join/Destination.h"

#include <algorithm>
#include <string_view>

namespace partwright {

namespace {

// File endings compare by ASCII letters whatever the locale: in Turkish, std::tolower('I') is not
// 'i'.
char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool IsIsoName(const std::string& name)
{
    constexpr std::string_view kEnding = ".iso";
    if (name.size() < kEnding.size())
        return false;
    return std::equal(kEnding.begin(), kEnding.end(), name.end() - kEnding.size(),
                      [](char wanted, char given) { return wanted == AsciiLower(given); });
}

} // namespace partwright
