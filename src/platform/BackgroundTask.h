#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace partwright {

// One piece of work on a thread of its own. An event loop watches waitable() to learn, without
// blocking, that the work has ended.
class BackgroundTask {
public:
    explicit BackgroundTask(std::function<void()> work);
    ~BackgroundTask(); // waits for the work to end
    BackgroundTask(const BackgroundTask&) = delete;
    BackgroundTask& operator=(const BackgroundTask&) = delete;

    // Signalled once the work has ended: a descriptor that becomes readable on POSIX systems, an
    // event handle on Windows.
    std::intptr_t waitable() const;

    bool done() const;

    // Waits without a time limit for the work to end.
    void wait();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace partwright
