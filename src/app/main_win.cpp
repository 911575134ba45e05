#include "platform/SystemPrograms_win.h"
#include "win32/MessageLoop.h"
#include "win32/frmPartwright.h"

#include <commctrl.h>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand)
{
    partwright::KeepCurrentFolderOutOfDllSearch(); // before anything loads a DLL by name
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    partwright::win32::frmPartwright window;
    window.show(showCommand);
    return partwright::win32::RunMessageLoop(window.handle());
}
