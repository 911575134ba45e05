#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace partwright {

// The checksums that travel with the parts. Everything known of one is its row of the table in
// Algorithm.cpp; the order here means nothing.
enum class Algorithm {
    Crc32,
    Md5,
    Sha1,
    Sha256,
    Sha512,
    Blake2b160,
    Blake2b256,
    Blake2b384,
    Blake2b512
};

// As messages name it: "CRC32", "MD5", "SHA-1", "SHA-256", "SHA-512", "BLAKE2b-512", ...
const char* AlgorithmName(Algorithm algorithm);

// Hexadecimal digits of a checksum: 8, 32, 40, 64, 128, ...
std::size_t HexLength(Algorithm algorithm);

// libgcrypt's number for it (GCRY_MD_...).
int LibraryAlgorithm(Algorithm algorithm);

// Where one file is given checksums of several algorithms, the strongest is checked: the longer,
// and of two of one length the SHA one.
bool Weaker(Algorithm weaker, Algorithm stronger);

// The endings of checksum files, in small letters: ".sfv", ".crc", ".md5", ..., ".b2".
std::vector<const char*> ChecksumEndings();

// An algorithm as a checksum line names it. A length of BLAKE2b that the library lacks
// (b2sum -l 200) is known by its name alone.
struct NamedAlgorithm {
    std::optional<Algorithm> algorithm; // empty where it cannot be computed
    std::string name;                   // as messages name it: "BLAKE2b-200"
    std::size_t hexLength = 0;
};

// The algorithm a tagged line names, in any letter case: "MD5", "SHA1", "SHA256", "SHA512",
// "CRC32", b2sum's "BLAKE2b" (512 bits) and "BLAKE2b-N" (N bits, a multiple of 8, up to 512).
std::optional<NamedAlgorithm> AlgorithmOfTag(std::string_view tag);

// The algorithm of a checksum with this many hexadecimal digits in a sums file of this ending
// (".md5", ".SHA256", ...): the ending's where it has one of that length; in a ".b2" file BLAKE2b
// of that length, whatever it is; elsewhere the one of that length.
std::optional<NamedAlgorithm> AlgorithmOfLine(std::string_view ending, std::size_t hexDigits);

// A checksum as it is shown: CRC32 in capitals, as SFV files write it; the others in small
// letters, as the sums tools do.
std::string ShownChecksum(Algorithm algorithm, const std::string& hex);

} // namespace partwright
