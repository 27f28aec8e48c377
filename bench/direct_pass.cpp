// Times the direct pass on a hall: 100 luminaires (10 × 10, 1.2 × 0.2 m,
// 4 m high) over a 100 × 50 point area, and reports part-source evaluations
// per second.
#include "calc/CalcCatalogue.h"
#include "calc/DirectIlluminance.h"
#include "model/CRoom.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// A tabulated intensity (361 C-planes × 181 gamma angles, bilinear), so the
// lookup costs what a real luminaire's does; counts its evaluations.
class TabulatedIntensity final : public kzev::IIntensityTable {
public:
    TabulatedIntensity()
        : m_table(361 * 181)
    {
        for (int c = 0; c <= 360; ++c) {
            for (int g = 0; g <= 180; ++g) {
                const double gamma = g * 3.141592 / 180.0;
                m_table[static_cast<std::size_t>(c * 181 + g)]
                    = g < 90 ? static_cast<std::int32_t>(300.0 * std::cos(gamma) * (1.0 + 0.1 * std::cos(c * 0.0349))) : 0;
            }
        }
    }

    double intensity(double c, double gamma) const override
    {
        ++m_evaluations;
        if (c >= 360.0)
            c = 359.9999;
        const int ci = static_cast<int>(c);
        const int gi = static_cast<int>(gamma);
        const double fc = c - ci;
        const double fg = gamma - gi;
        const int gn = gi < 180 ? gi + 1 : gi;
        const auto at = [&](int cc, int gg) { return static_cast<double>(m_table[static_cast<std::size_t>(cc * 181 + gg)]); };
        const double i0 = at(ci, gi) + (at(ci, gn) - at(ci, gi)) * fg;
        const double i1 = at(ci + 1, gi) + (at(ci + 1, gn) - at(ci + 1, gi)) * fg;
        return i0 + (i1 - i0) * fc;
    }

    mutable std::int64_t m_evaluations = 0;

private:
    std::vector<std::int32_t> m_table;
};

void DirectPassHall(benchmark::State& state)
{
    TabulatedIntensity table;
    kzev::CalcCatalogue catalogue;
    catalogue.luminaires.push_back(kzev::CalcLuminaire { &table, 1.2, 0.2, 2, 1, "IP20" });
    catalogue.lamps.push_back(kzev::CalcLamp { 3350.0, 20000, 0.8, 15000.0 });

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

    std::int64_t evaluations = 0;
    for (auto _ : state) {
        std::int32_t step = 0;
        for (CPointCalc& point : area.m_points)
            point.m_values.fill(0.0);
        table.m_evaluations = 0;
        const bool done = kzev::calcPointIlluminance(room, area, 0, step, catalogue);
        benchmark::DoNotOptimize(done);
        evaluations += table.m_evaluations;
    }
    state.counters["part_sources_per_s"] = benchmark::Counter(static_cast<double>(evaluations),
        benchmark::Counter::kIsRate);
    state.counters["part_sources_per_pass"] = static_cast<double>(table.m_evaluations);
}

} // namespace

BENCHMARK(DirectPassHall)->Unit(benchmark::kMillisecond);
