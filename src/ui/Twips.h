#pragma once

#include <QRect>

namespace partwright {

// The window layouts are designed in twips; 15 twips make one pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

constexpr int PixelsFromTwips(int twips)
{
    return twips / kTwipsPerPixel;
}

constexpr QRect RectFromTwips(int left, int top, int width, int height)
{
    return {PixelsFromTwips(left), PixelsFromTwips(top), PixelsFromTwips(width),
            PixelsFromTwips(height)};
}

} // namespace partwright
