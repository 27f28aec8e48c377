#include "calc/CalculationRun.h"
#include "calc/LayoutOptimisation.h"
#include "model/CKzevDoc.h"
#include "model/ResultSummary.h"
#include "model/ResultValues.h"
#include "support/CalcTestSupport.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace kzev::test {
namespace {

// One room 4 × 3 × 2.5 m with one luminaire below the ceiling and one area of
// 3 × 2 points, elements of 0.5 m and one reflection; the document's lists
// hold the luminaire and the lamp already, so nothing is loaded.
class CalculationRunTest : public ::testing::Test {
protected:
    CalculationRunTest()
    {
        CLuminaire luminaire = tabulatedLuminaire(isotropic(100.0), 0.0, 0.0);
        luminaire.m_databaseNumber = 1;
        luminaire.m_recordNumber = 7;
        m_luminaires.push_back(luminaire);
        CLamp lamp = makeLamp(1.0, 10000, 0.8, 5000.0);
        lamp.m_databaseNumber = 1;
        lamp.m_recordNumber = 3;
        m_lamps.push_back(lamp);

        CRoom room;
        room.m_length = 4.0;
        room.m_width = 3.0;
        room.m_height = 2.5;
        room.m_elementarySurfaceSize = 0.5;
        room.m_iterations = 1;
        room.m_maintenanceFactorMode = 2; // entered: no table file needed
        CLampSystem& system = room.m_lampSystems[0];
        system.m_luminaireDatabase = 1;
        system.m_luminaireRecord = 7;
        system.m_lampDatabase = 1;
        system.m_lampRecord = 3;
        COneLampSystem one;
        one.m_position = { 2.0, 1.5, 2.4 };
        system.m_luminaires = { one };
        CWorkSystem& area = room.m_workSystems[0];
        area.m_origin = { 1.0, 1.0, 0.85 };
        area.m_count1 = 3;
        area.m_count2 = 2;
        area.m_points.resize(6);
        m_doc.m_rooms = { room };
        m_doc.m_saveBeforeCalc = 0;
        m_fakes.view.selected = 0;
        m_hooks.syncBars = [this] { m_syncs.push_back(m_doc.m_calcRunning); };
    }

    CalcOutcome run()
    {
        CalculationRun calculation(m_doc, m_lists, m_hooks);
        return calculation.run();
    }

    CRoom& room() { return m_doc.m_rooms[0]; }
    const std::vector<std::string>& log() const { return m_fakes.log.calls; }
    bool logHas(const std::string& call) const { return std::ranges::find(log(), call) != log().end(); }

