#include "platform/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace partwright {

namespace {

constexpr std::size_t kErrorOutputLimit = 4096;

// Owns the spawn settings for the length of one start.
class SpawnSettings {
public:
    SpawnSettings()
    {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSettings()
    {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};

int ReadErrorOutput(int fd, std::string& text)
{
    text.resize(kErrorOutputLimit);
    const ssize_t got = pread(fd, text.data(), text.size(), 0);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return got < 0 ? errno : 0;
}

} // namespace

struct ChildProcess::Impl {
    pid_t pid = -1;
    int pidfd = -1;
    int errorFd = -1; // anonymous file that receives the child's error output
    bool running = false;
    ChildOutcome outcome;

    void collect(int status)
    {
        running = false;
        if (WIFSIGNALED(status)) {
            outcome.signal = WTERMSIG(status);
            outcome.exitCode = 128 + outcome.signal; // the shells' convention
            // Whatever the child had started must not go on writing without it.
            ::kill(-pid, SIGKILL);
        } else {
            outcome.exitCode = WEXITSTATUS(status);
        }
        ReadErrorOutput(errorFd, outcome.errorOutput);
        closeDescriptors();
    }

    void closeDescriptors()
    {
        for (int* fd : {&pidfd, &errorFd}) {
            if (*fd >= 0)
                close(*fd);
            *fd = -1;
        }
    }

    void waitBlocking()
    {
        int status = 0;
        pid_t got;
        do {
            got = waitpid(pid, &status, 0);
        } while (got < 0 && errno == EINTR);
        if (got == pid)
            collect(status);
        else
            collectLost();
    }

    // Somebody else reaped the child: its end is known, its exit code is not.
    void collectLost()
    {
        running = false;
        outcome.exitCode = -1;
        closeDescriptors();
    }
};

ChildProcess::ChildProcess() : d(std::make_unique<Impl>()) {}

ChildProcess::~ChildProcess()
{
    if (d->running)
        kill();
    d->closeDescriptors();
}

int ChildProcess::start(const ChildCommand& command)
{
    d->outcome = {};
    if (command.argv.empty())
        return d->outcome.startError = EINVAL;

    d->errorFd = memfd_create("partwright-child-stderr", MFD_CLOEXEC);
    if (d->errorFd < 0)
        return d->outcome.startError = errno;

    SpawnSettings settings;
    posix_spawn_file_actions_addopen(&settings.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&settings.actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&settings.actions, d->errorFd, STDERR_FILENO);

    // A group of its own lets kill() reach everything the child starts; signals the program
    // ignores or blocks must not stay ignored or blocked in the child.
    sigset_t all;
    sigset_t none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&settings.attributes, &all);
    posix_spawnattr_setsigmask(&settings.attributes, &none);
    posix_spawnattr_setpgroup(&settings.attributes, 0);
    posix_spawnattr_setflags(&settings.attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF |
                                                       POSIX_SPAWN_SETSIGMASK);

    std::vector<char*> argv;
    argv.reserve(command.argv.size() + 1);
    for (const auto& argument : command.argv)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    const int error = posix_spawn(&d->pid, argv[0], &settings.actions, &settings.attributes,
                                  argv.data(), environ);
    if (error != 0) {
        d->closeDescriptors();
        return d->outcome.startError = error;
    }
    d->running = true;

    d->pidfd = static_cast<int>(syscall(SYS_pidfd_open, d->pid, 0));
    if (d->pidfd < 0) {
        const int pidfdError = errno;
        kill();
        d->outcome = {};
        return d->outcome.startError = pidfdError;
    }
    return 0;
}

std::intptr_t ChildProcess::exitWaitable() const
{
    return d->running ? d->pidfd : -1;
}

bool ChildProcess::poll()
{
    if (!d->running)
        return true;
    int status = 0;
    const pid_t got = waitpid(d->pid, &status, WNOHANG);
    if (got == 0 || (got < 0 && errno == EINTR))
        return false;
    if (got == d->pid)
        d->collect(status);
    else
        d->collectLost();
    return true;
}

void ChildProcess::wait()
{
    if (d->running)
        d->waitBlocking();
}

void ChildProcess::kill()
{
    if (!d->running)
        return;
    ::kill(-d->pid, SIGKILL);
    d->waitBlocking();
}

bool ChildProcess::running() const
{
    return d->running;
}

const ChildOutcome& ChildProcess::outcome() const
{
    return d->outcome;
}

std::string SystemErrorText(int code)
{
    return std::strerror(code);
}

} // namespace partwright
