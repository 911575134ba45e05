#include "join/ShellSelection.h"

#include <gtest/gtest.h>

namespace partwright {
namespace {

struct VersionCase {
    std::uint32_t platformId;
    std::uint32_t major;
    std::uint32_t minor;
    std::string service;
    int expectedCode;
    const char* expectedShell;
};

std::string Describe(const VersionCase& c)
{
    return "platform " + std::to_string(c.platformId) + " version " + std::to_string(c.major) +
           "." + std::to_string(c.minor) + " service '" + c.service + "'";
}

TEST(ClassifyWinVersion, EveryRowOfTheVersionTable)
{
    const VersionCase cases[] = {
        // NT family: the service text is never read.
        {2, 3, 51, "", 6, "cmd.exe"},
        {2, 4, 0, "", 7, "cmd.exe"},
        {2, 4, 0, " B", 7, "cmd.exe"},
        {2, 4, 0, "Service Pack 6", 7, "cmd.exe"},
        {2, 5, 0, "", 8, "cmd.exe"},
        {2, 5, 1, "", 9, "cmd.exe"},
        {2, 5, 2, "", 8, "cmd.exe"},
        {2, 6, 0, "", 10, "cmd.exe"},
        {2, 6, 1, "", 10, "cmd.exe"},
        {2, 6, 2, "", 10, "cmd.exe"},
        {2, 6, 3, "", 10, "cmd.exe"},
        {2, 10, 0, "", 11, "cmd.exe"},
        {2, 0, 0, "", 11, "cmd.exe"},
        // DOS-based family, platform 1; 0 and 3 follow the same rules.
        {1, 4, 0, " B", 2, "command.com"},
        {1, 4, 0, "B", 2, "command.com"},
        {1, 4, 0, " C", 1, "command.com"},
        {1, 4, 0, "", 1, "command.com"},
        {1, 4, 0, " b", 1, "command.com"},
        {1, 4, 0, "\tB", 1, "command.com"}, // only spaces are blanks
        {1, 4, 0, std::string(128, ' '), 1, "command.com"},
        {1, 4, 10, " A ", 4, "command.com"},
        {1, 4, 10, "A", 4, "command.com"},
        {1, 4, 10, "", 3, "command.com"},
        {1, 4, 10, " a ", 3, "command.com"},
        {1, 4, 10, " AB", 3, "command.com"},
        {1, 4, 90, " ", 5, "cmd.exe"},
        {1, 4, 90, " A ", 5, "cmd.exe"},
        {1, 4, 3, "", 11, "cmd.exe"},
        {1, 5, 0, " B", 11, "cmd.exe"},
        {1, 3, 10, "", 11, "cmd.exe"},
        {0, 4, 0, "", 1, "command.com"},
        {0, 4, 0, " B", 2, "command.com"},
        {3, 4, 0, " B", 2, "command.com"},
        {3, 4, 10, " A ", 4, "command.com"},
        // A failed query leaves the prepared record: platform 0, version 0.0, 128 blanks.
        {0, 0, 0, std::string(128, ' '), 11, "cmd.exe"},
    };
    for (const auto& c : cases) {
        const int code = ClassifyWinVersion({c.platformId, c.major, c.minor, c.service});
        EXPECT_EQ(code, c.expectedCode) << Describe(c);
        EXPECT_EQ(ShellNameForVersion(code), c.expectedShell) << Describe(c);
    }
}

TEST(ShellNameForVersion, CommandComOnlyForTheDosBasedCodes)
{
    const struct {
        int code;
        const char* shell;
    } cases[] = {{-1, "cmd.exe"},    {0, "cmd.exe"}, {1, "command.com"}, {2, "command.com"},
                 {4, "command.com"}, {5, "cmd.exe"}, {11, "cmd.exe"},    {12, "cmd.exe"}};
    for (const auto& c : cases)
        EXPECT_EQ(ShellNameForVersion(c.code), c.shell) << c.code;
}

} // namespace
} // namespace partwright