    FakeServices m_fakes;
    CKzevDoc m_doc;
    std::vector<CLuminaire> m_luminaires;
    std::vector<CLamp> m_lamps;
    std::string m_prefix;
    std::vector<std::string> m_none;
    LuminaireLists m_lists { m_luminaires, m_lamps, m_prefix, m_none, m_none, m_none, m_none };
    CalcRunHooks m_hooks;
    std::vector<std::int32_t> m_syncs;
};

TEST_F(CalculationRunTest, RunWritesTheLogInOrderAndMarksTheResultsCurrent)
{
    ASSERT_EQ(run(), CalcOutcome::Completed);

    // The maintenance figures the passes take (entered here) head the log, under the names of the printout.
    std::vector<std::string> expected { "clear", "line:Výpočet ... ",
        "line:Udržovací činitel přímé složky – Soustava svítidel 1: 0.800", "line:Snížení odraznosti znečištěním: 0.800",
        "line:Test bodů v překážkách ...", "line:Režim 1... " };
    const char* surfaces[] = { "Stěna 1", "Stěna 2", "Stěna 3", "Stěna 4", "Strop", "Podlaha" };
    for (int k = 0; k < 6; ++k) {
        expected.push_back("line:Výpočet plochy " + std::to_string(k) + " - " + surfaces[k] + " ...");
        expected.push_back("line:  Nulování ...");
        expected.push_back("line:  Výpočet přímé složky ...");
    }
    expected.push_back("line:  Výpočet odražené složky ...");
    expected.push_back("line:  Odraz 1 ... ");
    for (int k = 0; k < 6; ++k)
        expected.push_back("text:Plocha " + std::to_string(k) + ": ");
    const std::string area = "line:Výpočet místa úkolu 0 - Místo zrakového úkolu 1 ...";
    for (const char* line : { area.c_str(), "line:  Nulování ...", "line:  Výpočet přímé složky ...",
             "line:  Výpočet odražené složky ...", area.c_str(),
             "line:Výpočet minimální, maximální a střední hodnoty ...", "line:O.K." })
        expected.push_back(line);
    EXPECT_EQ(log(), expected);

    EXPECT_EQ(room().m_resultsValid, 1);
    EXPECT_EQ(room().m_surfacesUpToDate, 1);
    EXPECT_EQ(m_doc.m_calcRunning, 0);
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(m_syncs, (std::vector<std::int32_t> { 1, 0 })) << "bars disabled, then enabled";
    const CWorkSystem& task = room().m_workSystems[0];
    EXPECT_GT(task.m_avg[CWorkSystem::kSlotHorizontal], 0.0);
    EXPECT_GT(task.m_points[0].value(CPointCalc::kReflectedMaintained), 0.0);
    // Direct light keeps 0.8 of itself, light reflected once or twice 0.8 × 0.8 or 0.8 × 0.8 × 0.8.
    EXPECT_GT(task.m_maintenanceRatio, 0.8 * 0.8 * 0.8);
    EXPECT_LT(task.m_maintenanceRatio, 0.8);
    EXPECT_EQ(m_fakes.progress.statusTexts, (std::vector<std::string> { "Kzev připraven" }));
}

TEST_F(CalculationRunTest, ProgressRunsFromZeroToTheStepCountAndHides)
{
    ASSERT_EQ(run(), CalcOutcome::Completed);

    const auto& positions = m_fakes.progress.positions;
    ASSERT_GE(positions.size(), 3u);
    const int range = positions.front().range;
    EXPECT_EQ(positions.front().position, 0);
    // Two preparing steps, each surface's rows for its direct pass and its
    // reflection, and the area's rows for its direct and reflected passes.
    int surfaceRows = 0;
    for (const CWorkSystem& s : room().m_modes[0].m_surfaces)
        surfaceRows += s.m_count1;
    EXPECT_EQ(range, 2 + 2 * surfaceRows + 2 * 3);
    EXPECT_EQ(positions[positions.size() - 2].position, range);
    EXPECT_EQ(positions.back().position, -1);
    EXPECT_EQ(m_fakes.progress.gradients.size(), 1u);
    EXPECT_EQ(m_fakes.progress.gradients[0].from, 0xFFC5AEu);
    EXPECT_EQ(m_fakes.progress.gradients[0].to, 0xFF0D80u);
}

TEST_F(CalculationRunTest, SecondRunOnAnUnchangedRoomSkipsTheSurfaces)
{
    ASSERT_EQ(run(), CalcOutcome::Completed);
    const std::size_t surfaceCount = room().m_modes[0].m_surfaces.size();
    ASSERT_EQ(run(), CalcOutcome::Completed);

    const auto secondRun = std::ranges::find(log().rbegin(), log().rend(), std::string("clear")).base();
    EXPECT_FALSE(std::any_of(
        secondRun, log().end(), [](const std::string& c) { return c.starts_with("line:Výpočet plochy"); }));
    EXPECT_EQ(room().m_modes[0].m_surfaces.size(), surfaceCount);
    EXPECT_EQ(m_fakes.progress.positions.back().position, -1);
    EXPECT_EQ(log().back(), "line:O.K.");
}

TEST_F(CalculationRunTest, LuminaireAndLampChangedBetweenRunsGiveTheNewDirectLight)
{
    // The direct light is linear in the table and in the lamp's flux: 2.5 × 2.
    ASSERT_EQ(run(), CalcOutcome::Completed);
    std::vector<double> before;
    for (const CPointCalc& point : room().m_workSystems[0].m_points)
        before.push_back(point.value(CPointCalc::kDirectMaintained));
    ASSERT_GT(before[0], 0.0);

    for (double& entry : m_luminaires[0].m_intensity)
        entry *= 2.5;
    m_lamps[0].m_luminousFlux *= 2.0;
    ASSERT_EQ(run(), CalcOutcome::Completed);

    const std::vector<CPointCalc>& points = room().m_workSystems[0].m_points;
    for (std::size_t k = 0; k < points.size(); ++k)
        EXPECT_NEAR(points[k].value(CPointCalc::kDirectMaintained), 5.0 * before[k], 5.0 * before[k] * 1e-12) << k;
}

TEST_F(CalculationRunTest, SurfacesMarkedCurrentButMissingAreBuilt)
{
    room().m_reflectedComponent = 0;
    ASSERT_EQ(run(), CalcOutcome::Completed); // leaves no surfaces, marked current
    room().m_reflectedComponent = 1;

    ASSERT_EQ(run(), CalcOutcome::Completed);

    EXPECT_EQ(room().m_modes[0].m_surfaces.size(), 6u);
    EXPECT_GT(room().m_workSystems[0].m_points[0].value(CPointCalc::kReflectedMaintained), 0.0);
}

TEST_F(CalculationRunTest, AreaOfAModeTheRoomDoesNotHaveRefusesTheRunWithAMessage)
{
    room().m_reflectedComponent = 0;
    room().m_resultsValid = 1;
    CWorkSystem orphan = room().m_workSystems[0];
    orphan.m_name = "Sirotek";
    orphan.m_modeIndex = 3;
    room().m_workSystems.push_back(orphan);

    ASSERT_EQ(run(), CalcOutcome::NotStarted);

    ASSERT_EQ(m_fakes.messageBox.shown.size(), 1u);
    EXPECT_NE(m_fakes.messageBox.shown[0].text.find("Sirotek"), std::string::npos);
    EXPECT_NE(m_fakes.messageBox.shown[0].text.find("režimu 4"), std::string::npos);
    EXPECT_FALSE(logHas("line:O.K."));
    EXPECT_EQ(room().m_resultsValid, 1) << "nothing was calculated";
    EXPECT_EQ(m_doc.m_calcRunning, 0);

    // Switched off, it takes no part and the run goes on.
    room().m_workSystems[1].m_excluded = 1;
    EXPECT_EQ(run(), CalcOutcome::Completed);
}

TEST_F(CalculationRunTest, RoomWithoutModesRefusesTheRun)
{
    room().m_modes.clear();

    ASSERT_EQ(run(), CalcOutcome::NotStarted);

    ASSERT_EQ(m_fakes.messageBox.shown.size(), 1u);
    EXPECT_NE(m_fakes.messageBox.shown[0].text.find("nemá žádný režim"), std::string::npos);
    EXPECT_FALSE(logHas("line:O.K."));
}

TEST_F(CalculationRunTest, WithoutInterReflectionTheSurfacesAreEmptiedAndNeverAskedFor)
{
    room().m_reflectedComponent = 0;
    room().m_width = 2.0; // 4 elements: too coarse, but no question without reflections
    room().m_modes[0].m_surfaces.resize(3);

    ASSERT_EQ(run(), CalcOutcome::Completed);

    EXPECT_TRUE(m_fakes.messageBox.shown.empty());
    EXPECT_TRUE(room().m_modes[0].m_surfaces.empty());
    EXPECT_EQ(room().m_surfacesUpToDate, 1);
    EXPECT_FALSE(logHas("line:  Výpočet odražené složky ..."));
}

TEST_F(CalculationRunTest, StopDuringASurfacePassEndsTheRunWithoutResults)
{
    room().m_resultsValid = 1; // from an earlier run
    m_fakes.pump.stopAfter = 5;

    ASSERT_EQ(run(), CalcOutcome::Stopped);

    EXPECT_EQ(log().back(), "text: Výpočet přerušen !");
    EXPECT_FALSE(logHas("line:O.K."));
    EXPECT_FALSE(logHas("line:Výpočet minimální, maximální a střední hodnoty ..."));
    EXPECT_EQ(room().m_surfacesUpToDate, 0);
    EXPECT_EQ(room().m_resultsValid, 0);
    EXPECT_EQ(m_doc.m_calcRunning, 0);
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(m_syncs, (std::vector<std::int32_t> { 1, 0 }));
    EXPECT_EQ(m_fakes.progress.positions.back().position, -1);
    EXPECT_EQ(m_fakes.progress.statusTexts, (std::vector<std::string> { "Kzev připraven" }));
}

TEST_F(CalculationRunTest, StopDuringAnAreaPassLeavesTheSurfacesFlag)
{
    room().m_reflectedComponent = 0;
    room().m_surfacesUpToDate = 1;
    room().m_resultsValid = 1;
    m_fakes.pump.stopAfter = 2;

    ASSERT_EQ(run(), CalcOutcome::Stopped);

    EXPECT_EQ(log().back(), "text: Výpočet přerušen !");
    EXPECT_EQ(room().m_resultsValid, 0);
    EXPECT_EQ(room().m_surfacesUpToDate, 1);
}

TEST_F(CalculationRunTest, LuminaireAboveTheRoomStopsTheRunBeforeItStarts)
{
    struct Case {
        double above;
        bool starts;
    };
    for (const Case c : { Case { 0.001, true }, Case { 0.0011, false } }) {
        m_fakes.log.calls.clear();
        m_fakes.messageBox.shown.clear();
        COneLampSystem high;
        high.m_position = { 1.0, 1.0, room().m_height + c.above };
        room().m_lampSystems[0].m_luminaires.push_back(high);
        room().m_resultsValid = 0;

        const CalcOutcome outcome = run();

        if (c.starts) {
            EXPECT_EQ(outcome, CalcOutcome::Completed);
        } else {
            EXPECT_EQ(outcome, CalcOutcome::NotStarted);
            ASSERT_EQ(m_fakes.messageBox.shown.size(), 1u);
            EXPECT_EQ(m_fakes.messageBox.shown[0].text, "Svítidlo 2 soustavy Soustava svítidel 1 je nad místností");
            EXPECT_EQ(log(), (std::vector<std::string> { "clear", "line:Výpočet ... " }));
            EXPECT_EQ(room().m_resultsValid, 0);
            EXPECT_EQ(m_doc.m_calcRunning, 0);
        }
    }
}

TEST_F(CalculationRunTest, CoarseElementsAskBeforeTheRun)
{
    room().m_width = 2.4; // 4.8 elements
    m_fakes.messageBox.answers = { MessageAnswer::Yes, MessageAnswer::No };

    EXPECT_EQ(run(), CalcOutcome::NotStarted);
    EXPECT_EQ(log(), (std::vector<std::string> { "clear", "line:Výpočet ... " }));
    EXPECT_TRUE(m_syncs.empty());
    EXPECT_EQ(run(), CalcOutcome::Completed);

    ASSERT_EQ(m_fakes.messageBox.shown.size(), 2u);
    EXPECT_EQ(m_fakes.messageBox.shown[0].text,
        "Doporučujeme zmenšit rozměr elementární plochy.\nPřerušit výpočet ?");
    EXPECT_EQ(m_fakes.messageBox.shown[0].buttons, MessageButtons::YesNo);
}

TEST_F(CalculationRunTest, LampSystemThatCannotBeResolvedFailsTheRunAndSaysWhich)
{
    room().m_lampSystems[0].m_luminaireDatabase = 0; // names no luminaire
    room().m_resultsValid = 1;

    ASSERT_EQ(run(), CalcOutcome::Failed);

    EXPECT_TRUE(logHas(
        "line:Soustava svítidel Soustava svítidel 1: svítidlo, zdroj nebo udržovací činitel nelze určit."));
    EXPECT_EQ(log().back(), "text: Výpočet přerušen !");
    EXPECT_EQ(room().m_resultsValid, 1) << "nothing was calculated";
    EXPECT_EQ(m_doc.m_calcRunning, 0);
    EXPECT_EQ(m_syncs, (std::vector<std::int32_t> { 1, 0 }));
}

TEST_F(CalculationRunTest, MissingMaintenanceTableFailsTheRun)
{
    room().m_maintenanceFactorMode = 1;
    CalculationRun calculation(m_doc, m_lists, m_hooks);
    calculation.m_dataFolder = std::filesystem::path(KZEV_SOURCE_DIR) / "tests" / "no-such-folder";

    ASSERT_EQ(calculation.run(), CalcOutcome::Failed);

    ASSERT_EQ(m_fakes.messageBox.shown.size(), 1u);
    EXPECT_NE(m_fakes.messageBox.shown[0].text.find("ZEV_Z"), std::string::npos);
    EXPECT_FALSE(logHas("line:O.K."));
    EXPECT_EQ(log().back(), "text: Výpočet přerušen !");
}

TEST_F(CalculationRunTest, LuminaireThatCannotBeDividedFailsTheRun)
{
    m_luminaires[0].m_luminousDimensions = { -50.0, 0.1, 0.0 };
    room().m_reflectedComponent = 0;
    room().m_resultsValid = 1;

    ASSERT_EQ(run(), CalcOutcome::Failed);

    EXPECT_TRUE(logHas("line:  Výpočet se nezdařil, výsledky nejsou platné."));
    EXPECT_EQ(log().back(), "text: Výpočet přerušen !");
    EXPECT_EQ(room().m_resultsValid, 0);
}

TEST_F(CalculationRunTest, GridsBeyondWhatTheCalculationHoldsFailTheRunNamingThem)
{
    // An area whose counts ask for 900 million points, never allocated.
    room().m_reflectedComponent = 0;
    CWorkSystem& area = room().m_workSystems[0];
    area.m_count1 = 30000;
    area.m_count2 = 30000;
    area.m_points.clear();
    ASSERT_EQ(run(), CalcOutcome::Failed);
    EXPECT_TRUE(logHas("line:  Chyba výpočtu: plocha " + area.m_name
        + " má 30000 × 30000 bodů, program počítá nejvýše 1048576 bodů na plochu"));
    EXPECT_TRUE(area.m_points.empty());

    // A wall of 20 km cut into half-metre elements is such a grid too.
    m_fakes.log.calls.clear();
    area.m_count1 = 3;
    area.m_count2 = 2;
    room().m_reflectedComponent = 1;
    room().m_length = 20000.0;
    room().m_width = 20000.0;
    ASSERT_EQ(run(), CalcOutcome::Failed);
    EXPECT_EQ(std::ranges::count_if(log(), [](const std::string& line) {
        return line.find("Chyba výpočtu: plocha") != std::string::npos && line.find("40001 × 40001") != std::string::npos;
    }), 1);
}

TEST_F(CalculationRunTest, LaterPassesPlugInThroughTheHooksInTheirOrder)
{
    room().m_reflectedComponent = 0;
    room().m_computeUgr = 1;
    room().m_computeGr = 1;
    room().m_computeRoadLuminance = 1;
    CWorkSystem road = room().m_workSystems[0];
    road.m_name = "road";
    road.m_quantityCode = 141;
    CWorkSystem ugr = road;
    ugr.m_name = "ugr";
    ugr.m_quantityCode = 89;
    CWorkSystem gr = road;
    gr.m_name = "gr";
    gr.m_quantityCode = 161;
    room().m_workSystems = { road, ugr, gr };
    std::vector<std::string> calls;
    m_hooks.roadLuminance = [&](const CRoom&, CWorkSystem& a) {
        calls.push_back("road " + a.m_name);
        return true;
    };
    m_hooks.ugr = [&](const CRoom&, CWorkSystem& a, std::int32_t& step) {
        calls.push_back("ugr " + a.m_name);
        step += a.m_count1;
        return true;
    };
    m_hooks.gr = [&](const CRoom&, CWorkSystem& a) {
        calls.push_back("gr " + a.m_name);
        return true;
    };

    ASSERT_EQ(run(), CalcOutcome::Completed);

    EXPECT_EQ(calls, (std::vector<std::string> { "road road", "ugr ugr", "gr gr" }));
    EXPECT_TRUE(logHas("line:  Výpočet jasu vozovky ..."));
    EXPECT_TRUE(logHas("line:  Výpočet činitele oslnění UGR ..."));
    EXPECT_TRUE(logHas("line:  Výpočet činitele oslnění GR ..."));
    const auto& positions = m_fakes.progress.positions;
    EXPECT_EQ(positions[positions.size() - 2].position, positions.front().range);
}

TEST_F(CalculationRunTest, BuiltInGrPassRatesEveryPointAndCountsItsRowsOnTheBar)
{
    room().m_reflectedComponent = 0;
    room().m_computeGr = 1;
    room().m_workSystems[0].m_reflectance = 0.3;
    CWorkSystem gr = room().m_workSystems[0];
    gr.m_name = "gr";
    gr.m_quantityCode = 161;
    gr.m_origin = { 0.2, 0.2, 1.5 };
    gr.m_points.assign(6, CPointCalc {});
    room().m_workSystems.push_back(gr);

    ASSERT_EQ(run(), CalcOutcome::Completed);

    for (const CPointCalc& point : room().m_workSystems[1].m_points)
        EXPECT_EQ(point.m_grByDirection.size(), static_cast<std::size_t>(gr.m_directionCount));
    const auto& positions = m_fakes.progress.positions;
    const int range = positions.front().range;
    // Two preparing steps, the rows of both areas' direct passes and the GR area's rows.
    EXPECT_EQ(range, 2 + 3 + 3 + 3);
    EXPECT_EQ(positions[positions.size() - 2].position, range);
}

TEST_F(CalculationRunTest, PassThatIsNotThereFailsTheRunRatherThanLeavingStaleResults)
{
    room().m_computeRoadLuminance = 1;
    room().m_workSystems[0].m_quantityCode = 141;

    ASSERT_EQ(run(), CalcOutcome::Failed);

    EXPECT_TRUE(logHas("line:  Tento výpočet zatím není k dispozici, výsledky nejsou platné."));
    EXPECT_EQ(log().back(), "text: Výpočet přerušen !");
    EXPECT_EQ(room().m_resultsValid, 0);
}

TEST_F(CalculationRunTest, PassThatStopsWithoutTheFlagIsAFailure)
{
    room().m_reflectedComponent = 0;
    room().m_computeGr = 1;
    room().m_workSystems[0].m_quantityCode = 161;
    m_hooks.gr = [](const CRoom&, CWorkSystem&) { return false; };

    EXPECT_EQ(run(), CalcOutcome::Failed);
    EXPECT_TRUE(logHas("line:  Výpočet se nezdařil, výsledky nejsou platné."));
}

TEST_F(CalculationRunTest, OutdoorProjectsGetTheShareOfUpwardFlux)
{
    m_doc.m_projectType = 1;
    room().m_reflectedComponent = 0;

    ASSERT_EQ(run(), CalcOutcome::Completed);

    EXPECT_TRUE(logHas("line:Výpočet podílu horního toku ..."));
    EXPECT_NEAR(room().m_upwardFluxShare, 0.5, 0.02) << "an isotropic luminaire sends half upwards";
}

// A pump that tries to start the calculation again, as a click on the start
// button handled while the first run pumps events would.
class ReenteringPump final : public IMessagePump {
public:
    explicit ReenteringPump(std::function<CalcOutcome()> start)
        : m_start(std::move(start))
    {
    }
    void pump() override
    {
        if (nested.empty())
            nested.push_back(m_start());
    }
    std::vector<CalcOutcome> nested;

private:
    std::function<CalcOutcome()> m_start;
};

TEST_F(CalculationRunTest, SecondRunCannotStartWhileOneRuns)
{
    ReenteringPump pump([this] { return run(); });
    ScopedServices scope(Services { nullptr, nullptr, nullptr, &pump, nullptr, nullptr });

    ASSERT_EQ(run(), CalcOutcome::Completed);

    EXPECT_EQ(pump.nested, (std::vector<CalcOutcome> { CalcOutcome::NotStarted }));
    EXPECT_EQ(std::ranges::count(log(), std::string("clear")), 1) << "the nested start did not touch the log";
    EXPECT_FALSE(calcRunActive());
}

TEST_F(CalculationRunTest, NothingHappensWithoutASelectedRoomOrWhileTheFlagIsSet)
{
    m_fakes.view.selected.reset();
    EXPECT_EQ(run(), CalcOutcome::NotStarted);
    m_fakes.view.selected = 0;
    m_doc.m_calcRunning = 1;
    EXPECT_EQ(run(), CalcOutcome::NotStarted);
    EXPECT_TRUE(log().empty());
}

TEST_F(CalculationRunTest, SavesFirstWhenAskedTo)
{
    int saves = 0;
    m_hooks.saveDocument = [&] { ++saves; };
    m_doc.m_saveBeforeCalc = 1;
    ASSERT_EQ(run(), CalcOutcome::Completed);
    EXPECT_EQ(saves, 1);
}

// The results of a room's task area after a run.
std::vector<double> areaValues(const CRoom& room, std::size_t area)
{
    std::vector<double> values;
    for (const CPointCalc& point : room.m_workSystems[area].m_points) {
        values.push_back(point.value(CPointCalc::kDirectMaintained));
        values.push_back(point.value(CPointCalc::kReflectedMaintained));
    }
    return values;
}

void expectSameValues(const std::vector<double>& actual, const std::vector<double>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t k = 0; k < actual.size(); ++k)
        EXPECT_NEAR(actual[k], expected[k], 1e-9 * std::max(1.0, std::fabs(expected[k]))) << k;
}

