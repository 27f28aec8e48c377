#pragma once

#include <cstddef>
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

/** The rows and columns of an area's point table and the axes they run along. */
struct PointGridAxes {
    std::size_t columns = 0; ///< along the first pitch
    std::size_t rows = 0; ///< along the second pitch
    int columnAxis = 0;
    int rowAxis = 0;
    /** The table's corner label, such as Y\X: the row axis, a backslash, the column axis. */
    [[nodiscard]] std::string cornerLabel() const;
};

/**
 * Returns the table layout of the area's points, or nothing when its counts do
 * not match the points it holds or a pitch does not run along one axis: such
 * an area gets no table, in print and in HTML alike.
 */
[[nodiscard]] std::optional<PointGridAxes> pointGridAxes(const CWorkSystem& area);

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
