#pragma once

#include "grid/ITextMeasure.h"

#include <QColor>
#include <QFont>
#include <QPalette>

namespace kzev {

/** Returns the Qt font of a cell font. */
[[nodiscard]] QFont toQFont(const GridFont& font);
/** Returns the cell font of a Qt font. */
[[nodiscard]] GridFont fromQFont(const QFont& font);

/** Returns the Qt colour of a 0x00BBGGRR colour (defined once, with the drawing surface's). */
[[nodiscard]] QColor toQColor(ColorRef colour);
/** Returns the 0x00BBGGRR colour of a Qt colour. */
[[nodiscard]] ColorRef fromQColor(const QColor& colour);
/** Returns the message font of the desktop (a plain font without a GUI application). */
[[nodiscard]] GridFont messageFont();
/** Returns the desktop's colours (fixed ones without a GUI application). */
[[nodiscard]] GridSysColors systemColours();
/** Returns the colours of a palette. */
[[nodiscard]] GridSysColors systemColours(const QPalette& palette);

/** Returns the lines one wheel notch scrolls (3 without a GUI application). */
[[nodiscard]] unsigned wheelScrollLines();

/** Text measuring with Qt's font metrics; needs a GUI application. */
class QtTextMeasure final : public ITextMeasure {
public:
    [[nodiscard]] GridSize textExtent(const GridFont& font, std::string_view text) const override;
    [[nodiscard]] int wrappedHeight(const GridFont& font, std::string_view text, int width) const override;
};

} // namespace kzev
