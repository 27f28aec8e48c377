// Times the whole calculation of the first room of each shipped sample (the
// office and the hall) as the user starts it, on one core and on all cores,
// and the reflected pass of the hall alone with and without its obstacles,
// counted in rays (source element × target point) per second.
#include "calc/CalculationRun.h"
#include "calc/InterReflection.h"
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

std::filesystem::path shippedData()
{
    return std::filesystem::path(KZEV_SOURCE_DIR) / "data";
}

struct Sample {
    std::unique_ptr<CKzevDoc> doc = std::make_unique<CKzevDoc>();
    kzev::ScopedDataLocation location { kzev::DataLocation { shippedData().string(), "ZEV-", "Excel 8.0" } };

    explicit Sample(const std::string& name)
    {
        kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
        doc->m_saveBeforeCalc = 0;
        if (!doc->OnOpenDocument(shippedData() / name))
            throw std::runtime_error("cannot open " + name);
    }

    /** Runs the first room; with newSurfaces its calculation surfaces are built and lit anew. */
    kzev::CalcOutcome run(bool newSurfaces = false)
    {
        if (newSurfaces)
            doc->m_rooms.at(0).m_surfacesUpToDate = 0;
        kzev::LuminaireLists lists { doc->m_luminaires, doc->m_lamps, doc->m_blockPrefix, doc->m_legendKeys,
            doc->m_legendNames, doc->m_manufacturerNumbers, doc->m_manufacturerNames };
        kzev::CalculationRun calculation(*doc, lists);
        calculation.m_dataFolder = shippedData();
        return calculation.runRoom(0);
    }
};

// Arguments: the number of threads (0 for every core), and 1 when every run builds and
// lights the calculation surfaces anew (a project's first run, or one after a change of
// the room) rather than keeping those of the run before.
void runSample(benchmark::State& state, const char* name)
{
    const int threads = state.range(0) > 0 ? static_cast<int>(state.range(0)) : tbb::info::default_concurrency();
    const bool newSurfaces = state.range(1) != 0;
    const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, static_cast<std::size_t>(threads));
    Sample sample(name);
    // The surfaces of the file are brought up to date once, outside the timing.
    if (sample.run(true) != kzev::CalcOutcome::Completed) {
        state.SkipWithError("the run did not complete");
        return;
    }
    for (auto _ : state) {
        const kzev::CalcOutcome outcome = sample.run(newSurfaces);
        if (outcome != kzev::CalcOutcome::Completed)
            state.SkipWithError("the run did not complete");
    }
    state.counters["threads"] = threads;
}

void OfficeRun(benchmark::State& state)
{
    runSample(state, "Vzor-kancelar.kzv");
}

void HallRun(benchmark::State& state)
{
    runSample(state, "Vzor-hala.kzv");
}

// One reflected bounce over every calculation surface of the hall, on one
// core; argument 1 keeps the obstacles, 0 switches them off.
void HallReflectedRays(benchmark::State& state)
{
    const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, 1);
    Sample sample("Vzor-hala.kzv");
    if (sample.run() != kzev::CalcOutcome::Completed) {
        state.SkipWithError("the run did not complete");
        return;
    }
    CRoom& room = sample.doc->m_rooms[0];
    if (state.range(0) == 0) {
        for (CXSystem& obstacles : room.m_obstacleSystems)
            obstacles.m_off = 1;
    }
    const std::size_t mode = 0;
    std::int64_t elements = 0;
    for (const CWorkSystem& surface : room.m_modes[mode].m_surfaces)
        elements += static_cast<std::int64_t>(surface.m_points.size());
    std::int64_t rays = 0;
    std::int32_t step = 0;
    for (auto _ : state) {
        for (CWorkSystem& surface : room.m_modes[mode].m_surfaces) {
            const bool done = kzev::calcReflectedPoints(room, surface, 0, step);
            benchmark::DoNotOptimize(done);
            rays += static_cast<std::int64_t>(surface.m_points.size()) * elements;
        }
    }
    state.counters["elements"] = static_cast<double>(elements);
    state.counters["rays_per_s"] = benchmark::Counter(static_cast<double>(rays), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(OfficeRun)->ArgNames({ "threads", "new_surfaces" })->ArgsProduct({ { 1, 0 }, { 0, 1 } })
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(HallRun)->ArgNames({ "threads", "new_surfaces" })->ArgsProduct({ { 1, 0 }, { 0, 1 } })
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(HallReflectedRays)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
