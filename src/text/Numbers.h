#pragma once

#include <cstdint>
#include <string>

namespace partwright {

// 1048576 as "1,048,576".
std::string GroupedNumber(std::uint64_t value);

// "1 byte", "2,048 bytes".
std::string Bytes(std::uint64_t count);

// A size for people: "950 bytes", "12.5 KiB", "512 MiB", "2.00 GiB" (three significant digits).
std::string ByteSize(std::uint64_t bytes);

} // namespace partwright
