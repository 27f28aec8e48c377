// The wall-row dialog's points and the irregular outline of a room built from them.

#include "support/FakeServices.h"

#include "dialogs/obstacles/WallRowPoints.h"
#include "model/CRoom.h"

#include <gtest/gtest.h>

namespace kzev {
namespace {

CVector rounded(CVector v)
{
    const auto r = [](double c) { return std::abs(c) < 1e-12 ? 0.0 : c; };
    return { r(v.x), r(v.y), r(v.z) };
}

TEST(WallRowPointsTest, AnLShapedOutlineGivesItsWallsAndTheRoomItsBox)
{
    test::FakeServices fakes;
    CRoom room;
    room.m_obstacleSystems.clear();
    room.m_viewSettings.m_colors[3] = 0x00FF00;
    // An L walked anticlockwise from (1, 2) and closed back to it: 10 × 8 m with the corner
    // 5 × 4 m cut out at the top right.
    const std::vector<CVector> points { { 1, 2, 0 }, { 11, 2, 0 }, { 11, 6, 0 }, { 6, 6, 0 }, { 6, 10, 0 },
        { 1, 10, 0 }, { 1, 2, 0 } };
    const std::optional<RoomOutline> outline = buildIrregularOutline(room, points, 3.0, 0.2);
    ASSERT_TRUE(outline.has_value());
    EXPECT_EQ(outline->low, CVector(1.0, 2.0, 0.0));
    EXPECT_DOUBLE_EQ(outline->length, 10.0);
    EXPECT_DOUBLE_EQ(outline->width, 8.0);
    ASSERT_EQ(outline->walls, 6);

    // Each wall starts at its point relative to the box and lies to the right of the walk, outside.
    const struct {
        CVector origin, length, width;
    } walls[] = {
        { { 0, 0, 0 }, { 10, 0, 0 }, { 0, -0.2, 0 } },
        { { 10, 0, 0 }, { 0, 4, 0 }, { 0.2, 0, 0 } },
        { { 10, 4, 0 }, { -5, 0, 0 }, { 0, 0.2, 0 } },
        { { 5, 4, 0 }, { 0, 4, 0 }, { 0.2, 0, 0 } },
        { { 5, 8, 0 }, { -5, 0, 0 }, { 0, 0.2, 0 } },
        { { 0, 8, 0 }, { 0, -8, 0 }, { -0.2, 0, 0 } },
    };
    ASSERT_EQ(room.m_obstacleSystems.size(), 6u);
    for (std::size_t k = 0; k < 6; ++k) {
        const CXSystem& wall = room.m_obstacleSystems[k];
        EXPECT_EQ(wall.m_name, "Stěna " + std::to_string(k + 1));
        EXPECT_EQ(rounded(wall.m_origin), walls[k].origin) << k;
        EXPECT_EQ(rounded(wall.m_edgeA), walls[k].length) << k;
        EXPECT_EQ(rounded(wall.m_edgeB), walls[k].width) << k;
        EXPECT_EQ(wall.m_edgeC, CVector(0.0, 0.0, 3.0)) << k;
        EXPECT_EQ(wall.ObstacleCount(), 1);
        EXPECT_EQ(wall.m_colour, 0x00FF00u);
    }
    EXPECT_EQ(room.m_resultsValid, 0);
}

TEST(WallRowPointsTest, OutlinesOfFewPoints)
{
    test::FakeServices fakes;
    CRoom room;
    room.m_obstacleSystems.clear();
    EXPECT_FALSE(buildIrregularOutline(room, {}, 3.0, 0.2).has_value()) << "no box without a point";
    const std::optional<RoomOutline> one = buildIrregularOutline(room, { { 4, 5, 1 } }, 3.0, 0.2);
    ASSERT_TRUE(one.has_value());
    EXPECT_EQ(one->low, CVector(4.0, 5.0, 1.0));
    EXPECT_EQ(one->length, 0.0);
    EXPECT_EQ(one->walls, 0);
    // A closed square of four vertices: three walls, the outline is not closed back.
    const std::optional<RoomOutline> square
        = buildIrregularOutline(room, { { 0, 0, 0 }, { 4, 0, 0 }, { 4, 4, 0 }, { 0, 4, 0 } }, 3.0, 0.2);
    ASSERT_TRUE(square.has_value());
    EXPECT_EQ(square->walls, 3);
    EXPECT_EQ(room.m_obstacleSystems.size(), 3u);
}

TEST(WallRowPointsTest, GridCells)
{
    // The typed numbers of the dialog's edits are read as every dialog reads them (TypedNumberTest).
    EXPECT_EQ(wallRowCell(2500.4, 1), "2500");
    EXPECT_EQ(wallRowCell(2.5, 0), "2.500");
    const std::vector<CVector> mm = wallRowPoints({ { "5000", "7000", "0" }, { "1,5", "x", "nan" } }, 1);
    ASSERT_EQ(mm.size(), 2u);
    EXPECT_EQ(mm[0], CVector(5.0, 7.0, 0.0));
    EXPECT_DOUBLE_EQ(mm[1].x, 0.0015);
    EXPECT_EQ(mm[1].y, 0.0);
    EXPECT_EQ(mm[1].z, 0.0);
    EXPECT_EQ(wallRowPoints({ { "3", "4", "0.5" } }, 0).front(), CVector(3.0, 4.0, 0.5));
}

} // namespace
} // namespace kzev
