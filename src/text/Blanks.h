#pragma once

#include <string>
#include <string_view>

namespace partwright {

// Blanks are space characters only; tabs and other white space are kept, as the interpreter does.
inline std::string_view TrimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

inline bool IsBlank(std::string_view text)
{
    return TrimBlanks(text).empty();
}

} // namespace partwright
