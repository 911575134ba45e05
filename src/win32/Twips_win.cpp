#include "win32/Twips.h"

#include <windows.h>

namespace partwright::win32 {

Twips Twips::OfScreen()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return Twips(dpi > 0 ? dpi : 96);
}

} // namespace partwright::win32
