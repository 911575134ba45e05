#pragma once

class QPushButton;
class QWidget;

namespace partwright {

// The window layouts were drawn for a small classic dialog font. Where the system's font is
// wider, a window's font shrinks in half-point steps (to 6 points at the least) until every
// button caption fits the area its button draws text in.
void ShrinkFontUntilCaptionsFit(QWidget& window);

// Whether the button's caption fits the area it draws text in.
bool CaptionFits(const QPushButton& button);

} // namespace partwright
