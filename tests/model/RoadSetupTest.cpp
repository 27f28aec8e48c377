// The road room: its size, markings, calculation fields and row of luminaires
// as the design gives them, checked against figures worked by hand.

#include "model/RoadSetup.h"
#include "support/VectorExpect.h"

#include <gtest/gtest.h>

#include <limits>

using namespace kzev;
using kzev::test::expectVectorNear;

namespace {

// One lane each way (3.5 m), no dividing strip, 3 m of surroundings, 30 m spacing, luminance.
RoadDesign twoLanes()
{
    RoadDesign d;
    d.lanesLeftToRight = 1;
    d.lanesRightToLeft = 1;
    d.laneWidth = 3.5;
    d.luminaireHeight = 10.0;
    d.luminaireSpacing = 30.0;
    d.dividingStrip = 0.0;
    d.surroundingsStrip = 3.0;
    d.staggered = 0;
    d.luminance = 1;
    d.surfaceTable = 3;
    return d;
}

struct FieldFigures {
    const char* name;
    double originY;
    double acrossStep;
    int acrossCount;
    std::int32_t quantity;
    CVector observer;
};

void expectFields(const std::vector<CWorkSystem>& fields, const std::vector<FieldFigures>& expected, double x0,
    double step, int along)
{
    ASSERT_EQ(fields.size(), expected.size());
    for (std::size_t k = 0; k < fields.size(); ++k) {
        const CWorkSystem& f = fields[k];
        const FieldFigures& e = expected[k];
        EXPECT_EQ(f.m_name, e.name) << k;
        expectVectorNear(f.m_origin, { x0, e.originY, 0.0 }, 1e-9, e.name);
        expectVectorNear(f.m_step1, { step, 0.0, 0.0 }, 1e-9, e.name);
        expectVectorNear(f.m_step2, { 0.0, e.acrossStep, 0.0 }, 1e-9, e.name);
        EXPECT_EQ(f.m_count1, along) << e.name;
        EXPECT_EQ(f.m_count2, e.acrossCount) << e.name;
        EXPECT_EQ(f.m_points.size(), static_cast<std::size_t>(along * e.acrossCount)) << e.name;
        EXPECT_EQ(f.m_quantityCode, e.quantity) << e.name;
        if (e.quantity == 141)
            expectVectorNear(f.m_cameraPosition, e.observer, 1e-9, e.name);
    }
}

TEST(RoadSetupTest, TwoLaneRoadWithItsGuideLinesDashesAndLuminaires)
{
    const CRoom room = makeRoadRoom(twoLanes());
    EXPECT_EQ(room.m_name, "Vozovka");
    // L = 5 × 30 + 2, W = 2 × 3 + 2 × 3.5.
    EXPECT_DOUBLE_EQ(room.m_length, 152.0);
    EXPECT_DOUBLE_EQ(room.m_width, 13.0);
    EXPECT_DOUBLE_EQ(room.m_height, 10.0);
    EXPECT_DOUBLE_EQ(room.m_ceilingReflectance, 0.01);
    EXPECT_EQ(room.m_computeRoadLuminance, 1);
    EXPECT_EQ(room.m_roadSurfaceClass, 3);

    // Guide lines on the outer edges (y = 3 and y = 10), one dashed line between the lanes.
    const std::vector<CXSystem>& m = room.m_obstacleSystems;
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0].m_name, "Vodící čáry");
    expectVectorNear(m[0].m_origin, { 0.0, 3.0, 0.01 });
    expectVectorNear(m[0].m_edgeA, { 152.0, 0.0, 0.0 });
    expectVectorNear(m[0].m_edgeB, { 0.0, 0.15, 0.0 });
    EXPECT_EQ(m[0].ObstacleCount(), 1);
    expectVectorNear(m[1].m_origin, { 0.0, 10.0, 0.01 });
    EXPECT_EQ(m[1].ObstacleCount(), 1);
    // 30 dashes of 3 m at 152 / 30 = 5.0667 m.
    EXPECT_EQ(m[2].m_name, "Dělící čáry");
    expectVectorNear(m[2].m_origin, { 0.0, 6.5, 0.01 });
    expectVectorNear(m[2].m_edgeA, { 3.0, 0.0, 0.0 });
    EXPECT_EQ(m[2].m_count1, 30);
    EXPECT_EQ(m[2].m_count2, 1);
    EXPECT_NEAR(m[2].m_spacing1.x, 5.0667, 1e-4);

    // Six luminaires from x = 1 every 30 m, at the luminaires' height.
    const CLampSystem& row = room.m_lampSystems.front();
    ASSERT_EQ(row.m_luminaires.size(), 6u);
    expectVectorNear(row.m_luminaires.front().m_position, { 1.0, 0.0, 10.0 });
    expectVectorNear(row.m_luminaires.back().m_position, { 151.0, 0.0, 10.0 });

    // Ten points per spacing (s = 3) from x0 = 1 + 2 × 30 + 1.5 = 62.5.
    expectFields(room.m_workSystems,
        {
            { "Jízdní pás doprava (dolní)", 3.0 + 3.5 / 6.0, 3.5 / 3.0, 3, 141, { 1.0, 4.75, 1.5 } },
            { "Jízdní pás doleva (horní)", 3.0 + 3.5 * 7.0 / 6.0, 3.5 / 3.0, 3, 141, { 151.0, 8.25, 1.5 } },
            { "Jízdní pruh doprava 1", 3.0 + 3.5 / 6.0, 3.5 / 3.0, 3, 141, { 1.0, 4.75, 1.5 } },
            { "Jízdní pruh doleva 1", 3.0 + 3.5 * 7.0 / 6.0, 3.5 / 3.0, 3, 141, { 151.0, 8.25, 1.5 } },
            { "Okolí vozovky", 0.5, 1.0, 3, 94, {} },
            { "Okolí vozovky", 7.0 + 3.5, 1.0, 3, 94, {} },
        },
        62.5, 3.0, 10);
    // The drivers look towards their fields and ask for the threshold increment.
    EXPECT_EQ(room.m_workSystems[0].m_drivingDirection, 1);
    EXPECT_EQ(room.m_workSystems[1].m_drivingDirection, 0);
    EXPECT_EQ(room.m_workSystems[0].m_tiFlag, 1);
    EXPECT_EQ(room.m_workSystems[0].m_viewSettings.m_showRoadLuminance, 1);
    EXPECT_EQ(room.m_workSystems[4].m_viewSettings.m_showIlluminance, 1);
}

