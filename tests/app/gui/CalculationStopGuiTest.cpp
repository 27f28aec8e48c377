// The user starts the point calculation of the hall from the calculation
// toolbar and, while its passes run on every core, clicks the stop button: the
// run ends unfinished with the stop in the log and the start button usable
// again, and the next run gives the results of a run never stopped.

// Before Qt, whose emit macro would spoil the pool's header.
#include <tbb/task_arena.h>
#include <tbb/task_scheduler_observer.h>

#include "support/FakeServices.h"

#include "app/bars/CGradientProgressCtrl.h"
#include "app/bars/CInfoBar.h"
#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/bars/CProgressStatusBar.h"
#include "app/tree/CProjectTree.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"
#include "platform/StringTable.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QPixmap>
#include <QTest>
#include <QToolBar>
#include <QTreeWidgetItem>
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kCalcToolbar = 187;
constexpr int kStart = 32834;
constexpr int kStop = 32852;
constexpr int kStopping = 61895;  // " Výpočet se přerušuje ..."
constexpr int kStopped = 61734;   // " Výpočet přerušen !"
constexpr int kDone = 61711;      // "O.K."

/** Lets window events through like the program's own pump; once the deed's moment has come, does it. */
class MomentPump final : public kzev::IMessagePump {
public:
    void pump() override
    {
        QCoreApplication::processEvents();
        if (deed && moment && moment()) {
            const std::function<void()> once = std::move(deed);
            deed = nullptr;
            once();
            QCoreApplication::processEvents();
        }
    }
    std::function<bool()> moment;
    std::function<void()> deed;
};

/** Counts the pool's threads that come to take a share of the points while it watches. */
class WorkerWatch final : public tbb::task_scheduler_observer {
public:
    WorkerWatch() { observe(true); }
    ~WorkerWatch() override { observe(false); }
    WorkerWatch(const WorkerWatch&) = delete;
    WorkerWatch& operator=(const WorkerWatch&) = delete;
    void on_scheduler_entry(bool isWorker) override
    {
        if (isWorker)
            workers.fetch_add(1);
    }
    std::atomic<int> workers { 0 };
};

/** Every result of the room: the point values and the summaries of its areas and of its modes' surfaces. */
std::vector<double> resultsOf(const CRoom& room)
{
    std::vector<double> values;
    const auto add = [&](const CWorkSystem& area) {
        for (const CPointCalc& point : area.m_points) {
            values.insert(values.end(), point.m_values.begin(), point.m_values.end());
            values.insert(values.end(), point.m_ugrByDirection.begin(), point.m_ugrByDirection.end());
            values.insert(values.end(), point.m_grByDirection.begin(), point.m_grByDirection.end());
        }
        for (const auto* block : { &area.m_min, &area.m_max, &area.m_avg })
            values.insert(values.end(), block->begin(), block->end());
        values.push_back(area.m_uniformity);
    };
    for (const CWorkSystem& area : room.m_workSystems)
        add(area);
    for (const CLampState& mode : room.m_modes) {
        for (const CWorkSystem& surface : mode.m_surfaces)
            add(surface);
    }
    return values;
}

/** Whether the log's last words are the text; a long line may have been broken after them. */
bool endsWith(std::string text, const std::string& end)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class CalculationStopGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto settings = std::make_unique<kzev::MemoryProfileStore>();
        settings->setInt("Main", "ViewProjectDialog", 0);
        kzev::installProfileStore(std::move(settings));
        const std::filesystem::path hall = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-hala.kzv";
        ASSERT_TRUE(m_app.InitInstance({ "--nologo", QString::fromStdString(hall.string()) }, true));
        m_doc = kzev::theDocument();
        m_doc->m_saveBeforeCalc = 0;
        // The frame's log, status bar and view stay: they are what the user looks at.
        m_scope = std::make_unique<kzev::ScopedServices>(
            kzev::Services { nullptr, nullptr, &m_fakes.messageBox, &m_pump, nullptr, nullptr });
        frame().resize(1280, 800);
        frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    }

    CMainFrame& frame() { return *m_app.frame(); }

    QWidget* button(int id)
    {
        QToolBar* bar = frame().toolBar(kCalcToolbar);
        return bar ? bar->widgetForAction(frame().commandAction(id)) : nullptr;
    }

    CGradientProgressCtrl& progressBar() { return *frame().progressStatusBar()->GetProgressCtrl(); }

    std::string log() const { return m_app.frame()->infoBar()->LogText(); }

    /** Clicks the hall in the project tree, so that the calculation takes it. */
    void selectHall()
    {
        CProjectTree& tree = *frame().projectTree();
        QTreeWidgetItem* room = tree.roomItem(0);
        ASSERT_NE(room, nullptr);
        tree.scrollToItem(room);
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, Qt::NoModifier, tree.visualItemRect(room).center());
        ASSERT_EQ(tree.currentItem(), room);
    }

    /** The start button, clicked; returns once the run has returned. */
    void clickStart()
    {
        QWidget* start = button(kStart);
        ASSERT_NE(start, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([&] { return start->isEnabled(); })) << "start is offered";
        QTest::mouseClick(start, Qt::LeftButton);
    }

    kzev::test::FakeServices m_fakes;
    CKzevApp m_app;
    CKzevDoc* m_doc = nullptr;
    MomentPump m_pump;
    std::unique_ptr<kzev::ScopedServices> m_scope;
};

