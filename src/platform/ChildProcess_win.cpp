#include "platform/ChildOutput_win.h"
#include "platform/ChildProcess.h"
#include "platform/SystemPrograms_win.h"
#include "platform/WideText_win.h"

#include <windows.h>

namespace partwright {

namespace {

// Starts the command suspended, with nothing to read and `output` for both of its outputs.
// Returns 0 or the system's error code.
DWORD CreateSuspended(const ChildCommand& command, HANDLE output, PROCESS_INFORMATION& process)
{
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    const HANDLE nothing = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       &inheritable, OPEN_EXISTING, 0, nullptr);
    if (nothing == INVALID_HANDLE_VALUE)
        return GetLastError();

    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nothing;
    startup.hStdOutput = output;
    startup.hStdError = output;

    const std::wstring program = command.argv.empty() ? std::wstring() : Wide(command.argv[0]);
    std::wstring line = Wide(command.commandLine); // CreateProcessW may write into it
    // Every path a child is given is full; cmd.exe cannot take a network share as its folder.
    const std::wstring folder = Wide(SystemFolder());
    const BOOL created =
        CreateProcessW(program.empty() ? nullptr : program.c_str(), line.data(), nullptr, nullptr,
                       TRUE, CREATE_SUSPENDED | CREATE_NO_WINDOW | NORMAL_PRIORITY_CLASS, nullptr,
                       folder.c_str(), &startup, &process);
    const DWORD error = created ? 0 : GetLastError();
    CloseHandle(nothing);
    return error;
}

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

struct ChildProcess::Impl {
    PROCESS_INFORMATION process{};
    // Holds the child and everything it starts; closing it ends them all, so nothing the child
    // started outlives the program. Null when the system would not take the child into a job.
    HANDLE job = nullptr;
    std::unique_ptr<OutputReader> output; // from before the start until the end is collected
    bool running = false;
    ChildOutcome outcome;

    void collect()
    {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        outcome.exitCode = static_cast<std::int32_t>(code); // 2^31 and above come back negative
        outcome.errorOutput = output->stop();
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
        output.reset();
        running = false;
    }

    void failStart(DWORD error)
    {
        release();
        outcome.startError = static_cast<int>(error);
        outcome.exitCode = static_cast<std::int32_t>(error);
    }
};

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
    d->output = std::make_unique<OutputReader>(AsksForUtf16(command.commandLine));

    // Started suspended so that it is in the job before it can start anything of its own.
    DWORD error = d->output->start();
    if (error == 0)
        error = CreateSuspended(command, d->output->childEnd(), d->process);
    d->output->closeChildEnd();
    if (error != 0) {
        d->failStart(error);
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
        error = GetLastError();
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
