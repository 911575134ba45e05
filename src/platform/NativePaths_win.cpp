#include "platform/NativePaths.h"

#include <system_error>
#include <windows.h>

namespace partwright {

char NativeSeparator()
{
    return '\\';
}

std::string ProgramDirectory()
{
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            throw std::system_error(static_cast<int>(GetLastError()), std::system_category());
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of('\\'));
}

} // namespace partwright
