#pragma once

#include "model/CWorkSystem.h"

#include <cstdint>

class CRoom;

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

[[nodiscard]] RoomExtents extentsOf(const CRoom& room);

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

/** Centres the grid in plan, whatever its plane. */
void centreArea(CWorkSystem& area, const RoomExtents& room);

/** Replaces the point array by count 1 × count 2 fresh points (none when a count is out of range). */
void rebuildPoints(CWorkSystem& area);

/** Whether both counts are within 0 .. kMaxAreaPointsPerRow. */
[[nodiscard]] bool countsAllowed(const CWorkSystem& area);

/** Sets the area's display switches for its quantity (the one shown on, the rest of the five off). */
void applyQuantitySwitches(CWorkSystem& area);

/**
 * Gives an area that holds no grid yet (first count 0) the one it starts
 * with: its pitches (ten times longer in a room over 100 m) laid out over the
 * room, and the display switches of a new area. An area with a grid is left
 * as it is.
 */
void layOutNewArea(CWorkSystem& area, const RoomExtents& room);

/** Lays out the area a new room starts with, so that a calculation at once has its points. */
void layOutFirstArea(CRoom& room);

/**
 * After the room's size changed from `before`: each area whose grid is still
 * the one its pitches lay centred over the old size is laid so over the new
 * one. A grid set otherwise is left where it is.
 */
void followRoomSize(CRoom& room, const RoomExtents& before);

} // namespace kzev
