#pragma once

#include <windows.h>

namespace partwright::win32 {

// Gives the keys of dialog navigation (Tab, arrows, access keys such as Alt+F, Enter and Esc) to
// the top-level window the message is for. True when that window took the message.
bool HandleDialogKeys(MSG& message);

// Handles messages until the window is gone. A WM_QUIT ends it too and stays queued for the loops
// further out; its code is returned, else 0.
int RunMessageLoop(HWND window);

} // namespace partwright::win32
