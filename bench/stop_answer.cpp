// How soon a running calculation answers the stop button. The whole run of a
// shipped sample (its calculation surfaces built anew, as in a first run)
// starts on this thread with the application's own message pump; a timer due
// after a chosen delay sets the stop request as the stop command does, when
// the pump serves the event queue. Each iteration is one delay, the delays
// spread evenly over an unstopped run; its time is that from the moment the
// timer was due (the click) to the run's return; answer_max_ms is the worst
// of them and answer_mean_ms their mean (runs the click came too late for
// count for nothing).
#include "CoreApplication.h"
#include "SampleProject.h"
#include "platform/Services.h"
#include "platform/qt/QtMessagePump.h"

#include <QTimer>
#include <benchmark/benchmark.h>
#include <tbb/global_control.h>
#include <tbb/info.h>

#include <algorithm>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

constexpr int kDelays = 24;

// Arguments: the sample (0 the hall, 1 the office) and the number of threads (0 for every core).
void StopAnswer(benchmark::State& state)
{
    kzev::bench::coreApplication();
    const char* name = state.range(0) == 0 ? "Vzor-hala.kzv" : "Vzor-kancelar.kzv";
    const int threads = state.range(1) > 0 ? static_cast<int>(state.range(1)) : tbb::info::default_concurrency();
    const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, static_cast<std::size_t>(threads));
    kzev::QtMessagePump pump;
    const kzev::ScopedServices installed(kzev::Services { nullptr, nullptr, nullptr, &pump, nullptr, nullptr });
    kzev::bench::SampleProject sample(name);

    const auto unstoppedStart = Clock::now();
    if (sample.run(true) != kzev::CalcOutcome::Completed) {
        state.SkipWithError("the run did not complete");
        return;
    }
    const double runSeconds = Seconds(Clock::now() - unstoppedStart).count();

    int delayIndex = 0;
    int stopped = 0;
    double worst = 0.0;
    double sum = 0.0;
    for (auto _ : state) {
        const auto delay = std::chrono::milliseconds(
            static_cast<int>(runSeconds * 1000.0 * (delayIndex % kDelays + 0.5) / kDelays));
        ++delayIndex;
        QTimer stopButton;
        stopButton.setSingleShot(true);
        stopButton.setTimerType(Qt::PreciseTimer);
        QObject::connect(&stopButton, &QTimer::timeout, [] { kzev::setStopRequested(true); });
        const auto start = Clock::now();
        stopButton.start(delay);
        const kzev::CalcOutcome outcome = sample.run(true);
        const auto end = Clock::now();
        stopButton.stop();
        kzev::setStopRequested(false);
        // A run that ended before the click had nothing to answer.
        const double answer = outcome == kzev::CalcOutcome::Stopped ? Seconds(end - (start + delay)).count() : 0.0;
        if (outcome == kzev::CalcOutcome::Stopped) {
            ++stopped;
            sum += answer;
        }
        worst = std::max(worst, answer);
        state.SetIterationTime(std::max(answer, 0.0));
    }
    state.counters["threads"] = threads;
    state.counters["run_ms"] = runSeconds * 1000.0;
    state.counters["stopped_runs"] = stopped;
    state.counters["answer_max_ms"] = worst * 1000.0;
    state.counters["answer_mean_ms"] = stopped > 0 ? sum / stopped * 1000.0 : 0.0;
}

} // namespace

BENCHMARK(StopAnswer)
    ->ArgNames({ "sample", "threads" })
    ->ArgsProduct({ { 0, 1 }, { 0, 1 } })
    ->Iterations(kDelays)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
