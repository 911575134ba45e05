// The Windows platform layer for real: COPY /B joins, child processes, the version record.
#include "join/BuildInput.h"
#include "join/SystemJoin.h"
#include "platform/BackgroundTask.h"
#include "platform/ChildProcess.h"
#include "platform/NativePaths.h"
#include "platform/TemporaryImage.h"
#include "platform/WideText_win.h"
#include "support/ScriptedWindow.h"
#include "support/TempDir.h"
#include "text/Messages.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <windows.h>

namespace partwright {
namespace {

using Result = PlaceOutcome::Result;

// Another program holds a file for a while: the destination or the image, shorter than the place
// step tries again, throughout, or until the build is asked to stop.
enum class Held { Nothing, DestinationBriefly, ImageBriefly, Destination, DestinationUntilStop };

TEST(CopyJoin, JoinsInOrderIntoTheDestinationsPlaceOrLeavesItAsItWas)
{
    SetEnvironmentVariableA("COPYCMD", "/-Y"); // would make COPY ask before it overwrites
    constexpr DWORD kReadOnly = FILE_ATTRIBUTE_READONLY, kHidden = FILE_ATTRIBUTE_HIDDEN;
    constexpr DWORD kNotForCopy = kReadOnly | kHidden | FILE_ATTRIBUTE_SYSTEM;
    // The destination's content before (none when empty), its attributes before and after, what
    // is added to the parts' size to give the expected one, what is held, the outcome.
    const std::tuple<const char*, DWORD, int, Held, Result> cases[] = {
        {"", 0, 0, Held::Nothing, Result::Placed},
        {"old", kReadOnly | kHidden, 0, Held::Nothing, Result::Placed},
        {"old", 0, 1, Held::Nothing, Result::SizeDiffers},
        {"old", kReadOnly, 0, Held::DestinationBriefly, Result::Placed},
        {"", 0, 0, Held::ImageBriefly, Result::Placed},
        {"old", kReadOnly, 0, Held::Destination, Result::Failed},
        {"old", 0, 0, Held::DestinationUntilStop, Result::Stopped}};
    for (const auto& [old, attributes, sizeOffset, held, result] : cases) {
        test::TempDir dir;
        const std::string folder = dir.path().string() + '\\';
        std::vector<std::string> parts;
        std::string joined;
        for (const char* name : {"disc one.001", "a&b;c^d.002", "(x) 'y' !z.003"}) {
            // Binary, with an end-of-file mark that a text copy would stop at.
            const std::string content = name + std::string(3000, *name) + "\x1a\r\n" + '\0';
            test::WriteFile(parts.emplace_back(folder + name), content);
            joined += content;
        }
        const std::string destination = folder + "out & (1) !.iso";
        if (*old)
            test::WriteFile(destination, old);
        SetFileAttributesA(destination.c_str(), attributes);
        {
            TemporaryImage temporary(destination);
            EXPECT_EQ(temporary.path().rfind(folder, 0), 0u) << temporary.path();
            for (const JoinStep& step : SystemJoinSteps(parts, temporary)) {
                ChildProcess child;
                ASSERT_EQ(child.start(step.command), 0);
                // COPY opens its target as Windows refuses to on a hidden or system file.
                EXPECT_EQ(GetFileAttributesA(temporary.path().c_str()) & kNotForCopy, 0u);
                child.wait();
                EXPECT_EQ(child.outcome().exitCode, 0);
            }
            const bool brief = held == Held::DestinationBriefly || held == Held::ImageBriefly;
            const std::string heldFile =
                held == Held::ImageBriefly ? temporary.path() : destination;
            const HANDLE holder = held == Held::Nothing
                                      ? INVALID_HANDLE_VALUE
                                      : CreateFileA(heldFile.c_str(), GENERIC_READ, 0, nullptr,
                                                    OPEN_EXISTING, 0, nullptr);
            EXPECT_EQ(holder == INVALID_HANDLE_VALUE, held == Held::Nothing);
            std::atomic<bool> stop = false;
            std::thread other([&] {
                Sleep(500); // a quarter of the time the place step tries again
                if (brief)
                    CloseHandle(holder);
                stop = held == Held::DestinationUntilStop;
            });
            const PlaceOutcome outcome = temporary.flushAndPlace(joined.size() + sizeOffset, stop);
            other.join();
            if (!brief)
                CloseHandle(holder);
            EXPECT_EQ(outcome.result, result) << outcome.failedStep << outcome.error.message();
            EXPECT_EQ(outcome.failedStep.empty(), result != Result::Failed);
        }
        EXPECT_EQ(test::ReadFile(destination), result == Result::Placed ? joined : old);
        // A replaced destination's attributes stay with the name.
        EXPECT_EQ(GetFileAttributesA(destination.c_str()) & (kHidden | kReadOnly), attributes);
        SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 4);
    }
    SetEnvironmentVariableA("COPYCMD", nullptr);
}

// Parts whose names together pass what one command line takes join in steps, each line within
// cmd.exe's limit, from a current folder that is neither the parts' nor the image's.
TEST(CopyJoin, HundredsOfLongNamesJoinInStepsFromAnywhere)
{
    test::TempDir dir, elsewhere;
    const std::string folder = dir.file(std::string(100, 'f')) + '\\';
    std::filesystem::create_directory(PathOf(folder));
    std::vector<std::string> parts;
    std::string joined, single;
    for (int number = 1; number <= 300; ++number) {
        char name[32];
        std::snprintf(name, sizeof name, "%s.%03d", std::string(20, 'p').c_str(), number);
        const std::string content = name + std::string(1000, char(number)); // all one size
        test::WriteFile(parts.emplace_back(folder + name), content);
        joined += content;
        single += " + \"" + parts.back() + '"';
    }
    ASSERT_GT(single.size(), 40000u);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere.path());
    const std::string destination = folder + "OUT.ISO";
    {
        const TemporaryImage temporary(destination);
        const auto steps = SystemJoinSteps(parts, temporary);
        EXPECT_GE(steps.size(), 6u);
        for (const JoinStep& step : steps)
            EXPECT_LE(Wide(step.command.commandLine).size(), 8191u);
    }
    test::ScriptedWindow window;
    BuildFlow flow(SystemJoinSteps, parts, destination);
    window.run(flow);
    std::filesystem::current_path(before);
    EXPECT_EQ(flow.message(), messages::BuiltSuccessfully(destination, ""));
    EXPECT_TRUE(test::ReadFile(destination) == joined);
}

