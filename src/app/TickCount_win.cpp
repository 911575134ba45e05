// The MinGW-w64 thread library that the C++ run time links in asks kernel32 for GetTickCount64,
// which Windows has only since Vista; a program that imports it does not start on Windows XP.
// This file gives the library a stand-in that uses the real function where there is one.
#include <windows.h>

namespace {

ULONGLONG WINAPI TickCount64OnAnyWindows()
{
    using TickCount64 = ULONGLONG(WINAPI*)();
    static const auto real = reinterpret_cast<TickCount64>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTickCount64")));
    return real ? real() : GetTickCount(); // XP: wraps after 49 days of uptime
}

} // namespace

// The import slot the library's calls go through; defined here, the kernel32 one is not linked.
// Its name differs between 32-bit and 64-bit Windows; CMake passes the right one.
extern "C" ULONGLONG(WINAPI* ImportedTickCount64)() __asm__(PARTWRIGHT_TICK_COUNT_IMPORT);
ULONGLONG(WINAPI* ImportedTickCount64)() = TickCount64OnAnyWindows;
