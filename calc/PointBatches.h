#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

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
 * about a hundredth of a second each: between two batches the calling thread
 * (the user-interface thread) raises the step counter for every row that is
 * complete, shows the elapsed time, serves the message queue and looks at the
 * stop flag, so the window stays alive and a stop is answered at once. The
 * services are called from the calling thread only.
 *
 * The first batch is the first row (cut when it would take too long). Its
 * first points, run on the calling thread, tell what a point costs; later
 * batches are sized from what the one before took. Work too small to be worth
 * waking the other cores (a small area, a surface of a few elements) stays on
 * the calling thread.
 *
 * work(index) computes point `index` (row index / perRow) and writes only
 * that point, so the results do not depend on the number of threads; it
 * returns false on a failure.
 */
[[nodiscard]] BatchOutcome runPointBatches(std::size_t rows, std::size_t perRow, std::int32_t& step,
    const std::function<bool(std::size_t index)>& work);

/**
 * The same over rows of differing lengths, one after another: rowEnds[i] is
 * the index after the last point of row i (the areas of a pass over several
 * areas, each row counted once its points are done).
 */
[[nodiscard]] BatchOutcome runPointBatches(std::span<const std::size_t> rowEnds, std::int32_t& step,
    const std::function<bool(std::size_t index)>& work);

/** The same for a pass whose rows the run does not count: no step is raised. */
[[nodiscard]] BatchOutcome runPointBatches(std::size_t rows, std::size_t perRow,
    const std::function<bool(std::size_t index)>& work);

/**
 * True while the point being worked runs on the calling thread with no other
 * thread at work on its pass: only then may the point's own work serve the
 * window (a pass whose points are long answers a stop within a point so),
 * which in a shared batch would run the window's handlers beside the workers.
 */
[[nodiscard]] bool pointRunsAlone();

} // namespace kzev
