#include "calc/PointBatches.h"

#include "calc/CalcProgress.h"
#include "platform/Services.h"

#include <tbb/blocked_range.h>
#include <tbb/global_control.h>
#include <tbb/parallel_for.h>
#include <tbb/partitioner.h>
#include <tbb/task_arena.h>

#include <algorithm>
#include <atomic>
#include <chrono>

namespace kzev {

namespace {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

// A batch is sized to take about this long, so that the window is served and
// the stop flag read every few hundredths of a second.
constexpr double kBatchSeconds = 0.015;
// The first points are timed on the calling thread until this much has passed.
constexpr double kProbeSeconds = 20e-6;
// Work shorter than this stays on the calling thread: waking the other cores costs more.
constexpr double kShareableSeconds = 150e-6;
// A chunk handed to one thread is at least this long, so that the tasks cost nothing.
constexpr double kChunkSeconds = 20e-6;
// A batch grows at most this much over the one before, in case its points are dearer.
constexpr double kMostGrowth = 4.0;
// Points a thread takes in a first batch shared before this pass's points were timed.
constexpr std::size_t kUntimedPointsPerThread = 4;

constexpr std::size_t kManyPoints = std::size_t { 1 } << 40;

// What a point cost in the pass before, on one thread: passes come in runs of
// the same kind (a surface after another), so the next one need not be timed
// on one thread before it is shared.
std::atomic<double> g_recentSecondsPerPoint { 0.0 };

// Set on the calling thread while it runs a batch by itself.
thread_local bool t_alone = false;

class AloneScope {
public:
    AloneScope()
        : m_before(t_alone)
    {
        t_alone = true;
    }
    ~AloneScope() { t_alone = m_before; }
    AloneScope(const AloneScope&) = delete;
    AloneScope& operator=(const AloneScope&) = delete;

private:
    bool m_before;
};

std::size_t threadCount()
{
    const auto allowed = tbb::global_control::active_value(tbb::global_control::max_allowed_parallelism);
    const auto arena = static_cast<std::size_t>(std::max(tbb::this_task_arena::max_concurrency(), 1));
    return std::max<std::size_t>(std::min(allowed, arena), 1);
}

std::size_t pointsFor(double seconds, double secondsPerPoint)
{
    // Points that cost nothing measurable go in as many as there are.
    if (!(secondsPerPoint > 0.0))
        return kManyPoints;
    const double n = seconds / secondsPerPoint;
    return n >= static_cast<double>(kManyPoints) ? kManyPoints
                                                 : std::max<std::size_t>(static_cast<std::size_t>(n), 1);
}

// Runs the points of one batch; false when one of them failed.
class BatchRunner {
public:
    BatchRunner(const std::function<bool(std::size_t)>& work, std::size_t threads)
        : m_work(work)
        , m_threads(threads)
    {
    }

    bool serial(std::size_t first, std::size_t last) const
    {
        const AloneScope alone;
        for (std::size_t index = first; index != last; ++index) {
            if (!m_work(index))
                return false;
        }
        return true;
    }

    // Runs the points on every core; busy receives the seconds the threads spent on them.
    bool shared(std::size_t first, std::size_t last, double secondsPerPoint, double& busy) const
    {
        const std::size_t n = last - first;
        // Some chunks per thread, so that a thread with dear points is helped by the others.
        const std::size_t grain
            = std::clamp<std::size_t>(std::max(n / (16 * m_threads), pointsFor(kChunkSeconds, secondsPerPoint)), 1, n);
        std::atomic<bool> failed { false };
        std::atomic<std::int64_t> busyNs { 0 };
        tbb::parallel_for(
            tbb::blocked_range<std::size_t>(first, last, grain),
            [&](const tbb::blocked_range<std::size_t>& r) {
                const auto started = Clock::now();
                for (std::size_t index = r.begin(); index != r.end(); ++index) {
                    if (failed.load(std::memory_order_relaxed))
                        break;
                    if (!m_work(index))
                        failed.store(true, std::memory_order_relaxed);
                }
                busyNs.fetch_add(std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - started).count(),
                    std::memory_order_relaxed);
            },
            tbb::simple_partitioner());
        busy = static_cast<double>(busyNs.load()) * 1e-9;
        return !failed.load();
    }

private:
    const std::function<bool(std::size_t)>& m_work;
    std::size_t m_threads;
};

// The rows of a pass: a grid of rows × perRow points, or rows of their own lengths.
struct Rows {
    std::size_t rows;
    std::size_t perRow;
    std::span<const std::size_t> ends;

