// Reports how the cost of the passes grows, on one core: the exponent of
// the direct pass's time against points × luminaires (both doubled, the
// product ×4), and of the reflected pass's time against the number of
// elements of the calculation surfaces (element size halved).
#include "calc/CalcCatalogue.h"
#include "calc/CalcSurfaces.h"
#include "calc/DirectIlluminance.h"
#include "calc/InterReflection.h"
#include "model/CLamp.h"
#include "model/CLuminaire.h"
#include "model/CRoom.h"

#include <benchmark/benchmark.h>
#include <tbb/global_control.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

CLuminaire downlight()
{
    CLuminaire luminaire;
    for (int c = 0; c < CLuminaire::kPlanes; ++c) {
        for (int g = 0; g < CLuminaire::kGammas; ++g) {
            const double gamma = g * 3.141592 / 180.0;
            luminaire.m_intensity[static_cast<std::size_t>(c * CLuminaire::kGammas + g)]
                = g < 90 ? 250.0 * std::cos(gamma) : -40.0 * std::cos(gamma);
        }
    }
    luminaire.m_luminousDimensions = { 1.2, 0.2, 0.05 };
    luminaire.m_numberOfLamps = 2;
    return luminaire;
}

// A 40 × 20 m hall, luminaires n × n at 4 m, points 2n × 2n at 0.85 m.
double directPassSeconds(int n, const kzev::CalcCatalogue& catalogue)
{
    CRoom room;
    room.m_length = 40.0;
    room.m_width = 20.0;
    room.m_height = 4.0;
    room.m_lampSystems.clear();
    CLampSystem system;
    system.m_luminaireIndex = 0;
    system.m_lampIndex = 0;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            COneLampSystem one;
            one.m_position = CVector { 40.0 / n * (i + 0.5), 20.0 / n * (j + 0.5), 4.0 };
            system.m_luminaires.push_back(one);
        }
    }
    room.m_lampSystems.push_back(system);
    CWorkSystem area;
    area.m_origin = CVector { 0.0, 0.0, 0.85 };
    area.m_step1 = CVector { 40.0 / (2 * n), 0.0, 0.0 };
    area.m_step2 = CVector { 0.0, 20.0 / (2 * n), 0.0 };
    area.m_count1 = 2 * n;
    area.m_count2 = 2 * n;
    area.m_points.assign(static_cast<std::size_t>(4 * n * n), CPointCalc {});
    std::int32_t step = 0;
    const auto started = Clock::now();
    const bool done = kzev::calcPointIlluminance(room, area, 0, step, catalogue);
    benchmark::DoNotOptimize(done);
    return std::chrono::duration<double>(Clock::now() - started).count();
}

void DirectPassExponent(benchmark::State& state)
{
    const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, 1);
    std::vector<CLuminaire> luminaires { downlight() };
    std::vector<CLamp> lamps(1);
    lamps[0].m_luminousFlux = 3350.0;
    const kzev::CalcCatalogue catalogue(luminaires, lamps);
    double small = 0.0;
    double large = 0.0;
    for (auto _ : state) {
        small += directPassSeconds(8, catalogue);
        large += directPassSeconds(16, catalogue); // points ×4, luminaires ×4
    }
    state.counters["exponent"] = std::log(large / small) / std::log(16.0);
}

// A 12 × 8 × 3 m room lit by 12 luminaires; one reflected pass over all its surfaces.
double reflectedPassSeconds(double elementSize, const kzev::CalcCatalogue& catalogue, std::int64_t& elements)
{
    CRoom room;
    room.m_length = 12.0;
    room.m_width = 8.0;
    room.m_height = 3.0;
    room.m_elementarySurfaceSize = elementSize;
    room.m_lampSystems.clear();
    CLampSystem system;
    system.m_luminaireIndex = 0;
    system.m_lampIndex = 0;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 3; ++j) {
            COneLampSystem one;
            one.m_position = CVector { 3.0 * (i + 0.5), 8.0 / 3.0 * (j + 0.5), 2.8 };
            system.m_luminaires.push_back(one);
        }
    }
    room.m_lampSystems.push_back(system);
    kzev::createSurfaceAreas(room, 0, kzev::ProjectType::Interior);
    std::int32_t step = 0;
    elements = 0;
    for (CWorkSystem& surface : room.m_modes[0].m_surfaces) {
        const bool lit = kzev::calcPointIlluminance(room, surface, 0, step, catalogue);
        benchmark::DoNotOptimize(lit);
        elements += static_cast<std::int64_t>(surface.m_points.size());
    }
    const auto started = Clock::now();
    for (CWorkSystem& surface : room.m_modes[0].m_surfaces) {
        const bool done = kzev::calcReflectedPoints(room, surface, 0, step);
        benchmark::DoNotOptimize(done);
    }
    return std::chrono::duration<double>(Clock::now() - started).count();
}

void ReflectedPassExponent(benchmark::State& state)
{
    const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, 1);
    std::vector<CLuminaire> luminaires { downlight() };
    std::vector<CLamp> lamps(1);
    lamps[0].m_luminousFlux = 3350.0;
    const kzev::CalcCatalogue catalogue(luminaires, lamps);
    double small = 0.0;
    double large = 0.0;
    std::int64_t fewer = 0;
    std::int64_t more = 0;
    for (auto _ : state) {
        small += reflectedPassSeconds(1.0, catalogue, fewer);
        large += reflectedPassSeconds(0.5, catalogue, more);
    }
    state.counters["elements"] = static_cast<double>(more);
    state.counters["exponent"]
        = std::log(large / small) / std::log(static_cast<double>(more) / static_cast<double>(fewer));
}

} // namespace

BENCHMARK(DirectPassExponent)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ReflectedPassExponent)->Unit(benchmark::kMillisecond)->Iterations(2);
