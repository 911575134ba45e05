#pragma once

#include "checksum/Algorithm.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace partwright {

// A checksum file's checksum of one listed part.
struct PartChecksum {
    std::size_t part = 0; // the part's place in the list, from 0
    Algorithm algorithm = Algorithm::Crc32;
    std::string hex;
    std::string checksumFile; // its file name
};

// A checksum file's checksum of the whole image.
struct ImageChecksum {
    Algorithm algorithm = Algorithm::Crc32;
    std::string hex;
    std::optional<std::uint64_t> size; // a .crc file gives the size too
    std::string checksumFile;
};

// What the checksum files that came with the parts say, before anything is read of the parts.
struct ChecksumPlan {
    std::vector<PartChecksum> parts;    // at most one a listed part, in list order
    std::optional<ImageChecksum> image; // the strongest checksum of the whole image
    std::vector<std::string> findings;  // for the question before the join
    std::vector<std::string> notes;     // for the report: the files that could not be used
};

// Looks for the checksum files of the listed set (see PartSequence) in its first member's folder
// and the destination's: their names are the set's stem ("DISC" for DISC.001, "img.iso" for
// img.iso.aa) with a checksum ending, or with ".iso" or the destination's ending before it
// ("DISC.iso.sha256"), in any letter case. A checksum line whose name is a listed part's is that
// part's checksum; a line for a part of the set's stem and kind that the list lacks is a finding.
// The whole image's checksum is a line that names the destination's file name; where no file has
// one, a file's one entry, a bare hash, or the one line whose name has the set's stem (a file
// with several such lines cannot tell which and gives none). Lines of one algorithm for one file
// that disagree, in one checksum file or in two, are a finding and neither is used; the strongest
// algorithm whose lines agree is. A .crc file's size that differs from the parts' together is a
// finding too. Files that cannot be read or hold nothing readable are notes; they never stop a
// build.
ChecksumPlan PlanChecksums(const std::vector<std::string>& parts, const std::string& destination,
                           std::uint64_t imageSize);

} // namespace partwright
