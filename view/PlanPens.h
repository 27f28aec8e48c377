#pragma once

#include "platform/DrawSurface.h"

#include <array>

namespace kzev {

// The fixed pens of the plan. Layers choose them by slot: 0 normal objects,
// 1 selected and edited objects, 2 and 3 the dashed forms of 0 and 1,
// 4 green and 5 red for glare marks and luminaire faces.
namespace PlanPens {
inline constexpr ColorRef kBlack = rgb(0, 0, 0);
inline constexpr ColorRef kBlue = rgb(0, 0, 255);
inline constexpr ColorRef kGreen = rgb(0, 168, 38);
inline constexpr ColorRef kRed = rgb(255, 0, 0);
inline constexpr ColorRef kLightGreen = rgb(0, 255, 0);

inline constexpr std::array<Pen, 6> kFixed { {
    { PenStyle::Solid, 0, kBlack },
    { PenStyle::Solid, 1, kBlue },
    { PenStyle::Dash, 0, kBlack },
    { PenStyle::Dash, 0, kBlue },
    { PenStyle::Solid, 1, kGreen },
    { PenStyle::Solid, 1, kRed },
} };

/** Switched-off luminaires and excluded calculation points. */
inline constexpr Pen kSwitchedOff { PenStyle::Solid, 2, kLightGreen };
} // namespace PlanPens

} // namespace kzev
