#include "model/CRoom.h"
#include "view/ViewProjection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace kzev;

namespace {

// A 10 x 6 x 3 m scene on a plan of 1000 x 600 device units: 100 units per metre
// across every view but the vertical of the walls (600 / 3 = 200) and the
// horizontal of walls 2 and 4 (1000 / 6).
ViewProjection tenBySix(int viewCode)
{
    ViewProjection projection;
    projection.setViewCode(viewCode);
    projection.setSceneExtents({ 0.0, 0.0, 0.0 }, { 10.0, 6.0, 3.0 });
    projection.setPlanRect({ 20, 620, 1020, 20 });
    return projection;
}

struct ProjectionRow {
    const char* name;
    int viewCode;
    double x, y, z;
    int px, py;
};

// Expected device points worked out by hand from the view table; the vertical
// rounding adds 0.5 and cuts towards zero, so -99.5 becomes -99.
const ProjectionRow kRows[] = {
    { "floor_near", 112, 2.0, 1.0, 0.5, 220, 521 },
    { "floor_far", 112, 7.5, 4.0, 2.0, 770, 221 },
    { "ceiling_mirrors_y", 113, 2.0, 1.0, 0.5, 220, 121 },
    { "ceiling_far", 113, 7.5, 4.0, 2.0, 770, 421 },
    { "wall1_mirrors_x", 114, 2.0, 1.0, 0.5, 820, 521 },
    { "wall1_far", 114, 7.5, 4.0, 2.0, 270, 221 },
    { "wall2_mirrors_y", 115, 2.0, 1.0, 0.5, 853, 521 },
    { "wall2_far", 115, 7.5, 4.0, 2.0, 353, 221 },
    { "wall3_shows_x", 116, 2.0, 1.0, 0.5, 220, 521 },
    { "wall3_far", 116, 7.5, 4.0, 2.0, 770, 221 },
    { "wall4_shows_y", 117, 2.0, 1.0, 0.5, 187, 521 },
    { "wall4_far", 117, 7.5, 4.0, 2.0, 687, 221 },
};

class ProjectionTable : public testing::TestWithParam<ProjectionRow> { };

} // namespace

TEST_P(ProjectionTable, RoomPointToDeviceAndBack)
{
    const ProjectionRow& row = GetParam();
    const ViewProjection projection = tenBySix(row.viewCode);

    const DevicePoint p = projection.project(row.x, row.y, row.z);
    EXPECT_EQ(p.x, row.px);
    EXPECT_EQ(p.y, row.py);

    // Back from the device point, given the coordinate along the viewing direction:
    // exact to within one device unit (at most 1/100 m here).
    const double depth = row.viewCode <= 113 ? row.z : (row.viewCode == 114 || row.viewCode == 116 ? row.y : row.x);
    const auto back = projection.unproject(p.x, p.y, depth);
    EXPECT_NEAR(back[0], row.x, 0.0101);
    EXPECT_NEAR(back[1], row.y, 0.0101);
    EXPECT_NEAR(back[2], row.z, 0.0101);
}

INSTANTIATE_TEST_SUITE_P(SixViews, ProjectionTable, testing::ValuesIn(kRows),
    [](const testing::TestParamInfo<ProjectionRow>& info) { return std::string(info.param.name); });

namespace {

// The floor view of the 10 x 6 x 3 m scene laid out for a 1000 x 700 client
// with a text height of 14: k = min(960 / 10, 646 / 6) = 96, so the plan
// runs from (20, 680) to (980, 104) and the vanishing point sits at (500, 392).
ViewProjection laidOutFloor(bool depthEffect)
{
    ViewProjection projection;
    projection.setViewCode(112);
    projection.setDepthEffect(depthEffect);
    projection.setVanishingFractions(0.5, 0.5);
    projection.setSceneExtents({ 0.0, 0.0, 0.0 }, { 10.0, 6.0, 3.0 });
    LayoutInput in;
    in.right = 1000;
    in.bottom = 700;
    in.textHeight = 14;
    projection.computePlanLayout(in);
    return projection;
}

} // namespace

TEST(ViewProjection, ScreenLayoutFitsTheSmallerFactor)
{
    const ViewProjection projection = laidOutFloor(false);
    const PlanRect plan = projection.planRect();
    EXPECT_EQ(plan.left, 20);
    EXPECT_EQ(plan.right, 980);
    EXPECT_EQ(plan.bottom, 680);
    EXPECT_EQ(plan.top, 104);
    EXPECT_EQ(projection.vanishingPoint(), (DevicePoint { 500, 392 }));
}

