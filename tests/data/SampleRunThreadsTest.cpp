// The sample projects computed on eight threads: the log, the progress bar, the
// message boxes, the window's pump and the view are reached from the thread that
// started the run only, whether the run ends or is stopped half-way, since the
// user-interface objects behind them belong to that thread.

#include "DataFolder.h"

#include "calc/CalculationRun.h"
#include "calc/RoadPasses.h"
#include "model/CKzevDoc.h"
#include "platform/DataLocation.h"
#include "platform/ProfileStore.h"
#include "platform/Services.h"

#include <gtest/gtest.h>
#include <tbb/global_control.h>
#include <tbb/task_arena.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kzev::test {
namespace {

/** Notes every service call, and which of them came from another thread than the one that made it. */
class ThreadWatch {
public:
    void note(const char* what)
    {
        calls.fetch_add(1);
        if (std::this_thread::get_id() == m_owner)
            return;
        const std::lock_guard lock(m_mutex);
        m_elsewhere.emplace_back(what);
    }

    std::vector<std::string> elsewhere()
    {
        const std::lock_guard lock(m_mutex);
        return m_elsewhere;
    }

    std::atomic<int> calls { 0 };

private:
    const std::thread::id m_owner = std::this_thread::get_id();
    std::mutex m_mutex;
    std::vector<std::string> m_elsewhere;
};

class WatchedLog final : public ICalcLog {
public:
    explicit WatchedLog(ThreadWatch& watch)
        : m_watch(watch)
    {
    }
    void addLine(const std::string& text) override
    {
        m_watch.note("log line");
        const std::lock_guard lock(m_mutex);
        m_last = text;
    }
    void addText(const std::string& text) override
    {
        m_watch.note("log text");
        const std::lock_guard lock(m_mutex);
        m_last = text;
    }
    void clear() override { m_watch.note("log clear"); }
    std::string last()
    {
        const std::lock_guard lock(m_mutex);
        return m_last;
    }

private:
    ThreadWatch& m_watch;
    std::mutex m_mutex;
    std::string m_last;
};

class WatchedProgress final : public IProgress {
public:
    explicit WatchedProgress(ThreadWatch& watch)
        : m_watch(watch)
    {
    }
    void setProgress(int, int) override
    {
        m_watch.note("progress position");
        positions.fetch_add(1);
    }
    void setText(const std::string&, std::uint32_t) override { m_watch.note("progress text"); }
    void setGradient(std::uint32_t, std::uint32_t) override { m_watch.note("progress gradient"); }
    void setStatusText(const std::string&) override { m_watch.note("status text"); }
    std::atomic<int> positions { 0 };

private:
    ThreadWatch& m_watch;
};

class WatchedMessageBox final : public IMessageBox {
public:
    explicit WatchedMessageBox(ThreadWatch& watch)
        : m_watch(watch)
    {
    }
    MessageAnswer show(const std::string&, MessageIcon, MessageButtons buttons) override
    {
        m_watch.note("message box");
        shown.fetch_add(1);
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
    std::atomic<int> shown { 0 };

private:
    ThreadWatch& m_watch;
};

/** The window's pump; at the given serving (0: never) it does what the stop button does. */
class WatchedPump final : public IMessagePump {
public:
    WatchedPump(ThreadWatch& watch, ICalcLog& log)
        : m_watch(watch)
        , m_log(log)
    {
    }
    void pump() override
    {
        m_watch.note("pump");
        if (served.fetch_add(1) + 1 == stopAt) {
            setStopRequested(true);
            m_log.addText(" Výpočet se přerušuje ...");
        }
    }
    std::atomic<int> served { 0 };
    int stopAt = 0;

private:
    ThreadWatch& m_watch;
    ICalcLog& m_log;
};

class WatchedView final : public IViewRefresh {
public:
    explicit WatchedView(ThreadWatch& watch)
        : m_watch(watch)
    {
    }
    void fillProjectTree() override { m_watch.note("tree fill"); }
    void clearProjectTree() override { m_watch.note("tree clear"); }
    void refreshView(int, int) override { m_watch.note("view refresh"); }
    void requestLayout() override { m_watch.note("view layout"); }
    std::optional<int> selectedRoom() override
    {
        m_watch.note("selected room");
        return 0;
    }
    std::optional<std::pair<int, int>> selectedTaskArea() override
    {
        m_watch.note("selected task area");
        return std::nullopt;
    }

private:
    ThreadWatch& m_watch;
};

class WatchedCursor final : public IWaitCursor {
public:
    explicit WatchedCursor(ThreadWatch& watch)
        : m_watch(watch)
    {
    }
    void begin() override { m_watch.note("wait cursor"); }
    void end() override { m_watch.note("wait cursor"); }

private:
    ThreadWatch& m_watch;
};

TEST(SampleRunThreads, ServicesAreCalledFromTheRunsThreadOnlyWhetherItEndsOrIsStopped)
{
    if (tbb::this_task_arena::max_concurrency() < 2)
        GTEST_SKIP() << "one core: nothing runs beside the calling thread";
    installProfileStore(std::make_unique<MemoryProfileStore>());
    const ScopedDataLocation location { DataLocation { shippedData().string(), "ZEV-", "Excel 8.0" } };
    const tbb::global_control eight(tbb::global_control::max_allowed_parallelism, 8);

    struct Case {
        const char* sample;
        int stopAt; // serving of the pump at which the stop button is pressed; 0: never
        CalcOutcome outcome;
    };
    // The office has glare areas, the hall shares its long reflected passes, the road
    // has its luminance fields and threshold increment.
    for (const Case c : { Case { "Vzor-kancelar.kzv", 0, CalcOutcome::Completed },
             Case { "Vzor-hala.kzv", 0, CalcOutcome::Completed },
             Case { "Vzor-silnice.kzv", 0, CalcOutcome::Completed },
             Case { "Vzor-hala.kzv", 6, CalcOutcome::Stopped },
             Case { "Vzor-silnice.kzv", 4, CalcOutcome::Stopped } }) {
        SCOPED_TRACE(std::string(c.sample) + " stopped at " + std::to_string(c.stopAt));
        ThreadWatch watch;
        WatchedLog log(watch);
        WatchedProgress progress(watch);
        WatchedMessageBox messageBox(watch);
        WatchedPump pump(watch, log);
        pump.stopAt = c.stopAt;
        WatchedView view(watch);
        WatchedCursor cursor(watch);
        const ScopedServices scope(Services { &log, &progress, &messageBox, &pump, &view, &cursor });
        setStopRequested(false);

        CKzevDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(shippedData() / c.sample));
        doc.m_saveBeforeCalc = 0;
        CalcRunHooks hooks;
        addRoadPasses(hooks, doc.m_luminaires, doc.m_lamps, shippedData());
        LuminaireLists lists { doc.m_luminaires, doc.m_lamps, doc.m_blockPrefix, doc.m_legendKeys, doc.m_legendNames,
            doc.m_manufacturerNumbers, doc.m_manufacturerNames };
        CalculationRun run(doc, lists, hooks);
        run.m_dataFolder = shippedData();
        EXPECT_EQ(run.run(), c.outcome);
        setStopRequested(false);

        const std::vector<std::string> elsewhere = watch.elsewhere();
        EXPECT_TRUE(elsewhere.empty()) << elsewhere.size() << " calls from another thread, the first: "
                                       << elsewhere.front();
        EXPECT_EQ(messageBox.shown.load(), 0);
        // The run did show its progress and serve the window: the watch saw the calls that matter.
        EXPECT_GT(progress.positions.load(), 2);
        EXPECT_GE(pump.served.load(), c.stopAt > 0 ? c.stopAt : 1);
        EXPECT_EQ(log.last(), c.outcome == CalcOutcome::Completed ? "O.K." : " Výpočet přerušen !");
    }
}

} // namespace
} // namespace kzev::test
