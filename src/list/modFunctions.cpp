#include "list/modFunctions.h"

#include "text/Blanks.h"

#include <string_view>

namespace partwright::modFunctions {

std::optional<std::int16_t> ParseExtNumber(const std::string& text)
{
    const auto dot = text.rfind('.');
    if (dot == std::string::npos)
        return std::nullopt;

    std::string_view rest = TrimBlanks(std::string_view(text).substr(dot + 1));
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    if (rest.empty())
        return std::nullopt;

    long value = 0;
    for (const char digit : rest) {
        if (digit < '0' || digit > '9')
            return std::nullopt;
        value = value * 10 + (digit - '0');
        if (value > 32768)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < -32768 || value > 32767)
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

void QuickSort(std::vector<std::string>& items, std::ptrdiff_t first, std::ptrdiff_t last)
{
    if (first >= last)
        return;
    std::vector<NumberedText> numbered;
    numbered.reserve(static_cast<std::size_t>(last - first + 1));
    for (auto i = first; i <= last; ++i)
        numbered.push_back({GetExtNumber(items[i]), std::move(items[i])});

    QuickSortRange(numbered, 0, last - first);

    for (auto i = first; i <= last; ++i)
        items[i] = std::move(numbered[i - first].text);
}

} // namespace partwright::modFunctions
