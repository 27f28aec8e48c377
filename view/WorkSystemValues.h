#pragma once

class CPointCalc;
class CWorkSystem;

namespace kzev {

/**
 * Returns the value a point shows for its area's quantity code, as the
 * isolines, the false colours and the relief read it: the result of that
 * code; for 166 and 167 the normal illuminance as a luminance of the area's
 * reflectance; for the horizontal illuminance the artificial part unless the
 * area's view settings switch it off, plus the daylight part when they add it.
 */
[[nodiscard]] double gridPointValue(const CWorkSystem& area, const CPointCalc& point);

/** Returns the largest value of the area's last calculation for its quantity code, on the same scale. */
[[nodiscard]] double areaMaximum(const CWorkSystem& area);

} // namespace kzev
