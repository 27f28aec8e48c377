// Times the whole run of a large hall (the shipped hall enlarged, LargeHall.h;
// ten times its floor unless told otherwise; --multiple=1 is the shipped hall
// as it is; --tiles=N is the shipped hall tiled N × N), its calculation
// surfaces built and lit anew as in a project's first run, on one thread and
// on every core, and prints the speed-up. The counter peak_rss_mb is the
// process's peak resident memory when the benchmark ended (that of the runs
// before it included: filter one thread count out for its own figure).
//
//   bench_large_hall [--multiple=N | --tiles=N] [benchmark options]
#include "LargeHall.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <tbb/global_control.h>
#include <tbb/info.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

std::size_t surfaceElements(const CRoom& room)
{
    std::size_t count = 0;
    for (const CLampState& mode : room.m_modes) {
        for (const CWorkSystem& surface : mode.m_surfaces)
            count += surface.m_points.size();
    }
    return count;
}

double peakResidentMegabytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

// The hall: enlarged `multiple` times, or tiled `tiles` × `tiles` when tiles > 0.
struct HallSize {
    int multiple = 10;
    int tiles = 0;
};

void largeHallRun(benchmark::State& state, HallSize size, int threads)
{
    const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, static_cast<std::size_t>(threads));
    kzev::bench::SampleProject sample("Vzor-hala.kzv");
    if (size.tiles > 0)
        kzev::bench::tileHall(*sample.doc, size.tiles, size.tiles);
    else if (size.multiple > 1)
        kzev::bench::enlargeHall(*sample.doc, size.multiple);
    for (auto _ : state) {
        if (sample.run(true) != kzev::CalcOutcome::Completed)
            state.SkipWithError("the run did not complete");
    }
    const CRoom& room = sample.doc->m_rooms[0];
    std::size_t points = 0;
    for (const CWorkSystem& area : room.m_workSystems)
        points += area.m_points.size();
    std::size_t luminaires = 0;
    for (const CLampSystem& system : room.m_lampSystems)
        luminaires += system.m_luminaires.size();
    state.counters["threads"] = threads;
    state.counters["luminaires"] = static_cast<double>(luminaires);
    state.counters["points"] = static_cast<double>(points);
    state.counters["elements"] = static_cast<double>(surfaceElements(room));
    std::size_t obstacles = 0;
    for (const CXSystem& system : room.m_obstacleSystems)
        obstacles += static_cast<std::size_t>(std::max(system.m_count1, 0) * std::max(system.m_count2, 0));
    state.counters["obstacles"] = static_cast<double>(obstacles);
    state.counters["peak_rss_mb"] = peakResidentMegabytes();
}

// Keeps the mean wall-clock time of each run, by its thread count, for the speed-up.
class SpeedUpReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration || run.iterations == 0)
                continue;
            const auto threads = static_cast<int>(run.counters.at("threads").value);
            Mean& mean = m_seconds[threads];
            mean.sum += run.real_accumulated_time / static_cast<double>(run.iterations);
            ++mean.count;
        }
    }

    void summarise() const
    {
        const auto one = m_seconds.find(1);
        for (const auto& [threads, mean] : m_seconds) {
            const double seconds = mean.sum / mean.count;
            std::printf("%2d thread(s): %.3f s", threads, seconds);
            if (one != m_seconds.end() && threads != 1)
                std::printf(", speed-up %.2f over one thread", (one->second.sum / one->second.count) / seconds);
            std::printf("\n");
        }
    }

private:
    struct Mean {
        double sum = 0.0;
        int count = 0;
    };
    std::map<int, Mean> m_seconds;
};

} // namespace

int main(int argc, char** argv)
{
    HallSize size;
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--multiple=", 11) == 0)
            size.multiple = std::max(std::atoi(argv[i] + 11), 1);
        else if (std::strncmp(argv[i], "--tiles=", 8) == 0)
            size.tiles = std::max(std::atoi(argv[i] + 8), 1);
        else
            rest.push_back(argv[i]);
    }
    int restCount = static_cast<int>(rest.size());
    benchmark::Initialize(&restCount, rest.data());
    const int cores = tbb::info::default_concurrency();
    for (const int threads : { 1, cores }) {
        const std::string hall = size.tiles > 0 ? "tiles:" + std::to_string(size.tiles) + "x" + std::to_string(size.tiles)
                                                : "multiple:" + std::to_string(size.multiple);
        const std::string name = "LargeHallRun/" + hall + "/threads:" + std::to_string(threads);
        benchmark::RegisterBenchmark(name.c_str(), largeHallRun, size, threads)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        if (cores == 1)
            break;
    }
    SpeedUpReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.summarise();
    benchmark::Shutdown();
    return 0;
}
