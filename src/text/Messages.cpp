#include "text/Messages.h"

#include "text/DisplayText.h"
#include "text/MessageParts.h"
#include "text/Numbers.h"

#include <string_view>
#include <system_error>

namespace partwright::messages {

namespace {

std::string Headline()
{
    return std::string(kCannotBuild) + kLineBreak + kLineBreak;
}

// The child's error output with its own line breaks (LF or CR LF) turned into CR LF and trailing
// ones dropped. It quotes names, so each line's content is escaped, not the breaks between them.
std::string ErrorOutputLines(std::string_view output)
{
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r'))
        output.remove_suffix(1);
    std::string lines;
    for (;;) {
        const std::size_t end = output.find('\n');
        std::string_view line = output.substr(0, end);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines += DisplayText(line);
        if (end == std::string_view::npos)
            return lines;
        lines += kLineBreak;
        output.remove_prefix(end + 1);
    }
}

} // namespace

std::string DestinationIsAFolder(const std::string& destination)
{
    return Headline() + "The destination is a folder:" + kLineBreak + Quoted(destination);
}

std::string DestinationIsAPart(const std::string& part)
{
    return Headline() + "The destination is one of the parts:" + kLineBreak + Quoted(part);
}

std::string TooLargeForFat(const std::string& folder, std::uint64_t imageSize)
{
    return Headline() + "The image would be " + GroupedNumber(imageSize) + " bytes (" +
           ByteSize(imageSize) + "), but " + Quoted(folder) +
           " is on a FAT file system, which holds no file larger than 4,294,967,295 bytes "
           "(4 GiB - 1 byte).";
}

std::string NotEnoughRoom(const std::string& folder, std::uint64_t imageSize,
                          std::uint64_t freeBytes)
{
    return Headline() + "There is not enough free space in " + Quoted(folder) + ":" + kLineBreak +
           "the image needs " + GroupedNumber(imageSize) + " bytes (" + ByteSize(imageSize) +
           "), only " + GroupedNumber(freeBytes) + " bytes (" + ByteSize(freeBytes) + ") are free.";
}

std::string NameWithPercent(const std::string& path)
{
    return Headline() +
           "The command interpreter would take the '%' in this name for a variable and change "
           "the name:" +
           kLineBreak + Quoted(path);
}

std::string PathTooLong(const std::string& path, std::size_t longest)
{
    return Headline() + "This path is longer than the " + std::to_string(longest) +
           " characters the system can take:" + kLineBreak + Quoted(path);
}

std::string FolderPathTooLong(const std::string& destination, std::size_t longest)
{
    return Headline() +
           "The image is written beside the destination under a temporary name first, and "
           "with it the path is longer than the " +
           std::to_string(longest) + " characters the system can take:" + kLineBreak +
           Quoted(destination);
}

std::string BuiltSuccessfully(const std::string& image, const std::string& imageReport)
{
    // The full path: a bare destination name was counted from a current folder that the file
    // dialogs may have moved anywhere.
    const std::string built =
        kBuiltSuccessfully + std::string(kLineBreak) + "The image is " + Quoted(image) + ".";
    return imageReport.empty() ? built : built + kLineBreak + kLineBreak + imageReport;
}

std::string BuildAnywayQuestion(const std::vector<std::string>& findings)
{
    constexpr std::size_t kShown = 12; // a long list of findings says enough in its first lines
    std::string text = std::string("The parts do not look like one complete set:") + kLineBreak;
    for (std::size_t i = 0; i < findings.size() && i < kShown; ++i)
        text += kLineBreak + DisplayText(findings[i]); // they name the parts
    if (findings.size() > kShown)
        text += kLineBreak + ("... and " + std::to_string(findings.size() - kShown) + " more.");
    return text + kLineBreak + kLineBreak + "Build anyway?";
}

std::string ReplaceQuestion(const std::string& destination)
{
    return Quoted(destination) + " already exists." + kLineBreak + kLineBreak +
           "Do you want to replace it?";
}

std::string CancelOnCloseQuestion()
{
    return std::string("An image is being built.") + kLineBreak + kLineBreak +
           "Do you want to cancel the build and close Partwright?";
}

namespace {

// How a build that did not finish left the destination.
std::string DestinationUnchanged(const std::string& destination, bool destinationExists)
{
    return destinationExists ? Quoted(destination) + " has not been changed."
                             : std::string("No image was written.");
}

} // namespace

std::string BuildCancelled(const std::string& destination, bool destinationExists)
{
    return std::string("The build was cancelled.") + kLineBreak + kLineBreak +
           DestinationUnchanged(destination, destinationExists);
}

std::string ImageSizeDiffers(std::uint64_t written, std::uint64_t expected,
                             const std::string& destination, bool destinationExists)
{
    return Headline() + "The joined image has " + GroupedNumber(written) +
           " bytes, but the parts had " + GroupedNumber(expected) +
           " bytes when the build began: a part changed while it was joined." + kLineBreak +
           kLineBreak + DestinationUnchanged(destination, destinationExists);
}

std::string ImageNotPlaced(const std::string& step, const ErrorDetails& error,
                           const std::string& destination, bool destinationExists)
{
    return Headline() + "Could not " + step + ":" + kLineBreak + Described(error) + "." +
           kLineBreak + kLineBreak + DestinationUnchanged(destination, destinationExists);
}

std::string FolderNotFlushed(const ErrorDetails& error)
{
    return "The image is in place, but its folder could not be flushed to disk: " +
           Described(error) + ".";
}

std::string CannotUseDestination(const std::string& destination, const ErrorDetails& error)
{
    return Headline() + "The destination cannot be used:" + kLineBreak + Quoted(destination) +
           kLineBreak + Described(error) + ".";
}

std::string CannotWriteIn(const std::string& folder, const ErrorDetails& error)
{
    return Headline() + "The image cannot be written in " + Quoted(folder) + ":" + kLineBreak +
           Described(error) + ".";
}

std::string BuildFailedUnexpectedly()
{
    return Headline() + "Input is invalid or some unknown error occured.";
}

std::string BuildStepFailed(const char* step, const ErrorDetails& error,
                            const std::string& destination, bool destinationExists, bool placed)
{
    return BuildFailedUnexpectedly() + kLineBreak + kLineBreak + "The build stopped while " + step +
           ": " + Described(error) + "." + kLineBreak + kLineBreak +
           (placed ? "The image is in place: " + Quoted(destination) + "."
                   : DestinationUnchanged(destination, destinationExists));
}

std::string PartMissing(const std::string& path)
{
    return Headline() + "This part does not exist or is not a file:" + kLineBreak + Quoted(path);
}

std::string JoinFailed(const ChildEnding& ending)
{
    std::string text = Headline();
    if (ending.startError.number != 0) {
        return text +
               "The command interpreter could not be started: " + Described(ending.startError) +
               ".";
    }
    const std::string output = ErrorOutputLines(ending.errorOutput);
    if (!output.empty())
        text += output + kLineBreak;
    if (ending.signal != 0)
        return text + "The join was ended from outside (signal " + std::to_string(ending.signal) +
               ").";
    return text + "The join ended with exit code " + std::to_string(ending.exitCode) + ".";
}

ErrorDetails DetailsOf(const std::exception& error)
{
    if (const auto* systemError = dynamic_cast<const std::system_error*>(&error))
        return DetailsOf(systemError->code());
    return {0, error.what()};
}

ErrorDetails DetailsOf(const std::error_code& error)
{
    return {error.value(), error.message()};
}

namespace {

std::string WithDetails(const std::string& headline, const ErrorDetails& error)
{
    return headline + kLineBreak + kLineBreak + std::to_string(error.number) + kLineBreak +
           error.description;
}

} // namespace

std::string InvalidFiles()
{
    return WithDetails(std::string("Invalid files.") + kLineBreak + kLineBreak + "Cannot open.",
                       {});
}

std::string FileCouldNotBeOpened(const ErrorDetails& error)
{
    return WithDetails("File could not be opened.", error);
}

std::string FileCouldNotBeCreated(const ErrorDetails& error)
{
    return WithDetails("File could not be created.", error);
}

std::string HelpCannotBeOpened(const std::string& helpFilePath)
{
    return std::string("Help file cannot be opened.") + kLineBreak + kLineBreak +
           "Help file should be located at:" + kLineBreak + Quoted(helpFilePath) + ".";
}

} // namespace partwright::messages
