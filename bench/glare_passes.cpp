// Times the glare and road passes on the shipped samples, one thread and
// every core: the UGR of the hall with its obstacles (its first area, the
// full-operation reference plane of 24 × 15 points and 4 viewing directions,
// taken as a UGR area; after one whole run, so the reflected background is
// there), the GR of the hall's second area (the night-operation plane, the
// same grid, taken as a GR area under the same luminaires and obstacles), and
// the road luminance and threshold increment of every field of the road
// sample, as shipped and with its grids made finer.
#include "calc/CalcCatalogue.h"
#include "calc/CalculationRun.h"
#include "calc/GlareRating.h"
#include "calc/RoadLuminance.h"
#include "calc/RoadPasses.h"
#include "calc/ThresholdIncrement.h"
#include "calc/UnifiedGlareRating.h"
#include "model/CKzevDoc.h"
#include "platform/DataLocation.h"
#include "platform/ProfileStore.h"

#include <benchmark/benchmark.h>
#include <tbb/global_control.h>
#include <tbb/info.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

constexpr std::int32_t kUgrCode = 89;
constexpr std::int32_t kRoadLuminanceCode = 141;
constexpr std::int32_t kGrCode = 161;

std::filesystem::path shippedData()
{
    return std::filesystem::path(KZEV_SOURCE_DIR) / "data";
}

// A shipped sample, opened and its first room calculated once.
struct Sample {
    std::unique_ptr<CKzevDoc> doc = std::make_unique<CKzevDoc>();
    kzev::ScopedDataLocation location { kzev::DataLocation { shippedData().string(), "ZEV-", "Excel 8.0" } };

    // A non-null change is applied to the first room before it is calculated.
    explicit Sample(const std::string& name, void (*change)(CRoom&) = nullptr)
    {
        kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
        doc->m_saveBeforeCalc = 0;
        if (!doc->OnOpenDocument(shippedData() / name))
            throw std::runtime_error("cannot open " + name);
        if (change)
            change(doc->m_rooms.at(0));
        kzev::LuminaireLists lists { doc->m_luminaires, doc->m_lamps, doc->m_blockPrefix, doc->m_legendKeys,
            doc->m_legendNames, doc->m_manufacturerNumbers, doc->m_manufacturerNames };
        kzev::CalcRunHooks hooks;
        kzev::addRoadPasses(hooks, doc->m_luminaires, doc->m_lamps, shippedData());
        kzev::CalculationRun calculation(*doc, lists, hooks);
        calculation.m_dataFolder = shippedData();
        if (calculation.runRoom(0) != kzev::CalcOutcome::Completed)
            throw std::runtime_error("cannot calculate " + name);
    }

    CRoom& room() { return doc->m_rooms[0]; }
    kzev::CalcCatalogue catalogue() { return { doc->m_luminaires, doc->m_lamps }; }
};

// The road fields' point grids made finer by the factor along both directions, as a
// longer or more finely calculated road would have them.
void refineRoadFields(CRoom& room, std::int32_t factor)
{
    for (CWorkSystem& area : room.m_workSystems) {
        if (area.m_quantityCode != kRoadLuminanceCode)
            continue;
        area.m_count1 *= factor;
        area.m_count2 *= factor;
        area.m_step1 = (1.0 / factor) * area.m_step1;
        area.m_step2 = (1.0 / factor) * area.m_step2;
        area.m_points.assign(static_cast<std::size_t>(area.GridPointCount()), CPointCalc {});
    }
}

// Argument: the number of threads, 0 for every core.
int threadsOf(const benchmark::State& state)
{
    return state.range(0) > 0 ? static_cast<int>(state.range(0)) : tbb::info::default_concurrency();
}

std::int64_t switchedOn(const CRoom& room)
{
    std::int64_t count = 0;
    for (const CLampSystem& system : room.m_lampSystems) {
        if (system.m_switchedOff == 1)
            continue;
        for (const COneLampSystem& one : system.m_luminaires)
            count += one.m_switchedOff == 1 ? 0 : 1;
    }
    return count;
}

