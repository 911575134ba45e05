#include "platform/ChildProcess.h"
#include "platform/FileSystem.h"
#include "platform/SystemJoin.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace partwright {
namespace {

ChildOutcome RunJoin(const std::vector<std::string>& parts, const std::string& temporary,
                     const std::string& destination)
{
    ChildProcess child;
    EXPECT_EQ(child.start(SystemJoinCommand(parts, temporary, destination)), 0);
    child.wait();
    return child.outcome();
}

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
    const std::string destination = dir.file("-out $(touch x) `touch y`.iso");
    const std::string temporary = CreateTemporaryBeside(destination);

    const ChildOutcome outcome = RunJoin(parts, temporary, destination);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errorOutput;
    EXPECT_EQ(test::ReadFile(destination), expected);
    EXPECT_FALSE(std::filesystem::exists(temporary));
    for (const char* stray : {"pwned", "x", "y"}) {
        EXPECT_FALSE(std::filesystem::exists(dir.file(stray))) << stray;
        EXPECT_FALSE(std::filesystem::exists(stray)) << stray;
    }
}

TEST(SystemJoin, ReplacesAnExistingDestinationKeepingItsPermissions)
{
    test::TempDir dir;
    test::WriteFile(dir.file("a.1"), "new ");
    test::WriteFile(dir.file("a.2"), "image");
    test::WriteFile(dir.file("OUT.ISO"), "the old image, longer than the new one");
    chmod(dir.file("OUT.ISO").c_str(), 0640);
    const std::string temporary = CreateTemporaryBeside(dir.file("OUT.ISO"));

    const ChildOutcome outcome =
        RunJoin({dir.file("a.1"), dir.file("a.2")}, temporary, dir.file("OUT.ISO"));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errorOutput;
    EXPECT_EQ(test::ReadFile(dir.file("OUT.ISO")), "new image");
    struct stat status {};
    ASSERT_EQ(stat(dir.file("OUT.ISO").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

TEST(SystemJoin, AFailedCopyLeavesTheDestinationAlone)
{
    test::TempDir dir;
    test::WriteFile(dir.file("a.1"), "a");
    test::WriteFile(dir.file("OUT.ISO"), "old");
    const std::string temporary = CreateTemporaryBeside(dir.file("OUT.ISO"));

    const ChildOutcome outcome =
        RunJoin({dir.file("a.1"), dir.file("gone.2")}, temporary, dir.file("OUT.ISO"));
    EXPECT_NE(outcome.exitCode, 0);
    EXPECT_NE(outcome.errorOutput.find("gone.2"), std::string::npos) << outcome.errorOutput;
    EXPECT_EQ(test::ReadFile(dir.file("OUT.ISO")), "old");
}

TEST(CreateTemporaryBeside, MakesANewHiddenFileInTheSameFolder)
{
    test::TempDir dir;
    const std::string first = CreateTemporaryBeside(dir.file("DISC.ISO"));
    const std::string second = CreateTemporaryBeside(dir.file("DISC.ISO"));
    EXPECT_NE(first, second);
    for (const auto& path : {first, second}) {
        EXPECT_EQ(std::filesystem::path(path).parent_path(), dir.path());
        EXPECT_EQ(std::filesystem::path(path).filename().string().rfind(".DISC.ISO.", 0), 0u);
        EXPECT_EQ(std::filesystem::file_size(path), 0u);
    }
    EXPECT_THROW(CreateTemporaryBeside(dir.file("missing/DISC.ISO")), std::system_error);
}

} // namespace
} // namespace partwright
