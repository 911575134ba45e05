#include "build/JoinCommand.h"
#include "platform/ChildProcess.h"
#include "platform/SystemJoin.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace partwright {
namespace {

// The system's join really runs: names that a shell would split, expand or take for options
// reach cat unchanged, and nothing in them is executed.
TEST(SystemJoin, JoinsAwkwardNamesByteForByteAndRunsNothing)
{
    test::TempDir dir;
    const std::string names[] = {"-a b$HOME'\".001", "semi;colon & amp.002", "$(touch pwned).003",
                                 "\xc3\xbcmlaut \xe2\x80\x94 dash.004", " lead and trail .005"};
    std::vector<std::string> parts;
    std::string expected;
    for (std::size_t i = 0; i < std::size(names); ++i) {
        std::string content = "part " + std::to_string(i) + '\n' + std::string(i * 1000, char(i));
        content += '\0';
        test::WriteFile(dir.file(names[i]), content);
        parts.push_back(dir.file(names[i]));
        expected += content;
    }
    const std::string destination = dir.file("out $(touch x) `touch y`.iso");

    ChildProcess child;
    ASSERT_EQ(child.start(SystemJoinCommand(parts, "  " + destination + "  ")), 0);
    child.wait();
    EXPECT_EQ(child.outcome().exitCode, 0) << child.outcome().errorOutput;
    EXPECT_EQ(test::ReadFile(destination), expected);
    for (const char* stray : {"pwned", "x", "y"}) {
        EXPECT_FALSE(std::filesystem::exists(dir.file(stray))) << stray;
        EXPECT_FALSE(std::filesystem::exists(stray)) << stray;
    }
}

TEST(SystemJoin, ReportsAMissingDestinationFolderThroughTheExitCode)
{
    test::TempDir dir;
    test::WriteFile(dir.file("a.001"), "a");
    ChildProcess child;
    ASSERT_EQ(child.start(SystemJoinCommand({dir.file("a.001")}, dir.file("missing/OUT.ISO"))), 0);
    child.wait();
    EXPECT_NE(child.outcome().exitCode, 0);
    EXPECT_NE(child.outcome().errorOutput.find("missing/OUT.ISO"), std::string::npos)
        << child.outcome().errorOutput;
}

} // namespace
} // namespace partwright
