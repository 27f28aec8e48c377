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

/**
 * Returns the C angle, 0 to 360, of a direction seen from the luminaire, for
 * its unit C0 axis a and unit optical axis o: 0 along a, 90 along a × o (the
 * luminaire's length), 180 along −a and 270 along −(a × o). The whole circle
 * is kept, so a luminaire lopsided about its C0–C180 plane is read on the
 * side the direction lies.
 */
[[nodiscard]] double fullCircleCAngle(const CVector& towards, const CVector& c0Axis, const CVector& optical);

} // namespace kzev
