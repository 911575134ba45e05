#include "text/DisplayText.h"
#include "win32/ControlIds.h"
#include "win32/Controls.h"
#include "win32/ProgressWindow.h"

#include <commctrl.h>

namespace partwright::win32 {

namespace {

constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMilliseconds = 250;
constexpr int kBarSteps = 1000; // the bar counts per mille
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

} // namespace

ProgressWindow::ProgressWindow(HWND mainWindow, HFONT font, const std::string& destination,
                               int partCount, std::function<BuildFigures()> figures,
                               std::function<void()> cancel)
    : figures_(std::move(figures)), cancel_(std::move(cancel)), reading_(partCount)
{
    const Twips twips = Twips::OfScreen();
    create({classes::kProgress, "Building...", kStyle, WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME,
            mainWindow, twips.pixels(6045), twips.pixels(2115)});

    lblAction =
        CreateControl(hwnd_, ids::lblAction, WC_STATICW, "", WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                      twips.box(180, 180, 5685, 255), font);
    // Long paths keep their start and their name, the middle shortened.
    CreateControl(hwnd_, ids::lblTarget, WC_STATICW, DisplayText(destination),
                  WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS,
                  twips.box(180, 420, 5685, 255), font);
    barProgress = CreateControl(hwnd_, ids::barProgress, PROGRESS_CLASSW, "",
                                WS_VISIBLE | PBS_SMOOTH, twips.box(180, 780, 5685, 285), font);
    SendMessageW(barProgress, PBM_SETRANGE32, 0, kBarSteps);
    lblFigures =
        CreateControl(hwnd_, ids::lblFigures, WC_STATICW, "", WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                      twips.box(180, 1170, 5685, 255), font);
    cmdCancel = CreateControl(hwnd_, IDCANCEL, WC_BUTTONW, "Cancel",
                              WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                              twips.box(4650, 1560, 1215, 375), font);

    refresh();
    SetTimer(hwnd_, kRefreshTimer, kRefreshMilliseconds, nullptr);
    CentreOver(hwnd_, mainWindow);
    ShowWindow(hwnd_, SW_SHOW);
    SetFocus(cmdCancel);
}

ProgressWindow::~ProgressWindow()
{
    destroy();
}

LRESULT ProgressWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == kRefreshTimer)
            refresh();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) // the button, and Esc
            cancel_();
        return 0;
    case WM_CLOSE:
        cancel_();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            SetFocus(cmdCancel);
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd_, kRefreshTimer);
        return 0;
    default:
        return WindowBase::onMessage(message, wParam, lParam);
    }
}

void ProgressWindow::refresh()
{
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started_;
    const ProgressShown shown = reading_.read(figures_(), elapsed.count());
    if (shown.action != action_) {
        action_ = shown.action;
        SetText(lblAction, action_);
    }
    const bool marquee = shown.permille < 0; // moving to and fro: no measure
    if (marquee != marquee_) {
        marquee_ = marquee;
        const LONG_PTR style = GetWindowLongPtrW(barProgress, GWL_STYLE);
        SetWindowLongPtrW(barProgress, GWL_STYLE,
                          marquee ? style | PBS_MARQUEE : style & ~PBS_MARQUEE);
        SendMessageW(barProgress, PBM_SETMARQUEE, marquee, 0);
    }
    if (!marquee)
        SendMessageW(barProgress, PBM_SETPOS, static_cast<WPARAM>(shown.permille), 0);
    SetText(lblFigures, shown.figures);
}

} // namespace partwright::win32
