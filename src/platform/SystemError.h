#pragma once

#include <string>
#include <system_error>

namespace partwright {

// The error the calling thread's last failed system call left: errno on Linux, GetLastError() on
// Windows, in the category that describes it.
std::error_code LastError();

// Throws that error as std::system_error; `what` names the file or the call that failed.
[[noreturn]] void ThrowLastError(const std::string& what);

} // namespace partwright
