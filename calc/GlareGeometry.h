#pragma once

#include "model/CVector.h"

#include <cstdint>

class CWorkSystem;

namespace kzev {

/**
 * Returns the observer's line of sight for an azimuth (degrees from +X
 * towards +Y) and the area's tilt (degrees): (cos α, sin α, tan ε)
 * normalised; straight up or down for a tilt of ±90.
 */
[[nodiscard]] CVector viewingDirection(double azimuth, std::int32_t tilt);

/** Returns the azimuth of viewing direction k of the area: first + k × step. */
[[nodiscard]] double directionAzimuth(const CWorkSystem& area, std::int32_t k);

} // namespace kzev