TEST(RoadSetupTest, StaggeredDualCarriagewayRoad)
{
    RoadDesign d = twoLanes();
    d.lanesLeftToRight = 2;
    d.lanesRightToLeft = 2;
    d.dividingStrip = 3.0;
    d.luminaireSpacing = 36.0;
    d.staggered = 1;
    const CRoom room = makeRoadRoom(d);
    // L = 3 × 36 + 2, W = 6 + 4 × 3.5 + 3.
    EXPECT_DOUBLE_EQ(room.m_length, 110.0);
    EXPECT_DOUBLE_EQ(room.m_width, 23.0);

    // Guide lines on all four carriageway edges: 3 and 10, 13 and 20.
    const std::vector<CXSystem>& m = room.m_obstacleSystems;
    ASSERT_EQ(m.size(), 4u);
    expectVectorNear(m[0].m_origin, { 0.0, 3.0, 0.01 });
    EXPECT_EQ(m[0].m_count2, 2);
    expectVectorNear(m[0].m_spacing2, { 0.0, 7.0, 0.0 });
    expectVectorNear(m[1].m_origin, { 0.0, 13.0, 0.01 });
    EXPECT_EQ(m[1].m_count2, 2);
    expectVectorNear(m[1].m_spacing2, { 0.0, 7.0, 0.0 });
    // Dashes between the lanes of each direction: y = e + w and 3w + e + m; 22 dashes 5 m apart.
    expectVectorNear(m[2].m_origin, { 0.0, 6.5, 0.01 });
    expectVectorNear(m[3].m_origin, { 0.0, 16.5, 0.01 });
    for (const std::size_t k : { 2u, 3u }) {
        EXPECT_EQ(m[k].m_count1, 22);
        EXPECT_EQ(m[k].m_count2, 1);
        EXPECT_NEAR(m[k].m_spacing1.x, 5.0, 1e-12);
    }

    // Twelve points per spacing (s = 3) from x0 = 1 + 36 + 1.5; the far driver at 2 × 36 + 61.
    const double laneY = 3.0 + 3.5 / 6.0;
    const double backY = 3.0 + 3.0 + 3.5 * 13.0 / 6.0;
    expectFields(room.m_workSystems,
        {
            { "Jízdní pás doprava (dolní)", laneY, 3.5 / 3.0, 6, 141, { -23.0, 4.75, 1.5 } },
            { "Jízdní pás doleva (horní)", backY, 3.5 / 3.0, 6, 141, { 133.0, 14.75, 1.5 } },
            { "Jízdní pruh doprava 1", laneY, 3.5 / 3.0, 6, 141, { -23.0, 4.75, 1.5 } },
            { "Jízdní pruh doprava 2", laneY, 3.5 / 3.0, 6, 141, { -23.0, 8.25, 1.5 } },
            { "Jízdní pruh doleva 1", backY, 3.5 / 3.0, 6, 141, { 133.0, 14.75, 1.5 } },
            { "Jízdní pruh doleva 2", backY, 3.5 / 3.0, 6, 141, { 133.0, 18.25, 1.5 } },
            { "Okolí vozovky", 0.5, 1.0, 3, 94, {} },
            { "Okolí vozovky", 14.0 + 3.0 + 3.5, 1.0, 3, 94, {} },
        },
        38.5, 3.0, 12);
    // int(110 / 36 + 1.001) = 4 luminaires.
    EXPECT_EQ(room.m_lampSystems.front().m_luminaires.size(), 4u);
}

