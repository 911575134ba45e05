#pragma once

#include "platform/ChildCommand.h"

#include <cstdint>
#include <memory>
#include <string>

namespace partwright {

// How a child ended. A child that could not be started carries the system's error code instead.
struct ChildOutcome {
    int startError = 0; // non-zero: the system's error code of the failed start
    std::int32_t exitCode = 0;
    int signal = 0; // POSIX: the signal that ended the child; 0 when it exited
    // POSIX: the start of what the child wrote to its error output; Windows: the last lines of
    // all it printed.
    std::string errorOutput;
};

// One child process, started hidden with the program's environment and with nothing to read on
// its standard input; in the program's current directory on POSIX systems, but on Windows in the
// system folder, as cmd.exe cannot take a network share as its current folder (every path it is
// given is full). Dropping a child that still runs ends it.
class ChildProcess {
public:
    ChildProcess();
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // 0 when the child runs, otherwise the system's error code (and nothing runs).
    int start(const ChildCommand& command);

    // What an event loop can watch for the child's end: a pidfd on Linux, a process handle on
    // Windows; -1 when nothing runs.
    std::intptr_t exitWaitable() const;

    // Collects the child's end when it has come; never blocks.
    bool poll();

    // Waits without a time limit for the child's end.
    void wait();

    // Ends the child and whatever it started, and waits for that end.
    void kill();

    // Asks for the same end without waiting for it: the end comes through exitWaitable().
    void terminate();

    bool running() const;
    const ChildOutcome& outcome() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Runs the command line and waits for its end. Returns the child's exit code, or the system's
// error code when the child could not be started.
std::int32_t ExecCmd(const ChildCommand& cmdline);

// The system's own words for one of its error codes.
std::string SystemErrorText(int code);

} // namespace partwright
