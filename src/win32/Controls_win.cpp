#include "platform/WideText_win.h"
#include "win32/Controls.h"

#include <commctrl.h>

namespace partwright::win32 {

HWND CreateControl(HWND parent, int id, const wchar_t* windowClass, const std::string& text,
                   DWORD style, const Box& box, HFONT font, DWORD exStyle)
{
    HWND control = CreateWindowExW(exStyle, windowClass, Wide(text).c_str(), WS_CHILD | style,
                                   box.left, box.top, box.width, box.height, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (control && font)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

HFONT CreateMessageFont()
{
    // The structure's size as XP knows it: _WIN32_WINNT 0x0501 leaves out the later field.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return CreateFontIndirectW(&metrics.lfMessageFont);
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HFONT CreatePointFont(const wchar_t* face, int tenthsOfPoint, bool bold, int dpi)
{
    LOGFONTW font{};
    font.lfHeight = -MulDiv(tenthsOfPoint, dpi, 720);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

SIZE TextExtent(HWND window, HFONT font, const std::string& text)
{
    const std::wstring wide = Wide(text);
    RECT area{0, 0, 0, 0};
    HDC dc = GetDC(window);
    const HGDIOBJ previous = SelectObject(dc, font);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &area, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return {area.right - area.left, area.bottom - area.top};
}

void SetText(HWND window, const std::string& text)
{
    SetWindowTextW(window, Wide(text).c_str());
}

std::string TextOf(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Utf8(text);
}

SIZE OuterSize(DWORD style, DWORD exStyle, int clientWidth, int clientHeight)
{
    RECT area{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&area, style, FALSE, exStyle);
    return {area.right - area.left, area.bottom - area.top};
}

namespace {

void CentreIn(HWND window, const RECT& area)
{
    RECT frame;
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

void CentreOnScreen(HWND window)
{
    RECT work;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    CentreIn(window, work);
}

void CentreOver(HWND window, HWND other)
{
    RECT frame;
    GetWindowRect(other, &frame);
    CentreIn(window, frame);
}

HWND CreateTooltips(HWND owner)
{
    return CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                           WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

void AddTooltip(HWND tooltips, HWND control, const std::string& text)
{
    std::wstring wide = Wide(text);
    TOOLINFOW tool{};
    // The size that both versions of the common controls take, with or without the manifest.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = wide.data();
    SendMessageW(tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

HICON LoadIconResource(int id, int width, int height)
{
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, 0));
}

HBITMAP LoadBitmapResource(int id)
{
    return static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
}

} // namespace partwright::win32
