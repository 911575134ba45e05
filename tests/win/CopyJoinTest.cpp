// The Windows platform layer for real: COPY /B joins, child processes, the version record.
#include "join/SystemJoin.h"
#include "platform/BackgroundTask.h"
#include "platform/ChildProcess.h"
#include "platform/NativePaths.h"
#include "platform/TemporaryImage.h"
#include "support/TempDir.h"
#include "text/Messages.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <windows.h>

namespace partwright {
namespace {

using Result = PlaceOutcome::Result;

TEST(CopyJoin, JoinsInOrderIntoTheDestinationsPlaceOrLeavesItAsItWas)
{
    SetEnvironmentVariableA("COPYCMD", "/-Y"); // would make COPY ask before it overwrites
    // The destination's content before (none when empty), its attributes before and after, what
    // is added to the parts' size to give the expected one, the outcome (Failed: held open).
    const std::tuple<const char*, DWORD, int, Result> cases[] = {
        {"", 0, 0, Result::Placed},
        {"old", FILE_ATTRIBUTE_READONLY, 0, Result::Placed},
        {"old", 0, 1, Result::SizeDiffers},
        {"old", FILE_ATTRIBUTE_READONLY, 0, Result::Failed}};
    for (const auto& [old, attributes, sizeOffset, result] : cases) {
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
        const HANDLE inUse =
            CreateFileA(destination.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                        result == Result::Failed ? OPEN_EXISTING : 0, 0, nullptr);
        {
            TemporaryImage temporary(destination);
            EXPECT_EQ(temporary.path().rfind(folder, 0), 0u) << temporary.path();
            for (const JoinStep& step : SystemJoinSteps(parts, temporary))
                EXPECT_EQ(ExecCmd(step.command), 0);
            PlaceOutcome outcome;
            BackgroundTask task(
                [&] { outcome = temporary.flushAndPlace(joined.size() + sizeOffset, {}); });
            EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(task.waitable()), 60000), 0u);
            EXPECT_TRUE(task.done());
            EXPECT_EQ(outcome.result, result) << outcome.failedStep;
            EXPECT_EQ(outcome.failedStep.empty(), result != Result::Failed);
        }
        CloseHandle(inUse);
        EXPECT_EQ(test::ReadFile(destination), result == Result::Placed ? joined : old);
        EXPECT_EQ(GetFileAttributesA(destination.c_str()) &
                      (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
                  attributes);
        SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 4);
    }
    SetEnvironmentVariableA("COPYCMD", nullptr);
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
