// Real joins through cmd.exe's COPY /B into a temporary image that then takes the destination's
// place, as the Windows build runs them.

#include "join/SystemJoin.h"
#include "platform/BackgroundTask.h"
#include "platform/ChildProcess.h"
#include "platform/TemporaryImage.h"
#include "support/TempDir.h"
#include "text/Messages.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <windows.h>

namespace partwright {
namespace {

using Result = PlaceOutcome::Result;

// Runs the join to its end, but never longer than a minute: a child that waits for an answer
// must fail the test instead of hanging it.
ChildOutcome JoinWithin(const std::vector<std::string>& parts, const TemporaryImage& temporary)
{
    ChildProcess child;
    EXPECT_EQ(child.start(SystemJoinCommand(parts, temporary)), 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!child.poll()) {
        if (std::chrono::steady_clock::now() > deadline) {
            child.kill();
            ADD_FAILURE() << "the join did not end within a minute";
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return child.outcome();
}

// place() on a worker thread, watched through its waitable, as the program does it.
PlaceOutcome PlaceWithin(TemporaryImage& temporary, std::uint64_t expectedSize, bool stop)
{
    const std::atomic<bool> stopRequest{stop};
    PlaceOutcome outcome;
    BackgroundTask task([&] { outcome = temporary.place(expectedSize, stopRequest); });
    EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(task.waitable()), 60000), WAIT_OBJECT_0);
    EXPECT_TRUE(task.done());
    task.wait();
    return outcome;
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

DWORD Attributes(const std::string& path)
{
    return GetFileAttributesA(path.c_str());
}

// Whether the file carries the hidden attribute. Wine shows every name that starts with a dot as
// hidden, so the file is looked at through a second name without one.
bool CarriesHidden(const std::string& path)
{
    const std::size_t nameStart = path.find_last_of('\\') + 1;
    const std::string plainName = path.substr(0, nameStart) + "plain" + path.substr(nameStart);
    EXPECT_TRUE(CreateHardLinkA(plainName.c_str(), path.c_str(), nullptr)) << GetLastError();
    const bool hidden = Attributes(plainName) & FILE_ATTRIBUTE_HIDDEN;
    DeleteFileA(plainName.c_str());
    return hidden;
}

std::vector<std::string> TemporaryImagesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (IsTemporaryImageName(entry.path().filename().string()))
            names.push_back(entry.path().filename().string());
    }
    return names;
}

TEST(CopyJoin, TheJoinedImageTakesTheDestinationsPlace)
{
    const struct {
        const char* name;
        std::vector<std::string> parts;
        std::string destination;
        const char* existing; // the destination's content before, if there is one
        bool readOnly;
        bool copycmdAsks;
    } cases[] = {
        {"ThreeParts", {"GAME.001", "GAME.002", "GAME.003"}, "OUTFILE.ISO", nullptr, false, false},
        {"BlanksAndSpecialCharacters",
         {"disc one.001", "a&b;c^d.002", "(x) 'y' !z.003"},
         "out & (1) !.iso",
         nullptr,
         false,
         false},
        // With COPYCMD=/-Y an unattended COPY would ask before overwriting; /Y overrides it.
        {"ExistingDestinationWithCopycmdAsking", {"A.001", "A.002"}, "OUT.ISO", "old", false, true},
        {"ReadOnlyDestination", {"R.001", "R.002"}, "R.ISO", "old image", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        std::filesystem::create_directory(dir.file("my parts & (x) !"));
        const std::string folder = dir.file("my parts & (x) !") + "\\";
        std::vector<std::string> names;
        for (const auto& part : c.parts)
            names.push_back("my parts & (x) !\\" + part);
        std::string joined;
        const auto parts = MakeParts(dir, names, joined);
        const std::string destination = folder + c.destination;
        if (c.existing)
            test::WriteFile(destination, c.existing);
        if (c.readOnly)
            SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_READONLY);
        SetEnvironmentVariableA("COPYCMD", c.copycmdAsks ? "/-Y" : nullptr);

        {
            TemporaryImage temporary(destination);
            EXPECT_EQ(temporary.path().rfind(folder, 0), 0u) << temporary.path();
            EXPECT_TRUE(CarriesHidden(temporary.path()));
            EXPECT_EQ(JoinWithin(parts, temporary).exitCode, 0);
            EXPECT_TRUE(CarriesHidden(temporary.path()));
            EXPECT_EQ(temporary.size(), joined.size());

            const PlaceOutcome outcome = PlaceWithin(temporary, joined.size(), false);
            EXPECT_EQ(outcome.result, Result::Placed) << outcome.failedStep;
            EXPECT_EQ(outcome.writtenSize, joined.size());
            EXPECT_EQ(temporary.size(), 0u);
        }
        SetEnvironmentVariableA("COPYCMD", nullptr);
        EXPECT_EQ(test::ReadFile(destination), joined);
        const DWORD attributes = Attributes(destination);
        EXPECT_FALSE(attributes & FILE_ATTRIBUTE_HIDDEN);
        EXPECT_EQ(bool(attributes & FILE_ATTRIBUTE_READONLY), c.readOnly);
        EXPECT_TRUE(TemporaryImagesIn(folder).empty());
        SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST(CopyJoin, AnImageThatIsNotPlacedLeavesTheDestinationAsItWas)
{
    const struct {
        const char* name;
        std::uint64_t sizeOffset; // added to the right size to form the expected one
        bool stop;
        bool destinationInUse; // and read-only
        Result result;
    } cases[] = {
        {"SizeDiffers", 1, false, false, Result::SizeDiffers},
        {"Stopped", 0, true, false, Result::Stopped},
        {"DestinationInUse", 0, false, true, Result::Failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        std::string joined;
        const auto parts = MakeParts(dir, {"A.001", "A.002"}, joined);
        const std::string destination = dir.file("OUT.ISO");
        test::WriteFile(destination, "old image");
        HANDLE inUse = INVALID_HANDLE_VALUE;
        if (c.destinationInUse) {
            SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_READONLY);
            inUse = CreateFileA(destination.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
        }
        {
            TemporaryImage temporary(destination);
            EXPECT_EQ(JoinWithin(parts, temporary).exitCode, 0);
            const PlaceOutcome outcome =
                PlaceWithin(temporary, joined.size() + c.sizeOffset, c.stop);
            EXPECT_EQ(outcome.result, c.result);
            if (c.result == Result::Failed) {
                EXPECT_TRUE(outcome.error);
                EXPECT_FALSE(outcome.failedStep.empty());
                EXPECT_TRUE(CarriesHidden(temporary.path()));
                EXPECT_FALSE(Attributes(temporary.path()) & FILE_ATTRIBUTE_READONLY);
                EXPECT_TRUE(Attributes(destination) & FILE_ATTRIBUTE_READONLY);
            }
        }
        CloseHandle(inUse);
        SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(test::ReadFile(destination), "old image");
        EXPECT_TRUE(TemporaryImagesIn(dir.path()).empty());
    }
}

TEST(TemporaryImage, RemovesOnlyWhatKilledBuildsLeft)
{
    test::TempDir dir;
    // Left by a killed build: hidden, and nobody marks it.
    const std::string left = dir.file(TemporaryImageName(0x0badf00d));
    test::WriteFile(left, "left");
    SetFileAttributesA(left.c_str(), FILE_ATTRIBUTE_HIDDEN);
    // Still being written by something this computer does not know of.
    const std::string written = dir.file(TemporaryImageName(0x0000beef));
    test::WriteFile(written, "written");
    const HANDLE writer =
        CreateFileA(written.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const std::string unrelated = dir.file(".partwright-0badf00g");
    test::WriteFile(unrelated, "not an image");

    const TemporaryImage live(dir.file("a.iso"));
    const TemporaryImage next(dir.file("b.iso"));
    EXPECT_FALSE(std::filesystem::exists(left));
    EXPECT_TRUE(std::filesystem::exists(written));
    EXPECT_TRUE(std::filesystem::exists(unrelated));
    EXPECT_TRUE(std::filesystem::exists(live.path()));
    EXPECT_TRUE(std::filesystem::exists(next.path()));
    EXPECT_NE(live.path(), next.path());
    CloseHandle(writer);
}

TEST(SystemJoin, RefusesNamesTheCommandInterpreterWouldChange)
{
    const std::string longFolder = "C:\\" + std::string(235, 'd') + "\\"; // 239 characters
    const std::string tooLongFolder = "C:\\" + std::string(236, 'd') + "\\";
    const std::string plain = "C:\\img\\a.001";
    const struct {
        const char* name;
        std::vector<std::string> parts;
        std::string destination;
        std::optional<std::string> refusal;
    } cases[] = {
        {"VariableInAPart",
         {plain, "C:\\img\\%OS%.001"},
         "C:\\img\\out.iso",
         messages::NameWithPercent("C:\\img\\%OS%.001")},
        {"VariableInTheDestination",
         {plain},
         "C:\\img\\out%OS%2.iso",
         messages::NameWithPercent("C:\\img\\out%OS%2.iso")},
        {"SinglePercent",
         {"C:\\img\\100%.001"},
         "C:\\o.iso",
         messages::NameWithPercent("C:\\img\\100%.001")},
        {"OrdinaryNames",
         {"C:\\my img\\a&b;c^d (1) 'x' !.001", plain},
         "C:\\my img\\out & (1) !.iso",
         std::nullopt},
        {"PartPathTooLong",
         {"C:\\" + std::string(257, 'p')},
         "C:\\o.iso",
         messages::PathTooLong("C:\\" + std::string(257, 'p'), 259)},
        {"LongestPartPath", {"C:\\" + std::string(256, 'p')}, "C:\\o.iso", std::nullopt},
        {"DestinationTooLong",
         {plain},
         "C:\\" + std::string(257, 'o'),
         messages::PathTooLong("C:\\" + std::string(257, 'o'), 259)},
        {"NoRoomForTheTemporaryName",
         {plain},
         tooLongFolder + "o.iso",
         messages::FolderPathTooLong(tooLongFolder + "o.iso", 259)},
        {"LongestFolder", {plain}, longFolder + "o.iso", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SystemJoinRefusal(c.parts, c.destination), c.refusal) << c.name;
}

TEST(CopyJoin, ClassifiesTheRunningSystem)
{
    // Whatever Wine reports by default, it is an NT system, joined with cmd.exe.
    test::TempDir dir;
    const TemporaryImage temporary(dir.file("d.iso"));
    const ChildCommand command = SystemJoinCommand({"a"}, temporary);
    EXPECT_EQ(command.commandLine, "cmd.exe /c COPY /B /Y \"a\" \"" + temporary.path() + '"');
    EXPECT_TRUE(command.argv.empty());
}

} // namespace
} // namespace partwright
