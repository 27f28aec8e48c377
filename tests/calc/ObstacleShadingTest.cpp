#include "calc/DirectIlluminance.h"
#include "calc/ObstacleScene.h"
#include "calc/ObstacleShading.h"
#include "support/CalcTestSupport.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <random>

namespace kzev::test {
namespace {

// Unit square face in the plane z = 1.
const CVector kCorner { 0.0, 0.0, 1.0 };
const CVector kU { 1.0, 0.0, 0.0 };
const CVector kV { 0.0, 1.0, 0.0 };

TEST(IntersectSegmentFace, MarginDecidesForASegmentEndingOnTheFace)
{
    const CVector start { 0.5, 0.5, 2.0 };
    // σ = 0.99995: inside the segment, but within the margin of its end.
    const CVector almost { 0.0, 0.0, -1.0 / 0.99995 };
    EXPECT_EQ(IntersectSegmentFace(kCorner, kU, kV, start, almost, true), 0);
    EXPECT_EQ(IntersectSegmentFace(kCorner, kU, kV, start, almost, false), 2);
    // Ending exactly on the face: the line meets it at the end, not inside the segment.
    EXPECT_EQ(IntersectSegmentFace(kCorner, kU, kV, start, { 0.0, 0.0, -1.0 }, false), 1);
    EXPECT_EQ(IntersectSegmentFace(kCorner, kU, kV, start, { 0.0, 0.0, -3.0 }, true), 2);
    EXPECT_EQ(IntersectSegmentFace(kCorner, kU, kV, start, { 0.0, 0.0, -0.5 }, true), 1);
}

TEST(IntersectSegmentFace, ParallelOrOutsideSegmentsMiss)
{
    EXPECT_EQ(IntersectSegmentFace(kCorner, kU, kV, { 0.5, 0.5, 1.0 }, { 3.0, 0.0, 0.0 }, false), 0);
    EXPECT_EQ(IntersectSegmentFace(kCorner, kU, kV, { 1.5, 0.5, 2.0 }, { 0.0, 0.0, -3.0 }, false), 0);
    EXPECT_EQ(IntersectSegmentFace(kCorner, kU, kV, { 0.5, 0.5, 2.0 }, { 0.0, 0.0, -3.0 }, false), 2);
}

// A point source at (0, 0, 3) over the floor and a box x 0.5..1.5, y −1..1,
// z 1..1.5: the rays to floor points with 0.75 < x < 3 pass through it.
struct ShadowScene : CalcScene {
    explicit ShadowScene(const Distribution& table)
        : CalcScene(table)
    {
        addLuminaire({ 0.0, 0.0, 3.0 });
        addArea({ 0.0, 0.0, 0.0 }, { 0.25, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 17, 1);
    }
    void addShadowBox(double transmittance)
    {
        addBox({ 0.5, -1.0, 1.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 2.0, 0.0 }, { 0.0, 0.0, 0.5 }, transmittance);
    }
    double horizontal(std::size_t k) const { return room.m_workSystems[0].m_points[k].value(CPointCalc::kHorizontal); }
    void run()
    {
        std::int32_t step = 0;
        ASSERT_TRUE(calcPointIlluminance(room, room.m_workSystems[0], 0, step, catalogue));
    }
};

double freeHorizontal(double x)
{
    const double d2 = x * x + 9.0;
    return 1000.0 / d2 * 3.0 / std::sqrt(d2);
}

TEST(ObstacleShading, BoxCastsAGeometricShadow)
{
    FakeServices fakes;
    const Distribution table = isotropic(1000.0);
    ShadowScene scene(table);
    scene.addShadowBox(0.0);
    scene.run();
    for (std::size_t k = 0; k < 17; ++k) {
        const double x = 0.25 * static_cast<double>(k);
        if (x == 0.75 || x == 3.0)
            continue; // rays grazing an edge
        const bool shadow = x > 0.75 && x < 3.0;
        EXPECT_NEAR(scene.horizontal(k), shadow ? 0.0 : freeHorizontal(x), 1e-9) << x;
    }
}

TEST(ObstacleShading, TransmittanceWeakensAndSeveralSystemsMultiply)
{
    FakeServices fakes;
    const Distribution table = isotropic(1000.0);
    {
        ShadowScene scene(table);
        scene.addShadowBox(0.5);
        scene.run();
        EXPECT_NEAR(scene.horizontal(4), 0.5 * freeHorizontal(1.0), 1e-9);
    }
    {
        // A second system above the first, crossed by the ray to x = 1 at z 2..2.2.
        ShadowScene scene(table);
        scene.addBox({ 0.2, -1.0, 2.0 }, { 1.8, 0.0, 0.0 }, { 0.0, 2.0, 0.0 }, { 0.0, 0.0, 0.2 }, 0.4);
        scene.addShadowBox(0.5);
        scene.run();
        EXPECT_NEAR(scene.horizontal(4), 0.2 * freeHorizontal(1.0), 1e-9);
    }
    {
        // An opaque system first in the array blocks, whatever lies nearer the point.
        ShadowScene scene(table);
        scene.addBox({ 0.2, -1.0, 2.0 }, { 1.8, 0.0, 0.0 }, { 0.0, 2.0, 0.0 }, { 0.0, 0.0, 0.2 }, 0.0);
        scene.addShadowBox(1.0);
        scene.run();
        EXPECT_EQ(scene.horizontal(4), 0.0);
    }
}

TEST(ObstacleShading, RayTestReportsTheFirstCrossedSystem)
{
    const Distribution table = isotropic(1000.0);
    ShadowScene scene(table);
    scene.addBox({ 5.0, 5.0, 0.0 }, kU, kV, { 0.0, 0.0, 1.0 }, 0.0); // off the ray
    scene.addShadowBox(0.5);
    double t = -1.0;
    EXPECT_EQ(findObstacleOnRay({ 0.0, 0.0, 3.0 }, { 1.0, 0.0, 0.0 }, scene.room, t, true), 2);
    EXPECT_EQ(t, 0.5);
    EXPECT_EQ(findObstacleOnRay({ 0.0, 0.0, 3.0 }, { 0.25, 0.0, 0.0 }, scene.room, t, true), 0);
    // Skipping the system by 10 + its index.
    EXPECT_EQ(findObstacleOnRay({ 0.0, 0.0, 3.0 }, { 1.0, 0.0, 0.0 }, scene.room, t, true, 11), 0);
}

TEST(ObstacleShading, SceneOfAPassAnswersAsTheFullRayTest)
{
    CalcScene scene(isotropic(1000.0));
    scene.room.m_minimumSurfaceSize = 0.1;
    // Tilted shelves in an array of 3 × 2, half transparent.
    CXSystem& shelves = scene.addBox({ 1.0, 1.0, 0.5 }, { 1.2, 0.3, 0.0 }, { -0.1, 0.4, 0.05 },
        { 0.0, 0.05, 1.5 }, 0.5);
    shelves.m_count1 = 3;
    shelves.m_count2 = 2;
    shelves.m_spacing1 = { 0.0, 1.5, 0.0 };
    shelves.m_spacing2 = { 2.5, 0.0, 0.2 };
    scene.addBox({ 4.0, 4.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, { 0.0, 0.0, 2.0 }, 0.0);
    // A pole thinner than the minimum size: its end faces count for nothing.
    scene.addBox({ 6.0, 1.0, 0.0 }, { 0.05, 0.0, 0.0 }, { 0.0, 0.05, 0.0 }, { 0.0, 0.0, 3.0 }, 0.25);
    scene.addBox({ 2.0, 5.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, { 0.0, 0.0, 1.0 }, 0.0).m_noRay = 1;
    const ObstacleScene obstacles(scene.room);

    std::mt19937 random(26);
    std::uniform_real_distribution<double> inRoom(-0.5, 7.5);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    // Ends inside the room, and ends on the boxes' faces, where the margin decides.
    const auto end = [&](int kind) {
        if (kind == 0)
            return CVector { inRoom(random), inRoom(random), 0.5 * inRoom(random) };
        const CXSystem& xs = scene.room.m_obstacleSystems[static_cast<std::size_t>(kind - 1)];
        const CVector corner = xs.ObstacleCorner(0, 0);
        return corner + unit(random) * xs.m_edgeA + unit(random) * xs.m_edgeB;
    };
    int crossings = 0;
    for (int k = 0; k < 4000; ++k) {
        const CVector q = end(k % 5 == 0 ? 1 + k / 5 % 3 : 0);
        const CVector p = end(k % 7 == 0 ? 1 + k / 7 % 3 : 0);
        const bool margin = k % 2 == 0;
        const std::int32_t skipped = k % 3 == 0 ? 10 + k / 3 % 4 : kNoSkippedObstacle;
        double full = -1.0;
        double culled = -1.0;
        const std::int32_t expected = findObstacleOnRay(q, p, scene.room, full, margin, skipped);
        ASSERT_EQ(obstacles.crossing(q, p, culled, margin, skipped), expected) << "segment " << k;
        EXPECT_EQ(culled, full) << "segment " << k;
        crossings += expected != 0;
    }
    EXPECT_GT(crossings, 400) << "the segments cross the boxes often enough to tell";
}

TEST(ObstacleShading, FlagsAndSmallFacesLeaveSystemsOutOfTheRayTest)
{
    const Distribution table = isotropic(1000.0);
    struct Case {
        const char* name;
        std::int32_t off;
        std::int32_t noRay;
        std::int32_t shading;
        double minDim;
        bool blocks;
    };
    for (const Case& c : { Case { "plain", 0, 0, 1, 0.05, true }, Case { "off", 1, 0, 1, 0.05, false },
             Case { "no ray", 0, 1, 1, 0.05, false }, Case { "no shading", 0, 0, 0, 0.05, false },
             Case { "faces below the minimum size", 0, 0, 1, 3.0, false } }) {
        ShadowScene scene(table);
        scene.addShadowBox(0.0);
        CXSystem& box = scene.room.m_obstacleSystems[0];
        box.m_off = c.off;
        box.m_noRay = c.noRay;
        box.m_shadingFlag = c.shading;
        scene.room.m_minimumSurfaceSize = c.minDim;
        double t = 1.0;
        EXPECT_EQ(findObstacleOnRay({ 0.0, 0.0, 3.0 }, { 1.0, 0.0, 0.0 }, scene.room, t, true) != 0, c.blocks)
            << c.name;
    }
}

TEST(ObstacleShading, MarkingSwitchesOffPointsInsideBoxesAndOnOutsideThem)
{
    const Distribution table = isotropic(1000.0);
    CalcScene scene(table);
    // Points at x = 0.25 .. 2.25 on the line y = 0, z = 1.2 (inside the box's height).
    CWorkSystem& area = scene.addArea({ 0.25, 0.0, 1.2 }, { 0.5, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 5, 1);
    for (CPointCalc& point : area.m_points)
        point.m_off = 1;
    scene.addBox({ 0.5, -1.0, 1.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 2.0, 0.0 }, { 0.0, 0.0, 0.5 }, 0.0);
    // Rays and surfaces ignore it, yet the points inside are still switched off.
    scene.room.m_obstacleSystems[0].m_noRay = 1;
    scene.room.m_minimumSurfaceSize = 10.0;
    markObstructedPoints(scene.room);
    const std::int32_t expected[] = { 0, 1, 1, 0, 0 };
    for (std::size_t k = 0; k < 5; ++k)
        EXPECT_EQ(scene.room.m_workSystems[0].m_points[k].m_off, expected[k]) << k;
}

TEST(ObstacleShading, MarkingSkipsExcludedAreas)
{
    const Distribution table = isotropic(1000.0);
    CalcScene scene(table);
    scene.addArea({ 1.0, 0.0, 1.2 }, { 0.5, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 1, 1).m_markingExcluded = 1;
    scene.addArea({ 1.0, 0.0, 1.2 }, { 0.5, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 1, 1).m_excluded = 1;
    scene.addBox({ 0.5, -1.0, 1.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 2.0, 0.0 }, { 0.0, 0.0, 0.5 }, 0.0);
    markObstructedPoints(scene.room);
    EXPECT_EQ(scene.room.m_workSystems[0].m_points[0].m_off, 0);
    EXPECT_EQ(scene.room.m_workSystems[1].m_points[0].m_off, 0);
}

TEST(ObstacleShading, PointLevelWithABoxOutsideItIsNotInside)
{
    const Distribution table = isotropic(1000.0);
    CalcScene scene(table);
    scene.addBox({ 0.5, -1.0, 1.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 2.0, 0.0 }, { 0.0, 0.0, 0.5 }, 0.0);
    EXPECT_FALSE(isPointInObstacle(scene.room, { 0.0, 0.0, 1.2 }));
    EXPECT_FALSE(isPointInObstacle(scene.room, { 2.0, 0.0, 1.2 }));
    EXPECT_TRUE(isPointInObstacle(scene.room, { 1.0, 0.0, 1.2 }));
    // A system without boxes holds nothing.
    scene.room.m_obstacleSystems[0].m_count1 = 0;
    EXPECT_FALSE(isPointInObstacle(scene.room, { 1.0, 0.0, 1.2 }));
}

} // namespace
} // namespace kzev::test