    [[nodiscard]] std::size_t total() const { return ends.empty() ? rows * perRow : ends.back(); }
    [[nodiscard]] std::size_t firstRow() const { return ends.empty() ? perRow : ends.front(); }
    // The rows whose points all lie before next; a row of no points counts at once.
    [[nodiscard]] std::size_t doneBefore(std::size_t next) const
    {
        if (!ends.empty())
            return static_cast<std::size_t>(std::upper_bound(ends.begin(), ends.end(), next) - ends.begin());
        return perRow == 0 ? rows : next / perRow;
    }
};

BatchOutcome runBatches(const Rows& layout, std::int32_t* step, const std::function<bool(std::size_t index)>& work)
{
    const std::size_t total = layout.total();
    IMessagePump& pump = *services().pump;
    const std::size_t threads = threadCount();
    const BatchRunner runner(work, threads);
    std::size_t next = 0;
    std::size_t rowsShown = 0;
    // What one point costs on one thread: at first what it cost in the pass before.
    double secondsPerPoint = g_recentSecondsPerPoint.load(std::memory_order_relaxed);
    bool timed = false;
    // The first batch is the first row; later ones are sized from what the batch before took.
    std::size_t batch = std::max<std::size_t>(layout.firstRow(), 1);
    bool first = true;
    while (first || next < total) {
        const std::size_t remaining = total - next;
        // A short tail is not left for a batch of its own.
        const bool tail = !first && remaining <= batch + batch / 2;
        std::size_t last = next + (tail ? remaining : std::min(batch, remaining));
        const auto started = Clock::now();
        std::size_t from = next;
        bool ok = true;
        const auto shareable = [&](std::size_t points) {
            return threads > 1 && points > 1 && static_cast<double>(points) * secondsPerPoint >= kShareableSeconds;
        };
        if (first && !shareable(last - from)) {
            // The first points, on this thread, tell what a point costs.
            while (from < last && ok) {
                ok = runner.serial(from, from + 1);
                ++from;
                if (Seconds(Clock::now() - started).count() >= kProbeSeconds)
                    break;
            }
            if (from > next) {
                secondsPerPoint = Seconds(Clock::now() - started).count() / static_cast<double>(from - next);
                timed = true;
            }
        }
        if (first) {
            // A row too long for one batch is cut, so that the window is not kept waiting.
            last = std::min(last, from + pointsFor(kBatchSeconds, secondsPerPoint / static_cast<double>(threads)));
            // What the pass before cost may be far from this one's: a few points a thread, until timed.
            if (!timed)
                last = std::min(last, from + kUntimedPointsPerThread * threads);
        }
        if (ok && from < last) {
            // A first batch cut short until its points are timed belongs to a pass found worth sharing.
            if (shareable(last - from) || (first && !timed)) {
                double busy = 0.0;
                ok = runner.shared(from, last, secondsPerPoint, busy);
                if (!timed || first) {
                    secondsPerPoint = busy / static_cast<double>(last - from);
                    timed = true;
                }
            } else {
                ok = runner.serial(from, last);
            }
        }
        const double took = Seconds(Clock::now() - started).count();
        if (!ok)
            return BatchOutcome::failed;
        if (!timed && last > next) {
            secondsPerPoint = took / static_cast<double>(last - next);
            timed = true;
        }
        // The next batch from what this one took a point, as if every thread had worked on it.
        const double wallPerPoint = last > next ? took / static_cast<double>(last - next) : 0.0;
        const double perPoint
            = first ? std::min(wallPerPoint, secondsPerPoint / static_cast<double>(threads)) : wallPerPoint;
        batch = std::min(pointsFor(kBatchSeconds, perPoint),
            std::max<std::size_t>(static_cast<std::size_t>(static_cast<double>(batch) * kMostGrowth), 1));
        next = last;
        first = false;

        // Rows count once all their points are done; a row of no points counts at once.
        const std::size_t rowsDone = layout.doneBefore(next);
        while (step && rowsShown < rowsDone) {
            advanceCalcStep(*step);
            ++rowsShown;
        }
        reportCalcProgress();
        pump.serve();
        if (stopRequested())
            break;
    }
    if (timed)
        g_recentSecondsPerPoint.store(secondsPerPoint, std::memory_order_relaxed);
    return next < total ? BatchOutcome::stopped : BatchOutcome::done;
}

} // namespace

BatchOutcome runPointBatches(std::size_t rows, std::size_t perRow, std::int32_t& step,
    const std::function<bool(std::size_t index)>& work)
{
    return runBatches(Rows { rows, perRow, {} }, &step, work);
}

BatchOutcome runPointBatches(
    std::span<const std::size_t> rowEnds, std::int32_t& step, const std::function<bool(std::size_t index)>& work)
{
    return runBatches(Rows { rowEnds.size(), 0, rowEnds }, &step, work);
}

BatchOutcome runPointBatches(std::size_t rows, std::size_t perRow, const std::function<bool(std::size_t index)>& work)
{
    return runBatches(Rows { rows, perRow, {} }, nullptr, work);
}

bool pointRunsAlone()
{
    return t_alone;
}

} // namespace kzev
