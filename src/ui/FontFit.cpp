#include "ui/FontFit.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>

namespace partwright {

bool CaptionFits(const QPushButton& button)
{
    const QString caption = QString(button.text()).remove(QLatin1Char('&'));
    if (caption.isEmpty())
        return true;
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const QRect room =
        button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
    return button.fontMetrics().horizontalAdvance(caption) <= room.width();
}

void ShrinkFontUntilCaptionsFit(QWidget& window)
{
    const auto buttons = window.findChildren<QPushButton*>();
    const auto allFit = [&] {
        return std::all_of(buttons.begin(), buttons.end(),
                           [](const QPushButton* button) { return CaptionFits(*button); });
    };
    QFont font = window.font();
    while (!allFit() && font.pointSizeF() > 6.0) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        window.setFont(font);
    }
    // Labels are sized to their text, in whatever font they ended with.
    for (auto* label : window.findChildren<QLabel*>())
        if (label->pixmap().isNull() && !label->wordWrap())
            label->adjustSize();
}

} // namespace partwright
