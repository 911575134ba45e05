#include "platform/ChildProcess.h"
#include "support/TempDir.h"

#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <windows.h>

namespace partwright {
namespace {

std::string BesideThisProgram(const std::string& name)
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

ChildCommand Line(const std::string& commandLine)
{
    return ChildCommand{{}, commandLine};
}

TEST(ExecCmd, ReturnsTheExitCode)
{
    const std::string exitWith = '"' + BesideThisProgram("exit_with.exe") + "\" ";
    const struct {
        std::string commandLine;
        std::int32_t expected;
    } cases[] = {
        {"cmd.exe /c exit 0", 0},
        {"cmd.exe /c exit 1", 1},
        {exitWith + "0", 0},
        {exitWith + "1", 1},
        {exitWith + "2147483647", 2147483647},
        // 2^31 and above come back as negative 32-bit numbers.
        {exitWith + "2147483648", -2147483647 - 1},
        {exitWith + "3221225477", -1073741819},
        {exitWith + "4294967295", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExecCmd(Line(c.commandLine)), c.expected) << c.commandLine;
}

TEST(ExecCmd, FirstWordNamingNoProgramGivesTheSystemErrorCode)
{
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ExecCmd(Line("no-such-program-of-partwright.exe argument")), ERROR_FILE_NOT_FOUND);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));

    ChildProcess child;
    EXPECT_EQ(child.start(Line("no-such-program-of-partwright.exe")), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(child.running());
    EXPECT_EQ(child.exitWaitable(), -1);
    EXPECT_FALSE(SystemErrorText(ERROR_FILE_NOT_FOUND).empty());
}

TEST(ChildProcess, PollThenKill)
{
    ChildProcess child;
    // ping waits about a second between its echoes: long enough to still run when polled.
    ASSERT_EQ(child.start(Line("cmd.exe /c ping -n 30 127.0.0.1")), 0);
    EXPECT_NE(child.exitWaitable(), -1);
    EXPECT_FALSE(child.poll());
    child.kill();
    EXPECT_FALSE(child.running());
}

// The grandchild that wrote its id to the file, opened to watch for its end; null when none did
// within half a minute.
HANDLE OpenGrandchild(const std::string& idFile)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string id = test::ReadFileIfPresent(idFile);
        if (!id.empty())
            return OpenProcess(SYNCHRONIZE, FALSE, std::stoul(id));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return nullptr;
}

TEST(ChildProcess, WhatTheChildStartedEndsWithIt)
{
    using Child = std::unique_ptr<ChildProcess>;
    const struct {
        const char* name;
        const char* start; // how cmd.exe starts the grandchild
        void (*end)(Child&);
    } cases[] = {
        {"Kill", "",
         [](Child& child) {
             child->kill();
         }},
        {"Drop", "",
         [](Child& child) {
             child.reset();
         }},
        // The child ends on its own and leaves the grandchild running: collecting it ends that.
        {"Collect", "start \"\" /b ",
         [](Child& child) {
             const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
             while (!child->poll() && std::chrono::steady_clock::now() < deadline)
                 std::this_thread::sleep_for(std::chrono::milliseconds(20));
         }},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        const std::string idFile = dir.file("grandchild.id");
        auto child = std::make_unique<ChildProcess>();
        ASSERT_EQ(child->start(Line(std::string("cmd.exe /c \"") + c.start + '"' +
                                    BesideThisProgram("exit_with.exe") + "\" sleep \"" + idFile +
                                    "\"\"")),
                  0);
        const HANDLE grandchild = OpenGrandchild(idFile);
        ASSERT_NE(grandchild, nullptr) << c.name;
        c.end(child);
        EXPECT_EQ(WaitForSingleObject(grandchild, 30000), WAIT_OBJECT_0) << c.name;
        CloseHandle(grandchild);
    }
}

} // namespace
} // namespace partwright
