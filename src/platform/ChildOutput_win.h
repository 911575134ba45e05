#pragma once

#include <memory>
#include <string>
#include <windows.h>

namespace partwright {

// Whether the command line asks cmd.exe with /U to print UTF-16, ahead of the command (/C, /K).
// Told by the command line, as the bytes alone cannot tell UTF-16 from a code page for certain.
bool AsksForUtf16(const std::string& commandLine);

// Reads what the child prints while it runs, so that the child never waits for room in the pipe.
// The pipe's end is not waited for, as whatever else inherited its write end (under Wine, more
// than the child) may hold it open: told to stop, the reader takes what the pipe holds at that
// moment and no more, as a grandchild could go on writing. It looks at the pipe every few
// milliseconds, as waiting on an anonymous pipe cannot be cut short before Windows Vista.
class OutputReader {
public:
    explicit OutputReader(bool utf16);
    ~OutputReader();
    OutputReader(const OutputReader&) = delete;
    OutputReader& operator=(const OutputReader&) = delete;

    // 0 when it reads, otherwise the system's error code.
    DWORD start();

    // The write end, inheritable, for the child to print into.
    HANDLE childEnd() const;

    // Once the child has its own copy, the pipe is the child's alone.
    void closeChildEnd();

    // Stops reading; the last lines the child printed, in UTF-8 with "\n" between them.
    std::string stop();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace partwright
