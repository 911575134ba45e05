#include "checksum/Digest.h"

#include <gcrypt.h>
#include <stdexcept>

namespace partwright {

namespace {

// The library wants its version checked once before any other call; the program needs none of
// its secure memory, which only keys would use.
void InitialiseLibrary()
{
    static const bool initialised = [] {
        gcry_check_version(nullptr);
        gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
        gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
        return true;
    }();
    (void)initialised;
}

} // namespace

Digest::Digest(Algorithm algorithm) : algorithm_(algorithm)
{
    InitialiseLibrary();
    gcry_md_hd_t handle = nullptr;
    if (const gcry_error_t error = gcry_md_open(&handle, LibraryAlgorithm(algorithm), 0))
        throw std::runtime_error(gcry_strerror(error));
    handle_ = handle;
}

Digest::~Digest()
{
    gcry_md_close(static_cast<gcry_md_hd_t>(handle_));
}

void Digest::add(const char* data, std::size_t size)
{
    gcry_md_write(static_cast<gcry_md_hd_t>(handle_), data, size);
}

std::string Digest::hex()
{
    const int algorithm = LibraryAlgorithm(algorithm_);
    const auto* bytes = gcry_md_read(static_cast<gcry_md_hd_t>(handle_), algorithm);
    constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned i = 0; i < gcry_md_get_algo_dlen(algorithm); ++i) {
        hex += kDigits[bytes[i] >> 4];
        hex += kDigits[bytes[i] & 15];
    }
    return hex;
}

} // namespace partwright
