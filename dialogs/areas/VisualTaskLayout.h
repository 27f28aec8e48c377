#pragma once

#include "model/CWorkSystem.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kzev {

/** The plane a visual-task area's grid lies in, as the area dialog's radio group offers it. */
enum class AreaOrientation { Horizontal = 0, VerticalYZ = 1, VerticalXZ = 2, General = 3 };

/** The most points an area takes along one direction. */
inline constexpr std::int32_t kMaxAreaPointsPerRow = 1023;

/** The room's size along x, y and z that the layouts fill. */
struct RoomExtents {
    double x = 10.0;
    double y = 6.0;
    double z = 3.0;
};

[[nodiscard]] AreaOrientation orientationOfViewCode(std::int32_t viewCode);
[[nodiscard]] std::int32_t viewCodeOf(AreaOrientation orientation);

/**
 * Derives counts, pure axis steps and the origin from the steps' pitches:
 * centred with equal margins, or from 1 m off the walls. Leaves the area as
 * it was and returns false where that cannot be done (a general plane, a room
 * of 2 m or less with the 1 m rule). The point array is rebuilt.
 */
bool layOutByPitch(CWorkSystem& area, AreaOrientation orientation, const RoomExtents& room, bool fromWalls);

/**
 * Derives the pitches and the origin from the counts: the centres of equal
 * cells, or from 1 m off the walls. Returns false and changes nothing for a
 * count of 0 (or 1 with the 1 m rule), a general plane or a too small room.
 */
bool layOutByCount(CWorkSystem& area, AreaOrientation orientation, const RoomExtents& room, bool fromWalls);

/** Two corners picked in a CAD drawing, in the drawing's units (the user's unit). */
struct CadCorners {
    double x1 = 0.0, y1 = 0.0;
    double x2 = 0.0, y2 = 0.0;
};

/**
 * Fits the grid into the span of two corners picked in plan: as many points
 * of the pitches as fit (rounded), the origin half a pitch in from the lower
 * left corner, relative to the room's corner. The counts and the origin's x
 * and y are set (the point array is not touched); a count past the limit is
 * kept one past it. Returns false and changes nothing when a pitch is too
 * short to count with.
 */
bool layOutByCadCorners(CWorkSystem& area, const CadCorners& corners, const CVector& roomOrigin, bool millimetres);

/** Centres the grid in plan, whatever its plane. */
void centreArea(CWorkSystem& area, const RoomExtents& room);

/** Replaces the point array by count 1 × count 2 fresh points (none when a count is out of range). */
void rebuildPoints(CWorkSystem& area);

/** Whether both counts are within 0 .. kMaxAreaPointsPerRow. */
[[nodiscard]] bool countsAllowed(const CWorkSystem& area);

/** The entries of the quantity list: text and quantity code, in the dialog's order. */
[[nodiscard]] std::vector<std::pair<std::string, std::int32_t>> quantityChoices();

/** Which controls a quantity enables in the area dialog. */
struct QuantityControls {
    bool directions = false;   ///< the four observer-direction edits
    bool camera = false;       ///< the three camera edits
    bool reflectedFixed = false; ///< "Odražená složka" checked and disabled
    bool values = false;       ///< "Editovat" (the table of given values)
};
[[nodiscard]] QuantityControls controlsFor(std::int32_t quantityCode);

/** Sets the area's display switches for its quantity (the one shown on, the rest of the five off). */
void applyQuantitySwitches(CWorkSystem& area);

/** Whether a new grid would lose daylight-factor values the area shows. */
[[nodiscard]] bool holdsDaylightValues(const CWorkSystem& area);

} // namespace kzev