TEST(ViewProjection, DepthEffectPullsDeepPointsTowardsTheVanishingPoint)
{
    const ViewProjection projection = laidOutFloor(true);

    // The top of the scene has depth 0 and stays where the parallel projection puts it.
    EXPECT_EQ(projection.project(2.0, 1.0, 3.0), (DevicePoint { 212, 585 }));
    EXPECT_EQ(laidOutFloor(false).project(2.0, 1.0, 0.0), (DevicePoint { 212, 585 }));

    // On the floor the depth is 3: q = (16 / 19)^2 and the point moves by 1 - q = 105 / 361
    // of its way to (500, 392): 288 * 0.29086 = 83.8 across, -193 * 0.29086 = -56.1 up.
    const DevicePoint floor = projection.project(2.0, 1.0, 0.0);
    EXPECT_EQ(floor, (DevicePoint { 296, 530 }));

    // Back within the two roundings, magnified by 1 / q: 2 units / (96 * 256 / 361) = 0.03 m.
    const auto back = projection.unproject(floor.x, floor.y, 0.0);
    EXPECT_NEAR(back[0], 2.0, 0.03);
    EXPECT_NEAR(back[1], 1.0, 0.03);
}

TEST(ViewProjection, OnScreenALongRoadStandsInTheMiddleOfTheView)
{
    ViewProjection projection;
    projection.setSceneExtents({ 0.0, 0.0, 0.0 }, { 96.0, 12.0, 10.0 });
    LayoutInput in;
    in.right = 1000;
    in.bottom = 700;
    in.textHeight = 14;
    in.centre = true;
    projection.computePlanLayout(in);
    // 960 px for 96 m: 10 px a metre, 120 px for the road's width; the 646 px of height less those 120
    // leave 526 px, 263 above the road and 263 below.
    const PlanRect plan = projection.planRect();
    EXPECT_EQ(plan.left, 20);
    EXPECT_EQ(plan.right, 980);
    EXPECT_EQ(plan.bottom, 680 - 263);
    EXPECT_EQ(plan.top, 680 - 263 - 120);
    // Zoomed past the view there is nothing to share: the plan starts where it always does.
    in.zoom = 8.0;
    projection.computePlanLayout(in);
    EXPECT_EQ(projection.planRect().left, 20);
    EXPECT_EQ(projection.planRect().bottom, 680);
}

TEST(ViewProjection, ZoomFactorDoublesThePlan)
{
    ViewProjection projection;
    projection.setSceneExtents({ 0.0, 0.0, 0.0 }, { 10.0, 6.0, 3.0 });
    LayoutInput in;
    in.right = 1000;
    in.bottom = 700;
    in.textHeight = 14;
    in.zoom = 2.0;
    projection.computePlanLayout(in);
    EXPECT_EQ(projection.planRect().right, 20 + 1920);
    EXPECT_EQ(projection.planRect().top, 680 - 1152);
}

TEST(ViewProjection, PrintAtAFixedScaleAndFittedToThePage)
{
    ViewProjection projection;
    projection.setSceneExtents({ 0.0, 0.0, 0.0 }, { 10.0, 6.0, 3.0 });
    LayoutInput in;
    in.print = true;
    in.right = 2100;
    in.bottom = 2970;
    in.topOffset = 200;
    in.gap = 30;
    in.marginLeft = 15;
    in.marginRight = 5;
    in.marginBottom = 5;

    // 1 : 100 in tenths of a millimetre: one metre is 100 units (10 mm).
    in.printScale = 100;
    projection.computePlanLayout(in);
    EXPECT_EQ(projection.planRect().left, 150);
    EXPECT_EQ(projection.planRect().right, 1150);
    EXPECT_EQ(projection.planRect().top, -200);
    EXPECT_EQ(projection.planRect().bottom, -800);

    // Fitted: kx = (2100 - 200) / 10 = 190 is below ky = (2970 - 50 - 200) / 6.
    in.printScale = 0;
    projection.computePlanLayout(in);
    EXPECT_EQ(projection.planRect().left, 150);
    EXPECT_EQ(projection.planRect().right, 2050);
    EXPECT_EQ(projection.planRect().top, -200);
    EXPECT_EQ(projection.planRect().bottom, -1340);
}

TEST(ViewProjection, ZeroExtentsKeepThePlanFinite)
{
    for (const auto& maximum : { std::array { 0.0, 0.0, 0.0 }, std::array { 10.0, 0.0, 3.0 } }) {
        for (int code = 112; code <= 117; ++code) {
            ViewProjection projection;
            projection.setViewCode(code);
            projection.setDepthEffect(true);
            projection.setSceneExtents({ 0.0, 0.0, 0.0 }, maximum);
            LayoutInput in;
            in.right = 800;
            in.bottom = 600;
            projection.computePlanLayout(in);
            const PlanRect plan = projection.planRect();
            EXPECT_GE(plan.right, plan.left);
            EXPECT_LE(plan.top, plan.bottom);
            const DevicePoint p = projection.project(1.0, 1.0, 1.0);
            EXPECT_GE(p.x, plan.left - 1000);
            EXPECT_LE(p.x, plan.right + 1000);
            const auto back = projection.unproject(p.x, p.y, 0.0);
            EXPECT_TRUE(std::isfinite(back[0]) && std::isfinite(back[1]) && std::isfinite(back[2]));
        }
    }
}