// A network share keeps its path, and its file system need not have a name; the share
// \\server\share is mapped to a folder of the test's Wine prefix.
TEST(CopyJoin, PartsAndImageOnANetworkShare)
{
    const std::string share = "\\\\server\\share\\";
    ASSERT_TRUE(std::filesystem::is_directory(PathOf(share))) << "tools/wine-run.sh maps it";
    const std::string folder = share + "parts " + std::to_string(GetCurrentProcessId()) + '\\';
    std::filesystem::create_directory(PathOf(folder));
    const std::string destination = folder + "OUT.ISO";
    EXPECT_EQ(ResolveDestination(" " + destination), destination);
    EXPECT_EQ(FullPath(share + "a\\..\\b.iso"), share + "b.iso");
    std::vector<std::string> parts;
    for (const char* name : {"D.001", "D.002"})
        test::WriteFile(parts.emplace_back(folder + name), name);
    test::ScriptedWindow window;
    BuildFlow flow(SystemJoinSteps, parts, destination);
    window.run(flow);
    EXPECT_EQ(flow.message(), messages::BuiltSuccessfully(destination, ""));
    EXPECT_EQ(test::ReadFile(destination), "D.001D.002");
    std::filesystem::remove_all(PathOf(folder));
}

TEST(TemporaryImage, RemovesOnlyWhatKilledBuildsLeft)
{
    test::TempDir dir;
    const TemporaryImage live(dir.file("a.iso"));
    const std::string left = dir.file(TemporaryImageName(0x0badf00d)); // nobody marks it
    const std::string unrelated = dir.file(".partwright-0badf00g");
    test::WriteFile(left, "");
    test::WriteFile(unrelated, "");
    const TemporaryImage next(dir.file("b.iso"));
    EXPECT_FALSE(std::filesystem::exists(left));
    for (const auto& kept : {unrelated, live.path(), next.path()})
        EXPECT_TRUE(std::filesystem::exists(kept)) << kept;
}

