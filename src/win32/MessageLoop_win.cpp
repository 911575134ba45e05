#include "win32/MessageLoop.h"

namespace partwright::win32 {

namespace {

void Dispatch(MSG& message)
{
    if (HandleDialogKeys(message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

} // namespace

bool HandleDialogKeys(MSG& message)
{
    // The window of the message, not the active one: a message posted to a window in the
    // background gets that window's navigation.
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    return root && IsDialogMessageW(root, &message);
}

int RunMessageLoop(HWND window)
{
    MSG message;
    while (IsWindow(window)) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == -1)
            break;
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return static_cast<int>(message.wParam);
        }
        Dispatch(message);
    }
    return 0;
}

} // namespace partwright::win32
