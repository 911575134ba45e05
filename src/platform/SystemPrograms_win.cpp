#include "platform/SystemPrograms_win.h"

#include "platform/SystemError.h"
#include "platform/WideText_win.h"

namespace partwright {

namespace {

using FolderQuery = UINT(WINAPI*)(LPWSTR, UINT);

std::string Folder(FolderQuery query)
{
    std::wstring folder(MAX_PATH, L'\0');
    UINT length = query(folder.data(), static_cast<UINT>(folder.size()));
    if (length >= folder.size()) { // too small: the length asked for counts the end
        folder.resize(length);
        length = query(folder.data(), static_cast<UINT>(folder.size()));
    }
    if (length == 0 || length >= folder.size())
        ThrowLastError("the system folder");
    folder.resize(length);
    return Utf8(folder);
}

// Looked up rather than imported: a program that imports it does not start on Windows XP.
template <typename Call> Call Kernel32Call(const char* name)
{
    const FARPROC call = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name);
    return reinterpret_cast<Call>(reinterpret_cast<void (*)()>(call));
}

std::string InFolder(const std::string& folder, const std::string& fileName)
{
    return folder.ends_with('\\') ? folder + fileName : folder + '\\' + fileName;
}

} // namespace

std::string SystemFolder()
{
    return Folder(GetSystemDirectoryW);
}

std::string SystemFolderProgram(const std::string& fileName)
{
    return InFolder(SystemFolder(), fileName);
}

void KeepCurrentFolderOutOfDllSearch()
{
    using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD);
    using SetDllDirectoryCall = BOOL(WINAPI*)(LPCWSTR);
    if (const auto call = Kernel32Call<SetDefaultDllDirectoriesCall>("SetDefaultDllDirectories"))
        call(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    // Windows before 8 without its loader update; Wine keeps the current folder in despite it.
    else if (const auto empty = Kernel32Call<SetDllDirectoryCall>("SetDllDirectoryW"))
        empty(L"");
}

std::string WindowsFolderProgram(const std::string& fileName)
{
    return InFolder(Folder(GetWindowsDirectoryW), fileName);
}

} // namespace partwright
