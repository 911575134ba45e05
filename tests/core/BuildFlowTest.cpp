// A build from the checks to the report, with this system's own join and real files; the window
// answers questions from a script and shows nothing.

#include "join/BuildFlow.h"

#include "join/SystemJoin.h"
#include "platform/NativePaths.h"
#include "platform/Waiting.h"
#include "support/ScriptedWindow.h"
#include "support/TempDir.h"
#include "text/Messages.h"

#include <gtest/gtest.h>

namespace partwright {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;
using test::RunBuild;
using test::ScriptedWindow;

std::ptrdiff_t EntriesIn(const fs::path& folder)
{
    return std::distance(fs::directory_iterator(folder), {});
}

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

TEST(BuildFlow, ChecksQuestionsJoinAndReport)
{
    using namespace messages;
    constexpr auto kBuilt = BuildEnding::Built, kFailed = BuildEnding::Failed;
    constexpr auto kDeclined = BuildEnding::Declined;
    const Texts a12{"A.001", "A.002"}, d13{"D.001", "D.003"};
    // clang-format off
    const Row rows[] = {
        {"built", a12, "OUT.ISO", {}, kBuilt, BuiltSuccessfully, ""},
        {"missing part", {"A.001", "A.002?", "A.003"}, "OUT.ISO", {}, kFailed, PartMissing, "A.002"},
        {"destination is a part", a12, "A.002", {}, kFailed, DestinationIsAPart, "A.002"},
        {"destination is a folder", {"A.001", "OUT.ISO/"}, "OUT.ISO", {}, kFailed, DestinationIsAFolder, "OUT.ISO"},
        {"broken set: Yes", d13, "OUT.ISO", {true}, kBuilt, BuiltSuccessfully, ""},
        {"replace: No", {"A.001", "+OUT.ISO"}, "OUT.ISO", {false}, kDeclined, nullptr, ""},
        {"replace: Yes", {"A.001", "+OUT.ISO"}, "OUT.ISO", {true}, kBuilt, BuiltSuccessfully, ""},
        {"broken set, replace: Yes, No", {"D.001", "D.003", "+OUT.ISO"}, "OUT.ISO", {true, false}, kDeclined, nullptr, ""},
    };
    // clang-format on
    const auto descriptors = [] { // none stays open after a build (Linux shows them)
        return NativeSeparator() == '/' ? EntriesIn(fs::path("/proc/self/fd")) : 0;
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
        BuildFlow flow(window, SystemJoinCommand, parts, destination);
        const std::ptrdiff_t before = EntriesIn(dir.path());
        RunBuild(flow);
        EXPECT_EQ(flow.ending(), row.ending);
        const std::string about = *row.about ? dir.file(row.about) : "";
        EXPECT_EQ(flow.message(), row.report ? row.report(about) : "");
        EXPECT_EQ(window.asked.size(), row.answers.size());
        const bool built = row.ending == BuildEnding::Built;
        const Texts shown{destination + " " + std::to_string(parts.size()), "closed"};
        EXPECT_EQ(window.progress, built ? shown : Texts{});
        EXPECT_EQ(built || !old.empty() ? test::ReadFile(destination) : "", built ? joined : old);
        // A new image and nothing else: no temporary image stays behind.
        EXPECT_EQ(EntriesIn(dir.path()), before + (built && old.empty()));
    }
    EXPECT_EQ(descriptors(), open);
}

// A join program that cannot be started is reported with the system's words; nothing is left.
TEST(BuildFlow, AJoinProgramThatCannotStart)
{
    test::TempDir dir;
    test::WriteFile(dir.file("A.001"), "a");
    ScriptedWindow window;
    const auto none = [](auto&, auto&) {
        return ChildCommand{{"/none/cat"}, "none.exe"};
    };
    BuildFlow flow(window, none, {dir.file("A.001")}, dir.file("OUT.ISO"));
    EXPECT_FALSE(flow.start());
    const std::string start = "Cannot built ISO.\r\n\r\nThe command interpreter could not be ";
    EXPECT_EQ(flow.message().substr(0, start.size() + 9), start + "started: ") << flow.message();
    EXPECT_EQ(EntriesIn(dir.path()), 1);
}

// A join the user cancels: the progress moves first; the old image or nothing stays.
TEST(BuildFlow, CancelLeavesTheDestinationAsItWas)
{
    constexpr std::uint64_t kPart = std::uint64_t{512} * 1024 * 1024;
    test::TempDir dir;
    Texts parts{dir.file("BIG.001"), dir.file("BIG.002")};
    for (const std::string& part : parts) {
        test::WriteFile(part, "");
        fs::resize_file(part, kPart); // sparse: quick to make, long enough to join
    }
    for (const bool old : {true, false}) {
        const std::string destination = dir.file(old ? "OLD.ISO" : "NEW.ISO");
        if (old)
            test::WriteFile(destination, "old image");
        ScriptedWindow window;
        window.answers = {true};
        BuildFlow flow(window, SystemJoinCommand, parts, destination);
        bool cancelled = false;
        RunBuild(flow, [&] {
            if (cancelled || flow.figures().done == 0)
                return;
            EXPECT_EQ(flow.figures().total, 2 * kPart);
            EXPECT_EQ(flow.figures().phase, BuildFigures::Phase::Joining);
            flow.cancel();
            cancelled = true;
        });
        EXPECT_EQ(flow.ending(), BuildEnding::Cancelled);
        EXPECT_EQ(flow.message(), messages::BuildCancelled(destination, old));
        EXPECT_EQ(window.progress.back(), "closed");
        EXPECT_EQ(test::ReadFile(destination), old ? "old image" : "");
        EXPECT_EQ(EntriesIn(dir.path()), 3);
    }
}

} // namespace
} // namespace partwright
