#include "platform/SystemError.h"
#include "platform/WideText_win.h"
#include "win32/Controls.h"
#include "win32/WindowBase.h"

namespace partwright::win32 {

namespace {

void RegisterOnce(const wchar_t* className, WNDPROC procedure)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, className, &existing))
        return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    if (!RegisterClassExW(&windowClass))
        ThrowLastError("RegisterClassExW");
}

} // namespace

WindowBase::~WindowBase()
{
    destroy();
}

void WindowBase::create(const Frame& frame)
{
    RegisterOnce(frame.className, &WindowBase::Procedure);
    const SIZE outer = OuterSize(frame.style, frame.exStyle, frame.clientWidth, frame.clientHeight);
    CreateWindowExW(frame.exStyle, frame.className, Wide(frame.title).c_str(), frame.style,
                    CW_USEDEFAULT, CW_USEDEFAULT, outer.cx, outer.cy, frame.owner, nullptr,
                    GetModuleHandleW(nullptr), this);
    if (!hwnd_)
        ThrowLastError("CreateWindowExW");
}

void WindowBase::destroy()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
}

LRESULT WindowBase::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK WindowBase::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->onMessage(message, wParam, lParam);
}

} // namespace partwright::win32
