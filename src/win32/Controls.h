#pragma once

#include "win32/Twips.h"

#include <string>
#include <windows.h>

namespace partwright::win32 {

// A child control with the window's font; its text is UTF-8.
HWND CreateControl(HWND parent, int id, const wchar_t* windowClass, const std::string& text,
                   DWORD style, const Box& box, HFONT font, DWORD exStyle = 0);

// The system's message font, the default of the program's windows; the caller deletes it.
HFONT CreateMessageFont();

// A font of the given face and size in tenths of a point at the screen's dots per inch.
HFONT CreatePointFont(const wchar_t* face, int tenthsOfPoint, bool bold, int dpi);

// The size the text takes in the font, an access-key ampersand left out.
SIZE TextExtent(HWND window, HFONT font, const std::string& text);

void SetText(HWND window, const std::string& text);
std::string TextOf(HWND window);

// The top-level window's outer size for a client area of the given size.
SIZE OuterSize(DWORD style, DWORD exStyle, int clientWidth, int clientHeight);

// Centred in the primary screen's work area, or over another window.
void CentreOnScreen(HWND window);
void CentreOver(HWND window, HWND other);

// A tooltip window for the controls of one window, and one tool per control: the control's own
// window handle is the tool, and the tooltip listens to the control's mouse itself.
HWND CreateTooltips(HWND owner);
void AddTooltip(HWND tooltips, HWND control, const std::string& text);

// Pictures of the program file; null when the file has none (a test program, for instance).
HICON LoadIconResource(int id, int width, int height);
HBITMAP LoadBitmapResource(int id);

} // namespace partwright::win32
