#include "platform/BackgroundTask.h"
#include "platform/SystemError.h"

#include <thread>
#include <windows.h>

namespace partwright {

struct BackgroundTask::Impl {
    HANDLE ended = nullptr; // manual reset: stays signalled for every later look
    std::thread thread;
};

BackgroundTask::BackgroundTask(std::function<void()> work) : d(std::make_unique<Impl>())
{
    d->ended = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!d->ended)
        ThrowLastError("CreateEventW");
    d->thread = std::thread([ended = d->ended, work = std::move(work)] {
        try {
            work();
        } catch (...) { // the work reports through what it leaves behind
        }
        SetEvent(ended);
    });
}

BackgroundTask::~BackgroundTask()
{
    wait();
    CloseHandle(d->ended);
}

std::intptr_t BackgroundTask::waitable() const
{
    return reinterpret_cast<std::intptr_t>(d->ended);
}

bool BackgroundTask::done() const
{
    return WaitForSingleObject(d->ended, 0) == WAIT_OBJECT_0;
}

void BackgroundTask::wait()
{
    if (d->thread.joinable())
        d->thread.join();
}

} // namespace partwright
