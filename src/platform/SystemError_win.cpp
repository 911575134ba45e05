#include "platform/SystemError.h"

#include <windows.h>

namespace partwright {

std::error_code LastError()
{
    return {static_cast<int>(GetLastError()), std::system_category()};
}

void ThrowLastError(const std::string& what)
{
    throw std::system_error(LastError(), what);
}

} // namespace partwright
