#include "platform/ChildProcess.h"

#include <vector>
#include <windows.h>

namespace partwright {

struct ChildProcess::Impl {
    PROCESS_INFORMATION process{};
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
    // all the same.
    void release()
    {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        process = {};
        running = false;
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

    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;

    // CreateProcessA may write into the command line, so it gets a copy of its own.
    std::vector<char> line(command.commandLine.begin(), command.commandLine.end());
    line.push_back('\0');

    const BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW | NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                                        &startup, &d->process);
    const DWORD lastError = GetLastError();
    if (!started) {
        d->release();
        d->outcome.startError = static_cast<int>(lastError);
        d->outcome.exitCode = static_cast<std::int32_t>(lastError);
        return d->outcome.startError;
    }
    d->running = true;
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
    TerminateProcess(d->process.hProcess, 1);
    wait();
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
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text(buffer ? buffer : "", length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text.empty() ? "Unknown error" : text;
}

} // namespace partwright
