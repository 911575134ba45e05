#include "checksum/Algorithm.h"

#include "text/AsciiCase.h"

namespace partwright {

namespace {

struct Known {
    Algorithm algorithm;
    const char* name;
    const char* tag; // also the sums file's ending
    std::size_t hexLength;
};

constexpr Known kKnown[] = {
    {Algorithm::Crc32, "CRC32", "crc32", 8},       {Algorithm::Md5, "MD5", "md5", 32},
    {Algorithm::Sha1, "SHA-1", "sha1", 40},        {Algorithm::Sha256, "SHA-256", "sha256", 64},
    {Algorithm::Sha512, "SHA-512", "sha512", 128},
};

const Known& Of(Algorithm algorithm)
{
    return kKnown[static_cast<int>(algorithm)];
}

} // namespace

std::optional<Algorithm> AlgorithmOfTag(std::string_view tag)
{
    const std::string lower = AsciiLower(tag);
    for (const Known& known : kKnown)
        if (lower == known.tag)
            return known.algorithm;
    return std::nullopt;
}

const char* AlgorithmName(Algorithm algorithm)
{
    return Of(algorithm).name;
}

std::size_t HexLength(Algorithm algorithm)
{
    return Of(algorithm).hexLength;
}

std::optional<Algorithm> AlgorithmOfLength(std::size_t hexDigits)
{
    for (const Known& known : kKnown)
        if (known.hexLength == hexDigits)
            return known.algorithm;
    return std::nullopt;
}

std::optional<Algorithm> AlgorithmOfEnding(std::string_view ending)
{
    if (ending.starts_with('.'))
        ending.remove_prefix(1);
    const std::string lower = AsciiLower(ending);
    if (lower == "sfv" || lower == "crc")
        return Algorithm::Crc32;
    return AlgorithmOfTag(lower);
}

std::string ShownChecksum(Algorithm algorithm, const std::string& hex)
{
    std::string shown = hex;
    if (algorithm == Algorithm::Crc32)
        for (char& c : shown)
            if (c >= 'a' && c <= 'f')
                c = static_cast<char>(c - 'a' + 'A');
    return shown;
}

} // namespace partwright
