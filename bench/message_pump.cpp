// What the message pump costs when nothing is pending. PumpCall times the
// per-item call of the application's pump (the loops of the road passes call
// it for every luminaire of every point); SampleRun times the whole run of a
// shipped sample with a pump that does nothing (argument pump 0) and with the
// application's pump (1), and counts the calls a run makes, per item (pump)
// and between batches (serve).
#include "CoreApplication.h"
#include "SampleProject.h"
#include "platform/Services.h"
#include "platform/qt/QtMessagePump.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

void PumpCall(benchmark::State& state)
{
    kzev::bench::coreApplication();
    kzev::QtMessagePump pump;
    for (auto _ : state)
        pump.pump();
    state.counters["calls_per_s"]
        = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

class NoPump final : public kzev::IMessagePump {
public:
    void pump() override { }
    void serve() override { }
};

// Counts the calls and hands them on.
class CountedPump final : public kzev::IMessagePump {
public:
    explicit CountedPump(kzev::IMessagePump& inner)
        : m_inner(inner)
    {
    }
    void pump() override
    {
        ++pumps;
        m_inner.pump();
    }
    void serve() override
    {
        ++serves;
        m_inner.serve();
    }
    std::int64_t pumps = 0;
    std::int64_t serves = 0;

private:
    kzev::IMessagePump& m_inner;
};

// Arguments: the sample (0 the road, 1 the office) and the pump (0 none, 1 the application's).
void SampleRun(benchmark::State& state)
{
    kzev::bench::coreApplication();
    NoPump none;
    kzev::QtMessagePump application;
    CountedPump counted(state.range(1) == 0 ? static_cast<kzev::IMessagePump&>(none) : application);
    const kzev::ScopedServices installed(kzev::Services { nullptr, nullptr, nullptr, &counted, nullptr, nullptr });
    kzev::bench::SampleProject sample(state.range(0) == 0 ? "Vzor-silnice.kzv" : "Vzor-kancelar.kzv");
    if (sample.run(true) != kzev::CalcOutcome::Completed) {
        state.SkipWithError("the run did not complete");
        return;
    }
    counted.pumps = 0;
    counted.serves = 0;
    for (auto _ : state) {
        if (sample.run() != kzev::CalcOutcome::Completed)
            state.SkipWithError("the run did not complete");
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["pump_calls_per_run"] = static_cast<double>(counted.pumps) / runs;
    state.counters["serve_calls_per_run"] = static_cast<double>(counted.serves) / runs;
}

} // namespace

BENCHMARK(PumpCall);
BENCHMARK(SampleRun)
    ->ArgNames({ "sample", "pump" })
    ->ArgsProduct({ { 0, 1 }, { 0, 1 } })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
