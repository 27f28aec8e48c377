#pragma once

#include <QFont>
#include <QRect>
#include <QString>

namespace kzev {

/**
 * Returns the font, made smaller in half-point steps where needed, with which
 * the text drawn into the box with the drawing flags (alignment, word wrap)
 * stays whole inside it; a font that fits is returned unchanged. Pictures with
 * fixed room for a text use it, so that no desktop font size cuts the text.
 */
[[nodiscard]] QFont fittedFont(QFont font, const QString& text, const QRect& box, int flags);

} // namespace kzev
