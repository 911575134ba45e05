#pragma once

#include "window/MainWindowView.h"

#include <memory>
#include <string>
#include <windows.h>

namespace partwright::win32 {

using partwright::FileDialogKind;

// The modal dialogs and boxes of the main window's operations, so tests can answer them.
class WinDialogs {
public:
    virtual ~WinDialogs() = default;
    // UTF-8; empty when cancelled. Open gives one full path, or the folder followed by a NUL
    // and a name for each file, the names NUL-separated; Save gives one full path. Throws
    // when the dialog fails.
    virtual std::string chooseFile(HWND owner, FileDialogKind kind) = 0;
    // MessageBoxW: the type's MB_ flags in, the button pressed (IDOK, IDYES, IDNO) out.
    virtual int messageBox(HWND owner, const std::string& text, const char* title,
                           unsigned type) = 0;
};

// The system's common file dialogs and message boxes.
std::shared_ptr<WinDialogs> SystemWinDialogs();

// The reports of the window's operations, boxes with an OK button, and its questions.
void ShowError(WinDialogs& dialogs, HWND owner, const std::string& text);
// "Info..." with the exclamation mark, as the success report has always been shown.
void ShowSuccess(WinDialogs& dialogs, HWND owner, const std::string& text);
// A report that is neither success nor failure, such as a cancelled build.
void ShowNote(WinDialogs& dialogs, HWND owner, const std::string& text);
// "Yes" and "No", either one the default.
bool AskYesNo(WinDialogs& dialogs, HWND owner, const std::string& question, bool yesByDefault);

} // namespace partwright::win32
