#include "join/SystemJoin.h"

#include "join/BuildFlow.h"
#include "join/ImageCheck.h"
#include "platform/ChildProcess.h"
#include "platform/Task.h"
#include "platform/TemporaryImage.h"
#include "support/Processes.h"
#include "support/ScriptedWindow.h"
#include "support/TempDir.h"
#include "text/Messages.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace partwright {
namespace {

namespace fs = std::filesystem;
using Result = PlaceOutcome::Result;
using Texts = std::vector<std::string>;

ChildCommand Shell(const std::string& script)
{
    return ChildCommand{{"/bin/sh", "-c", script}, {}};
}

// Standard input is /dev/null, so nothing waits for an answer: the probe exits 3 or 4 otherwise.
// The same when the program was started with its own standard input closed, as some launchers
// do, and no descriptor stays open after a child.
TEST(ExecCmd, ReturnsTheExitCodeOrWhyItCouldNotStartAndKeepsTheErrorOutput)
{
    const std::pair<ChildCommand, int> cases[] = {
        {Shell("exit 255"), 255},
        {Shell("kill -9 $$"), 128 + SIGKILL},
        {{{"/nonexistent/program"}, {}}, ENOENT},
        {Shell("[ \"$(readlink /proc/$$/fd/0)\" = /dev/null ] || exit 3; read x && exit 4; exit 0"),
         0},
        // Nothing stays blocked that the program blocked (SIGUSR1 here); grep, as a shell
        // clears its blocked signals itself.
        {{{"/bin/grep", "-Eq", "^SigBlk:\\s+0+$", "/proc/self/status"}, {}}, 0}};
    sigset_t usr1;
    sigemptyset(&usr1);
    sigaddset(&usr1, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &usr1, nullptr);
    const int input = dup(STDIN_FILENO);
    for (const bool inputClosed : {false, true}) {
        if (inputClosed)
            close(STDIN_FILENO);
        const auto open = test::EntriesIn("/proc/self/fd");
        for (const auto& [command, code] : cases)
            EXPECT_EQ(ExecCmd(command), code) << command.argv.back() << inputClosed;
        EXPECT_EQ(Task<int>([] { return 7; }).take(), 7); // the worker threads' signal too
        EXPECT_EQ(test::EntriesIn("/proc/self/fd"), open);
    }
    // With input closed, the file a child writes into may itself be descriptor 0.
    const test::TempDir dir;
    const int output = open(dir.file("out").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    EXPECT_EQ(output, STDIN_FILENO);
    EXPECT_EQ(ExecCmd({{"/bin/sh", "-c", "echo written"}, {}, output}), 0);
    close(output);
    EXPECT_EQ(test::ReadFile(dir.file("out")), "written\n");
    dup2(input, STDIN_FILENO);
    close(input);
    pthread_sigmask(SIG_UNBLOCK, &usr1, nullptr);
    // A child keeps the start of its error output, for the report.
    for (const auto& [script, errorOutput] :
         {std::pair("echo out; echo e >&2; head -c 9999 /dev/zero | tr '\\0' x >&2; exit 3",
                    "e\n" + std::string(4094, 'x')),
          {"printf e >&2; exit 3", "e"},
          {"echo out; exit 3", ""}}) {
        ChildProcess child;
        ASSERT_EQ(child.start(Shell(script)), 0);
        child.wait();
        EXPECT_EQ(child.outcome().exitCode, 3);
        EXPECT_EQ(child.outcome().errorOutput, errorOutput) << script;
    }
    // A child that somebody else reaped (its pid read from the pidfd) has ended, with no exit
    // code to tell.
    ChildProcess reaped;
    ASSERT_EQ(reaped.start(Shell("exit 5")), 0);
    std::ifstream info("/proc/self/fdinfo/" + std::to_string(reaped.exitWaitable()));
    std::string word;
    pid_t pid = 0;
    while (info >> word && word != "Pid:") {
    }
    info >> pid;
    ASSERT_EQ(waitpid(pid, nullptr, 0), pid);
    reaped.wait();
    EXPECT_FALSE(reaped.running());
    EXPECT_TRUE(reaped.poll());
    EXPECT_EQ(reaped.outcome().exitCode, -1);
}

template <typename Condition> bool Eventually(Condition condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return condition();
}

TEST(ChildProcess, KillEndsTheChildAndWhatItStarted)
{
    ChildProcess child; // a number of this run's own, so another run's sleeps do not count
    const std::string seconds = std::to_string(1000000 + getpid());
    ASSERT_EQ(child.start(Shell("sleep " + seconds + " & wait")), 0);
    ASSERT_TRUE(Eventually([&] { return test::ProcessesMentioning(seconds).size() == 2; }));
    child.kill();
    EXPECT_EQ(child.outcome().signal, SIGKILL);
    EXPECT_TRUE(Eventually([&] { return test::ProcessesMentioning(seconds).empty(); }));
}

PlaceOutcome Join(const std::vector<std::string>& parts, const std::string& destination,
                  std::uint64_t expectedSize, bool stop = false)
{
    TemporaryImage temporary(destination);
    for (const JoinStep& step : SystemJoinSteps(parts, temporary))
        if (ExecCmd(step.command) != 0)
            return PlaceOutcome{};
    const std::atomic<bool> stopFlag{stop};
    return temporary.flushAndPlace(expectedSize, stopFlag);
}

// Nothing in the names is run, and folders with such names take the image too.
TEST(SystemJoin, JoinsAwkwardNamesByteForByteIntoAnyFolder)
{
    test::TempDir dir;
    std::vector<std::string> parts;
    std::string expected;
    for (const char* name : {"-a b$HOME'\".001", "semi;colon & amp.002", "$(touch pwned).003",
                             "\xc3\xbcmlaut \xe2\x80\x94.004", " lead and trail .005"}) {
        const std::string content = name + std::string(parts.size() * 1000, '\0');
        test::WriteFile(parts.emplace_back(dir.file(name)), content);
        expected += content;
    }
    const auto descriptors = test::EntriesIn("/proc/self/fd"); // none stays open after a join
    for (const std::string& folder :
         {dir.file("plain"), dir.file("dl\n"), dir.file("-x $(touch y) `touch z`")}) {
        fs::create_directories(folder);
        test::WriteFile(folder + "/OUTFILE.ISO", "the old image");
        const PlaceOutcome placed = Join(parts, folder + "/OUTFILE.ISO", expected.size());
        EXPECT_EQ(placed.result, Result::Placed) << placed.error.message();
        EXPECT_EQ(test::ReadFile(folder + "/OUTFILE.ISO"), expected) << folder.size();
        EXPECT_EQ(test::EntriesIn(folder), 1);
    }
    EXPECT_EQ(test::EntriesIn("/proc/self/fd"), descriptors);
    for (const char* stray : {"pwned", "y", "z"})
        EXPECT_FALSE(fs::exists(dir.file(stray)) || fs::exists(stray)) << stray;
}

// A part that shrank, a cancel or a failed join leave the old destination and no temporary image.
TEST(SystemJoin, OnlyACompleteImageTakesTheDestinationsPlace)
{
    test::TempDir dir;
    test::WriteFile(dir.file("a.1"), "new ");
    test::WriteFile(dir.file("a.2"), "image");
    test::WriteFile(dir.file("OUT.ISO"), "old");
    const std::vector<std::string> parts{dir.file("a.1"), dir.file("a.2")};
    const PlaceOutcome shrank = Join(parts, dir.file("OUT.ISO"), 12);
    EXPECT_EQ(shrank.result, Result::SizeDiffers);
    EXPECT_EQ(shrank.writtenSize, 9u);
    EXPECT_EQ(Join(parts, dir.file("OUT.ISO"), 9, true).result, Result::Stopped);
    EXPECT_EQ(Join({parts[0], dir.file("gone.2")}, dir.file("OUT.ISO"), 9).result, Result::Failed);
    EXPECT_EQ(test::ReadFile(dir.file("OUT.ISO")), "old");
    EXPECT_EQ(test::EntriesIn(dir.path()), 3);
}

// As `cat > t && mv -f t dest` would, run by an ordinary user: for root no mode ever refuses.
TEST(SystemJoin, ReplacesAReadOnlyDestinationKeepingItsPermissions)
{
    test::TempDir dir;
    const std::string folder = dir.path().string();
    const uid_t user = getuid() == 0 ? 65534 : getuid(); // nobody, when the tests run as root
    const gid_t group = getuid() == 0 ? 65534 : getgid();
    test::WriteFile(folder + "/a.1", "new ");
    test::WriteFile(folder + "/RO.ISO", "the old read-only image");
    for (const char* name : {"", "/a.1", "/RO.ISO"})
        ASSERT_EQ(chown((folder + name).c_str(), user, group), 0);
    chmod((folder + "/RO.ISO").c_str(), 0444);
    const pid_t worker = fork();
    if (worker == 0) {
        if (getuid() == 0 && (setgid(group) != 0 || setuid(user) != 0))
            _exit(2);
        _exit(Join({folder + "/a.1"}, folder + "/RO.ISO", 4).result == Result::Placed ? 0 : 1);
    }
    int status = -1;
    waitpid(worker, &status, 0);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(test::ReadFile(folder + "/RO.ISO"), "new ");
    struct stat result {};
    ASSERT_EQ(stat((folder + "/RO.ISO").c_str(), &result), 0);
    EXPECT_EQ(result.st_mode & 07777, 0444u);
    EXPECT_EQ(result.st_uid, user);
}

// A live build locks its temporary image; the next build removes only unlocked ones. A pipe
// planted under such a name in a shared folder is neither waited on nor removed, and an image
// check never waits on one either.
TEST(TemporaryImage, RemovesWhatKilledBuildsLeftAndNothingElse)
{
    test::TempDir dir;
    for (const char* name :
         {".partwright-1234ABCD", ".partwright-1234abc", "DISC.001", ".partwright-1234abcd.tmp"})
        test::WriteFile(dir.file(name), "keep");
    test::WriteFile(dir.file(TemporaryImageName(0x1234abcd)), "left by a killed build");
    const std::string pipe = dir.file(TemporaryImageName(0));
    ASSERT_EQ(mkfifo(pipe.c_str(), 0666), 0);
    const TemporaryImage live(dir.file("A.ISO"));
    EXPECT_FALSE(fs::exists(dir.file(TemporaryImageName(0x1234abcd))));
    const TemporaryImage second(dir.file("B.ISO"));
    EXPECT_EQ(test::EntriesIn(dir.path()),
              7); // the four look-alikes, the pipe, the two live images
    EXPECT_EQ(ImageCheckLine(pipe, {{pipe, 0}}), "");
    // A file put in place of a dropped image's name is not the image: it stays.
    {
        const TemporaryImage dropped(dir.file("C.ISO"));
        test::WriteFile(dir.file("other"), "another's");
        fs::rename(dir.file("other"), dropped.path());
    }
    EXPECT_EQ(test::EntriesIn(dir.path()), 8);
}

// However many parts there are, and however long their names: the join goes in steps that each
// fit the system's argument limit, and the image is every part in list order.
TEST(SystemJoin, PartsPastTheArgumentLimitJoinInSteps)
{
    test::TempDir dir;
    std::string folder = dir.path().string();
    for (char c : {'a', 'b', 'c'}) // three folders of 240 characters each
        fs::create_directory(folder += "/" + std::string(240, c));
    constexpr int kParts = 3000;
    ASSERT_GT(kParts * (folder.size() + 10), static_cast<std::size_t>(sysconf(_SC_ARG_MAX)));
    Texts parts;
    std::string joined;
    for (int n = 1; n <= kParts; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "/DISC.%04d", n);
        test::WriteFile(parts.emplace_back(folder + name), name);
        joined += name;
    }
    test::ScriptedWindow window;
    BuildFlow flow(SystemJoinSteps, parts, dir.file("OUT.ISO"));
    window.run(flow);
    EXPECT_EQ(flow.ending(), BuildEnding::Built) << flow.message();
    EXPECT_EQ(test::ReadFile(dir.file("OUT.ISO")), joined);
    EXPECT_EQ(window.progress, (Texts{dir.file("OUT.ISO") + " 3000", "closed"}));
}

// A step that ends well but writes less than its parts (as when a part shrinks while the join
// runs) fails the build there; nothing is placed.
TEST(SystemJoin, EachStepIsMeasured)
{
    test::TempDir dir;
    const Texts parts{dir.file("D.001"), dir.file("D.002")};
    test::WriteFile(parts[0], "first");
    test::WriteFile(parts[1], "second");
    const auto shortStep = [](const Texts& names, const TemporaryImage& temporary) {
        const int out = temporary.outputDescriptor();
        return std::vector<JoinStep>{{ChildCommand{{"/bin/cat", names[0]}, {}, out}, 1},
                                     {ChildCommand{{"/bin/true"}, {}, out}, 1}};
    };
    test::ScriptedWindow window;
    BuildFlow flow(shortStep, parts, dir.file("OUT.ISO"));
    window.run(flow);
    EXPECT_EQ(flow.message(), messages::ImageSizeDiffers(5, 11, dir.file("OUT.ISO"), false));
    EXPECT_EQ(test::EntriesIn(dir.path()), 2);
}

TEST(SystemJoin, AKilledProgramTakesItsJoinAlong)
{
    test::TempDir dir;
    const std::string part = dir.file("never.001");
    ASSERT_EQ(mkfifo(part.c_str(), 0600), 0); // cat waits on it for ever
    const pid_t program = fork();
    if (program == 0) {
        TemporaryImage temporary(dir.file("OUT.ISO"));
        ChildProcess child;
        child.start(SystemJoinSteps({part}, temporary).front().command);
        pause();
        _exit(0);
    }
    ASSERT_TRUE(Eventually([&] { return test::ProcessesMentioning(part).size() == 1; }));
    kill(program, SIGKILL);
    waitpid(program, nullptr, 0);
    EXPECT_TRUE(Eventually([&] { return test::ProcessesMentioning(part).empty(); }));
}

} // namespace
} // namespace partwright
