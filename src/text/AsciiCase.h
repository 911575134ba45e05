#pragma once

#include <string>
#include <string_view>

namespace partwright {

// Names and endings compare by ASCII letters whatever the locale: in Turkish, std::tolower('I')
// is not 'i'. Every byte that is not an ASCII capital stays as it is.
inline char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string AsciiLower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = AsciiLower(c);
    return lower;
}

} // namespace partwright
