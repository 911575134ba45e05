#include "text/Numbers.h"

#include <cstdio>

namespace partwright {

std::string GroupedNumber(std::uint64_t value)
{
    std::string digits = std::to_string(value);
    for (auto position = static_cast<std::ptrdiff_t>(digits.size()) - 3; position > 0;
         position -= 3)
        digits.insert(static_cast<std::size_t>(position), 1, ',');
    return digits;
}

std::string Bytes(std::uint64_t count)
{
    return GroupedNumber(count) + (count == 1 ? " byte" : " bytes");
}

std::string ByteSize(std::uint64_t bytes)
{
    if (bytes < 1024)
        return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    const char* const units[] = {"KiB", "MiB", "GiB", "TiB", "PiB"};
    double value = static_cast<double>(bytes) / 1024;
    std::size_t unit = 0;
    while (value >= 1024 && unit + 1 < std::size(units)) {
        value /= 1024;
        ++unit;
    }
    char text[32];
    const int decimals = value < 10 ? 2 : value < 100 ? 1 : 0;
    std::snprintf(text, sizeof text, "%.*f %s", decimals, value, units[unit]);
    return text;
}

} // namespace partwright
