// A road laid out by the roadway set-up is calculated by the road passes.

#include "calc/RoadPasses.h"
#include "model/CKzevDoc.h"
#include "model/RoadSetup.h"
#include "support/CalcTestSupport.h"
#include "support/FakeServices.h"
#include "support/RoadTableFiles.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kzev::test {
namespace {

constexpr double kIntensity = 100.0; // cd, isotropic
constexpr double kR = 0.01;          // constant r of the road surface
constexpr double kMaintenance = 0.8;

TEST(RoadSetupCalculationTest, GeneratedRoadGetsLuminanceAndThresholdIncrement)
{
    FakeServices fakes;
    TempFolder folder;
    folder.write("ZEV_JV1.dat", roadTableText([](double, double) { return kR; }));
    std::vector<CLuminaire> luminaires { tabulatedLuminaire(isotropic(kIntensity), 0.0, 0.0) };
    luminaires[0].m_databaseNumber = 1;
    luminaires[0].m_recordNumber = 7;
    std::vector<CLamp> lamps { makeLamp(1.0, 10000, 0.8, 5000.0) };
    lamps[0].m_databaseNumber = 1;
    lamps[0].m_recordNumber = 3;

    // Two lanes, luminaires 10 m high every 30 m: a road of 152 m with six luminaires.
    RoadDesign design;
    design.lanesLeftToRight = 1;
    design.lanesRightToLeft = 1;
    design.laneWidth = 3.5;
    design.luminaireHeight = 10.0;
    design.luminaireSpacing = 30.0;
    design.dividingStrip = 0.0;
    design.surroundingsStrip = 3.0;
    design.luminance = 1;
    design.surfaceTable = 1;
    CRoom room = makeRoadRoom(design);
    room.m_maintenanceFactorMode = 2; // entered: no table file needed
    room.m_enteredMaintenanceFactor = kMaintenance;
    CLampSystem& row = room.m_lampSystems.front();
    row.m_luminaireDatabase = 1;
    row.m_luminaireRecord = 7;
    row.m_lampDatabase = 1;
    row.m_lampRecord = 3;
    ASSERT_EQ(row.m_luminaires.size(), 6u);

    CKzevDoc doc;
    doc.m_rooms = { room };
    doc.m_projectType = 2;
    doc.m_saveBeforeCalc = 0;
    fakes.view.selected = 0;
    CalcRunHooks hooks;
    addRoadPasses(hooks, luminaires, lamps, folder.path());
    std::string prefix;
    std::vector<std::string> none;
    LuminaireLists lists { luminaires, lamps, prefix, none, none, none, none };
    CalculationRun calculation(doc, lists, hooks);
    calculation.m_dataFolder = folder.path();
    ASSERT_EQ(calculation.run(), CalcOutcome::Completed);

    // Isotropic luminaires on a surface of constant r: every point gets Σ I·r·MF / h² over the six.
    const double expected = 6.0 * kIntensity * kR * kMaintenance / (10.0 * 10.0);
    const CRoom& done = doc.m_rooms[0];
    for (std::size_t k = 0; k < 4; ++k) {
        const CWorkSystem& field = done.m_workSystems[k];
        ASSERT_EQ(field.m_quantityCode, 141) << field.m_name;
        for (const CPointCalc& point : field.m_points)
            EXPECT_NEAR(point.value(CPointCalc::kRoadLuminance), expected, expected * 1e-9) << field.m_name;
    }
    for (const std::size_t k : { 0u, 1u }) {
        const double ti = done.m_workSystems[k].m_thresholdIncrement;
        EXPECT_GT(ti, 0.0) << k;
        EXPECT_TRUE(std::isfinite(ti)) << k;
    }
    // The surroundings are lit.
    EXPECT_GT(done.m_workSystems[4].m_avg[CWorkSystem::kSlotHorizontal], 0.0);
    EXPECT_EQ(done.m_resultsValid, 1);
}

} // namespace
} // namespace kzev::test
