#include "text/Messages.h"

#include "text/Numbers.h"

#include <string_view>
#include <system_error>

namespace partwright::messages {

namespace {

std::string Headline()
{
    return std::string(kCannotBuild) + kLineBreak + kLineBreak;
}

// The child's error output with its own line breaks turned into CR LF and trailing ones dropped.
std::string ErrorOutputLines(std::string_view output)
{
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r'))
        output.remove_suffix(1);
    std::string lines;
    for (const char c : output) {
        if (c == '\r')
            continue;
        if (c == '\n')
            lines += kLineBreak;
        else
            lines += c;
    }
    return lines;
}

} // namespace

std::string DestinationIsAFolder(const std::string& destination)
{
    return Headline() + "The destination is a folder:" + kLineBreak + "'" + destination + "'";
}

std::string DestinationIsAPart(const std::string& part)
{
    return Headline() + "The destination is one of the parts:" + kLineBreak + "'" + part + "'";
}

std::string TooLargeForFat(const std::string& folder, std::uint64_t imageSize)
{
    return Headline() + "The image would be " + GroupedNumber(imageSize) + " bytes (" +
           ByteSize(imageSize) + "), but '" + folder +
           "' is on a FAT file system, which holds no file larger than 4,294,967,295 bytes "
           "(4 GiB - 1 byte).";
}

std::string NotEnoughRoom(const std::string& folder, std::uint64_t imageSize,
                          std::uint64_t freeBytes)
{
    return Headline() + "There is not enough free space in '" + folder + "':" + kLineBreak +
           "the image needs " + GroupedNumber(imageSize) + " bytes (" + ByteSize(imageSize) +
           "), only " + GroupedNumber(freeBytes) + " bytes (" + ByteSize(freeBytes) + ") are free.";
}

std::string BuiltSuccessfully(const std::string& imageReport)
{
    return imageReport.empty()
               ? std::string(kBuiltSuccessfully)
               : kBuiltSuccessfully + std::string(kLineBreak) + kLineBreak + imageReport;
}

std::string BuildAnywayQuestion(const std::vector<std::string>& findings)
{
    constexpr std::size_t kShown = 12; // a long list of findings says enough in its first lines
    std::string text = std::string("The parts do not look like one complete set:") + kLineBreak;
    for (std::size_t i = 0; i < findings.size() && i < kShown; ++i)
        text += kLineBreak + findings[i];
    if (findings.size() > kShown)
        text += kLineBreak + ("... and " + std::to_string(findings.size() - kShown) + " more.");
    return text + kLineBreak + kLineBreak + "Build anyway?";
}

std::string ReplaceQuestion(const std::string& destination)
{
    return "'" + destination + "' already exists." + kLineBreak + kLineBreak +
           "Do you want to replace it?";
}

std::string CancelOnCloseQuestion()
{
    return std::string("An image is being built.") + kLineBreak + kLineBreak +
           "Do you want to cancel the build and close Partwright?";
}

std::string BuildCancelled(const std::string& destination, bool destinationExists)
{
    return std::string("The build was cancelled.") + kLineBreak + kLineBreak +
           (destinationExists ? "'" + destination + "' has not been changed."
                              : std::string("No image was written."));
}

std::string CannotWriteIn(const std::string& folder, const ErrorDetails& error)
{
    return Headline() + "The image cannot be written in '" + folder + "':" + kLineBreak +
           error.description + " (error " + std::to_string(error.number) + ").";
}

std::string BuildFailedUnexpectedly()
{
    return Headline() + "Input is invalid or some unknown error occured.";
}

std::string PartMissing(const std::string& path)
{
    return Headline() + "This part does not exist or is not a file:" + kLineBreak + "'" + path +
           "'";
}

std::string JoinFailed(const ChildOutcome& outcome)
{
    std::string text = Headline();
    if (outcome.startError != 0) {
        return text + "The command interpreter could not be started: " +
               SystemErrorText(outcome.startError) + " (error " +
               std::to_string(outcome.startError) + ").";
    }
    const std::string output = ErrorOutputLines(outcome.errorOutput);
    if (!output.empty())
        text += output + kLineBreak;
    if (outcome.signal != 0)
        return text + "The join was ended from outside (signal " + std::to_string(outcome.signal) +
               ").";
    return text + "The join ended with exit code " + std::to_string(outcome.exitCode) + ".";
}

ErrorDetails DetailsOf(const std::exception& error)
{
    if (const auto* systemError = dynamic_cast<const std::system_error*>(&error))
        return {systemError->code().value(), systemError->code().message()};
    return {0, error.what()};
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
           "Help file should be located at:" + kLineBreak + "'" + helpFilePath + "'.";
}

} // namespace partwright::messages