TEST(ViewProjection, SceneExtentsTakeObstaclesAndLuminairesButNotAreas)
{
    CRoom room;
    room.m_lampSystems.clear();
    room.m_workSystems.front().m_origin = CVector { 50.0, 50.0, 50.0 };
    ViewProjection projection;
    projection.computeSceneExtents(&room);
    EXPECT_EQ(projection.sceneMaximum(), (std::array { 10.0, 6.0, 3.0 }));

    // A luminaire 1 m outside the room widens the box to 0.5 m beyond it.
    CLampSystem system;
    COneLampSystem luminaire;
    luminaire.m_position = CVector { 11.0, 3.0, 2.5 };
    system.m_luminaires = { luminaire };
    room.m_lampSystems.push_back(system);
    CXSystem obstacles;
    obstacles.m_origin = CVector { -1.0, 1.0, 0.0 };
    obstacles.m_edgeA = CVector { 0.5, 0.0, 0.0 };
    obstacles.m_edgeC = CVector { 0.0, 0.0, 4.0 };
    room.m_obstacleSystems.push_back(obstacles);
    projection.computeSceneExtents(&room);
    EXPECT_EQ(projection.sceneMinimum(), (std::array { -1.0, 0.0, 0.0 }));
    EXPECT_EQ(projection.sceneMaximum(), (std::array { 11.5, 6.0, 4.0 }));

    // A switched-off obstacle system does not count; no room gives an empty box.
    room.m_obstacleSystems.front().m_off = 1;
    projection.computeSceneExtents(&room);
    EXPECT_EQ(projection.sceneMinimum(), (std::array { 0.0, 0.0, 0.0 }));
    projection.computeSceneExtents(nullptr);
    EXPECT_EQ(projection.sceneMaximum(), (std::array { 0.0, 0.0, 0.0 }));
}

TEST(ViewProjection, ViewPlaneDistanceAndRangeUseTheShownAxes)
{
    const ViewProjection floor = tenBySix(112);
    EXPECT_DOUBLE_EQ(floor.distanceInViewPlane(0.0, 3.0, 0.0, 4.0, 0.0, 100.0), 5.0);
    EXPECT_EQ(floor.testInViewPlaneRange(1.0, 2.0, 0.0, 1.0, 0.0, 2.0, 99.0, 0.0, 1.0), 1);
    const ViewProjection wall2 = tenBySix(115);
    EXPECT_DOUBLE_EQ(wall2.distanceInViewPlane(100.0, 0.0, 0.0, 3.0, 0.0, 4.0), 5.0);
    EXPECT_EQ(wall2.testInViewPlaneRange(99.0, 0.0, 1.0, 1.0, 0.0, 2.0, 3.0, 0.0, 2.0), 0);
    const ViewProjection other = tenBySix(150);
    EXPECT_EQ(other.testInViewPlaneRange(99.0, 0.0, 1.0, 99.0, 0.0, 1.0, 99.0, 0.0, 1.0), 1);
    EXPECT_EQ(scaleSize(40, 1.0), 40);
    EXPECT_EQ(scaleSize(3, 2.7), 6);
}

TEST(ViewProjection, SceneExtentsOfAnObstacleArrayAreThoseOfItsCornerObstacles)
{
    CRoom room;
    room.m_lampSystems.clear();
    CXSystem obstacles;
    obstacles.m_origin = CVector { 1.0, 1.0, 0.0 };
    obstacles.m_edgeA = CVector { 0.5, 0.0, 0.0 };
    obstacles.m_edgeB = CVector { 0.0, 0.5, 0.0 };
    obstacles.m_edgeC = CVector { 0.0, 0.0, 1.0 };
    // Rows run to -x and rise; columns run to +y.
    obstacles.m_spacing1 = CVector { -2.0, 0.0, 0.5 };
    obstacles.m_spacing2 = CVector { 0.0, 3.0, 0.0 };
    obstacles.m_count1 = 4;
    obstacles.m_count2 = 3;
    room.m_obstacleSystems = { obstacles };
    ViewProjection projection;
    projection.computeSceneExtents(&room);
    EXPECT_EQ(projection.sceneMinimum(), (std::array { -5.0, 0.0, 0.0 }));
    EXPECT_EQ(projection.sceneMaximum(), (std::array { 10.0, 7.5, 3.0 }));

    // 30,000 x 30,000 obstacles are measured at once, by the same four corners.
    room.m_obstacleSystems.front().m_count1 = 30000;
    room.m_obstacleSystems.front().m_count2 = 30000;
    projection.computeSceneExtents(&room);
    EXPECT_EQ(projection.sceneMinimum(), (std::array { 1.0 - 2.0 * 29999, 0.0, 0.0 }));
    EXPECT_EQ(projection.sceneMaximum(), (std::array { 10.0, 1.0 + 3.0 * 29999 + 0.5, 1.0 + 0.5 * 29999 }));
}
