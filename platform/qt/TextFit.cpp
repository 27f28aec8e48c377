#include "platform/qt/TextFit.h"

#include <QFontMetrics>

namespace kzev {

namespace {

bool fits(const QFont& font, const QString& text, const QRect& box, int flags)
{
    const QRect needed = QFontMetrics(font).boundingRect(box, flags, text);
    return needed.width() <= box.width() && needed.height() <= box.height();
}

} // namespace

QFont fittedFont(QFont font, const QString& text, const QRect& box, int flags)
{
    // Below 4 points nothing is legible anyway; the text is then as small as it gets.
    constexpr double kSmallest = 4.0;
    if (font.pointSizeF() <= 0.0 && font.pixelSize() > 0)
        font.setPointSizeF(font.pixelSize() * 0.75);
    while (!fits(font, text, box, flags) && font.pointSizeF() - 0.5 >= kSmallest)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    return font;
}

} // namespace kzev
