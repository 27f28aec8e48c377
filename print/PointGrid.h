#pragma once

#include <optional>
#include <string>

class CVector;
class CWorkSystem;

namespace kzev {

/**
 * Returns the axis (0 x, 1 y, 2 z) a grid pitch runs along, or nothing when it
 * has no component or more than one: such a grid has no rows and columns
 * along coordinates and gets no table. Print and HTML label tables by it.
 */
[[nodiscard]] std::optional<int> pitchAxis(const CVector& pitch);

/** Returns "X", "Y" or "Z" of an axis. */
[[nodiscard]] char axisLetter(int axis);

/** Returns the coordinate of the vector along the axis. */
[[nodiscard]] double axisComponent(const CVector& v, int axis);

/**
 * Returns the value of point index of the area by its quantity: the stored
 * result of the codes that keep one (a diffuse surface's luminance from its
 * normal illuminance), else the horizontal illuminance with the area's
 * daylight options. 0 for an index outside the points.
 */
[[nodiscard]] double pointValue(const CWorkSystem& area, std::size_t index);

/**
 * Returns the point's value as a table shows it ("%1.1lf"), or "-" for a point
 * switched off, one outside the points, and a glare value never computed.
 */
[[nodiscard]] std::string pointValueText(const CWorkSystem& area, std::size_t index);

} // namespace kzev
