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

ChildOutcome Outcome(int startError, std::int32_t exitCode, int signal, std::string errorOutput)
{
    ChildOutcome outcome;
    outcome.startError = startError;
    outcome.exitCode = exitCode;
    outcome.signal = signal;
    outcome.errorOutput = std::move(errorOutput);
    return outcome;
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
        ChildOutcome outcome;
        std::string expected;
    } cases[] = {
        {"StartFailed", Outcome(2, 2, 0, ""),
         "Cannot built ISO.\r\n\r\nThe command interpreter could not be started: " +
             SystemErrorText(2) + " (error 2)."},
        {"ExitCodeWithErrorOutput", Outcome(0, 1, 0, "cat: /img/a.001: Permission denied\n"),
         "Cannot built ISO.\r\n\r\ncat: /img/a.001: Permission denied\r\n"
         "The join ended with exit code 1."},
        {"SeveralLinesBecomeCrLf", Outcome(0, 2, 0, "first\nsecond\r\n\n"),
         "Cannot built ISO.\r\n\r\nfirst\r\nsecond\r\nThe join ended with exit code 2."},
        {"ExitCodeWithoutOutput", Outcome(0, -5, 0, ""),
         "Cannot built ISO.\r\n\r\nThe join ended with exit code -5."},
        {"EndedBySignal", Outcome(0, 137, 9, ""),
         "Cannot built ISO.\r\n\r\nThe join was ended from outside (signal 9)."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(messages::JoinFailed(c.outcome), c.expected) << c.name;
}

} // namespace
} // namespace partwright
