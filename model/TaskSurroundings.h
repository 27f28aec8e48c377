#pragma once

#include "model/CWorkSystem.h"

#include <string>

namespace kzev {

/** The kind of area that holds the surroundings of a task area (with its own icon in the project tree). */
inline constexpr std::int32_t kSurroundingsKind = 4;

/**
 * Returns why the surroundings of the task area cannot be made with the band
 * width (metres) as a Czech message, or an empty text when they can: the
 * area needs points in both directions, the band must not be negative and the
 * new grid must stay within the points an area may have.
 */
[[nodiscard]] std::string taskSurroundingsRefusal(const CWorkSystem& task, double bandWidth);

/**
 * Returns the surroundings of task area taskIndex: a copy of the area named
 * "name - okolí" whose grid has one interval more in each direction and runs
 * from half the band before the area's first point to half the band beyond
 * its last; only the border points of that grid are calculated. It refers to
 * its task area by index and moves with it.
 */
[[nodiscard]] CWorkSystem taskSurroundings(const CWorkSystem& task, int taskIndex, double bandWidth);

} // namespace kzev
