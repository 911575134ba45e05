#pragma once

#include <string>
#include <windows.h>

namespace partwright::win32 {

// A top-level window of one of the program's own classes whose messages go to the object that
// made it. The object outlives its window: it destroys the window when it goes, if the window is
// still there.
class WindowBase {
public:
    WindowBase() = default;
    virtual ~WindowBase();
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    HWND handle() const { return hwnd_; }

protected:
    struct Frame {
        const wchar_t* className;
        std::string title;
        DWORD style;
        DWORD exStyle;
        HWND owner;
        int clientWidth;
        int clientHeight;
    };
    // Registers the class on first use and creates the window, hidden.
    void create(const Frame& frame);
    // Destroys the window now; derived windows call it first in their destructors, while their
    // message handling still works.
    void destroy();

    virtual LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

} // namespace partwright::win32