class StaleResultsTest : public CalculationRunTest {
protected:
    // What a run of the room as it now stands gives when nothing of earlier runs is kept.
    std::vector<double> freshValues(std::size_t area)
    {
        CRoom copy = room();
        room().InvalidateResults();
        for (CLampState& mode : room().m_modes)
            mode.m_surfaces.clear();
        EXPECT_EQ(run(), CalcOutcome::Completed);
        std::vector<double> values = areaValues(room(), area);
        room() = copy;
        return values;
    }
};

TEST_F(StaleResultsTest, AcceptedLayoutIsRecomputedWholeByTheNextRun)
{
    m_luminaires[0].m_overallDimensions = { 0.6, 0.6, 0.1 };
    CLampSystem& system = room().m_lampSystems[0];
    system.m_origin = { 0.5, 1.5, 2.4 };
    system.m_pitch1 = { 3.0, 0.0, 0.0 };
    system.m_count1 = 2;
    system.m_count2 = 1;
    system.m_numberOfLuminaires = 2;
    m_doc.LayOutRegularLuminaires(system, 1);
    ASSERT_EQ(run(), CalcOutcome::Completed);
    m_doc.m_dimIncrement = 1.0;
    m_doc.m_luminaires = m_luminaires; // the layout search reads the document's lists
    m_doc.m_lamps = m_lamps;

    ASSERT_EQ(optimiseLayout(m_doc, 0).outcome, LayoutOutcome::Accepted);
    ASSERT_NE(room().m_lampSystems[0].m_pitch1.x, 3.0) << "the layout changed";

    EXPECT_EQ(room().m_resultsValid, 0) << "only the first area had new values, without reflections";
    EXPECT_EQ(room().m_surfacesUpToDate, 0);
    ASSERT_EQ(run(), CalcOutcome::Completed);
    EXPECT_TRUE(logHas("line:Výpočet plochy 0 - Stěna 1 ..."));
    expectSameValues(areaValues(room(), 0), freshValues(0));
}

