#pragma once

#include "checksum/Algorithm.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace partwright {

// One checksum that a checksum file gives.
struct ChecksumEntry {
    std::string name; // the file it is for, as written; empty for a file that holds a bare hash
    Algorithm algorithm = Algorithm::Crc32;
    std::string hex;                   // in small letters
    std::optional<std::uint64_t> size; // the size a .crc file gives the whole file
};

// What a checksum file gives.
struct ChecksumFileContents {
    std::vector<ChecksumEntry> entries;
    // The algorithms of its lines that the library cannot compute ("BLAKE2b-200"), once each.
    std::vector<std::string> notComputable;
};

// The checksums in a checksum file's text, read by the file's ending, in any letter case:
// - .md5, .sha1, .sha256, .sha512, .b2: the sums tools' lines "HASH  NAME" and "HASH *NAME" (a
//   line that starts with "\" has its name escaped), their tagged lines "SHA256 (NAME) = HASH",
//   or a bare hash. A tag names the algorithm; otherwise the ending does, unless the hash has
//   the length of another one's; in a .b2 file it is BLAKE2b of the hash's length.
// - .sfv: "NAME CRC32" lines; the checksum is the last word, so names may hold blanks.
// - .crc: the "key=value" lines that file managers write when they split a file: filename=,
//   filenameutf8= (preferred), size=, crc32=, for the whole file that was split.
// Blank lines, comments ("#"; ";" in SFV) and lines that are no checksum are passed over; no
// entries and nothing not computable means the file holds nothing that can be read.
ChecksumFileContents ParseChecksumFile(std::string_view text, std::string_view ending);

} // namespace partwright
