#pragma once

#include "model/CVector.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CRoom;

namespace kzev {

/** A coordinate as the wall-row grid shows it: whole millimetres, or metres to three places. */
[[nodiscard]] std::string wallRowCell(double value, std::int32_t unitMm);


/** The points of the grid's rows (X, Y and Z as typed in the user's unit), in metres. */
[[nodiscard]] std::vector<CVector> wallRowPoints(
    const std::vector<std::array<std::string, 3>>& rows, std::int32_t unitMm);

/** What an irregular outline makes of a room: its bounding box and the walls it added. */
struct RoomOutline {
    CVector low { 0.0, 0.0, 0.0 }; ///< the smallest x, y and z: the room's new origin
    double length = 0.0;           ///< along x
    double width = 0.0;            ///< along y
    int walls = 0;                 ///< walls appended to the room's obstacle systems
};

/**
 * Builds a room's irregular outline: one wall per segment of the polyline
 * (not closed back to the first point), placed relative to the points'
 * bounding box, which becomes the room's rectangle. Lengths in metres.
 * None without a point; the walls are appended to the room at once.
 */
std::optional<RoomOutline> buildIrregularOutline(
    CRoom& room, const std::vector<CVector>& points, double height, double thickness);

} // namespace kzev
