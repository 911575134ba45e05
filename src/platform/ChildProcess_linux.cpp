#include "platform/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace partwright {

namespace {

constexpr std::size_t kErrorOutputLimit = 4096;

// The start of what the child wrote to its error output; nothing when that cannot be read.
void ReadErrorOutput(int fd, std::string& text)
{
    text.resize(kErrorOutputLimit);
    const ssize_t got = pread(fd, text.data(), text.size(), 0);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
}

// A descriptor that closes itself.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    void reset(int fd = -1)
    {
        if (fd_ >= 0)
            close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

// Copies of descriptors for the child sit above the three standard ones, so that moving them
// into place in the child is never a no-op that would leave them marked close-on-exec.
int CopyAboveStandardDescriptors(int fd)
{
    return fd < 0 ? -1 : fcntl(fd, F_DUPFD_CLOEXEC, 3);
}

// The same for a descriptor of our own, which the copy replaces.
int MoveAboveStandardDescriptors(int fd)
{
    if (fd < 0 || fd > STDERR_FILENO)
        return fd;
    const int moved = CopyAboveStandardDescriptors(fd);
    close(fd);
    return moved;
}

// Runs in the forked child until exec: only calls that are safe between fork and exec in a
// program with threads. Never returns.
[[noreturn]] void BecomeChild(char* const* argv, pid_t parent, int input, int output, int error,
                              int report)
{
    // The child must not outlive the program: a killed program must not leave a join going on
    // alone. The signal is tied to the thread that forked, the window's thread.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        _exit(127);
    // A group of its own lets kill() reach everything the child starts; signals the program
    // ignores or blocks must not stay ignored or blocked in the child.
    setpgid(0, 0);
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal)
        sigaction(signal, &standard, nullptr);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);

    if (dup2(input, STDIN_FILENO) >= 0 && dup2(output, STDOUT_FILENO) >= 0 &&
        dup2(error, STDERR_FILENO) >= 0)
        execv(argv[0], argv);
    const int reason = errno;
    [[maybe_unused]] const ssize_t written = write(report, &reason, sizeof reason);
    _exit(127);
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

    // Everything the child needs is made before the fork: after it, the child may not allocate.
    std::vector<char*> argv;
    argv.reserve(command.argv.size() + 1);
    for (const auto& argument : command.argv)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    d->errorFd = MoveAboveStandardDescriptors(memfd_create("partwright-child-stderr", MFD_CLOEXEC));
    const Descriptor nothing(MoveAboveStandardDescriptors(open("/dev/null", O_RDWR | O_CLOEXEC)));
    const Descriptor output(CopyAboveStandardDescriptors(
        command.standardOutput >= 0 ? command.standardOutput : nothing.get()));
    int reportPipe[2] = {-1, -1};
    if (d->errorFd < 0 || nothing.get() < 0 || output.get() < 0 ||
        pipe2(reportPipe, O_CLOEXEC) != 0) {
        const int error = errno;
        d->closeDescriptors();
        return d->outcome.startError = error;
    }
    Descriptor reportRead(reportPipe[0]);
    Descriptor reportWrite(reportPipe[1]);

    const pid_t parent = getpid();
    d->pid = fork();
    if (d->pid == 0)
        BecomeChild(argv.data(), parent, nothing.get(), output.get(), d->errorFd,
                    reportWrite.get());
    if (d->pid < 0) {
        const int error = errno;
        d->closeDescriptors();
        return d->outcome.startError = error;
    }
    d->running = true;

    // The report pipe closes at exec; a number arriving on it means exec failed.
    reportWrite.reset();
    int reason = 0;
    ssize_t got;
    do {
        got = read(reportRead.get(), &reason, sizeof reason);
    } while (got < 0 && errno == EINTR);
    if (got == static_cast<ssize_t>(sizeof reason)) {
        d->waitBlocking();
        d->outcome = {};
        return d->outcome.startError = reason;
    }

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
    terminate();
    d->waitBlocking();
}

void ChildProcess::terminate()
{
    if (d->running)
        ::kill(-d->pid, SIGKILL);
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
