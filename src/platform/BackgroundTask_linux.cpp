#include "platform/BackgroundTask.h"
#include "platform/SystemError.h"

#include <atomic>
#include <cstdint>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>

namespace partwright {

struct BackgroundTask::Impl {
    int event = -1; // an eventfd: readable once the work has ended
    std::atomic<bool> done{false};
    std::thread thread;
};

BackgroundTask::BackgroundTask(std::function<void()> work) : d(std::make_unique<Impl>())
{
    d->event = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (d->event < 0)
        ThrowLastError("eventfd");
    d->thread = std::thread([impl = d.get(), work = std::move(work)] {
        try {
            work();
        } catch (...) { // the work reports through what it leaves behind
        }
        impl->done = true;
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(impl->event, &one, sizeof one);
    });
}

BackgroundTask::~BackgroundTask()
{
    wait();
    close(d->event);
}

std::intptr_t BackgroundTask::waitable() const
{
    return d->event;
}

bool BackgroundTask::done() const
{
    return d->done;
}

void BackgroundTask::wait()
{
    if (d->thread.joinable())
        d->thread.join();
}

} // namespace partwright