TEST_F(StaleResultsTest, FailedRunLeavesTheSurfacesItBuiltForRebuilding)
{
    room().m_reflectedComponent = 0;
    ASSERT_EQ(run(), CalcOutcome::Completed); // no surfaces, marked current
    room().m_reflectedComponent = 1;
    room().m_enteredMaintenanceFactor = 80.0; // typed as a percentage

    ASSERT_EQ(run(), CalcOutcome::Failed);
    ASSERT_EQ(m_fakes.messageBox.shown.size(), 1u);
    EXPECT_NE(m_fakes.messageBox.shown[0].text.find("Soustava svítidel 1"), std::string::npos);
    EXPECT_EQ(room().m_surfacesUpToDate, 0);

    room().m_enteredMaintenanceFactor = 0.8;
    ASSERT_EQ(run(), CalcOutcome::Completed);
    EXPECT_GT(room().m_workSystems[0].m_points[0].value(CPointCalc::kReflectedMaintained), 0.0);
    expectSameValues(areaValues(room(), 0), freshValues(0));
}

TEST_F(StaleResultsTest, RunStoppedBeforeALaterModesSurfacesLeavesThemForRebuilding)
{
    // A second mode with its own area; the first mode's area is rated for glare.
    CLampState night;
    night.m_name = "Režim 2";
    room().m_modes.push_back(night);
    room().m_lampSystems[0].m_luminaires[0].m_modeFactors = { 1.0, 0.5 };
    CWorkSystem second = room().m_workSystems[0];
    second.m_modeIndex = 1;
    room().m_workSystems.push_back(second);
    room().m_reflectedComponent = 0;
    ASSERT_EQ(run(), CalcOutcome::Completed);
    room().m_reflectedComponent = 1;
    room().m_workSystems[0].m_quantityCode = 89;
    room().m_computeUgr = 1;
    m_hooks.ugr = [](const CRoom&, CWorkSystem&, std::int32_t&) {
        setStopRequested(true);
        return false;
    };

    ASSERT_EQ(run(), CalcOutcome::Stopped);
    EXPECT_EQ(room().m_surfacesUpToDate, 0) << "the second mode's surfaces were built but never lit";

    m_hooks.ugr = nullptr;
    room().m_computeUgr = 0;
    ASSERT_EQ(run(), CalcOutcome::Completed);
    EXPECT_GT(room().m_workSystems[1].m_points[0].value(CPointCalc::kReflectedMaintained), 0.0);
    expectSameValues(areaValues(room(), 1), freshValues(1));
}

