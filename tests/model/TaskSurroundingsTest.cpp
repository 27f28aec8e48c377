// The band of calculation points around a visual-task area.

#include "model/CWorkSystem.h"
#include "model/TaskSurroundings.h"
#include "support/VectorExpect.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kzev;
using kzev::test::expectVectorNear;

namespace {

CWorkSystem task(CVector origin, CVector step1, int count1, CVector step2, int count2)
{
    CWorkSystem area;
    area.m_name = "Stůl";
    area.m_origin = origin;
    area.m_step1 = step1;
    area.m_step2 = step2;
    area.m_count1 = count1;
    area.m_count2 = count2;
    area.m_points.resize(static_cast<std::size_t>(count1 * count2));
    area.m_modeIndex = 1;
    return area;
}

TEST(TaskSurroundingsTest, BandOfHalfAMetreFramesTheGridWithOneIntervalMore)
{
    const CWorkSystem t = task({ 1.0, 1.0, 0.75 }, { 0.5, 0.0, 0.0 }, 5, { 0.0, 0.5, 0.0 }, 3);
    ASSERT_TRUE(taskSurroundingsRefusal(t, 0.5).empty());
    const CWorkSystem s = taskSurroundings(t, 2, 0.5);
    EXPECT_EQ(s.m_name, "Stůl - okolí");
    expectVectorNear(s.m_origin, { 0.75, 0.75, 0.75 });
    EXPECT_EQ(s.m_count1, 6);
    EXPECT_EQ(s.m_count2, 4);
    expectVectorNear(s.m_step1, { 0.5, 0.0, 0.0 });
    expectVectorNear(s.m_step2, { 0.0, 0.5, 0.0 });
    ASSERT_EQ(s.m_points.size(), 24u);
    EXPECT_EQ(std::ranges::count_if(s.m_points, [](const CPointCalc& p) { return p.m_off == 0; }), 16);
    // Point (2, 1) lies inside, point (5, 2) on the border.
    EXPECT_EQ(s.m_points[2 * 4 + 1].m_off, 1);
    EXPECT_EQ(s.m_points[5 * 4 + 2].m_off, 0);
    EXPECT_EQ(s.m_bindingKind, kSurroundingsKind);
    EXPECT_EQ(s.m_boundArea, 2);
    EXPECT_EQ(s.m_modeIndex, 1);
    // The obstacle test must not switch the inner points on again.
    EXPECT_EQ(s.m_markingExcluded, 1);
}

TEST(TaskSurroundingsTest, BandRunsFromHalfTheWidthBeforeToHalfBeyondTheArea)
{
    // Unequal steps: 4 points 1 m apart along x, 2 points 3 m apart along y; a band of 1 m.
    const CWorkSystem t = task({ 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, 4, { 0.0, 3.0, 0.0 }, 2);
    const CWorkSystem s = taskSurroundings(t, 0, 1.0);
    expectVectorNear(s.m_origin, { -0.5, -0.5, 0.0 });
    // (3 × 1 + 1) / 4 and (1 × 3 + 1) / 2: the last points lie at x = 3.5 and y = 3.5.
    expectVectorNear(s.m_step1, { 1.0, 0.0, 0.0 });
    expectVectorNear(s.m_step2, { 0.0, 2.0, 0.0 });
    expectVectorNear(s.PointPosition(4, 2), { 3.5, 3.5, 0.0 });
}

TEST(TaskSurroundingsTest, SurroundingsMoveWithTheirTaskArea)
{
    std::vector<CWorkSystem> areas { task({ 1.0, 1.0, 0.75 }, { 0.5, 0.0, 0.0 }, 5, { 0.0, 0.5, 0.0 }, 3) };
    areas.push_back(taskSurroundings(areas[0], 0, 0.5));
    areas[0].m_origin = { 3.0, 2.0, 0.75 };
    moveBoundAreas(areas, 0, areas[0].m_origin);
    expectVectorNear(areas[1].m_origin, { 2.75, 1.75, 0.75 });
}

TEST(TaskSurroundingsTest, AreaWithoutPointsOrANegativeBandIsRefused)
{
    const CWorkSystem good = task({ 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, 2, { 0.0, 1.0, 0.0 }, 2);
    EXPECT_TRUE(taskSurroundingsRefusal(good, 0.0).empty());
    const std::string noPoints = "Místo zrakového úkolu nemá body v obou směrech, okolí nelze vytvořit !";
    EXPECT_EQ(taskSurroundingsRefusal(task({}, { 1.0, 0.0, 0.0 }, 0, { 0.0, 1.0, 0.0 }, 3), 0.5), noPoints);
    EXPECT_EQ(taskSurroundingsRefusal(task({}, { 1.0, 0.0, 0.0 }, 3, { 0.0, 1.0, 0.0 }, 0), 0.5), noPoints);
    EXPECT_EQ(taskSurroundingsRefusal(good, -0.5), "Šířka okolí nesmí být záporná !");
    CWorkSystem huge = good;
    huge.m_count1 = 1024;
    huge.m_count2 = 1024;
    EXPECT_EQ(taskSurroundingsRefusal(huge, 0.5), "Okolí by mělo příliš mnoho bodů !");
}

} // namespace
