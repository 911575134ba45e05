#pragma once

#include <cstdint>
#include <vector>

namespace partwright {

// Blocks until one of the waitables (descriptors on Linux, handles on Windows) signals or the
// time is up; true when one signalled. For loops that have nothing else to watch, such as a
// benchmark or a test; a window's event loop watches them itself.
bool WaitForAny(const std::vector<std::intptr_t>& waitables, int timeoutMilliseconds);

} // namespace partwright