TEST_F(CalculationRunTest, EnteredMaintenanceFactorOutsideItsRangeFailsTheRunNamingTheLampSystem)
{
    struct Case {
        const char* name;
        double factor;
        bool accepted;
    };
    const Case cases[] = {
        { "typical", 0.8, true },
        { "one", 1.0, true },
        { "percentage", 80.0, false },
        { "negative", -0.8, false },
        { "zero", 0.0, false },
        { "not a number", std::nan(""), false },
        { "infinite", INFINITY, false },
    };
    for (const Case& c : cases) {
        m_fakes.messageBox.shown.clear();
        room().m_enteredMaintenanceFactor = c.factor;
        EXPECT_EQ(run(), c.accepted ? CalcOutcome::Completed : CalcOutcome::Failed) << c.name;
        EXPECT_EQ(log().back() == "line:O.K.", c.accepted) << c.name;
        if (c.accepted)
            continue;
        ASSERT_EQ(m_fakes.messageBox.shown.size(), 1u) << c.name;
        const std::string& text = m_fakes.messageBox.shown[0].text;
        EXPECT_NE(text.find("Soustava svítidel 1"), std::string::npos) << c.name;
        EXPECT_NE(text.find("udržovací činitel"), std::string::npos) << c.name;
    }
}

TEST_F(CalculationRunTest, GlareThatIsNotComputedShowsAsNotComputedNeverAsNoGlare)
{
    room().m_reflectedComponent = 0;
    m_luminaires[0].m_luminousDimensions = { 0.6, 0.6, 0.0 };
    // Far enough ahead of the points to lie in their field of view.
    room().m_lampSystems[0].m_luminaires[0].m_position = { 3.9, 1.5, 2.4 };
    CWorkSystem& area = room().m_workSystems[0];
    area.m_quantityCode = 89;
    area.m_points[0].value(CPointCalc::kUgr) = 17.0; // from an earlier run

    // Switched off for this room: not computed.
    ASSERT_EQ(run(), CalcOutcome::Completed);
    EXPECT_EQ(area.m_points[0].value(CPointCalc::kUgr), CPointCalc::kNotComputed);
    EXPECT_EQ(area.m_max[CWorkSystem::kSlotUgr], CPointCalc::kNotComputed);
    EXPECT_EQ(formatResultValue(area), "\u2013");
    EXPECT_TRUE(std::ranges::any_of(log(), [](const std::string& line) { return line.find("UGR se v této místnosti nepočítá") != std::string::npos; }));

    // Switched on, but without reflections the eye has no background: not computed, and the log says why.
    room().m_computeUgr = 1;
    CalculationRun calculation(m_doc, m_lists, m_hooks);
    calculation.m_dataFolder = std::filesystem::path(KZEV_SOURCE_DIR) / "data";
    ASSERT_EQ(calculation.run(), CalcOutcome::Completed);
    EXPECT_EQ(area.m_max[CWorkSystem::kSlotUgr], CPointCalc::kNotComputed);
    EXPECT_EQ(formatResultValue(area), "\u2013");
    EXPECT_TRUE(std::ranges::any_of(log(), [](const std::string& line) { return line.find("jas pozadí 0") != std::string::npos; }));

    // Every luminaire switched off: nothing to rate, not "no glare".
    room().m_reflectedComponent = 1;
    for (COneLampSystem& luminaire : room().m_lampSystems[0].m_luminaires)
        luminaire.m_switchedOff = 1;
    ASSERT_EQ(calculation.run(), CalcOutcome::Completed);
    EXPECT_EQ(area.m_points[0].value(CPointCalc::kUgr), CPointCalc::kNotComputed);
    EXPECT_EQ(formatResultValue(area), "\u2013");
    EXPECT_NE(resultSummaryLine(area, room(), 0).find("UGRmax: \u2013"), std::string::npos);
}

