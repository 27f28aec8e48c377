#pragma once

#include "model/CVector.h"
#include "model/CXSystem.h"

#include <string>
#include <vector>

class CRoom;

namespace kzev {

/** Returns why walls of the height and thickness (metres) cannot be built, as a Czech message; empty when they can. */
[[nodiscard]] std::string wallRowRefusal(double height, double thickness);

/**
 * Returns one wall per pair of consecutive points (n points give n − 1
 * walls; fewer than two give none): a box from point k along the segment to
 * point k + 1, of the given height (metres) and as thick as given to the
 * right of the walking direction. Walls are named "Stěna n" from firstNumber
 * on and get the colour given. A segment shorter than 0.1 mm makes no wall.
 */
[[nodiscard]] std::vector<CXSystem> wallRow(const std::vector<CVector>& points, double height, double thickness,
    std::uint32_t colour, int firstNumber);

/**
 * Appends the walls of wallRow to the room, in its fourth colour and numbered
 * after its obstacle systems; the room's results are no longer current.
 * Returns the number of walls appended.
 */
int appendWallRow(CRoom& room, const std::vector<CVector>& points, double height, double thickness);

} // namespace kzev
