#include "win32/WaitWatch.h"

#include <system_error>

namespace partwright::win32 {

void WaitWatch::watch(const std::vector<std::intptr_t>& waitables)
{
    stop();
    for (const std::intptr_t waitable : waitables) {
        if (waitable == -1 || waitable == 0)
            continue; // nothing to wait for
        HANDLE wait = nullptr;
        if (!RegisterWaitForSingleObject(&wait, reinterpret_cast<HANDLE>(waitable), &Signalled,
                                         this, INFINITE, WT_EXECUTEONLYONCE))
            throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                                    "RegisterWaitForSingleObject");
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
    const auto* self = static_cast<const WaitWatch*>(context);
    PostMessageW(self->window_, self->message_, 0, 0);
}

} // namespace partwright::win32
