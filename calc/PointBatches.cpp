#include "calc/PointBatches.h"

#include "calc/CalcProgress.h"
#include "platform/Services.h"

#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>

#include <algorithm>
#include <atomic>
#include <chrono>

namespace kzev {

namespace {

using Clock = std::chrono::steady_clock;

// A batch is grown while it is quicker than the first bound and shrunk when slower than the
// second, so that the window is served every few hundredths of a second.
constexpr auto kQuickBatch = std::chrono::milliseconds(10);
constexpr auto kSlowBatch = std::chrono::milliseconds(40);

} // namespace

BatchOutcome runPointBatches(std::size_t rows, std::size_t perRow, std::int32_t& step,
    const std::function<bool(std::size_t index)>& work)
{
    const std::size_t total = rows * perRow;
    IMessagePump& pump = *services().pump;
    std::atomic<bool> failed { false };
    std::size_t batch = std::max<std::size_t>(perRow, 1);
    std::size_t next = 0;
    std::size_t rowsShown = 0;
    while (next < total || rowsShown < rows) {
        const std::size_t last = std::min(total, next + batch);
        const auto started = Clock::now();
        if (next < last) {
            tbb::parallel_for(tbb::blocked_range<std::size_t>(next, last), [&](const tbb::blocked_range<std::size_t>& r) {
                for (std::size_t index = r.begin(); index != r.end(); ++index) {
                    if (failed.load(std::memory_order_relaxed))
                        return;
                    if (!work(index))
                        failed.store(true, std::memory_order_relaxed);
                }
            });
        }
        const auto took = Clock::now() - started;
        next = last;
        if (failed.load())
            return BatchOutcome::failed;
        // Rows count once all their points are done; a row of no points counts at once.
        const std::size_t rowsDone = perRow == 0 ? rows : next / perRow;
        while (rowsShown < rowsDone) {
            advanceCalcStep(step);
            ++rowsShown;
        }
        reportCalcProgress();
        pump.serve();
        if (stopRequested())
            return next < total || rowsShown < rows ? BatchOutcome::stopped : BatchOutcome::done;
        if (took < kQuickBatch)
            batch *= 2;
        else if (took > kSlowBatch && batch > 1)
            batch /= 2;
    }
    return BatchOutcome::done;
}

} // namespace kzev