// An outdoor work place by day and by night (every luminaire at half), each mode with a
// work place and a GR area of three eyes looking towards the luminaire; direct light only.
class GrModesTest : public CalculationRunTest {
protected:
    GrModesTest()
    {
        room().m_reflectedComponent = 0;
        room().m_computeGr = 1;
        CLampState night;
        night.m_name = "Noc";
        room().m_modes.push_back(night);
        room().m_lampSystems[0].m_luminaires[0].m_modeFactors = { 1.0, 0.5 };
        m_workPlace = room().m_workSystems[0];
        m_workPlace.m_quantityCode = 94;
        m_workPlace.m_reflectance = 0.3;
        m_eyes.m_quantityCode = 161;
        m_eyes.m_origin = { 0.2, 1.0, 1.5 };
        m_eyes.m_step1 = { 0.0, 0.5, 0.0 };
        m_eyes.m_count1 = 3;
        m_eyes.m_count2 = 1;
        m_eyes.m_points.resize(3);
        m_eyes.m_firstDirection = 0;
        m_eyes.m_directionCount = 2;
        m_eyes.m_directionStep = 20;
    }

    static CWorkSystem inMode(CWorkSystem area, std::int32_t mode)
    {
        area.m_modeIndex = mode;
        return area;
    }
    CWorkSystem workPlace(std::int32_t mode) const { return inMode(m_workPlace, mode); }
    CWorkSystem eyes(std::int32_t mode) const { return inMode(m_eyes, mode); }

