#include "text/ChecksumMessages.h"

#include "text/DisplayText.h"
#include "text/MessageParts.h"
#include "text/Numbers.h"

namespace partwright::messages {

std::string PartDoesNotMatch(const std::string& part, const char* algorithm,
                             const std::string& checksumFile, const std::string& expected,
                             const std::string& found)
{
    return part + " does not match its " + algorithm + " in " + checksumFile + ": expected " +
           expected + ", found " + found + ".";
}

std::string PartNotReadForCheck(const std::string& part, const std::string& checksumFile,
                                const ErrorDetails& error)
{
    return part + " could not be read to check it against " + checksumFile + ": " +
           Described(error) + ".";
}

std::string PartNotListed(const std::string& part, const std::string& checksumFile)
{
    return part + " is named in " + checksumFile + " but is not in the list.";
}

std::string PartsSizeDiffers(std::uint64_t partsSize, const std::string& checksumFile,
                             std::uint64_t imageSize)
{
    return "The parts have " + GroupedNumber(partsSize) + " bytes together, but " + checksumFile +
           " gives the image " + GroupedNumber(imageSize) + " bytes.";
}

namespace {

// "has two different SHA-256 checksums: 1a2b in A.sha256 and 3c4d in B.sha256; neither is checked."
std::string TwoChecksums(const DifferingChecksums& checksums)
{
    const std::string firstFrom =
        checksums.firstFile == checksums.secondFile ? "" : " in " + checksums.firstFile;
    return std::string(" has two different ") + checksums.algorithm +
           " checksums: " + checksums.first + firstFrom + " and " + checksums.second + " in " +
           checksums.secondFile + "; neither is checked.";
}

} // namespace

std::string PartChecksumsDiffer(const std::string& part, const DifferingChecksums& checksums)
{
    return part + TwoChecksums(checksums);
}

std::string ImageChecksumsDiffer(const DifferingChecksums& checksums)
{
    return "The image" + TwoChecksums(checksums);
}

std::string ChecksumFileNotRead(const std::string& checksumFile, const ErrorDetails& error)
{
    return DisplayText(checksumFile) + " could not be read: " + Described(error) + ".";
}

std::string ChecksumFileTooLarge(const std::string& checksumFile)
{
    return DisplayText(checksumFile) + " is too large to be a checksum file; it was not read.";
}

std::string ChecksumFileNotUnderstood(const std::string& checksumFile)
{
    return DisplayText(checksumFile) + " holds no checksum that Partwright can read.";
}

std::string ChecksumFileAmbiguous(const std::string& checksumFile, std::size_t candidates)
{
    return DisplayText(checksumFile) + " gives checksums for " + std::to_string(candidates) +
           " files that could be the image and cannot tell which; none of them was used.";
}

std::string ChecksumsNotComputable(const std::string& checksumFile, const std::string& algorithm)
{
    return DisplayText(checksumFile) + " holds " + algorithm +
           " checksums, which Partwright cannot compute; they were not checked.";
}

// The checksum is computed from the image file itself, not from the parts the join read.
std::string ImageMatches(const char* algorithm, bool sizeToo, const std::string& checksumFile,
                         bool readWhileWritten)
{
    return std::string(algorithm) + (sizeToo ? " and size match " : " matches ") +
           DisplayText(checksumFile) + "." + kLineBreak +
           (readWhileWritten ? "Checked on the image as it was written."
                             : "Checked on the image once it was written.");
}

std::string OrderNotChecked()
{
    return "No checksum of the whole image was found; parts checked one by one do not show "
           "that they were joined in the right order.";
}

std::string PartsChecked(const char* algorithm, const std::string& checksumFile,
                         std::size_t matched, std::size_t differing, bool everyPart,
                         PartsCheckedWhere where)
{
    const std::string file = DisplayText(checksumFile);
    const bool inImage = where == PartsCheckedWhere::InTheImage;
    if (differing == 0 && everyPart)
        return std::string(algorithm) + " of every part matches " + file +
               (inImage ? ", each part checked in its place in the image as it was written: the "
                          "parts were joined in the right order."
                        : " (checked before the join).");
    std::string text = std::string(algorithm) + " of " + std::to_string(matched) +
                       (matched == 1 ? " part matches " : " parts match ") + file;
    if (differing > 0)
        text += "; " + std::to_string(differing) + (differing == 1 ? " does not" : " do not");
    return text + (inImage ? " (checked in their places in the image as it was written)."
                           : " (checked before the join).");
}

std::string ImageNotChecked(const std::string& checksumFile, const std::string& reason)
{
    return "The image was not checked against " + DisplayText(checksumFile) + ": " + reason;
}

std::string PartsNotChecked(const std::string& checksumFile, const std::string& reason)
{
    return "The parts were not checked against " + DisplayText(checksumFile) + ": " + reason;
}

std::string ImageNotRead(const ErrorDetails& error)
{
    return "the image could not be read: " + Described(error) + ".";
}

std::string AlgorithmNotAvailable(const char* algorithm, const ErrorDetails& error)
{
    return std::string(algorithm) + " cannot be computed on this system: " + error.description +
           ".";
}

std::string ImageMismatchLines(const ImageMismatch& mismatch)
{
    const std::string file = DisplayText(mismatch.checksumFile);
    return std::string("The image does not match its ") + mismatch.algorithm + " in " + file + ":" +
           kLineBreak + "expected " + mismatch.expected + "," + kLineBreak + "found " +
           mismatch.found + ".";
}

std::string MismatchReplaceQuestion(const ImageMismatch& mismatch, const std::string& destination)
{
    return ImageMismatchLines(mismatch) + kLineBreak + kLineBreak + Quoted(destination) +
           " already exists. Do you want to replace it with this image?";
}

std::string ImageDoesNotMatch(const ImageMismatch& mismatch, MismatchOutcome outcome,
                              const std::string& destination)
{
    return MismatchReport(ImageMismatchLines(mismatch), outcome, destination);
}

std::string KeepImageQuestion(const std::string& mismatchLines)
{
    return mismatchLines + kLineBreak + kLineBreak + "Keep the image anyway?";
}

std::string MismatchReport(const std::string& mismatchLines, MismatchOutcome outcome,
                           const std::string& destination)
{
    const std::string text = mismatchLines + kLineBreak + kLineBreak;
    switch (outcome) {
    case MismatchOutcome::Kept:
        return text + "The image was kept: " + Quoted(destination) + ".";
    case MismatchOutcome::Replaced:
        return text + "The image replaced " + Quoted(destination) + ".";
    case MismatchOutcome::RemovedNothingWritten:
        return text + "The image was removed; nothing was written to " + Quoted(destination) + ".";
    case MismatchOutcome::Removed:
        break;
    }
    return text + "The image was removed; " + Quoted(destination) + " has not been changed.";
}

} // namespace partwright::messages
