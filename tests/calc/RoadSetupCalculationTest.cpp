// A road laid out by the roadway set-up is calculated by the road passes.

#include "model/RoadSetup.h"
#include "support/RoadCalculation.h"

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
    const CRoom room = makeRoadRoom(design);
    ASSERT_EQ(room.m_lampSystems.front().m_luminaires.size(), 6u);
    CKzevDoc doc;
    ASSERT_EQ(calculateRoad(doc, fakes, room, kIntensity, kR, kMaintenance), CalcOutcome::Completed);

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
