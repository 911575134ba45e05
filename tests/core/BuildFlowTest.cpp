// A build from the checks to the report, with this system's own join and real files; the window
// answers questions from a script and shows nothing.

#include "join/BuildFlow.h"

#include "join/SystemJoin.h"
#include "platform/NativePaths.h"
#include "support/ScriptedWindow.h"
#include "support/TempDir.h"
#include "support/Waiting.h"
#include "text/Messages.h"

#include <gtest/gtest.h>

namespace partwright {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;
using test::ScriptedWindow;

// Entries: "NAME" a listed part (its name as content), "NAME?" listed but never made, "+NAME" an
// old image that is not listed, "NAME/" a folder. The report names the file `about` in the folder.
struct Row {
    const char* name;
    Texts entries;
    const char* destination;
    std::vector<bool> answers; // one per question asked
    BuildEnding ending;
    std::string (*report)(const std::string&);
    const char* about;
};

std::string Built(const std::string& image)
{
    return messages::BuiltSuccessfully(image, "");
}

TEST(BuildFlow, ChecksQuestionsJoinAndReport)
{
    using namespace messages;
    constexpr auto kBuilt = BuildEnding::Built, kFailed = BuildEnding::Failed;
    constexpr auto kDeclined = BuildEnding::Declined;
    const Texts a12{"A.001", "A.002"}, d13{"D.001", "D.003"};
    // clang-format off
    const Row rows[] = {
        {"built", a12, "OUT.ISO", {}, kBuilt, Built, "OUT.ISO"},
        {"missing part", {"A.001", "A.002?", "A.003"}, "OUT.ISO", {}, kFailed, PartMissing, "A.002"},
        {"destination is a part", a12, "A.002", {}, kFailed, DestinationIsAPart, "A.002"},
        {"destination is a folder", {"A.001", "OUT.ISO/"}, "OUT.ISO", {}, kFailed, DestinationIsAFolder, "OUT.ISO"},
        {"broken set: Yes", d13, "OUT.ISO", {true}, kBuilt, Built, "OUT.ISO"},
        {"replace: No", {"A.001", "+OUT.ISO"}, "OUT.ISO", {false}, kDeclined, nullptr, ""},
        {"replace: Yes", {"A.001", "+OUT.ISO"}, "OUT.ISO", {true}, kBuilt, Built, "OUT.ISO"},
        {"broken set, replace: Yes, No", {"D.001", "D.003", "+OUT.ISO"}, "OUT.ISO", {true, false}, kDeclined, nullptr, ""},
    };
    // clang-format on
    const auto descriptors = [] { // none stays open after a build (Linux shows them)
        return NativeSeparator() == '/' ? test::EntriesIn(fs::path("/proc/self/fd")) : 0;
    };
    const auto open = descriptors();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        test::TempDir dir;
        Texts parts;
        std::string joined, old;
        for (const std::string& entry : row.entries) {
            const char mark = entry.front() == '+' ? '+' : entry.back();
            std::string name = entry;
            std::erase_if(name, [](char c) { return c == '+' || c == '?' || c == '/'; });
            const std::string path = dir.file(name);
            if (mark == '/')
                fs::create_directory(path);
            else if (mark == '+')
                test::WriteFile(path, old = "old image");
            else if (parts.push_back(path); mark != '?')
                test::WriteFile(path, name), joined += name;
        }
        const std::string destination = dir.file(row.destination);
        ScriptedWindow window;
        window.answers = row.answers;
        BuildFlow flow(SystemJoinSteps, parts, destination);
        const std::ptrdiff_t before = test::EntriesIn(dir.path());
        window.run(flow);
        EXPECT_EQ(flow.ending(), row.ending);
        const std::string about = *row.about ? dir.file(row.about) : "";
        EXPECT_EQ(flow.message(), row.report ? row.report(about) : "");
        EXPECT_EQ(window.asked.size(), row.answers.size());
        const bool built = row.ending == BuildEnding::Built;
        const Texts shown{destination + " " + std::to_string(parts.size()), "closed"};
        EXPECT_EQ(window.progress, built ? shown : Texts{});
        EXPECT_EQ(built || !old.empty() ? test::ReadFile(destination) : "", built ? joined : old);
        // A new image and nothing else: no temporary image stays behind.
        EXPECT_EQ(test::EntriesIn(dir.path()), before + (built && old.empty()));
    }
    EXPECT_EQ(descriptors(), open);
}

