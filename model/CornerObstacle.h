#pragma once

#include "model/CXSystem.h"

#include <string>

class CRoom;

namespace kzev {

/**
 * The corners of a rectangular room that a block can cut out to make the room
 * L-shaped: L1 at the origin, L2 at the far end of x, L3 opposite the origin,
 * L4 at the far end of y.
 */
enum class RoomCorner { L1, L2, L3, L4 };

/**
 * Returns why a corner block of the given length (along x) and width (along y),
 * in metres, cannot be cut out of the room (a Czech message), or an empty text
 * when it can: both must be above 0 and within the room's length and width.
 */
[[nodiscard]] std::string cornerObstacleRefusal(const CRoom& room, double length, double width);

/**
 * Returns the block of room height standing in the corner: one box
 * "Roh místnosti tvaru L" in the room's fourth colour with the reflectance of
 * its first wall.
 */
[[nodiscard]] CXSystem cornerObstacle(const CRoom& room, RoomCorner corner, double length, double width);

} // namespace kzev
