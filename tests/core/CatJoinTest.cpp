// The system's join for real: cat concatenates into the temporary image, and the program puts a
// complete image in the destination's place itself.

#include "join/SystemJoin.h"
#include "platform/ChildProcess.h"
#include "platform/TemporaryImage.h"
#include "support/Processes.h"
#include "support/TempDir.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace partwright {
namespace {

namespace fs = std::filesystem;
using Result = PlaceOutcome::Result;

struct Joined {
    ChildOutcome child;
    PlaceOutcome placed;
};

// Joins the parts as a build does, with the sizes they had when it began.
Joined Join(const std::vector<std::string>& parts, const std::string& destination,
            std::uint64_t expectedSize, bool stop = false)
{
    TemporaryImage temporary(destination);
    ChildProcess child;
    EXPECT_EQ(child.start(SystemJoinCommand(parts, temporary)), 0);
    child.wait();
    const std::atomic<bool> stopFlag{stop};
    Joined joined{child.outcome(), {}};
    if (joined.child.exitCode == 0)
        joined.placed = temporary.place(expectedSize, stopFlag);
    return joined;
}

std::size_t OpenDescriptors()
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator("/proc/self/fd"), {}));
}

std::vector<std::string> TemporaryImagesIn(const fs::path& folder)
{
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder))
        if (IsTemporaryImageName(entry.path().filename().string()))
            found.push_back(entry.path().filename().string());
    return found;
}

// Names a shell would split, expand or take for options reach cat unchanged, nothing in them is
// run, and folders whose names end in a newline or come close to the system's path limit take
// the image like any other.
TEST(SystemJoin, JoinsAwkwardNamesByteForByteIntoAnyFolder)
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

    // A folder as deep as the path limit allows for the destination's full name.
    fs::path deep = dir.path();
    const std::string longName(200, 'd');
    while (deep.string().size() + 1 + longName.size() + 1 + 11 < PATH_MAX)
        fs::create_directory(deep /= longName);
    const std::string rest(PATH_MAX - 1 - deep.string().size() - 1 - 1 - 11, 'e');
    if (!rest.empty())
        fs::create_directory(deep /= rest);

    const struct {
        std::string folder;
        bool existing;
    } cases[] = {{dir.file("plain"), false},
                 {dir.file("dl\n"), true},
                 {dir.file("-x $(touch y) `touch z`"), true},
                 {deep.string(), true}};
    const std::size_t descriptorsBefore = OpenDescriptors();
    for (const auto& c : cases) {
        fs::create_directories(c.folder);
        const std::string destination = c.folder + "/OUTFILE.ISO";
        if (c.existing)
            test::WriteFile(destination, "the old image");
        const Joined joined = Join(parts, destination, expected.size());
        EXPECT_EQ(joined.child.exitCode, 0) << joined.child.errorOutput;
        EXPECT_EQ(joined.placed.result, Result::Placed) << joined.placed.error.message();
        EXPECT_FALSE(joined.placed.error) << joined.placed.error.message();
        EXPECT_EQ(test::ReadFile(destination), expected) << c.folder.size();
        EXPECT_EQ(TemporaryImagesIn(c.folder), std::vector<std::string>{});
    }
    EXPECT_EQ(OpenDescriptors(), descriptorsBefore); // nothing of a join stays open
    for (const char* stray : {"pwned", "y", "z"}) {
        EXPECT_FALSE(fs::exists(dir.file(stray))) << stray;
        EXPECT_FALSE(fs::exists(stray)) << stray;
    }
}

// Whatever goes wrong between the join and the rename, the destination keeps its old bytes and
// no temporary image stays behind.
TEST(SystemJoin, OnlyACompleteImageTakesTheDestinationsPlace)
{
    test::TempDir dir;
    test::WriteFile(dir.file("a.1"), "new ");
    test::WriteFile(dir.file("a.2"), "image");
    const std::vector<std::string> parts{dir.file("a.1"), dir.file("a.2")};
    const std::string destination = dir.file("OUT.ISO");
    test::WriteFile(destination, "old");

    const struct {
        const char* what;
        std::uint64_t measured; // what the parts had when the build began
        bool stop;
        Result result;
    } cases[] = {{"a part shrank during the join", 12, false, Result::SizeDiffers},
                 {"a part grew during the join", 8, false, Result::SizeDiffers},
                 {"cancelled before the rename", 9, true, Result::Stopped}};
    for (const auto& c : cases) {
        const Joined joined = Join(parts, destination, c.measured, c.stop);
        EXPECT_EQ(joined.placed.result, c.result) << c.what;
        EXPECT_EQ(joined.placed.writtenSize, c.stop ? 0u : 9u) << c.what;
        EXPECT_EQ(test::ReadFile(destination), "old") << c.what;
        EXPECT_EQ(TemporaryImagesIn(dir.path()), std::vector<std::string>{}) << c.what;
    }

    const Joined failed = Join({dir.file("a.1"), dir.file("gone.2")}, destination, 9);
    EXPECT_NE(failed.child.exitCode, 0);
    EXPECT_NE(failed.child.errorOutput.find("gone.2"), std::string::npos);
    EXPECT_EQ(test::ReadFile(destination), "old");
    EXPECT_EQ(TemporaryImagesIn(dir.path()), std::vector<std::string>{});
}