    /** The GR of every eye and direction of the area. */
    std::vector<double> ratings(std::size_t area)
    {
        std::vector<double> values;
        for (const CPointCalc& point : room().m_workSystems.at(area).m_points)
            values.insert(values.end(), point.m_grByDirection.begin(), point.m_grByDirection.end());
        return values;
    }

    CWorkSystem m_workPlace;
    CWorkSystem m_eyes;
};

TEST_F(GrModesTest, EachModeTakesItsWorkPlaceWhereverItIsListed)
{
    room().m_workSystems = { workPlace(0), workPlace(1), eyes(0), eyes(1) };
    ASSERT_EQ(run(), CalcOutcome::Completed);
    const std::vector<double> day = ratings(2);
    const std::vector<double> night = ratings(3);
    const double dayMax = room().m_workSystems[2].m_grMax;

    room().m_workSystems = { workPlace(0), eyes(0), eyes(1), workPlace(1) };
    ASSERT_EQ(run(), CalcOutcome::Completed);
    EXPECT_TRUE(m_fakes.messageBox.shown.empty());
    expectSameValues(ratings(1), day);
    expectSameValues(ratings(2), night);
    EXPECT_DOUBLE_EQ(room().m_workSystems[1].m_grMax, dayMax);

    // Both terms at half: GR moves by 24 log10 0.5 - 0.9 × 24 log10 0.5 from the day's.
    ASSERT_EQ(day.size(), 6u);
    for (std::size_t k = 0; k < day.size(); ++k) {
        ASSERT_GT(day[k], 0.0) << k;
        EXPECT_NEAR(night[k] - day[k], 2.4 * std::log10(0.5), 1e-9) << k;
    }
}

