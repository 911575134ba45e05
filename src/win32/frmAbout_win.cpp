#include "platform/WideText_win.h"
#include "text/AboutText.h"
#include "win32/ControlIds.h"
#include "win32/Controls.h"
#include "win32/MessageLoop.h"
#include "win32/ResourceIds.h"
#include "win32/frmAbout.h"

#include <commctrl.h>

namespace partwright::win32 {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
// Labels under the OK button in the z-order leave it alone where their boxes overlap it.
constexpr DWORD kLabelStyle = WS_VISIBLE | WS_CLIPSIBLINGS | SS_LEFT | SS_NOPREFIX;

// The layout was drawn for a small classic dialog font. With a wider one the description would
// run under the OK button, so its font shrinks in half-point steps (to 6 points at the least)
// until every line ends above the button.
HFONT FontThatFits(HWND label, HFONT font, const std::string& text, int width, int room, int dpi)
{
    LOGFONTW shape{};
    GetObjectW(font, sizeof shape, &shape);
    const std::wstring wide = Wide(text);
    HDC dc = GetDC(label);
    int tenths = MulDiv(shape.lfHeight < 0 ? -shape.lfHeight : shape.lfHeight, 720, dpi);
    HFONT fitting = CreateFontIndirectW(&shape);
    for (;;) {
        const HGDIOBJ previous = SelectObject(dc, fitting);
        RECT needed{0, 0, width, 0};
        DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &needed,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, previous);
        if (needed.bottom <= room || tenths <= 60)
            break;
        DeleteObject(fitting);
        tenths -= 5;
        shape.lfHeight = -MulDiv(tenths, dpi, 720);
        fitting = CreateFontIndirectW(&shape);
    }
    ReleaseDC(label, dc);
    return fitting;
}

} // namespace

frmAbout::frmAbout(HWND owner) : owner_(owner)
{
    font_ = CreateMessageFont();
    create({classes::kAbout, about::kWindowTitle, kStyle, WS_EX_CONTROLPARENT, owner,
            twips_.pixels(4845), twips_.pixels(2670)});
    windowIcon_ = LoadIconResource(PARTWRIGHT_ICON_ABOUT, 16, 16);
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(windowIcon_));
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(windowIcon_));
    createControls();
    Form_Load();
    CentreOnScreen(hwnd_); // on the screen, not over the main window
}

frmAbout::~frmAbout()
{
    destroy();
    for (HFONT font : {font_, titleFont_, descriptionFont_})
        if (font)
            DeleteObject(font);
    for (HICON icon : {windowIcon_, discIcon_})
        if (icon)
            DestroyIcon(icon);
}

void frmAbout::createControls()
{
    // The OK button first, so it lies above the description's box, and the only tab stop.
    cmdOK = CreateControl(hwnd_, IDOK, WC_BUTTONW, "OK", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                          twips_.box(3480, 2160, 1215, 375), font_);
    lblDescription = CreateControl(hwnd_, ids::lblDescription, WC_STATICW, "", kLabelStyle,
                                   twips_.box(840, 1200, 3795, 1245), font_);
    titleFont_ = CreatePointFont(L"MS Sans Serif", 135, true, twips_.dpi());
    lblTitle = CreateControl(hwnd_, ids::lblTitle, WC_STATICW, "", kLabelStyle,
                             twips_.box(840, 240, 3795, 480), titleFont_);
    lblVersion = CreateControl(hwnd_, ids::lblVersion, WC_STATICW, "", kLabelStyle,
                               twips_.box(840, 840, 3765, 225), font_);
    imgDisc = CreateControl(hwnd_, ids::imgDisc, WC_STATICW, "", WS_VISIBLE | SS_ICON,
                            twips_.box(120, 240, 480, 480), font_);
    discIcon_ = LoadIconResource(PARTWRIGHT_ICON_PROGRAM, 32, 32);
    SendMessageW(imgDisc, STM_SETICON, reinterpret_cast<WPARAM>(discIcon_), 0);
}

void frmAbout::Form_Load()
{
    SetText(lblVersion, about::VersionText());
    SetText(lblTitle, about::kTitle);
    const std::string description = about::Description();
    descriptionFont_ = FontThatFits(lblDescription, font_, description, twips_.pixels(3795),
                                    twips_.pixels(2160) - twips_.pixels(1200), twips_.dpi());
    SendMessageW(lblDescription, WM_SETFONT, reinterpret_cast<WPARAM>(descriptionFont_), FALSE);
    SetText(lblDescription, description);
}

void frmAbout::showModal()
{
    EnableWindow(owner_, FALSE);
    ShowWindow(hwnd_, SW_SHOW);
    SetFocus(cmdOK);
    RunMessageLoop(hwnd_);
    EnableWindow(owner_, TRUE); // also when the window went another way than through OK
}

// The owner takes input again before this window goes, so the system activates it next.
void frmAbout::cmdOK_Click()
{
    EnableWindow(owner_, TRUE);
    DestroyWindow(hwnd_);
}

LRESULT frmAbout::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        // OK, Enter and Esc alike.
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            cmdOK_Click();
        return 0;
    case WM_CLOSE:
        cmdOK_Click();
        return 0;
    case DM_GETDEFID:
        return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            SetFocus(cmdOK);
        return 0;
    case WM_CTLCOLORSTATIC: {
        const auto label = reinterpret_cast<HWND>(lParam);
        if (label != lblDescription && label != lblTitle)
            break;
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    default:
        break;
    }
    return WindowBase::onMessage(message, wParam, lParam);
}

} // namespace partwright::win32