TEST(SystemJoin, RefusesNamesTheCommandInterpreterWouldChange)
{
    const std::string folder = "C:\\" + std::string(235, 'd') + "\\"; // the longest with room
    const std::string deeper = "C:\\d" + folder.substr(2) + "o.iso";
    const std::string part = "C:\\" + std::string(256, 'p');           // 259 characters
    const std::string wide = "C:\\" + NameOf(std::wstring(256, L'ā')); // 259 units, 515 bytes
    const std::tuple<std::vector<std::string>, std::string, std::optional<std::string>> cases[] = {
        {{"C:\\a.001", "C:\\%OS%.002"}, "C:\\o.iso", messages::NameWithPercent("C:\\%OS%.002")},
        {{"C:\\a.001"}, "C:\\o%.iso", messages::NameWithPercent("C:\\o%.iso")},
        {{"C:\\my img\\a&b;c^d (1) 'x' !.001", part}, folder + "o & (1) !.iso", std::nullopt},
        {{part + 'p'}, "C:\\o.iso", messages::PathTooLong(part + 'p', 259)},
        {{wide}, wide.substr(0, 3 + 2 * 235) + "\\o.iso", std::nullopt},
        {{"C:\\a.001"}, deeper, messages::FolderPathTooLong(deeper, 259)}};
    for (const auto& [parts, destination, refusal] : cases)
        EXPECT_EQ(SystemJoinRefusal(parts, destination), refusal) << destination;
}

std::string ExitWith(const std::string& arguments)
{
    return '"' + ProgramDirectory() + "\\exit_with.exe\" " + arguments;
}

TEST(ExecCmd, ExitCodeOrTheSystemErrorCodeOfAFailedStart)
{
    const std::pair<std::string, std::int32_t> cases[] = {
        {ExitWith("4294967295"), -1}, // 2^31 and above come back negative
        {ExitWith("2147483648"), -2147483647 - 1},
        {"no-such-program-of-partwright.exe argument", ERROR_FILE_NOT_FOUND}};
    for (const auto& [commandLine, expected] : cases)
        EXPECT_EQ(ExecCmd({{}, commandLine}), expected) << commandLine;
    EXPECT_EQ(SystemErrorText(ERROR_FILE_NOT_FOUND).back(), '.'); // the line end is cut off
}

TEST(ChildProcess, WhatAKilledOrCollectedChildStartedEndsWithIt)
{
    for (const bool kill : {true, false}) {
        test::TempDir dir;
        const std::string idFile = dir.file("grandchild.id");
        ChildProcess child;
        // Not killed, the child ends on its own and leaves the grandchild running.
        const std::string cmd = kill ? "cmd.exe /c \"" : "cmd.exe /c \"start \"\" /b ";
        ASSERT_EQ(child.start({{}, cmd + ExitWith("0 \"" + idFile + "\"\"")}), 0);
        std::string id;
        for (int i = 0; i < 1500 && id.empty(); ++i, Sleep(20))
            id = test::ReadFile(idFile);
        const HANDLE grandchild = OpenProcess(SYNCHRONIZE, FALSE, std::stoul(id));
        if (!kill)
            WaitForSingleObject(HANDLE(child.exitWaitable()), 30000);
        EXPECT_EQ(child.poll(), !kill);
        child.kill();
        EXPECT_EQ(WaitForSingleObject(grandchild, 30000), WAIT_OBJECT_0) << kill;
        CloseHandle(grandchild);
    }
}

TEST(VersionRecord, NamesNumbersAndIcon)
{
    std::vector<char> record(GetFileVersionInfoSizeA("win_tests.exe", nullptr));
    ASSERT_TRUE(GetFileVersionInfoA("win_tests.exe", 0, record.size(), record.data()));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(record.data(), "\\", &value, &length));
    const auto& fixed = *static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(std::tuple(fixed.dwFileVersionMS, fixed.dwFileVersionLS, fixed.dwProductVersionMS,
                         fixed.dwProductVersionLS),
              std::tuple(0x10001ul, 0ul, 0x10001ul, 0ul)); // 1.1.0.0
    std::string names;
    for (const std::string key : {"ProductName", "FileVersion", "ProductVersion", "InternalName"}) {
        const std::string path = "\\StringFileInfo\\040904b0\\" + key;
        ASSERT_TRUE(VerQueryValueA(record.data(), path.c_str(), &value, &length)) << key;
        names += static_cast<const char*>(value) + std::string("|");
    }
    EXPECT_EQ(names, "prPartwright|1.01|1.01|Partwright_by_Quillon|");
    EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)), nullptr);
}

} // namespace
} // namespace partwright
