#include "platform/SystemError.h"

#include <cerrno>

namespace partwright {

std::error_code LastError()
{
    return {errno, std::generic_category()};
}

void ThrowLastError(const std::string& what)
{
    throw std::system_error(LastError(), what);
}

} // namespace partwright
