#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace kzev {

/** How a pass over the points of an area ended. */
enum class BatchOutcome {
    done,
    /** The stop flag was seen between two batches. */
    stopped,
    /** A point's work failed; the pass ends after its batch. */
    failed,
};

/**
 * Runs a pass over rows × perRow points on every core, in batches that take
 * a few hundredths of a second each: between two batches the calling thread
 * (the user-interface thread) raises the step counter for every row that is
 * complete, shows the elapsed time, drains the message queue and looks at the
 * stop flag, so the window stays alive and a stop is answered at once. The
 * services are called from the calling thread only.
 *
 * work(index) computes point `index` (row index / perRow) and writes only
 * that point, so the results do not depend on the number of threads; it
 * returns false on a failure.
 */
[[nodiscard]] BatchOutcome runPointBatches(std::size_t rows, std::size_t perRow, std::int32_t& step,
    const std::function<bool(std::size_t index)>& work);

} // namespace kzev
