#pragma once

#include "platform/qt/QtPainterSurface.h"

#include <QColor>

#include <cstdint>

class QPushButton;

namespace kzev {

/** The 0x00BBGGRR value of a colour (toQColor of the painter surface goes the other way). */
[[nodiscard]] std::uint32_t toColorRef(const QColor& colour);
/** Paints the button's face in the colour, with its caption legible on it. */
void setColourFace(QPushButton* button, std::uint32_t colorRef);

} // namespace kzev