TEST_F(GrModesTest, ModeWithoutWorkPlaceGetsNoGrAndTheRunGoesOn)
{
    room().m_workSystems = { workPlace(0), eyes(0) };
    ASSERT_EQ(run(), CalcOutcome::Completed);
    const std::vector<double> day = ratings(1);
    const double dayMax = room().m_workSystems[1].m_grMax;
    ASSERT_GT(dayMax, 0.0);

    room().m_workSystems = { workPlace(0), eyes(0), eyes(1) };
    for (CPointCalc& point : room().m_workSystems[2].m_points) {
        point.value(CPointCalc::kGr) = 33.0; // from an earlier run
        point.m_grByDirection = { 33.0, 30.0 };
    }
    ASSERT_EQ(run(), CalcOutcome::Completed);
    EXPECT_EQ(log().back(), "line:O.K.");
    ASSERT_EQ(m_fakes.messageBox.shown.size(), 1u);
    EXPECT_NE(m_fakes.messageBox.shown[0].text.find("Činitel oslnění GR nelze spočítat"), std::string::npos);
    // The day's area whole, its summary with it.
    expectSameValues(ratings(1), day);
    EXPECT_DOUBLE_EQ(room().m_workSystems[1].m_grMax, dayMax);
    // The night's shows no GR, neither the earlier run's nor 0.
    const CWorkSystem& night = room().m_workSystems[2];
    for (const CPointCalc& point : night.m_points) {
        EXPECT_EQ(point.value(CPointCalc::kGr), CPointCalc::kNotComputed);
        EXPECT_TRUE(point.m_grByDirection.empty());
    }
    EXPECT_EQ(night.m_grMax, CPointCalc::kNotComputed);
    EXPECT_EQ(formatResultValue(night), "\u2013");
}

TEST(ClearPointResults, ZeroesTheComputedValuesOnly)
{
    CWorkSystem area;
    area.m_count1 = 1;
    area.m_count2 = 2;
    area.m_points.resize(2);
    for (CPointCalc& p : area.m_points) {
        p.m_off = 1;
        p.m_values.fill(5.0);
        p.m_reflectedByDirection = { 1.0 };
    }

    clearPointResults(area);

    for (const CPointCalc& p : area.m_points) {
        for (int v = 1; v <= CPointCalc::kValueCount; ++v) {
            const bool kept = v == 11 || v == 18 || v == 21 || v == 22 || v == 23;
            EXPECT_EQ(p.value(v), kept ? 5.0 : 0.0) << "value " << v;
        }
        EXPECT_EQ(p.m_off, 1);
        EXPECT_EQ(p.m_reflectedByDirection.size(), 1u);
    }
}

} // namespace
} // namespace kzev::test
