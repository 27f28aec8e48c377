#include "calc/PointBatches.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>
#include <tbb/global_control.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <thread>

namespace kzev::test {
namespace {

TEST(PointBatches, EveryPointIsComputedOnceAndEveryRowCountedWhateverTheThreads)
{
    struct Case {
        std::size_t rows;
        std::size_t perRow;
    };
    for (const std::size_t threads : { std::size_t { 1 }, std::size_t { 8 } }) {
        const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, threads);
        for (const Case c : { Case { 0, 0 }, Case { 3, 0 }, Case { 1, 1 }, Case { 7, 13 }, Case { 2, 20'000 } }) {
            FakeServices fakes;
            const std::size_t total = c.rows * c.perRow;
            const auto done = std::make_unique<std::atomic<int>[]>(total + 1);
            std::int32_t step = 5;
            const BatchOutcome outcome = runPointBatches(c.rows, c.perRow, step, [&](std::size_t index) {
                done[index].fetch_add(1);
                return true;
            });
            EXPECT_EQ(outcome, BatchOutcome::done);
            EXPECT_EQ(step, 5 + static_cast<std::int32_t>(c.rows)) << c.rows << " x " << c.perRow;
            for (std::size_t i = 0; i < total; ++i)
                ASSERT_EQ(done[i].load(), 1) << "point " << i << " of " << c.rows << " x " << c.perRow;
            EXPECT_GE(fakes.pump.calls, 1) << "the window is served at least once a pass";
        }
    }
}

TEST(PointBatches, FailedPointEndsThePass)
{
    FakeServices fakes;
    std::int32_t step = 0;
    const BatchOutcome outcome
        = runPointBatches(4, 3, step, [](std::size_t index) { return index != 1; });
    EXPECT_EQ(outcome, BatchOutcome::failed);
    EXPECT_EQ(step, 0);
}

TEST(PointBatches, LongRowIsCutSoThatTheWindowIsServedBeforeItsEnd)
{
    // A row of 4000 points of a tenth of a millisecond each would keep the window
    // waiting for 0.2 s on two threads; the stop asked at the first serving must end it early.
    const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, 2);
    FakeServices fakes;
    // A pass before of points a thousand times cheaper must not let the row go whole.
    std::int32_t before = 0;
    ASSERT_EQ(runPointBatches(1, 4000, before, [](std::size_t) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::nanoseconds(100);
        while (std::chrono::steady_clock::now() < until) { }
        return true;
    }),
        BatchOutcome::done);
    fakes.pump.stopAfter = fakes.pump.calls + 1;
    constexpr std::size_t kPoints = 4000;
    std::atomic<std::size_t> done { 0 };
    std::int32_t step = 0;
    const BatchOutcome outcome = runPointBatches(1, kPoints, step, [&](std::size_t) {
        std::this_thread::sleep_for(std::chrono::microseconds(100));
        done.fetch_add(1);
        return true;
    });
    EXPECT_EQ(outcome, BatchOutcome::stopped);
    EXPECT_EQ(fakes.pump.calls, fakes.pump.stopAfter);
    EXPECT_LT(done.load(), kPoints);
    EXPECT_EQ(step, 0) << "the row is not complete";
}

TEST(PointBatches, PointIsAloneOnlyOnTheCallingThreadOutsideSharedBatches)
{
    struct Case {
        std::size_t threads;
        std::size_t points;
        bool someShared;
    };
    // A pass too small to share stays alone even with threads to spare; a long one is shared.
    for (const Case c : { Case { 1, 20'000, false }, Case { 8, 3, false }, Case { 8, 20'000, true } }) {
        const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, c.threads);
        FakeServices fakes;
        const std::thread::id caller = std::this_thread::get_id();
        std::atomic<std::size_t> alone { 0 };
        std::atomic<std::size_t> aloneElsewhere { 0 };
        const BatchOutcome outcome = runPointBatches(1, c.points, [&](std::size_t) {
            const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(1);
            while (std::chrono::steady_clock::now() < until) { }
            if (pointRunsAlone()) {
                alone.fetch_add(1);
                if (std::this_thread::get_id() != caller)
                    aloneElsewhere.fetch_add(1);
            }
            return true;
        });
        EXPECT_EQ(outcome, BatchOutcome::done);
        EXPECT_EQ(aloneElsewhere.load(), 0U) << c.threads << " threads, " << c.points << " points";
        EXPECT_EQ(alone.load() < c.points, c.someShared) << c.threads << " threads, " << c.points << " points";
        EXPECT_FALSE(pointRunsAlone()) << "not outside a pass";
    }
}

} // namespace
} // namespace kzev::test
