#include "platform/NativePaths.h"
#include "platform/SystemError.h"
#include "platform/WideText_win.h"

#include <system_error>
#include <windows.h>

namespace partwright {

char NativeSeparator()
{
    return '\\';
}

std::string ProgramDirectory()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            throw std::system_error(LastError());
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return Utf8(path.substr(0, path.find_last_of(L'\\')));
}

std::filesystem::path PathOf(const std::string& name)
{
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

std::string NameOf(const std::filesystem::path& path)
{
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

// The standard library's absolute() takes \\server\share\x for a rooted path on the current
// drive; the system's own call does not.
std::string FullPath(const std::string& name)
{
    const std::wstring wide = Wide(name);
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0)
            throw std::filesystem::filesystem_error("", PathOf(name), LastError());
        if (length < full.size()) {
            full.resize(length);
            return Utf8(full);
        }
        full.resize(length); // the length asked for counts the terminating zero
    }
}

} // namespace partwright
