#include "calc/RoadPasses.h"
#include "model/CKzevDoc.h"
#include "model/RegularLayout.h"
#include "support/CalcTestSupport.h"
#include "support/FakeServices.h"
#include "support/RoadTableFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kzev::test {
namespace {

constexpr double kIntensity = 100.0; // cd, isotropic
constexpr double kR = 0.01;          // constant r of the road surface
constexpr double kHeight = 10.0;
constexpr double kMaintenance = 0.8;

// A road project of one field under a row of three luminaires 30 m apart,
// calculated by the run with the road passes plugged in; the document's lists
// hold the luminaire and the lamp already.
class RoadPassesTest : public ::testing::Test {
protected:
    RoadPassesTest()
    {
        CLuminaire luminaire = tabulatedLuminaire(isotropic(kIntensity), 0.0, 0.0);
        luminaire.m_databaseNumber = 1;
        luminaire.m_recordNumber = 7;
        m_luminaires.push_back(luminaire);
        CLamp lamp = makeLamp(1.0, 10000, 0.8, 5000.0);
        lamp.m_databaseNumber = 1;
        lamp.m_recordNumber = 3;
        m_lamps.push_back(lamp);
        m_folder.write("ZEV_JV1.dat", roadTableText([](double, double) { return kR; }));

        CRoom room;
        room.m_length = 90.0;
        room.m_width = 7.0;
        room.m_height = 12.0;
        room.m_reflectedComponent = 0;
        room.m_maintenanceFactorMode = 2; // entered: no table file needed
        room.m_enteredMaintenanceFactor = kMaintenance;
        room.m_computeRoadLuminance = 1;
        room.m_roadSurfaceClass = 1;
        CLampSystem& system = room.m_lampSystems[0];
        system.m_luminaireDatabase = 1;
        system.m_luminaireRecord = 7;
        system.m_lampDatabase = 1;
        system.m_lampRecord = 3;
        system.m_origin = { 0.0, 0.0, kHeight };
        system.m_pitch1 = { 30.0, 0.0, 0.0 };
        system.m_count1 = 3;
        system.m_count2 = 1;
        layOutRegularLuminaires(system, room.m_modes.size());
        CWorkSystem& area = room.m_workSystems[0];
        area.m_quantityCode = 141;
        area.m_origin = { 1.5, 1.75, 0.0 };
        area.m_step1 = { 3.0, 0.0, 0.0 };
        area.m_step2 = { 0.0, 3.5, 0.0 };
        area.m_count1 = 10;
        area.m_count2 = 2;
        area.m_points.resize(20);
        area.m_cameraPosition = { -60.0, 1.75, 1.5 };
        area.m_tiFlag = 1;
        m_doc.m_rooms = { room };
        m_doc.m_projectType = 2;
        m_doc.m_saveBeforeCalc = 0;
        m_fakes.view.selected = 0;
        addRoadPasses(m_hooks, m_luminaires, m_lamps, m_folder.path());
    }

    CalcOutcome run()
    {
        CalculationRun calculation(m_doc, m_lists, m_hooks);
        calculation.m_dataFolder = m_folder.path();
        return calculation.run();
    }

    CWorkSystem& field() { return m_doc.m_rooms[0].m_workSystems[0]; }
    bool logHas(const std::string& call) const
    {
        return std::ranges::find(m_fakes.log.calls, call) != m_fakes.log.calls.end();
    }

    FakeServices m_fakes;
    TempFolder m_folder;
    CKzevDoc m_doc;
    std::vector<CLuminaire> m_luminaires;
    std::vector<CLamp> m_lamps;
    std::string m_prefix;
    std::vector<std::string> m_none;
    LuminaireLists m_lists { m_luminaires, m_lamps, m_prefix, m_none, m_none, m_none, m_none };
    CalcRunHooks m_hooks;
};

TEST_F(RoadPassesTest, RoadFieldGetsItsLuminanceSummariesAndThresholdIncrement)
{
    ASSERT_EQ(run(), CalcOutcome::Completed);
    EXPECT_TRUE(logHas("line:  Výpočet jasu vozovky ..."));
    // Isotropic luminaires on a surface of constant r: every point gets Σ I·r·MF / h².
    const double expected = 3.0 * kIntensity * kR * kMaintenance / (kHeight * kHeight);
    for (const CPointCalc& point : field().m_points)
        EXPECT_NEAR(point.value(CPointCalc::kRoadLuminance), expected, expected * 1e-9);
    EXPECT_NEAR(field().m_avg[CWorkSystem::kSlotRoadLuminance], expected, expected * 1e-9);
    EXPECT_NEAR(field().m_uniformity, 1.0, 1e-9);
    EXPECT_NEAR(field().m_longitudinalUniformity, 1.0, 1e-9);
    EXPECT_GT(field().m_thresholdIncrement, 0.0);
    EXPECT_EQ(m_doc.m_rooms[0].m_resultsValid, 1);
}

// Asks to stop as soon as the summaries have begun, that is inside the threshold increment.
class StopInSummariesPump final : public IMessagePump {
public:
    explicit StopInSummariesPump(const RecordingLog& log)
        : m_log(log)
    {
    }
    void pump() override
    {
        if (std::ranges::find(m_log.calls, "line:Výpočet minimální, maximální a střední hodnoty ...")
            != m_log.calls.end())
            setStopRequested(true);
    }

private:
    const RecordingLog& m_log;
};

TEST_F(RoadPassesTest, StopDuringTheThresholdIncrementLeavesTheResultsNotCurrent)
{
    StopInSummariesPump pump(m_fakes.log);
    ScopedServices scope(Services { nullptr, nullptr, nullptr, &pump, nullptr, nullptr });
    EXPECT_EQ(run(), CalcOutcome::Stopped);
    EXPECT_TRUE(CPointCalc::IsNotComputed(field().m_thresholdIncrement));
    EXPECT_EQ(m_doc.m_rooms[0].m_resultsValid, 0);
    EXPECT_FALSE(logHas("line:O.K."));
}

} // namespace
} // namespace kzev::test
