#pragma once

#include "platform/BackgroundTask.h"

#include <exception>
#include <functional>
#include <optional>
#include <utility>

namespace partwright {

// Work on a thread of its own that returns a result. The worker writes only the task's own
// result or fault; the owner's thread reads them through take(), after the thread has been joined,
// so nothing else is shared but what the work itself was given.
template <typename Result> class Task {
public:
    explicit Task(std::function<Result()> work)
        : thread_([this, work = std::move(work)] {
              try {
                  result_.emplace(work());
              } catch (...) {
                  fault_ = std::current_exception();
              }
          })
    {}
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;

    // Signalled once the work has ended; see BackgroundTask.
    std::intptr_t waitable() const { return thread_.waitable(); }
    bool done() const { return thread_.done(); }

    // Waits for the work's end; its result, or what it threw, thrown again here.
    Result take()
    {
        thread_.wait();
        if (fault_)
            std::rethrow_exception(fault_);
        return std::move(*result_);
    }

private:
    std::optional<Result> result_;
    std::exception_ptr fault_;
    BackgroundTask thread_; // last: started once the slots exist, joined before they go
};

} // namespace partwright
