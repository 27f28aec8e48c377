#pragma once

#include <cstdint>

namespace kzev {

/** What a system of the model holds as an array of count 1 × count 2. */
enum class ArrayKind {
    obstacles,   ///< boxes of an obstacle system
    luminaires,  ///< luminaires of a lamp system's regular layout
    gridPoints,  ///< calculation points of a visual-task area
};

/** The most the array of the kind may hold in all (and along each direction). */
[[nodiscard]] std::int64_t arrayLimit(ArrayKind kind);

/**
 * Returns whether an array of count1 × count2 lies within what the model
 * reads, draws and computes: the total and each count at most arrayLimit, a
 * count below 0 taken as 0. The project reader refuses a file beyond it, and
 * so every import asks the same before it builds anything.
 */
[[nodiscard]] bool arrayWithinLimits(ArrayKind kind, std::int64_t count1, std::int64_t count2);

/** The most reflection iterations of a room, as the calculation settings allow. */
inline constexpr std::int32_t kMaxReflectionIterations = 1000;

} // namespace kzev
