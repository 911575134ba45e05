#include "platform/ChildProcess.h"
#include "platform/WideText_win.h"

#include <windows.h>

namespace partwright {

struct ChildProcess::Impl {
    PROCESS_INFORMATION process{};
    // Holds the child and everything it starts; closing it ends them all, so nothing the child
    // started outlives the program. Null when the system would not take the child into a job.
    HANDLE job = nullptr;
    bool running = false;
    ChildOutcome outcome;

    void collect()
    {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        outcome.exitCode = static_cast<std::int32_t>(code); // 2^31 and above come back negative
        release();
    }

    // Thread handle first, then process handle; zero handles after a failed start are closed
    // all the same. The job goes last, ending whatever of it is still running.
    void release()
    {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        process = {};
        if (job)
            CloseHandle(job);
        job = nullptr;
        running = false;
    }

    void failStart(DWORD error)
    {
        release();
        outcome.startError = static_cast<int>(error);
        outcome.exitCode = static_cast<std::int32_t>(error);
    }
};

namespace {

// A job whose processes end when its last handle is closed; null when there is none to be had.
HANDLE CreateKillOnCloseJob()
{
    const HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (!job)
        return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
        CloseHandle(job);
        return nullptr;
    }
    return job;
}

} // namespace

ChildProcess::ChildProcess() : d(std::make_unique<Impl>()) {}

ChildProcess::~ChildProcess()
{
    if (d->running)
        kill();
}

int ChildProcess::start(const ChildCommand& command)
{
    d->outcome = {};
    d->process = {};

    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;

    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::wstring line = Wide(command.commandLine);

    // Started suspended so that it is in the job before it can start anything of its own.
    const BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                                        CREATE_SUSPENDED | CREATE_NO_WINDOW | NORMAL_PRIORITY_CLASS,
                                        nullptr, nullptr, &startup, &d->process);
    if (!started) {
        d->failStart(GetLastError());
        return d->outcome.startError;
    }
    d->running = true;

    // Windows before 8 cannot put a process in a second job: when the program already runs in
    // one, the child runs without a job of its own rather than not at all.
    d->job = CreateKillOnCloseJob();
    if (d->job && !AssignProcessToJobObject(d->job, d->process.hProcess)) {
        CloseHandle(d->job);
        d->job = nullptr;
    }

    if (ResumeThread(d->process.hThread) == static_cast<DWORD>(-1)) {
        const DWORD error = GetLastError();
        kill();
        d->failStart(error);
        return d->outcome.startError;
    }
    return 0;
}

std::intptr_t ChildProcess::exitWaitable() const
{
    return d->running ? reinterpret_cast<std::intptr_t>(d->process.hProcess) : -1;
}

bool ChildProcess::poll()
{
    if (!d->running)
        return true;
    if (WaitForSingleObject(d->process.hProcess, 0) != WAIT_OBJECT_0)
        return false;
    d->collect();
    return true;
}

void ChildProcess::wait()
{
    if (!d->running)
        return;
    WaitForSingleObject(d->process.hProcess, INFINITE);
    d->collect();
}

void ChildProcess::kill()
{
    if (!d->running)
        return;
    terminate();
    wait();
}

void ChildProcess::terminate()
{
    if (!d->running)
        return;
    if (d->job)
        TerminateJobObject(d->job, 1);
    else
        TerminateProcess(d->process.hProcess, 1);
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
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = Utf8(std::wstring_view(buffer ? buffer : L"", length));
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text.empty() ? "Unknown error" : text;
}

} // namespace partwright
