#pragma once

#include <atomic>
#include <cstdint>
#include <vector>
#include <windows.h>

namespace partwright::win32 {

// Watches handles on the system's wait threads and posts a message to a window when one of them
// is signalled, so the window's own thread goes on from there. Each watch() posts at most once,
// however many of its handles are signalled; the window watches again after it has looked.
class WaitWatch {
public:
    WaitWatch(HWND window, UINT message) : window_(window), message_(message) {}
    ~WaitWatch() { stop(); }
    WaitWatch(const WaitWatch&) = delete;
    WaitWatch& operator=(const WaitWatch&) = delete;

    // Stops the watches there are and watches these handles (as std::intptr_t) instead.
    void watch(const std::vector<std::intptr_t>& waitables);

    // Returns once no watch is left and none of their callbacks runs any more, so the handles
    // may be closed afterwards.
    void stop();

private:
    static void CALLBACK Signalled(void* context, BOOLEAN timedOut);

    HWND window_;
    UINT message_;
    std::vector<HANDLE> waits_;
    std::atomic<bool> posted_ = false; // by this watch's callbacks
};

} // namespace partwright::win32
