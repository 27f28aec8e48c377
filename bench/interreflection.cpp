// Times the inter-reflection of a 20 × 10 × 3 m room: the calculation
// surfaces with the default element size of 1 m, lit by a direct pass once,
// then three reflected passes over every surface; reports the element count.
#include "calc/CalcCatalogue.h"
#include "calc/CalcSurfaces.h"
#include "calc/DirectIlluminance.h"
#include "calc/InterReflection.h"
#include "model/CLamp.h"
#include "model/CLuminaire.h"
#include "model/CRoom.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// A luminaire that lights downwards and a little upwards, 1.2 × 0.2 m.
CLuminaire officeLuminaire()
{
    CLuminaire luminaire;
    for (int c = 0; c < CLuminaire::kPlanes; ++c) {
        for (int g = 0; g < CLuminaire::kGammas; ++g) {
            const double gamma = g * 3.141592 / 180.0;
            luminaire.m_intensity[static_cast<std::size_t>(c * CLuminaire::kGammas + g)]
                = static_cast<std::int32_t>(g < 90 ? 250.0 * std::cos(gamma) : -40.0 * std::cos(gamma));
        }
    }
    luminaire.m_luminousDimensions = { 1.2, 0.2, 0.05 };
    luminaire.m_numberOfLamps = 2;
    return luminaire;
}

void InterReflectionRoom(benchmark::State& state)
{
    std::vector<CLuminaire> luminaires { officeLuminaire() };
    std::vector<CLamp> lamps(1);
    lamps[0].m_luminousFlux = 3350.0;
    const kzev::CalcCatalogue catalogue(luminaires, lamps);

    CRoom room; // default element size 1 m, division ratio 10
    room.m_length = 20.0;
    room.m_width = 10.0;
    room.m_height = 3.0;
    room.m_lampSystems.clear();
    CLampSystem system;
    system.m_luminaireIndex = 0;
    system.m_lampIndex = 0;
    for (int i = 0; i < 6; ++i) {
        for (int j = 0; j < 3; ++j) {
            COneLampSystem one;
            one.m_position = CVector { 20.0 / 6.0 * (i + 0.5), 10.0 / 3.0 * (j + 0.5), 2.8 };
            system.m_luminaires.push_back(one);
        }
    }
    room.m_lampSystems.push_back(system);

    kzev::createSurfaceAreas(room, 0, kzev::ProjectType::Interior);
    auto& surfaces = room.m_modes[0].m_surfaces;
    std::int32_t step = 0;
    std::int64_t elements = 0;
    for (CWorkSystem& surface : surfaces) {
        const bool lit = kzev::calcPointIlluminance(room, surface, 0, step, catalogue);
        benchmark::DoNotOptimize(lit);
        elements += static_cast<std::int64_t>(surface.m_points.size());
    }
    const std::vector<CLampState> lit = room.m_modes;

    for (auto _ : state) {
        state.PauseTiming();
        room.m_modes = lit; // every round starts from the direct light alone
        state.ResumeTiming();
        for (int bounce = 0; bounce < 3; ++bounce) {
            for (CWorkSystem& surface : room.m_modes[0].m_surfaces) {
                const bool done = kzev::calcReflectedPoints(room, surface, 0, step);
                benchmark::DoNotOptimize(done);
            }
        }
    }
    state.counters["elements"] = static_cast<double>(elements);
}

} // namespace

BENCHMARK(InterReflectionRoom)->Unit(benchmark::kMillisecond);
