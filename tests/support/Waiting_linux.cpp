#include "support/Waiting.h"

#include <poll.h>

namespace partwright {

bool WaitForAny(const std::vector<std::intptr_t>& waitables, int timeoutMilliseconds)
{
    std::vector<pollfd> watched;
    watched.reserve(waitables.size());
    for (const std::intptr_t waitable : waitables)
        watched.push_back({static_cast<int>(waitable), POLLIN, 0});
    return poll(watched.data(), watched.size(), timeoutMilliseconds) > 0;
}

} // namespace partwright
