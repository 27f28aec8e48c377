// Times the whole calculation of the first room of each shipped sample (the
// office, the hall and the road) as the user starts it, on one core and on all cores,
// and the reflected pass of the hall alone with and without its obstacles,
// counted in rays and in configuration-factor evaluations per second.
#include "SampleProject.h"
#include "calc/ElementSampling.h"
#include "calc/InterReflection.h"

#include <benchmark/benchmark.h>
#include <tbb/global_control.h>
#include <tbb/info.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using Sample = kzev::bench::SampleProject;

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

void RoadRun(benchmark::State& state)
{
    runSample(state, "Vzor-silnice.kzv");
}

// What a reflected pass over a target evaluates, worked out from the pass's
// own rules outside the timed loop. A ray is one part of a source element to
// one target point of an area, the part facing the point (the others bring
// nothing); a configuration-factor evaluation is one sample point of a target
// element against one source element, the sample in front of the element and
// some of the element in front of the sample (the exchange between
// calculation surfaces).
struct RayCount {
    std::int64_t rays = 0;
    std::int64_t factors = 0;
};

bool elementGivesLight(const CPointCalc& p)
{
    return p.value(CPointCalc::kDirectMaintained) + p.value(CPointCalc::kReflectedMaintained) != 0.0
        || p.value(CPointCalc::kDirectInitial) + p.value(CPointCalc::kReflectedInitial) != 0.0;
}

std::int64_t facingParts(const CWorkSystem& s, const CVector& centre, const CVector& p, double d0, double ratio)
{
    const CVector unitU = s.m_step1.Normalized();
    const CVector unitV = s.m_step2.Normalized();
    const CVector normal = s.m_normal.Normalized();
    const auto parts = [&](double length) {
        return std::clamp(std::trunc(length / d0 * ratio + 1.5), 1.0, kzev::kMaxElementParts);
    };
    const double m1 = parts(s.m_step1.Length());
    const double m2 = parts(s.m_step2.Length());
    const double partU = s.m_step1.Length() / m1;
    const double partV = s.m_step2.Length() / m2;
    const CVector first = centre - ((m1 - 1.0) * partU * 0.5) * unitU - ((m2 - 1.0) * partV * 0.5) * unitV;
    std::int64_t count = 0;
    for (int r = 0; r < static_cast<int>(m1); ++r) {
        for (int c = 0; c < static_cast<int>(m2); ++c) {
            const CVector q = first + (r * partU) * unitU + (c * partV) * unitV;
            if (DotProduct(p - q, normal) >= 0.0001)
                ++count;
        }
    }
    return count;
}

std::int64_t factorSamples(const CWorkSystem& target, const CWorkSystem& s, const CVector& centre, const CVector& p,
    const CVector& normal, double d0)
{
    const CVector sourceNormal = s.m_normal.Normalized();
    const CVector halfU = 0.5 * s.m_step1;
    const CVector halfV = 0.5 * s.m_step2;
    const CVector corners[4] = { centre - halfU - halfV, centre + halfU - halfV, centre + halfU + halfV,
        centre - halfU + halfV };
    const int n1 = kzev::elementSamples(target.m_step1.Length(), d0);
    const int n2 = kzev::elementSamples(target.m_step2.Length(), d0);
    std::int64_t count = 0;
    for (int s1 = 0; s1 < n1; ++s1) {
        for (int s2 = 0; s2 < n2; ++s2) {
            const CVector ps
                = p + kzev::sampleOffset(s1, n1) * target.m_step1 + kzev::sampleOffset(s2, n2) * target.m_step2;
            if (!(DotProduct(ps - centre, sourceNormal) > 0.0))
                continue;
            for (const CVector& c : corners) {
                if (DotProduct(c - ps, normal) > 0.0) {
                    ++count;
                    break;
                }
            }
        }
    }
    return count;
}

