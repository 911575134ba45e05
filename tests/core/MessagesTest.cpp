#include "text/Messages.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <stdexcept>
#include <system_error>

namespace partwright {
namespace {

TEST(BuildMessages, FixedTexts)
{
    EXPECT_STREQ(messages::kInvalidInput, "Invalid input.");
    EXPECT_STREQ(messages::kBuiltSuccessfully, "ISO built succesfully.");
    EXPECT_STREQ(messages::kErrorTitle, "Error...");
    EXPECT_STREQ(messages::kInfoTitle, "Info...");
    EXPECT_EQ(messages::BuildFailedUnexpectedly(),
              "Cannot built ISO.\r\n\r\nInput is invalid or some unknown error occured.");
    EXPECT_EQ(messages::PartMissing("/img/DISC.002"),
              "Cannot built ISO.\r\n\r\nThis part does not exist or is not a file:\r\n"
              "'/img/DISC.002'");
}

messages::ChildEnding Outcome(int startError, std::int32_t exitCode, int signal,
                              std::string errorOutput)
{
    messages::ChildEnding ending;
    if (startError != 0)
        ending.startError = {startError, "No such file or directory"};
    ending.exitCode = exitCode;
    ending.signal = signal;
    ending.errorOutput = std::move(errorOutput);
    return ending;
}

TEST(Messages, FileDialogAndHelpFailures)
{
    EXPECT_EQ(messages::InvalidFiles(), "Invalid files.\r\n\r\nCannot open.\r\n\r\n0\r\n");
    EXPECT_EQ(messages::FileCouldNotBeOpened({2, "No such file or directory"}),
              "File could not be opened.\r\n\r\n2\r\nNo such file or directory");
    EXPECT_EQ(messages::FileCouldNotBeCreated({13, "Permission denied"}),
              "File could not be created.\r\n\r\n13\r\nPermission denied");
    EXPECT_EQ(messages::HelpCannotBeOpened("C:\\My Tools\\Partwright_by_Quillon_README.txt"),
              "Help file cannot be opened.\r\n\r\nHelp file should be located at:\r\n"
              "'C:\\My Tools\\Partwright_by_Quillon_README.txt'.");
    EXPECT_EQ(messages::HelpCannotBeOpened(""),
              "Help file cannot be opened.\r\n\r\nHelp file should be located at:\r\n''.");
}

TEST(Messages, DetailsOfAFailure)
{
    const auto system = messages::DetailsOf(std::system_error(ENOENT, std::generic_category()));
    EXPECT_EQ(system.number, ENOENT);
    EXPECT_EQ(system.description, std::generic_category().message(ENOENT));
    const auto other = messages::DetailsOf(std::runtime_error("odd"));
    EXPECT_EQ(other.number, 0);
    EXPECT_EQ(other.description, "odd");
}

TEST(BuildMessages, JoinFailedGivesTheSystemsReason)
{
    const struct {
        const char* name;
        messages::ChildEnding outcome;
        std::string expected;
    } cases[] = {
        {"StartFailed", Outcome(2, 2, 0, ""),
         "Cannot built ISO.\r\n\r\nThe command interpreter could not be started: No such file "
         "or directory (error 2)."},
        {"ExitCodeWithErrorOutput", Outcome(0, 1, 0, "cat: /img/a.001: Permission denied\n"),
         "Cannot built ISO.\r\n\r\ncat: /img/a.001: Permission denied\r\n"
         "The join ended with exit code 1."},
        {"SeveralLinesBecomeCrLf", Outcome(0, 2, 0, "first\nsecond\r\n\n"),
         "Cannot built ISO.\r\n\r\nfirst\r\nsecond\r\nThe join ended with exit code 2."},
        {"ExitCodeWithoutOutput", Outcome(0, -5, 0, ""),
         "Cannot built ISO.\r\n\r\nThe join ended with exit code -5."},
        {"EndedBySignal", Outcome(0, 137, 9, ""),
         "Cannot built ISO.\r\n\r\nThe join was ended from outside (signal 9)."},
        {"NamesInTheOutputEscapedLineByLine",
         Outcome(0, 1, 0, "cat: '/i/\xE2\x80\xAE\x1B[2Jb\xFF': denied\r\nx\ry\n"),
         "Cannot built ISO.\r\n\r\ncat: '/i/<U+202E>\\x1B[2Jb\\xFF': denied\r\nx\\ry\r\n"
         "The join ended with exit code 1."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(messages::JoinFailed(c.outcome), c.expected) << c.name;
}

TEST(BuildMessages, NamesTheCommandInterpreterCannotTake)
{
    EXPECT_EQ(messages::NameWithPercent("C:\\img\\%OS%.001"),
              "Cannot built ISO.\r\n\r\nThe command interpreter would take the '%' in this name "
              "for a variable and change the name:\r\n'C:\\img\\%OS%.001'");
    EXPECT_EQ(messages::PathTooLong("C:\\a", 259),
              "Cannot built ISO.\r\n\r\nThis path is longer than the 259 characters the system "
              "can take:\r\n'C:\\a'");
    EXPECT_EQ(messages::FolderPathTooLong("C:\\a\\b.iso", 259),
              "Cannot built ISO.\r\n\r\nThe image is written beside the destination under a "
              "temporary name first, and with it the path is longer than the 259 characters the "
              "system can take:\r\n'C:\\a\\b.iso'");
}

TEST(Messages, NamesFromOutsideAreShownEscaped)
{
    const std::string name = "/i/a\n\xE2\x80\xAE"
                             "b\xFF";
    const std::string shown = "'/i/a\\n<U+202E>b\\xFF'";
    const std::string reports[] = {
        messages::DestinationIsAFolder(name),
        messages::DestinationIsAPart(name),
        messages::TooLargeForFat(name, 1),
        messages::NotEnoughRoom(name, 2, 1),
        messages::BuildAnywayQuestion({"x '" + name + "' x"}),
        messages::ReplaceQuestion(name),
        messages::BuildCancelled(name, true),
        messages::CannotWriteIn(name, {}),
        messages::CannotUseDestination(name, {}),
        messages::PartMissing(name),
        messages::NameWithPercent(name),
        messages::PathTooLong(name, 1),
        messages::FolderPathTooLong(name, 1),
        messages::HelpCannotBeOpened(name),
    };
    for (const auto& report : reports)
        EXPECT_NE(report.find(shown), std::string::npos) << report;
}

// What the report says when the image did not take the destination's place, and how it left
// the destination.
TEST(BuildMessages, ImageThatWasNotPlaced)
{
    EXPECT_EQ(messages::ImageSizeDiffers(1000, 3000, "/img/OUT.ISO", true),
              "Cannot built ISO.\r\n\r\nThe joined image has 1,000 bytes, but the parts had 3,000 "
              "bytes when the build began: a part changed while it was joined.\r\n\r\n"
              "'/img/OUT.ISO' has not been changed.");
    EXPECT_EQ(messages::ImageNotPlaced("flush the image to disk", {5, "Input/output error"},
                                       "/o.iso", false),
              "Cannot built ISO.\r\n\r\nCould not flush the image to disk:\r\n"
              "Input/output error (error 5).\r\n\r\nNo image was written.");
    EXPECT_EQ(messages::FolderNotFlushed({5, "Input/output error"}),
              "The image is in place, but its folder could not be flushed to disk: "
              "Input/output error (error 5).");
    EXPECT_EQ(messages::CannotUseDestination("/l.iso", {40, "Too many levels of symbolic links"}),
              "Cannot built ISO.\r\n\r\nThe destination cannot be used:\r\n'/l.iso'\r\n"
              "Too many levels of symbolic links (error 40).");
}

} // namespace
} // namespace partwright