// The image gets the replaced file's permissions only once it is written: a read-only
// destination is replaced by its owner as `cat > t && mv -f t dest` would. Run as an ordinary
// user, since for root no mode ever refuses.
TEST(SystemJoin, ReplacesAReadOnlyDestinationKeepingItsPermissions)
{
    test::TempDir dir;
    const std::string folder = dir.file("user");
    fs::create_directory(folder);
    const uid_t user = getuid() == 0 ? 65534 : getuid(); // nobody, when the tests run as root
    const gid_t group = getuid() == 0 ? 65534 : getgid();
    test::WriteFile(folder + "/a.1", "new ");
    test::WriteFile(folder + "/a.2", "image");
    test::WriteFile(folder + "/RO.ISO", "the old read-only image");
    for (const char* name : {"", "/a.1", "/a.2", "/RO.ISO"})
        ASSERT_EQ(chown((folder + name).c_str(), user, group), 0);
    chmod((folder + "/RO.ISO").c_str(), 0444);

    const pid_t worker = fork();
    if (worker == 0) {
        if (getuid() == 0 && (setgid(group) != 0 || setuid(user) != 0))
            _exit(2);
        const Joined joined = Join({folder + "/a.1", folder + "/a.2"}, folder + "/RO.ISO", 9);
        _exit(joined.placed.result == Result::Placed ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(worker, &status, 0), worker);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(test::ReadFile(folder + "/RO.ISO"), "new image");
    struct stat result {};
    ASSERT_EQ(stat((folder + "/RO.ISO").c_str(), &result), 0);
    EXPECT_EQ(result.st_mode & 07777, 0444u);
    EXPECT_EQ(result.st_uid, user);
}

// A temporary image is locked while its build lives; the next build in the folder removes only
// the ones nobody holds.
TEST(TemporaryImage, RemovesWhatKilledBuildsLeftAndNothingElse)
{
    test::TempDir dir;
    const std::string abandoned = TemporaryImageName(0x1234abcd);
    const std::string lookalikes[] = {".partwright-1234ABCD", ".partwright-1234abc", "DISC.001",
                                      ".partwright-1234abcd.tmp"};
    test::WriteFile(dir.file(abandoned), "left by a killed build");
    for (const auto& name : lookalikes)
        test::WriteFile(dir.file(name), "keep");

    TemporaryImage live(dir.file("A.ISO"));
    EXPECT_EQ(fs::path(live.path()).parent_path(), dir.path());
    EXPECT_EQ(fs::path(live.path()).filename().string().size(), 20u);
    EXPECT_FALSE(fs::exists(dir.file(abandoned)));
    for (const auto& name : lookalikes)
        EXPECT_TRUE(fs::exists(dir.file(name))) << name;

    TemporaryImage second(dir.file("B.ISO"));
    EXPECT_TRUE(fs::exists(live.path()));
    EXPECT_NE(second.path(), live.path());
    EXPECT_THROW(TemporaryImage(dir.file("missing/DISC.ISO")), std::system_error);
}

bool ProcessGone(pid_t pid)
{
    const std::string state = test::ReadFileIfPresent("/proc/" + std::to_string(pid) + "/stat");
    return state.empty() || state.find(") Z") != std::string::npos;
}

// The program killed outright during a join: its child goes with it instead of writing on
// alone, and the temporary image it leaves is removed by the next build in that folder.
TEST(SystemJoin, AKilledProgramTakesItsJoinAlong)
{
    test::TempDir dir;
    const std::string part = dir.file("never.001");
    ASSERT_EQ(mkfifo(part.c_str(), 0600), 0); // cat waits on it for ever
    const std::string destination = dir.file("OUT.ISO");
    test::WriteFile(destination, "old");

    int started[2];
    ASSERT_EQ(pipe(started), 0);
    const pid_t program = fork();
    if (program == 0) {
        TemporaryImage temporary(destination);
        ChildProcess child;
        const char ok = child.start(SystemJoinCommand({part}, temporary)) == 0 ? '1' : '0';
        [[maybe_unused]] const auto written = write(started[1], &ok, 1);
        pause();
        _exit(0);
    }
    close(started[1]);
    char ok = 0;
    ASSERT_EQ(read(started[0], &ok, 1), 1);
    close(started[0]);
    ASSERT_EQ(ok, '1');
    const std::vector<pid_t> cats = test::ProcessesMentioning(part);
    ASSERT_EQ(cats.size(), 1u);
    ASSERT_EQ(TemporaryImagesIn(dir.path()).size(), 1u);

    kill(program, SIGKILL);
    waitpid(program, nullptr, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!ProcessGone(cats.front()) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_TRUE(ProcessGone(cats.front()));
    EXPECT_EQ(test::ReadFile(destination), "old");

    const TemporaryImage next(destination);
    EXPECT_EQ(TemporaryImagesIn(dir.path()),
              std::vector<std::string>{fs::path(next.path()).filename().string()});
}

} // namespace
} // namespace partwright
