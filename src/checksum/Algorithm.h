#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace partwright {

// The checksums that travel with the parts, weakest first.
enum class Algorithm { Crc32, Md5, Sha1, Sha256, Sha512 };

// "CRC32", "MD5", "SHA-1", "SHA-256", "SHA-512".
const char* AlgorithmName(Algorithm algorithm);

// Hexadecimal digits of a checksum: 8, 32, 40, 64, 128.
std::size_t HexLength(Algorithm algorithm);

// The algorithm whose checksums have this many hexadecimal digits.
std::optional<Algorithm> AlgorithmOfLength(std::size_t hexDigits);

// The algorithm of a sums file's ending (".md5", ".SHA256", ...); CRC32 for ".sfv" and ".crc".
std::optional<Algorithm> AlgorithmOfEnding(std::string_view ending);

// The algorithm a tagged line names: "MD5", "SHA1", "SHA256", "SHA512", "CRC32", in any case.
std::optional<Algorithm> AlgorithmOfTag(std::string_view tag);

// A checksum as it is shown: CRC32 in capitals, as SFV files write it; the others in small
// letters, as the sums tools do.
std::string ShownChecksum(Algorithm algorithm, const std::string& hex);

} // namespace partwright
