#include "platform/ChildProcess.h"

#include "support/TempDir.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace partwright {
namespace {

ChildCommand Shell(const std::string& script)
{
    return ChildCommand{{"/bin/sh", "-c", script}, {}};
}

TEST(ExecCmd, ReturnsTheChildsExitCode)
{
    const struct {
        const char* script;
        int expected;
    } cases[] = {{"exit 0", 0}, {"exit 1", 1}, {"exit 255", 255}, {"kill -9 $$", 128 + SIGKILL}};
    for (const auto& c : cases)
        EXPECT_EQ(ExecCmd(Shell(c.script)), c.expected) << c.script;
}

TEST(ExecCmd, ReturnsTheSystemErrorCodeWhenTheProgramCannotStart)
{
    EXPECT_EQ(ExecCmd(ChildCommand{{"/nonexistent/program"}, {}}), ENOENT);
    test::TempDir dir;
    test::WriteFile(dir.file("not-executable"), "#!/bin/sh\n");
    EXPECT_EQ(ExecCmd(ChildCommand{{dir.file("not-executable")}, {}}), EACCES);
}

TEST(ChildProcess, FailedStartRunsNothingAndKeepsTheCode)
{
    ChildProcess child;
    EXPECT_EQ(child.start(ChildCommand{{"/nonexistent/program"}, {}}), ENOENT);
    EXPECT_FALSE(child.running());
    EXPECT_EQ(child.outcome().startError, ENOENT);
    EXPECT_EQ(child.exitWaitable(), -1);
    EXPECT_EQ(SystemErrorText(ENOENT), "No such file or directory");
}

TEST(ChildProcess, KeepsTheStartOfTheErrorOutput)
{
    ChildProcess child;
    ASSERT_EQ(child.start(Shell("echo first >&2; echo second >&2; echo out; exit 3")), 0);
    child.wait();
    EXPECT_EQ(child.outcome().exitCode, 3);
    EXPECT_EQ(child.outcome().errorOutput, "first\nsecond\n");

    ASSERT_EQ(child.start(Shell("head -c 100000 /dev/zero | tr '\\0' x >&2")), 0);
    child.wait();
    EXPECT_EQ(child.outcome().errorOutput.size(), 4096u);
}

TEST(ChildProcess, StandardInputIsEmptySoNothingCanWaitForAnAnswer)
{
    // 0 only when standard input is /dev/null and reading it ends at once; 3 or 4 otherwise.
    EXPECT_EQ(ExecCmd(Shell("[ \"$(readlink /proc/$$/fd/0)\" = /dev/null ] || exit 3; "
                            "read answer && exit 4; exit 0")),
              0);
}

TEST(ChildProcess, InheritsEnvironmentAndCurrentDirectory)
{
    test::TempDir dir;
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    setenv("PARTWRIGHT_PROBE", "inherited value", 1);
    const auto code = ExecCmd(Shell("[ \"$PARTWRIGHT_PROBE\" = 'inherited value' ] && "
                                    "[ \"$(pwd -P)\" = '" +
                                    std::filesystem::canonical(dir.path()).string() + "' ]"));
    unsetenv("PARTWRIGHT_PROBE");
    std::filesystem::current_path(before);
    EXPECT_EQ(code, 0);
}

TEST(ChildProcess, PollDoesNotBlockAndSeesTheEnd)
{
    test::TempDir dir;
    const std::string gate = dir.file("gate");
    ChildProcess child;
    ASSERT_EQ(child.start(Shell("while [ ! -e '" + gate + "' ]; do sleep 0.01; done; exit 7")), 0);
    EXPECT_NE(child.exitWaitable(), -1);
    EXPECT_FALSE(child.poll());
    EXPECT_TRUE(child.running());
    test::WriteFile(gate, "");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!child.poll() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_FALSE(child.running());
    EXPECT_EQ(child.outcome().exitCode, 7);
}

TEST(ChildProcess, KillEndsTheChildAndWhatItStarted)
{
    test::TempDir dir;
    const std::string pidFile = dir.file("grandchild.pid");
    ChildProcess child;
    ASSERT_EQ(child.start(Shell("sleep 300 & echo $! > '" + pidFile + "'; wait")), 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    std::string pidText;
    while ((pidText = test::ReadFileIfPresent(pidFile)).find('\n') == std::string::npos) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const pid_t grandchild = std::stoi(pidText);

    child.kill();
    EXPECT_FALSE(child.running());
    EXPECT_EQ(child.outcome().signal, SIGKILL);
    // The grandchild is gone (or a zombie waiting for init) within moments.
    bool gone = false;
    while (!gone && std::chrono::steady_clock::now() < deadline) {
        const std::string state =
            test::ReadFileIfPresent("/proc/" + std::to_string(grandchild) + "/stat");
        gone = state.empty() || state.find(") Z") != std::string::npos;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(gone);
}

} // namespace
} // namespace partwright