RayCount countRays(const CRoom& room, const CWorkSystem& target, std::size_t mode)
{
    RayCount count;
    const bool area = target.m_normalMode == 1;
    CVector normal = area ? CrossProduct(target.m_step1, target.m_step2).Normalized() : target.m_normal.Normalized();
    for (const CWorkSystem& s : room.m_modes[mode].m_surfaces) {
        if (s.m_name == target.m_name || s.m_reflectedComponent == 0)
            continue;
        if (!area && DotProduct(s.m_normal, target.m_normal) > 0.001)
            continue;
        for (std::int32_t i = 0; i < target.m_count1; ++i) {
            for (std::int32_t j = 0; j < target.m_count2; ++j) {
                const CVector p = target.PointPosition(i, j);
                for (std::int32_t a = 0; a < s.m_count1; ++a) {
                    for (std::int32_t b = 0; b < s.m_count2; ++b) {
                        const std::size_t index = static_cast<std::size_t>(a * s.m_count2 + b);
                        if (index >= s.m_points.size() || !elementGivesLight(s.m_points[index]))
                            continue;
                        const CVector centre = s.PointPosition(a, b);
                        const double d0 = Distance(centre, p);
                        if (!(d0 > 0.001))
                            continue;
                        if (area)
                            count.rays += facingParts(s, centre, p, d0, room.m_divisionRatio);
                        else if (normal.Length() > 0.5)
                            count.factors += factorSamples(target, s, centre, p, normal, d0);
                    }
                }
            }
        }
    }
    return count;
}

// One reflected pass of the hall, on one core, after its full calculation.
// First argument 0: the first area (the path of the areas, counted in rays);
// 1: one bounce over every calculation surface (the exact exchange, counted
// in configuration-factor evaluations). Second argument 1 keeps the
// obstacles, 0 switches them off.
void HallReflectedRays(benchmark::State& state)
{
    const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, 1);
    Sample sample("Vzor-hala.kzv");
    if (sample.run() != kzev::CalcOutcome::Completed) {
        state.SkipWithError("the run did not complete");
        return;
    }
    CRoom& room = sample.doc->m_rooms[0];
    if (state.range(1) == 0) {
        for (CXSystem& obstacles : room.m_obstacleSystems)
            obstacles.m_off = 1;
    }
    const std::size_t mode = 0;
    const bool areas = state.range(0) == 0;
    std::vector<CWorkSystem*> targets;
    if (areas)
        targets.push_back(&room.m_workSystems[0]);
    else {
        for (CWorkSystem& surface : room.m_modes[mode].m_surfaces)
            targets.push_back(&surface);
    }
    RayCount perPass;
    for (const CWorkSystem* target : targets) {
        const RayCount c = countRays(room, *target, mode);
        perPass.rays += c.rays;
        perPass.factors += c.factors;
    }
    std::int32_t step = 0;
    for (auto _ : state) {
        for (CWorkSystem* target : targets) {
            const bool done = kzev::calcReflectedPoints(room, *target, static_cast<std::int32_t>(mode), step);
            benchmark::DoNotOptimize(done);
        }
    }
    const auto rate = [&](std::int64_t perIteration) {
        return benchmark::Counter(static_cast<double>(perIteration) * static_cast<double>(state.iterations()),
            benchmark::Counter::kIsRate);
    };
    if (areas) {
        state.counters["rays"] = static_cast<double>(perPass.rays);
        state.counters["rays_per_s"] = rate(perPass.rays);
    } else {
        state.counters["factors"] = static_cast<double>(perPass.factors);
        state.counters["factors_per_s"] = rate(perPass.factors);
    }
}

} // namespace

BENCHMARK(OfficeRun)->ArgNames({ "threads", "new_surfaces" })->ArgsProduct({ { 1, 0 }, { 0, 1 } })
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(HallRun)->ArgNames({ "threads", "new_surfaces" })->ArgsProduct({ { 1, 0 }, { 0, 1 } })
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(RoadRun)->ArgNames({ "threads", "new_surfaces" })->ArgsProduct({ { 1, 0 }, { 0, 1 } })
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(HallReflectedRays)
    ->Args({ 0, 0 })
    ->Args({ 0, 1 })
    ->Args({ 1, 0 })
    ->Args({ 1, 1 })
    ->Unit(benchmark::kMillisecond);