TEST_F(CalculationStopGui, StopButtonEndsARunOnEveryCoreAndTheNextRunGivesTheResultsOfOneNeverStopped)
{
    QWidget* start = button(kStart);
    QWidget* stop = button(kStop);
    ASSERT_NE(start, nullptr);
    ASSERT_NE(stop, nullptr);
    ASSERT_TRUE(start->isVisible());
    ASSERT_TRUE(stop->isVisible());
    ASSERT_NO_FATAL_FAILURE(selectHall());
    EXPECT_FALSE(stop->isEnabled()) << "nothing to stop yet";
    CRoom& hall = m_doc->m_rooms[0];
    const std::string stopping = kzev::loadString(kStopping);
    const std::string stopped = kzev::loadString(kStopped);
    const std::string done = kzev::loadString(kDone);

    struct Case {
        const char* name;
        // The reflecting surfaces are built anew, as after a change of the room,
        // so that the stop comes in their passes; else it comes in the areas' passes.
        bool newSurfaces;
    };
    for (const Case c : { Case { "areas", false }, Case { "surfaces", true } }) {
        SCOPED_TRACE(c.name);
        const QString shot = QStringLiteral(QT_TESTCASE_BUILDDIR "/calculation-stop-%1-%2.png").arg(QLatin1String(c.name));

        // A run never stopped gives the results to compare with.
        if (c.newSurfaces)
            hall.m_surfacesUpToDate = 0;
        ASSERT_NO_FATAL_FAILURE(clickStart());
        ASSERT_EQ(hall.m_resultsValid, 1);
        ASSERT_TRUE(endsWith(log(), done)) << log();
        const std::vector<double> neverStopped = resultsOf(hall);
        ASSERT_FALSE(neverStopped.empty());

        // The next run is stopped a third of its way, in the middle of a pass shared among the cores.
        bool stopEnabledInside = false;
        bool startEnabledInside = true;
        int workersInside = 0;
        std::string progressInside;
        QPixmap running;
        m_pump.moment = [&] {
            const kzev::GradientBar& bar = progressBar().bar();
            return progressBar().isVisible() && bar.upper() > 0 && bar.pos() * 3 >= bar.upper();
        };
        const WorkerWatch watch;
        m_pump.deed = [&] {
            workersInside = watch.workers.load();
            stopEnabledInside = stop->isEnabled();
            startEnabledInside = start->isEnabled();
            progressInside = progressBar().DisplayText();
            running = frame().grab();
            QTest::mouseClick(stop, Qt::LeftButton);
        };
        if (c.newSurfaces)
            hall.m_surfacesUpToDate = 0;
        ASSERT_NO_FATAL_FAILURE(clickStart());

        EXPECT_FALSE(m_pump.deed) << "the run reached a third of its way";
        if (tbb::this_task_arena::max_concurrency() > 1) {
            EXPECT_GT(workersInside, 0) << "the run's points were shared among the cores before the stop";
        }
        EXPECT_TRUE(stopEnabledInside);
        EXPECT_FALSE(startEnabledInside);
        // The bar showed the run's time and how far it had come.
        EXPECT_NE(progressInside.find("Čas výpočtu"), std::string::npos) << progressInside;
        EXPECT_NE(progressInside.find('%'), std::string::npos) << progressInside;
        EXPECT_EQ(progressInside.find("%d"), std::string::npos) << progressInside;
        EXPECT_TRUE(running.save(shot.arg(QStringLiteral("running"))));

        // The stop is noted where it was clicked, and the run ends unfinished right after it.
        const std::string text = log();
        ASSERT_NE(text.find(stopping), std::string::npos) << text;
        EXPECT_TRUE(endsWith(text, stopped)) << text;
        EXPECT_EQ(text.find(done), std::string::npos) << "the stopped run's log has no O.K.: " << text;
        EXPECT_EQ(hall.m_resultsValid, 0) << "the results are not marked computed";
        // Half-computed surfaces are built anew by the next run; whole ones are kept.
        EXPECT_EQ(hall.m_surfacesUpToDate, c.newSurfaces ? 0 : 1);
        EXPECT_EQ(m_doc->m_calcRunning, 0);
        EXPECT_FALSE(progressBar().isVisible()) << "the bar goes with the run";
        // Start is offered again and stop is not, on the buttons and in the menu.
        EXPECT_TRUE(QTest::qWaitFor([&] { return start->isEnabled(); }));
        EXPECT_FALSE(stop->isEnabled());
        EXPECT_TRUE(frame().commandAction(kStart)->isEnabled());
        EXPECT_FALSE(frame().commandAction(kStop)->isEnabled());
        EXPECT_TRUE(m_fakes.messageBox.shown.empty()) << m_fakes.messageBox.shown.front().text;
        QApplication::processEvents();
        EXPECT_TRUE(frame().grab().save(shot.arg(QStringLiteral("stopped"))));

        // The next run goes to its end, with the same results to the last bit.
        ASSERT_NO_FATAL_FAILURE(clickStart());
        EXPECT_TRUE(endsWith(log(), done)) << log();
        EXPECT_EQ(log().find(stopping), std::string::npos) << "a new run starts a new log";
        EXPECT_EQ(hall.m_resultsValid, 1);
        EXPECT_EQ(hall.m_surfacesUpToDate, 1);
        EXPECT_TRUE(resultsOf(hall) == neverStopped);
    }
}

} // namespace
