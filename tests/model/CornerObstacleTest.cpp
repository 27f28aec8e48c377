// The block that cuts an L-shaped corner out of a room.

#include "model/CRoom.h"
#include "model/CornerObstacle.h"
#include "support/VectorExpect.h"

#include <gtest/gtest.h>

#include <limits>

using namespace kzev;
using kzev::test::expectVectorNear;

namespace {

// A 10 × 6 × 3 room with a corner of 2 × 3.
struct CornerCase {
    const char* name;
    RoomCorner corner;
    CVector origin;
};

class CornerObstacleTest : public ::testing::TestWithParam<CornerCase> { };

TEST_P(CornerObstacleTest, BlockOfRoomHeightStandsInItsCorner)
{
    CRoom room;
    room.m_wallReflectances = { 0.4, 0.5, 0.5, 0.5 };
    room.m_viewSettings.m_colors[3] = 0x123456;
    const CXSystem box = cornerObstacle(room, GetParam().corner, 2.0, 3.0);
    expectVectorNear(box.m_origin, GetParam().origin);
    expectVectorNear(box.m_edgeA, { 2.0, 0.0, 0.0 });
    expectVectorNear(box.m_edgeB, { 0.0, 3.0, 0.0 });
    expectVectorNear(box.m_edgeC, { 0.0, 0.0, 3.0 });
    EXPECT_EQ(box.ObstacleCount(), 1);
    EXPECT_EQ(box.m_name, "Roh místnosti tvaru L");
    EXPECT_DOUBLE_EQ(box.m_reflectance, 0.4);
    EXPECT_EQ(box.m_colour, 0x123456u);
}

INSTANTIATE_TEST_SUITE_P(Corners, CornerObstacleTest,
    ::testing::Values(CornerCase { "L1", RoomCorner::L1, { 0.0, 0.0, 0.0 } },
        CornerCase { "L2", RoomCorner::L2, { 8.0, 0.0, 0.0 } }, CornerCase { "L3", RoomCorner::L3, { 8.0, 3.0, 0.0 } },
        CornerCase { "L4", RoomCorner::L4, { 0.0, 3.0, 0.0 } }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CornerObstacleRefusal, SizesOutsideTheRoomAreRefused)
{
    const CRoom room; // 10 × 6
    EXPECT_TRUE(cornerObstacleRefusal(room, 2.0, 3.0).empty());
    EXPECT_TRUE(cornerObstacleRefusal(room, 10.0, 6.0).empty());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const auto& [length, width] : { std::pair { 0.0, 3.0 }, { 2.0, 0.0 }, { -1.0, 3.0 }, { 10.5, 3.0 },
             { 2.0, 6.5 }, { nan, 3.0 } })
        EXPECT_EQ(cornerObstacleRefusal(room, length, width),
            "Délka a šířka rohu musí být větší než 0 a nejvýše rovny délce a šířce místnosti !")
            << length << " × " << width;
}

} // namespace
