#include "platform/HelpViewer.h"
#include "platform/WideText_win.h"

#include <windows.h>

namespace partwright {

// Notepad, maximised and active; the path follows unquoted, as Notepad takes the rest of its
// command line as the file name.
bool StartHelpViewer(const std::string& helpFilePath)
{
    std::wstring line = Wide("notepad.exe " + helpFilePath); // written into by the call

    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMAXIMIZED;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace partwright
