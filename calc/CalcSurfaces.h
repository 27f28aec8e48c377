#pragma once

#include "calc/MaintenanceFactor.h"

#include <cstdint>

class CRoom;

namespace kzev {

/**
 * Returns the number of elements a surface side of the given extent is cut
 * into: each at most maxElement long; one when maxElement is 1e-5 or less.
 */
[[nodiscard]] std::int32_t surfaceElementCount(double extent, double maxElement);

/**
 * Replaces the mode's calculation surfaces by those of the room: the four
 * walls (with the room's wall-reflection switch), ceiling and floor, then the
 * faces of every box of every obstacle system that is neither off nor
 * without rays. Every surface gets a fresh grid of points, one per element.
 * The walls of a road project do not reflect. Nothing happens for a mode the
 * room does not have.
 */
void createSurfaceAreas(CRoom& room, std::int32_t mode, ProjectType projectType);

/**
 * Appends to the mode's surfaces the faces of box (a, b) of obstacle system
 * xsIndex whose two edges are both longer than the room's minimum surface
 * size, each with its outward normal; the faces get no points here.
 */
void createObstacleFaceAreas(CRoom& room, std::int32_t xsIndex, std::int32_t a, std::int32_t b, std::int32_t mode);

} // namespace kzev
