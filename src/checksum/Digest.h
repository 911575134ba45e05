#pragma once

#include "checksum/Algorithm.h"

#include <cstddef>
#include <string>

namespace partwright {

// A checksum computed piece by piece with the system's cryptographic library (libgcrypt), which
// uses the processor's instructions for SHA, CRC and carry-less multiplication where there are.
class Digest {
public:
    // Throws std::runtime_error when the library cannot compute this algorithm here (MD5 in a
    // system's FIPS mode, for one).
    explicit Digest(Algorithm algorithm);
    ~Digest();
    Digest(const Digest&) = delete;
    Digest& operator=(const Digest&) = delete;

    void add(const char* data, std::size_t size);

    // The checksum of everything added, in small hexadecimal letters; once.
    std::string hex();

private:
    Algorithm algorithm_;
    void* handle_ = nullptr;
};

} // namespace partwright
