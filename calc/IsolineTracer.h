#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CViewSettings;
class CWorkSystem;

namespace kzev {

class IsolineGrid;

/** A point of an isoline in grid coordinates: grid point (i, j) is (u, v) = (i, j). */
struct IsolinePoint {
    double u = 0.0;
    double v = 0.0;
    bool operator==(const IsolinePoint&) const = default;
};

/**
 * One traced isoline. The values above the level lie on the right of the
 * line when it is walked from its first point in the grid's (u, v) frame. A
 * closed line repeats its first point at the end.
 */
struct Isoline {
    std::vector<IsolinePoint> points;
    bool closed = false;
};

/**
 * Traces the isolines of one level over the grid (TraceIsoline with the
 * chaining of FindNextIsolinePoint).
 *
 * An edge between neighbouring grid points is crossed when exactly one end is
 * at or above the level; an edge with an obstructed end is never crossed, so
 * a line reaching an obstacle ends there. Crossings are numbered as the plan
 * always numbered them: first row, last row, first column, last column, then
 * the inner rows and the inner columns; lines are started from the lowest
 * free crossing, so every open line starts at the area's border when it
 * reaches it. Each line is followed in both directions from its start, so it
 * is drawn whole.
 *
 * A grid value lying on the level (within 1e-12) is taken a hair above it,
 * by 1e-9 of the level's size, so the line runs through that grid point
 * rather than through a made-up value. A saddle cell (two opposite corners
 * above the level, two below) keeps its above-level corners joined: the two
 * segments cut off the corners below the level.
 */
[[nodiscard]] std::vector<Isoline> traceIsolines(const IsolineGrid& grid, double level);

/** Which isoline pen a level takes against the limit value. */
enum class IsolinePen { BelowLimit, AtLimit, AboveLimit };

/** Returns AtLimit within 0.0001 of the limit, else BelowLimit or AboveLimit. */
[[nodiscard]] IsolinePen isolinePenFor(double level, double limit);

/**
 * Returns the colour 0x00BBGGRR of an isoline pen: isoline colour 1, 2 or 3
 * of the view settings (colours 5 to 7). A colour left white, as rooms and
 * the user settings start, would vanish on the white plan; it draws in the
 * pen's default instead: green below, blue at and red above the limit.
 */
[[nodiscard]] std::uint32_t isolinePenColour(const CViewSettings& settings, IsolinePen pen);

/** Returns the label of a level: "%1.2f" below 1, "%1.1f" below 10, else "%1.0f". */
[[nodiscard]] std::string isolineLabel(double level);

/** The isoline levels of an area as typed, and the limit value its lines are coloured against. */
struct IsolineLevels {
    std::vector<std::string> texts;
    double limit = 0.0;
};

/**
 * Returns the level list and the limit of the area's quantity group from the
 * area's own view settings: UGR (89), road luminance (141), GR (161), or
 * illuminance for every other code.
 */
[[nodiscard]] IsolineLevels isolineLevelsOf(const CWorkSystem& area);

/** Returns a level text as a typed number (decimal comma or point); a text that is no finite number gives 0. */
[[nodiscard]] double isolineLevelValue(const std::string& text);

} // namespace kzev