TEST(RoadSetupTest, OneWayRoadAndIlluminanceFields)
{
    RoadDesign oneWay = twoLanes();
    oneWay.lanesRightToLeft = 0;
    oneWay.lanesLeftToRight = 2;
    const std::vector<CWorkSystem> fields = roadFields(oneWay);
    ASSERT_EQ(fields.size(), 5u);
    EXPECT_EQ(fields[1].m_name, "Jízdní pruh doprava 1");
    EXPECT_EQ(fields[2].m_name, "Jízdní pruh doprava 2");
    EXPECT_EQ(fields[3].m_name, "Okolí vozovky");
    EXPECT_EQ(roadMarkings(oneWay, roadLength(oneWay)).size(), 3u);

    RoadDesign lit = twoLanes();
    lit.luminance = 0;
    const CRoom room = makeRoadRoom(lit);
    ASSERT_EQ(room.m_workSystems.size(), 4u);
    for (const CWorkSystem& f : room.m_workSystems)
        EXPECT_EQ(f.m_quantityCode, 94) << f.m_name;
    EXPECT_EQ(room.m_computeRoadLuminance, 0);
}

TEST(RoadSetupTest, PointsPerSpacing)
{
    for (const auto& [spacing, points] : { std::pair { 30.0, 10 }, { 30.00005, 10 }, { 36.0, 12 }, { 45.0, 15 },
             { 5.0, 10 } })
        EXPECT_EQ(roadPointsPerSpacing(spacing), points) << spacing;
}

