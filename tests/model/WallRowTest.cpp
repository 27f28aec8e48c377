// Rows of wall-shaped obstacles along a polyline.

#include "model/CRoom.h"
#include "model/WallRow.h"
#include "support/VectorExpect.h"

#include <gtest/gtest.h>

using namespace kzev;
using kzev::test::expectVectorNear;

namespace {

TEST(WallRowTest, ThreePointsGiveTwoWallsThickToTheRight)
{
    const std::vector<CVector> points { { 0.0, 0.0, 0.0 }, { 5.0, 0.0, 0.0 }, { 5.0, 4.0, 0.0 } };
    const std::vector<CXSystem> walls = wallRow(points, 3.0, 0.2, 0xABCDEF, 1);
    ASSERT_EQ(walls.size(), 2u);
    // Walking along +x the right is −y; walking along +y it is +x.
    expectVectorNear(walls[0].m_origin, { 0.0, 0.0, 0.0 });
    expectVectorNear(walls[0].m_edgeA, { 5.0, 0.0, 0.0 });
    expectVectorNear(walls[0].m_edgeB, { 0.0, -0.2, 0.0 });
    expectVectorNear(walls[1].m_origin, { 5.0, 0.0, 0.0 });
    expectVectorNear(walls[1].m_edgeA, { 0.0, 4.0, 0.0 });
    expectVectorNear(walls[1].m_edgeB, { 0.2, 0.0, 0.0 });
    for (const CXSystem& wall : walls) {
        expectVectorNear(wall.m_edgeC, { 0.0, 0.0, 3.0 });
        EXPECT_EQ(wall.ObstacleCount(), 1);
        EXPECT_EQ(wall.m_colour, 0xABCDEFu);
    }
    EXPECT_EQ(walls[0].m_name, "Stěna 1");
    EXPECT_EQ(walls[1].m_name, "Stěna 2");
}

TEST(WallRowTest, FewerThanTwoPointsOrADoubledPointMakeNoWall)
{
    EXPECT_TRUE(wallRow({}, 3.0, 0.2, 0, 1).empty());
    EXPECT_TRUE(wallRow({ { 1.0, 1.0, 0.0 } }, 3.0, 0.2, 0, 1).empty());
    const std::vector<CXSystem> walls
        = wallRow({ { 0.0, 0.0, 0.0 }, { 0.0, 0.0, 0.0 }, { 0.0, 2.0, 0.0 } }, 3.0, 0.2, 0, 1);
    ASSERT_EQ(walls.size(), 1u);
    expectVectorNear(walls[0].m_edgeA, { 0.0, 2.0, 0.0 });
}

TEST(WallRowTest, AppendedWallsAreNumberedAfterTheRoomsObstacles)
{
    CRoom room;
    room.m_obstacleSystems.resize(2);
    room.m_viewSettings.m_colors[3] = 0x00FF00;
    room.m_resultsValid = 1;
    EXPECT_EQ(appendWallRow(room, { { 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 1.0, 1.0, 0.0 } }, 2.5, 0.1), 2);
    ASSERT_EQ(room.m_obstacleSystems.size(), 4u);
    EXPECT_EQ(room.m_obstacleSystems[2].m_name, "Stěna 3");
    EXPECT_EQ(room.m_obstacleSystems[3].m_name, "Stěna 4");
    EXPECT_EQ(room.m_obstacleSystems[3].m_colour, 0x00FF00u);
    EXPECT_EQ(room.m_resultsValid, 0);
}

} // namespace

TEST(WallRowRefusal, WallsNeedHeightAndThickness)
{
    EXPECT_TRUE(wallRowRefusal(3.0, 0.2).empty());
    for (const auto& [height, thickness] : { std::pair { 0.0, 0.2 }, { 3.0, 0.0 }, { -3.0, 0.2 } })
        EXPECT_EQ(wallRowRefusal(height, thickness), "Výška a tloušťka stěn musí být větší než 0 !") << height;
}
