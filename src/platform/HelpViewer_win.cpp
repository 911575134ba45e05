#include "platform/HelpViewer.h"
#include "platform/SystemPrograms_win.h"
#include "platform/WideText_win.h"

#include <windows.h>

namespace partwright {

// Notepad, maximised and active, started from the system folder by its full path; the help
// file's path follows unquoted, as Notepad takes the rest of its command line as the file name.
bool StartHelpViewer(const std::string& helpFilePath)
{
    const std::wstring program = Wide(SystemFolderProgram("notepad.exe"));
    std::wstring line = Wide("notepad.exe " + helpFilePath); // written into by the call

    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMAXIMIZED;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace partwright
