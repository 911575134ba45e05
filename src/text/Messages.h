#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <system_error>
#include <vector>

namespace partwright::messages {

// Line breaks inside messages are CR LF.
inline constexpr char kLineBreak[] = "\r\n";

inline constexpr char kErrorTitle[] = "Error...";
inline constexpr char kInfoTitle[] = "Info...";
inline constexpr char kQuestionTitle[] = "Question...";

inline constexpr char kInvalidInput[] = "Invalid input.";
inline constexpr char kBuiltSuccessfully[] = "ISO built succesfully.";
inline constexpr char kCannotBuild[] = "Cannot built ISO.";

// An unexpected failure as the reports show it: a number and a description.
struct ErrorDetails {
    int number = 0;
    std::string description;
};
ErrorDetails DetailsOf(const std::exception& error);
ErrorDetails DetailsOf(const std::error_code& error);

// Refusals of a build before anything runs.
std::string DestinationIsAFolder(const std::string& destination);
std::string DestinationIsAPart(const std::string& part);
std::string TooLargeForFat(const std::string& folder, std::uint64_t imageSize);
std::string NotEnoughRoom(const std::string& folder, std::uint64_t imageSize,
                          std::uint64_t freeBytes);
// Names the Windows command interpreter would not take as they are.
std::string NameWithPercent(const std::string& path);
std::string PathTooLong(const std::string& path, std::size_t longest);
std::string FolderPathTooLong(const std::string& destination, std::size_t longest);

// The success report: where the image is, and a line about it when there is one.
std::string BuiltSuccessfully(const std::string& image, const std::string& imageReport);

// Questions of a build; the answer "No" leaves everything as it is.
std::string BuildAnywayQuestion(const std::vector<std::string>& findings);
std::string ReplaceQuestion(const std::string& destination);
std::string CancelOnCloseQuestion();

// A build the user cancelled.
std::string BuildCancelled(const std::string& destination, bool destinationExists);

// The joined image does not have the size the parts had when the build began: a part changed
// while it was joined. The image was not used.
std::string ImageSizeDiffers(std::uint64_t written, std::uint64_t expected,
                             const std::string& destination, bool destinationExists);

// A step between the join and the image taking the destination's place failed; `step` says what
// could not be done ("flush the image to disk").
std::string ImageNotPlaced(const std::string& step, const ErrorDetails& error,
                           const std::string& destination, bool destinationExists);

// A line for the success report: the image is in place, but its folder's flush to disk failed.
std::string FolderNotFlushed(const ErrorDetails& error);

// The destination cannot be looked at, for instance a loop of symbolic links.
std::string CannotUseDestination(const std::string& destination, const ErrorDetails& error);

// An unexpected failure inside the build operation.
std::string BuildFailedUnexpectedly();

// The same, in a step of a build that had started ("joining the parts"); what it left on disk.
std::string BuildStepFailed(const char* step, const ErrorDetails& error,
                            const std::string& destination, bool destinationExists, bool placed);

// An entry that is not an existing regular file; nothing was run.
std::string PartMissing(const std::string& path);

// A child that could not start, ended with a non-zero exit code or was ended by a signal.
struct ChildEnding {
    ErrorDetails startError; // number 0 when the child started
    std::int32_t exitCode = 0;
    int signal = 0;          // the signal that ended it; 0 when it exited
    std::string errorOutput; // what it said: the start of its error output, or its last lines
};
std::string JoinFailed(const ChildEnding& ending);

// The open dialog's result could not be split into files. No failure is pending at that point,
// so the error number is 0 and the description empty.
std::string InvalidFiles();

// The image cannot be written in the destination's folder.
std::string CannotWriteIn(const std::string& folder, const ErrorDetails& error);

// An unexpected failure while adding picked files.
std::string FileCouldNotBeOpened(const ErrorDetails& error);

// An unexpected failure while choosing the destination.
std::string FileCouldNotBeCreated(const ErrorDetails& error);

// The help viewer could not be started; the report names where the help file should be.
std::string HelpCannotBeOpened(const std::string& helpFilePath);

} // namespace partwright::messages
