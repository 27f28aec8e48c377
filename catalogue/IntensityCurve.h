#pragma once

#include "platform/DrawSurface.h"

class CLuminaire;

namespace kzev {

/** Pens of the polar diagram: C0 and C180 blue, C90 and C270 green. */
inline constexpr Pen kCurvePenC0 { PenStyle::Solid, 0, rgb(0, 0, 255) };
inline constexpr Pen kCurvePenC90 { PenStyle::Solid, 0, rgb(0, 168, 38) };

/**
 * Draws the polar diagram of the luminaire's intensities into the rectangle
 * (left, top, width, height): an outer circle of 95 % of the smaller half
 * side, a circle of half that radius, radial lines every 30 degrees, and the
 * planes C0 and C90 to the right, C180 and C270 to the left, gamma 0 straight
 * down from the centre, scaled to the table's largest value, which is
 * written in cd/klm in the corner with the colours of the planes. A table whose
 * largest value is 0 draws the grid alone. The screen and the printed
 * catalogue draw it alike.
 */
void DrawIntensityCurve(IDrawSurface& surface, int left, int top, int width, int height, const CLuminaire& luminaire);

} // namespace kzev
