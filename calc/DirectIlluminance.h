#pragma once

#include <cstdint>
#include <span>

class CRoom;
class CWorkSystem;

namespace kzev {

class CalcCatalogue;

/** Largest number of parts a luminaire is cut into along its length or its width. */
inline constexpr double kMaxLuminaireParts = 100.0;

/**
 * The direct pass: adds into every point of the area the light that reaches
 * it straight from every luminaire of the room in the given mode, weakened by
 * the obstacles between. Each luminaire is cut into part sources no longer
 * than its distance divided by the room's division ratio (at most 100 along
 * either side). The point results are expected to be cleared before.
 *
 * Raises the step counter after each row of points. Returns true when every
 * point was computed; false when the stop flag was seen (no message) or a
 * luminaire cannot be divided or resolved (after a message). A round
 * luminous area (no width) is laid out as the square around it. Nothing
 * outside the area changes.
 */
[[nodiscard]] bool calcPointIlluminance(const CRoom& room, CWorkSystem& area, std::int32_t mode,
    std::int32_t& step, const CalcCatalogue& catalogue);

/**
 * The direct pass over several areas of one mode, as the calculation surfaces
 * of a mode take it: the values of calcPointIlluminance over each area in
 * turn, to the last bit, with the points of all the areas shared among the
 * cores at once (a surface of a few elements would keep them idle). The step
 * counter is raised for every row of every area, those of excluded areas
 * first.
 */
[[nodiscard]] bool calcPointIlluminance(const CRoom& room, std::span<CWorkSystem* const> areas, std::int32_t mode,
    std::int32_t& step, const CalcCatalogue& catalogue);

} // namespace kzev