// A join program that cannot be started is reported with the system's words, and a join that
// throws in any of its steps names the step; nothing is left behind either way.
TEST(BuildFlow, AJoinThatCannotStartOrThrows)
{
    test::TempDir dir;
    test::WriteFile(dir.file("A.001"), "a");
    const auto none = [](auto&, auto&) {
        return std::vector<JoinStep>{{ChildCommand{{"/none/cat"}, "none.exe"}, 1}};
    };
    const auto throws = [](auto&, auto&) -> std::vector<JoinStep> {
        throw std::runtime_error("no command");
    };
    const std::string start = "Cannot built ISO.\r\n\r\nThe command interpreter could not be ";
    for (const bool old : {false, true}) { // the join starts after the question, or at once
        const std::string destination = dir.file("OUT.ISO");
        if (old)
            test::WriteFile(destination, "old image");
        ScriptedWindow window, other;
        window.answers = other.answers = {true};
        BuildFlow cannotStart(none, {dir.file("A.001")}, destination);
        window.run(cannotStart);
        EXPECT_EQ(cannotStart.message().substr(0, start.size() + 9), start + "started: ");
        BuildFlow throwing(throws, {dir.file("A.001")}, destination);
        other.run(throwing);
        EXPECT_EQ(throwing.ending(), BuildEnding::Failed);
        EXPECT_EQ(throwing.message(),
                  messages::BuildStepFailed("joining the parts", {0, "no command"}, destination,
                                            old, false));
        EXPECT_EQ(test::ReadFile(destination), old ? "old image" : "");
        EXPECT_EQ(test::EntriesIn(dir.path()), 1 + old);
    }
}

// Cancel before the image takes the destination's place, in whatever phase, ends the build: the
// destination stays as it was and the new image is gone.
TEST(BuildFlow, CancelInEveryPhaseLeavesTheDestinationAsItWas)
{
    using Phase = BuildFigures::Phase;
    constexpr std::uint64_t kPart = std::uint64_t{512} * 1024 * 1024;
    test::TempDir dir;
    const Texts parts{dir.file("BIG.001"), dir.file("BIG.002")};
    for (const std::string& part : parts) {
        test::WriteFile(part, "");
        fs::resize_file(part, kPart); // sparse: quick to make, long to join and read
    }
    // MD5 is computed at a fraction of the speed the join copies at, so the image's check goes on
    // after the join has ended. The parts' own checksums are checked in the image where it can be
    // read while it is written, before the join elsewhere.
    const std::string zeros(32, '0');
    const Phase partsChecked =
        TemporaryImage::CanBeReadWhileWritten() ? Phase::CheckingImage : Phase::CheckingParts;
    const struct {
        const char* name;
        Phase phase; // Ended: during the question whether to replace the old image
        const char* checksumFile;
        std::string checksums;
        bool old;
    } rows[] = {
        {"checking the parts", partsChecked, "BIG.md5",
         zeros + "  BIG.001\n" + zeros + "  BIG.002\n", true},
        {"asking", Phase::Ended, "", "", true},
        {"joining, no old image", Phase::Joining, "", "", false},
        {"joining", Phase::Joining, "", "", true},
        {"checking the image", Phase::CheckingImage, "BIG.md5",
         "cd573cfaace07e7949bc0c46028904ff  BIG.iso\n", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (*row.checksumFile)
            test::WriteFile(dir.file(row.checksumFile), row.checksums);
        const std::string destination = dir.file("BIG.ISO");
        if (row.old)
            test::WriteFile(destination, "old image");
        ScriptedWindow window;
        window.answers = {row.phase != Phase::Ended};
        BuildFlow flow(SystemJoinSteps, parts, destination);
        bool cancelled = false;
        const auto cancel = [&](BuildFlow& build) {
            const BuildFigures figures = build.figures();
            if (cancelled || figures.phase != row.phase ||
                (row.phase == Phase::Joining && figures.done == 0))
                return;
            EXPECT_EQ(figures.checksumFile, row.checksumFile);
            EXPECT_EQ(figures.total, 2 * kPart);
            build.cancel();
            cancelled = true;
        };
        (row.phase == Phase::Ended ? window.duringQuestion : window.whileRunning) = cancel;
        window.run(flow);
        EXPECT_TRUE(cancelled);
        EXPECT_EQ(flow.ending(), BuildEnding::Cancelled);
        EXPECT_EQ(flow.message(), messages::BuildCancelled(destination, row.old));
        EXPECT_EQ(test::ReadFile(destination), row.old ? "old image" : "");
        fs::remove(destination);
        if (*row.checksumFile)
            fs::remove(dir.file(row.checksumFile));
        EXPECT_EQ(test::EntriesIn(dir.path()), 2);
    }
}

// The window's part of a build with its own thread: a task's result, or what it threw, reaches
// the thread that takes it.
TEST(Task, TheResultOrTheFaultReachesItsOwner)
{
    Task<int> answer([] { return 42; });
    Task<int> fault([]() -> int { throw std::runtime_error("lost"); });
    WaitForAny({answer.waitable()}, -1);
    EXPECT_TRUE(answer.done());
    EXPECT_EQ(answer.take(), 42);
    EXPECT_THROW(fault.take(), std::runtime_error);
}

} // namespace
} // namespace partwright