// The UGR pass over the hall's UGR area; rays are point × direction × luminaire.
void HallUgr(benchmark::State& state)
{
    const int threads = threadsOf(state);
    const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, static_cast<std::size_t>(threads));
    Sample sample("Vzor-hala.kzv", [](CRoom& hall) {
        hall.m_computeUgr = 1;
        hall.m_workSystems.at(0).m_quantityCode = kUgrCode;
    });
    CRoom& room = sample.room();
    const kzev::CalcCatalogue catalogue = sample.catalogue();
    std::int64_t raysPerPass = 0;
    for (const CWorkSystem& area : room.m_workSystems) {
        if (area.m_quantityCode == kUgrCode)
            raysPerPass += static_cast<std::int64_t>(area.m_points.size()) * area.m_directionCount * switchedOn(room);
    }
    if (raysPerPass == 0) {
        state.SkipWithError("the hall has no UGR area");
        return;
    }
    std::int64_t rays = 0;
    for (auto _ : state) {
        for (CWorkSystem& area : room.m_workSystems) {
            if (area.m_quantityCode != kUgrCode)
                continue;
            std::int32_t step = 0;
            if (!kzev::runUgrPass(room, area, step, catalogue, shippedData()))
                state.SkipWithError("the UGR pass failed");
        }
        rays += raysPerPass;
    }
    state.counters["threads"] = threads;
    state.counters["obstacle_systems"] = static_cast<double>(room.m_obstacleSystems.size());
    state.counters["rays_per_s"] = benchmark::Counter(static_cast<double>(rays), benchmark::Counter::kIsRate);
}

// The GR pass over the hall's GR area; rays are point × direction × luminaire.
void HallGr(benchmark::State& state)
{
    const int threads = threadsOf(state);
    const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, static_cast<std::size_t>(threads));
    Sample sample("Vzor-hala.kzv", [](CRoom& hall) {
        hall.m_computeGr = 1;
        hall.m_workSystems.at(1).m_quantityCode = kGrCode;
    });
    CRoom& room = sample.room();
    const kzev::CalcCatalogue catalogue = sample.catalogue();
    CWorkSystem& area = room.m_workSystems.at(1);
    const std::int64_t raysPerPass
        = static_cast<std::int64_t>(area.m_points.size()) * area.m_directionCount * switchedOn(room);
    std::int64_t rays = 0;
    for (auto _ : state) {
        if (!kzev::computeGlareRatingGr(room, area, catalogue))
            state.SkipWithError("the GR pass failed");
        rays += raysPerPass;
    }
    state.counters["threads"] = threads;
    state.counters["rays_per_s"] = benchmark::Counter(static_cast<double>(rays), benchmark::Counter::kIsRate);
}

// The road luminance of every road field of the road sample.
void roadLuminance(benchmark::State& state, std::int32_t finer)
{
    const int threads = threadsOf(state);
    const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, static_cast<std::size_t>(threads));
    Sample sample("Vzor-silnice.kzv");
    CRoom& room = sample.room();
    refineRoadFields(room, finer);
    const kzev::CalcCatalogue catalogue = sample.catalogue();
    std::int64_t points = 0;
    for (const CWorkSystem& area : room.m_workSystems)
        points += area.m_quantityCode == kRoadLuminanceCode ? static_cast<std::int64_t>(area.m_points.size()) : 0;
    if (points == 0) {
        state.SkipWithError("the road has no road-luminance field");
        return;
    }
    std::int64_t rays = 0;
    for (auto _ : state) {
        for (CWorkSystem& area : room.m_workSystems) {
            if (area.m_quantityCode == kRoadLuminanceCode && !kzev::calcRoadLuminance(room, area, catalogue, shippedData()))
                state.SkipWithError("the road-luminance pass failed");
        }
        rays += points * switchedOn(room);
    }
    state.counters["threads"] = threads;
    state.counters["rays_per_s"] = benchmark::Counter(static_cast<double>(rays), benchmark::Counter::kIsRate);
}

void RoadLuminance(benchmark::State& state)
{
    roadLuminance(state, 1);
}

// The same with every field's grid ten times finer each way (100 times the points).
void RoadLuminanceFine(benchmark::State& state)
{
    roadLuminance(state, 10);
}

// The threshold increment of every field of the road sample that asks for it.
void roadThresholdIncrement(benchmark::State& state, std::int32_t finer)
{
    const int threads = threadsOf(state);
    const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, static_cast<std::size_t>(threads));
    Sample sample("Vzor-silnice.kzv");
    CRoom& room = sample.room();
    refineRoadFields(room, finer);
    const kzev::CalcCatalogue catalogue = sample.catalogue();
    for (auto _ : state) {
        for (CWorkSystem& area : room.m_workSystems) {
            if (area.m_tiFlag != 0
                && kzev::computeThresholdIncrement(room, area, catalogue) == kzev::ThresholdIncrementOutcome::Stopped)
                state.SkipWithError("the threshold increment stopped");
        }
    }
    state.counters["threads"] = threads;
}

void RoadThresholdIncrement(benchmark::State& state)
{
    roadThresholdIncrement(state, 1);
}

// The same with ten times the rows (an eye position a row).
void RoadThresholdIncrementFine(benchmark::State& state)
{
    roadThresholdIncrement(state, 10);
}

} // namespace

BENCHMARK(HallUgr)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(HallGr)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(RoadLuminance)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(RoadThresholdIncrement)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(RoadLuminanceFine)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(RoadThresholdIncrementFine)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
