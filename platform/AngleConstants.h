#pragma once

#include <cmath>

namespace kzev {

// The shell's angle constants use the exact pi; the model's own conversions
// (CVector) keep pi as 3.141592 so that results match stored projects.

/** pi computed as 4 x atan(1). */
inline const double kPi = 4.0 * std::atan(1.0);
/** 180 / pi. */
inline const double kRadToDeg = 180.0 / kPi;
/** pi / 180, computed as pi x 0.005555555555555556. */
inline const double kDegToRad = kPi * 0.005555555555555556;

} // namespace kzev
