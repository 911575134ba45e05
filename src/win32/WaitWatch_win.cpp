#include "platform/SystemError.h"
#include "win32/WaitWatch.h"

namespace partwright::win32 {

void WaitWatch::watch(const std::vector<std::intptr_t>& waitables)
{
    stop();
    posted_ = false;
    for (const std::intptr_t waitable : waitables) {
        if (waitable == -1 || waitable == 0)
            continue; // nothing to wait for
        HANDLE wait = nullptr;
        if (!RegisterWaitForSingleObject(&wait, reinterpret_cast<HANDLE>(waitable), &Signalled,
                                         this, INFINITE, WT_EXECUTEONLYONCE))
            ThrowLastError("RegisterWaitForSingleObject");
        waits_.push_back(wait);
    }
}

void WaitWatch::stop()
{
    for (HANDLE wait : waits_)
        UnregisterWaitEx(wait, INVALID_HANDLE_VALUE);
    waits_.clear();
}

void CALLBACK WaitWatch::Signalled(void* context, BOOLEAN)
{
    auto* self = static_cast<WaitWatch*>(context);
    if (!self->posted_.exchange(true))
        PostMessageW(self->window_, self->message_, 0, 0);
}

} // namespace partwright::win32
