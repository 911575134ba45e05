#pragma once

#include "text/Messages.h"

#include <cstdint>
#include <string>

// What the build says about the checksum files that came with the parts. Names are file names
// without their folders; `algorithm` is a name such as "SHA-256"; checksums are shown as given.
namespace partwright::messages {

// Findings for the "Build anyway?" question; like the part-set findings they are raw text, which
// the question shows escaped.
std::string PartDoesNotMatch(const std::string& part, const char* algorithm,
                             const std::string& checksumFile, const std::string& expected,
                             const std::string& found);
std::string PartNotReadForCheck(const std::string& part, const std::string& checksumFile,
                                const ErrorDetails& error);
std::string PartNotListed(const std::string& part, const std::string& checksumFile);
std::string PartsSizeDiffers(std::uint64_t partsSize, const std::string& checksumFile,
                             std::uint64_t imageSize);

// Two lines, in one checksum file or in two, that give one file different checksums of one
// algorithm; neither is used.
struct DifferingChecksums {
    const char* algorithm = "";
    std::string first; // checksums, as shown
    std::string firstFile;
    std::string second;
    std::string secondFile;
};
std::string PartChecksumsDiffer(const std::string& part, const DifferingChecksums& checksums);
std::string ImageChecksumsDiffer(const DifferingChecksums& checksums);

// Lines for the report after a build, shown escaped.
std::string ChecksumFileNotRead(const std::string& checksumFile, const ErrorDetails& error);
std::string ChecksumFileTooLarge(const std::string& checksumFile);
std::string ChecksumFileNotUnderstood(const std::string& checksumFile);
std::string ChecksumFileAmbiguous(const std::string& checksumFile, std::size_t candidates);
// Lines of an algorithm the library lacks, such as b2sum's "BLAKE2b-200".
std::string ChecksumsNotComputable(const std::string& checksumFile, const std::string& algorithm);

// Computed from the image file itself, while the join wrote it or once it had ended.
std::string ImageMatches(const char* algorithm, bool sizeToo, const std::string& checksumFile,
                         bool readWhileWritten);
// The parts against a checksum file: before the join, or each in its place in the image as it was
// written, which shows their order too when every part matches.
enum class PartsCheckedWhere { BeforeTheJoin, InTheImage };
std::string PartsChecked(const char* algorithm, const std::string& checksumFile,
                         std::size_t matched, std::size_t differing, bool everyPart,
                         PartsCheckedWhere where);
// The image's checksum, or the parts' checksums in a file, that could not be checked and why.
std::string ImageNotChecked(const std::string& checksumFile, const std::string& reason);
std::string PartsNotChecked(const std::string& checksumFile, const std::string& reason);
// Parts checked one by one, and nothing of the whole image: their order is not proven.
std::string OrderNotChecked();
inline constexpr char kCheckCancelled[] = "the check was cancelled.";
std::string ImageNotRead(const ErrorDetails& error);
std::string AlgorithmNotAvailable(const char* algorithm, const ErrorDetails& error);
inline constexpr char kImageChangedWhileRead[] = "the image changed while it was read.";

// The image does not match the whole image's checksum: the values and the file they came from.
struct ImageMismatch {
    const char* algorithm = "";
    std::string checksumFile;
    std::string expected; // checksums, as shown
    std::string found;
};
std::string MismatchReplaceQuestion(const ImageMismatch& mismatch, const std::string& destination);
// What happened to the image: kept as a new file, put in the old one's place, or removed, with the
// old file left as it was or with nothing written.
enum class MismatchOutcome { Kept, Replaced, Removed, RemovedNothingWritten };
std::string ImageDoesNotMatch(const ImageMismatch& mismatch, MismatchOutcome outcome,
                              const std::string& destination);
std::string ImageMismatchLines(const ImageMismatch& mismatch);

// Parts that did not match in their places in the image (and the image's own mismatch, if any),
// as lines: asked about before the image takes the destination's place, and reported.
std::string KeepImageQuestion(const std::string& mismatchLines);
std::string MismatchReport(const std::string& mismatchLines, MismatchOutcome outcome,
                           const std::string& destination);

} // namespace partwright::messages
