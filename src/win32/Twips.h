#pragma once

namespace partwright::win32 {

// A control's place in pixels: left, top, width, height.
struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The window layouts are drawn in twips, 1440 to the inch; the screen's dots per inch turn them
// into pixels (15 twips a pixel at 96 dpi).
class Twips {
public:
    explicit Twips(int dpi) : dpi_(dpi) {}
    static Twips OfScreen();

    int pixels(int twips) const { return twips * dpi_ / 1440; }
    Box box(int left, int top, int width, int height) const
    {
        return {pixels(left), pixels(top), pixels(width), pixels(height)};
    }
    int dpi() const { return dpi_; }

private:
    int dpi_;
};

} // namespace partwright::win32
