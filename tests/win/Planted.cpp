// Leaves NAME.ran beside itself, NAME being its own file name: the mark of a program that was
// started from the folder it was planted in.
#include <windows.h>

int main()
{
    wchar_t path[MAX_PATH + 8] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    lstrcpyW(path + length, L".ran");
    CloseHandle(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}
