#include "text/Messages.h"
#include "win32/WinDialogs.h"

namespace partwright::win32 {

// The icons are those of the classic reports: a success shows the exclamation mark.
void ShowError(WinDialogs& dialogs, HWND owner, const std::string& text)
{
    dialogs.messageBox(owner, text, messages::kErrorTitle, MB_OK | MB_ICONERROR);
}

void ShowSuccess(WinDialogs& dialogs, HWND owner, const std::string& text)
{
    dialogs.messageBox(owner, text, messages::kInfoTitle, MB_OK | MB_ICONEXCLAMATION);
}

void ShowNote(WinDialogs& dialogs, HWND owner, const std::string& text)
{
    dialogs.messageBox(owner, text, messages::kInfoTitle, MB_OK | MB_ICONINFORMATION);
}

bool AskYesNo(WinDialogs& dialogs, HWND owner, const std::string& question, bool yesByDefault)
{
    return dialogs.messageBox(owner, question, messages::kQuestionTitle,
                              MB_YESNO | MB_ICONQUESTION |
                                  (yesByDefault ? MB_DEFBUTTON1 : MB_DEFBUTTON2)) == IDYES;
}

} // namespace partwright::win32
