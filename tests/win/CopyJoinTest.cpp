// Real joins through cmd.exe's COPY /B, as the Windows build composes them.

#include "platform/ChildProcess.h"
#include "platform/FileSystem.h"
#include "platform/SystemJoin.h"
#include "support/TempDir.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <windows.h>

namespace partwright {
namespace {

// Runs the join, but never longer than a minute: a child that waits for an answer must fail the
// test instead of hanging it.
ChildOutcome JoinWithin(const std::vector<std::string>& parts, const std::string& destination)
{
    const std::string temporary = CreateTemporaryBeside(destination);
    ChildProcess child;
    EXPECT_EQ(child.start(SystemJoinCommand(parts, temporary, destination)), 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!child.poll()) {
        if (std::chrono::steady_clock::now() > deadline) {
            child.kill();
            ADD_FAILURE() << "the join did not end within a minute";
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_FALSE(std::filesystem::exists(temporary));
    return child.outcome();
}

std::vector<std::string> MakeParts(const test::TempDir& dir, const std::vector<std::string>& names,
                                   std::string& joined)
{
    std::vector<std::string> parts;
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string content = "part " + std::to_string(i) + std::string(3000 * (i + 1), char(i));
        content += "\x1a\r\n"; // an end-of-file mark that a text copy would stop at
        test::WriteFile(dir.file(names[i]), content);
        parts.push_back(dir.file(names[i]));
        joined += content;
    }
    return parts;
}

TEST(CopyJoin, ThreePartsByteForByte)
{
    test::TempDir dir;
    std::string joined;
    const auto parts = MakeParts(dir, {"GAME.001", "GAME.002", "GAME.003"}, joined);
    const ChildOutcome outcome = JoinWithin(parts, dir.file("OUTFILE.ISO"));
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(test::ReadFile(dir.file("OUTFILE.ISO")), joined);
}

TEST(CopyJoin, PathsWithBlanksAndSpecialCharacters)
{
    test::TempDir dir;
    std::filesystem::create_directory(dir.file("my parts"));
    std::string joined;
    const auto parts = MakeParts(
        dir, {"my parts\\disc one.001", "my parts\\a&b;c.002", "my parts\\(x) y.003"}, joined);
    const ChildOutcome outcome = JoinWithin(parts, dir.file("my parts\\disc one.iso"));
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(test::ReadFile(dir.file("my parts\\disc one.iso")), joined);
}

TEST(CopyJoin, ExistingDestinationWithCopycmdAskingDoesNotHang)
{
    test::TempDir dir;
    std::string joined;
    const auto parts = MakeParts(dir, {"A.001", "A.002"}, joined);
    test::WriteFile(dir.file("OUT.ISO"), "old image");
    // With COPYCMD=/-Y an unattended COPY or MOVE would ask before overwriting; /Y overrides it.
    SetEnvironmentVariableA("COPYCMD", "/-Y");
    const ChildOutcome outcome = JoinWithin(parts, dir.file("OUT.ISO"));
    SetEnvironmentVariableA("COPYCMD", nullptr);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(test::ReadFile(dir.file("OUT.ISO")), joined);
}

TEST(CopyJoin, ClassifiesTheRunningSystem)
{
    // Whatever Wine reports by default, it is an NT system, joined with cmd.exe.
    const ChildCommand command = SystemJoinCommand({"a"}, "t", "d");
    EXPECT_EQ(command.commandLine.rfind("cmd.exe /c COPY /B /Y ", 0), 0u) << command.commandLine;
    EXPECT_TRUE(command.argv.empty());
}

} // namespace
} // namespace partwright
