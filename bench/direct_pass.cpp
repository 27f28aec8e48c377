// Times the direct pass on a hall: 100 luminaires (10 × 10, 1.2 × 0.2 m,
// 4 m high) over a 100 × 50 point area, and reports part-source evaluations
// per second, on one core and on every core.
#include "calc/CalcCatalogue.h"
#include "calc/DirectIlluminance.h"
#include "model/CLamp.h"
#include "model/CLuminaire.h"
#include "model/CRoom.h"

#include <benchmark/benchmark.h>
#include <tbb/global_control.h>
#include <tbb/info.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// A luminaire with a full 361 × 181 table, looked up as every real one is.
CLuminaire hallLuminaire()
{
    CLuminaire luminaire;
    for (int c = 0; c < CLuminaire::kPlanes; ++c) {
        for (int g = 0; g < CLuminaire::kGammas; ++g) {
            const double gamma = g * 3.141592 / 180.0;
            luminaire.m_intensity[static_cast<std::size_t>(c * CLuminaire::kGammas + g)] = g < 90
                ? static_cast<std::int32_t>(300.0 * std::cos(gamma) * (1.0 + 0.1 * std::cos(c * 0.0349)))
                : 0;
        }
    }
    luminaire.m_luminousDimensions = { 1.2, 0.2, 0.05 };
    luminaire.m_numberOfLamps = 2;
    return luminaire;
}

// The part sources the pass evaluates: luminaires cut by the default ratio 10.
std::int64_t partSources(const CLampSystem& system, const CWorkSystem& area, const CLuminaire& luminaire)
{
    std::int64_t count = 0;
    for (std::int32_t i = 0; i < area.m_count1; ++i) {
        for (std::int32_t j = 0; j < area.m_count2; ++j) {
            for (const COneLampSystem& one : system.m_luminaires) {
                const double d0 = Distance(area.PointPosition(i, j), one.m_position);
                const double n1 = std::fmin(std::trunc(luminaire.m_luminousDimensions[0] / d0 * 10.0) + 1.0, 100.0);
                const double n2 = std::fmin(std::trunc(luminaire.m_luminousDimensions[1] / d0 * 10.0) + 1.0, 100.0);
                count += static_cast<std::int64_t>(n1 * n2);
            }
        }
    }
    return count;
}

// Argument: the number of threads, 0 for every core.
void DirectPassHall(benchmark::State& state)
{
    const int threads = state.range(0) > 0 ? static_cast<int>(state.range(0)) : tbb::info::default_concurrency();
    const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, static_cast<std::size_t>(threads));
    std::vector<CLuminaire> luminaires { hallLuminaire() };
    std::vector<CLamp> lamps(1);
    lamps[0].m_luminousFlux = 3350.0;
    const kzev::CalcCatalogue catalogue(luminaires, lamps);

    CRoom room;
    room.m_length = 50.0;
    room.m_width = 25.0;
    room.m_height = 4.0;
    room.m_lampSystems.clear();
    CLampSystem system;
    system.m_luminaireIndex = 0;
    system.m_lampIndex = 0;
    for (int i = 0; i < 10; ++i) {
        for (int j = 0; j < 10; ++j) {
            COneLampSystem one;
            one.m_position = CVector { 2.5 + 5.0 * i, 1.25 + 2.5 * j, 4.0 };
            system.m_luminaires.push_back(one);
        }
    }
    room.m_lampSystems.push_back(system);

    CWorkSystem area;
    area.m_origin = CVector { 0.25, 0.25, 0.85 };
    area.m_step1 = CVector { 0.5, 0.0, 0.0 };
    area.m_step2 = CVector { 0.0, 0.5, 0.0 };
    area.m_count1 = 100;
    area.m_count2 = 50;
    area.m_points.assign(5000, CPointCalc {});

    const std::int64_t perPass = partSources(room.m_lampSystems[0], area, luminaires[0]);
    std::int64_t evaluations = 0;
    for (auto _ : state) {
        std::int32_t step = 0;
        for (CPointCalc& point : area.m_points)
            point.m_values.fill(0.0);
        const bool done = kzev::calcPointIlluminance(room, area, 0, step, catalogue);
        benchmark::DoNotOptimize(done);
        evaluations += perPass;
    }
    state.counters["part_sources_per_s"] = benchmark::Counter(static_cast<double>(evaluations),
        benchmark::Counter::kIsRate);
    state.counters["part_sources_per_pass"] = static_cast<double>(perPass);
    state.counters["threads"] = threads;
}

} // namespace

BENCHMARK(DirectPassHall)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
