#include "support/Waiting.h"

#include <windows.h>

namespace partwright {

bool WaitForAny(const std::vector<std::intptr_t>& waitables, int timeoutMilliseconds)
{
    std::vector<HANDLE> handles;
    handles.reserve(waitables.size());
    for (const std::intptr_t waitable : waitables)
        handles.push_back(reinterpret_cast<HANDLE>(waitable));
    if (handles.empty()) {
        Sleep(static_cast<DWORD>(timeoutMilliseconds));
        return false;
    }
    const DWORD result = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(),
                                                FALSE, static_cast<DWORD>(timeoutMilliseconds));
    return result < WAIT_OBJECT_0 + handles.size();
}

} // namespace partwright