TEST(RoadSetupTest, DegenerateDesignsAreRefusedWithTheirMessages)
{
    EXPECT_TRUE(roadDesignRefusal(twoLanes()).empty());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* what;
        void (*change)(RoadDesign&, double);
        double value;
        const char* message;
    } cases[] = {
        { "spacing 0", [](RoadDesign& d, double v) { d.luminaireSpacing = v; }, 0.0,
            "Rozteč svítidel musí být větší než 0 !" },
        { "negative spacing", [](RoadDesign& d, double v) { d.luminaireSpacing = v; }, -5.0,
            "Rozteč svítidel musí být větší než 0 !" },
        { "spacing not a number", [](RoadDesign& d, double v) { d.luminaireSpacing = v; }, nan,
            "Rozteč svítidel musí být větší než 0 !" },
        { "road of 2.25 m", [](RoadDesign& d, double v) { d.luminaireSpacing = v; }, 0.05,
            "Vozovka by byla kratší než 2.5 m !\nZvětšete rozteč svítidel." },
        { "spacing of 4 km", [](RoadDesign& d, double v) { d.luminaireSpacing = v; }, 4000.0,
            "Rozteč svítidel smí být nejvýše 3000 m !" },
        { "lane width 0", [](RoadDesign& d, double v) { d.laneWidth = v; }, 0.0,
            "Šířka pruhu a výška svítidel musí být větší než 0 !" },
        { "height 0", [](RoadDesign& d, double v) { d.luminaireHeight = v; }, 0.0,
            "Šířka pruhu a výška svítidel musí být větší než 0 !" },
        { "no surroundings", [](RoadDesign& d, double v) { d.surroundingsStrip = v; }, 0.0,
            "Šířka dělícího pásu nesmí být záporná a šířka pásu okolí musí být větší než 0 !" },
        { "negative strip", [](RoadDesign& d, double v) { d.dividingStrip = v; }, -1.0,
            "Šířka dělícího pásu nesmí být záporná a šířka pásu okolí musí být větší než 0 !" },
        { "no lane left to right", [](RoadDesign& d, double v) { d.lanesLeftToRight = static_cast<int>(v); }, 0.0,
            "Počet pruhů zleva doprava musí být 1 až 20 a zprava doleva 0 až 20 !" },
        { "negative lanes", [](RoadDesign& d, double v) { d.lanesRightToLeft = static_cast<int>(v); }, -1.0,
            "Počet pruhů zleva doprava musí být 1 až 20 a zprava doleva 0 až 20 !" },
        { "too many lanes", [](RoadDesign& d, double v) { d.lanesRightToLeft = static_cast<int>(v); }, 21.0,
            "Počet pruhů zleva doprava musí být 1 až 20 a zprava doleva 0 až 20 !" },
    };
    for (const auto& c : cases) {
        RoadDesign d = twoLanes();
        c.change(d, c.value);
        EXPECT_EQ(roadDesignRefusal(d), c.message) << c.what;
    }
}

TEST(RoadSetupTest, ChangedDesignRebuildsTheRoadAroundItsFirstLampSystem)
{
    // A road of 1 + 1 lanes, 2 m of surroundings, spacing 30: 152 × 11 m, six luminaires from x = 1.
    CRoom room = makeRoadRoom(twoLanes());
    room.m_lampSystems.push_back(room.m_lampSystems.front());
    room.m_lampSystems[0].m_name = "Výložníky";
    room.m_lampSystems[0].m_sourceSystem = 1;
    room.m_lampSystems[0].m_bindingType = 3;
    room.m_resultsValid = 1;
    RoadDesign d = twoLanes();
    d.surroundingsStrip = 2.0;
    applyRoadDesign(room, d);
    EXPECT_DOUBLE_EQ(room.m_length, 152.0);
    EXPECT_DOUBLE_EQ(room.m_width, 11.0);
    ASSERT_EQ(room.m_lampSystems.size(), 1u);
    const CLampSystem& row = room.m_lampSystems[0];
    EXPECT_EQ(row.m_name, "Výložníky");
    EXPECT_EQ(row.m_sourceSystem, -1);
    EXPECT_EQ(row.m_luminaires.size(), 6u);
    EXPECT_DOUBLE_EQ(row.m_pitch1.x, 30.0);
    EXPECT_EQ(room.m_resultsValid, 0);

    // Staggered: 3 × 30 + 2 = 92 m and int(92 / 30 + 1.001) = 4 luminaires.
    d.staggered = 1;
    applyRoadDesign(room, d);
    EXPECT_DOUBLE_EQ(room.m_length, 92.0);
    EXPECT_EQ(room.m_lampSystems[0].m_luminaires.size(), 4u);
}

TEST(RoadSetupTest, DesignTravelsWithTheRoom)
{
    RoadDesign d = twoLanes();
    d.staggered = 1;
    d.dividingStrip = 2.0;
    const CRoom room = makeRoadRoom(d);
    const RoadDesign kept = roadDesignOf(room);
    EXPECT_EQ(kept.lanesLeftToRight, 1);
    EXPECT_EQ(kept.staggered, 1);
    EXPECT_EQ(kept.luminance, 1);
    EXPECT_EQ(kept.surfaceTable, 3);
    EXPECT_DOUBLE_EQ(kept.dividingStrip, 2.0);
    EXPECT_DOUBLE_EQ(kept.luminaireSpacing, 30.0);
}

} // namespace
