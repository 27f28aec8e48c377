#include "calc/IsolineGrid.h"
#include "calc/IsolineTracer.h"
#include "model/CRoom.h"
#include "model/CWorkSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace kzev {
namespace {

// A floor area of ni × nj points 1 m apart whose horizontal illuminance is f(i, j).
CWorkSystem floorArea(int ni, int nj, const std::function<double(int, int)>& f)
{
    CWorkSystem area;
    area.m_origin = { 0.0, 0.0, 0.75 };
    area.m_step1 = { 1.0, 0.0, 0.0 };
    area.m_step2 = { 0.0, 1.0, 0.0 };
    area.m_count1 = ni;
    area.m_count2 = nj;
    area.m_points.resize(static_cast<std::size_t>(ni * nj));
    for (int i = 0; i < ni; ++i)
        for (int j = 0; j < nj; ++j)
            area.m_points[static_cast<std::size_t>(i * nj + j)].value(CPointCalc::kHorizontal) = f(i, j);
    return area;
}

IsolineGrid gridOf(const CWorkSystem& area)
{
    IsolineGrid grid;
    grid.load(area);
    return grid;
}

// Whether the grid end above the level of each segment's first edge lies on the segment's right.
bool aboveOnTheRight(const IsolineGrid& grid, const Isoline& line, double level)
{
    for (std::size_t k = 0; k + 1 < line.points.size(); ++k) {
        const IsolinePoint& a = line.points[k];
        const IsolinePoint& b = line.points[k + 1];
        // Crossings on a row edge have a whole v, those on a column edge a whole u.
        const bool onColumn = a.v != std::floor(a.v);
        const int i = static_cast<int>(std::floor(a.u));
        const int j = static_cast<int>(std::floor(a.v));
        const int i2 = onColumn ? i : i + 1;
        const int j2 = onColumn ? j + 1 : j;
        const bool firstAbove = grid.value(i, j) >= level;
        const double hu = firstAbove ? i : i2;
        const double hv = firstAbove ? j : j2;
        const double side = (b.u - a.u) * (hv - a.v) - (b.v - a.v) * (hu - a.u);
        if (side >= 0.0)
            return false;
    }
    return true;
}

struct RampCase {
    const char* name;
    double level;
    double expectedU;
};

class LinearRamp : public ::testing::TestWithParam<RampCase> {};

// Values 100 × i: the isoline of level L is the straight line u = L / 100.
TEST_P(LinearRamp, GivesOneStraightLineAtTheLevelsPlace)
{
    const RampCase& c = GetParam();
    const CWorkSystem area = floorArea(5, 4, [](int i, int) { return 100.0 * i; });
    const IsolineGrid grid = gridOf(area);

    const std::vector<Isoline> lines = traceIsolines(grid, c.level);

    ASSERT_EQ(lines.size(), 1u);
    const Isoline& line = lines[0];
    EXPECT_FALSE(line.closed);
    ASSERT_EQ(line.points.size(), 4u); // one crossing per row of points
    for (const IsolinePoint& p : line.points)
        EXPECT_NEAR(p.u, c.expectedU, 1e-6) << "at v = " << p.v;
    // From border to border, higher values on the right: walked towards +v.
    EXPECT_DOUBLE_EQ(line.points.front().v, 0.0);
    EXPECT_DOUBLE_EQ(line.points.back().v, 3.0);
    EXPECT_TRUE(aboveOnTheRight(grid, line, c.level));
}

INSTANTIATE_TEST_SUITE_P(Levels, LinearRamp,
    ::testing::Values(RampCase { "between_points", 150.0, 1.5 }, RampCase { "near_the_start", 10.0, 0.1 },
        RampCase { "near_the_end", 399.0, 3.99 },
        // Values lying exactly on the level keep the line on those points.
        RampCase { "on_grid_points", 100.0, 1.0 }, RampCase { "on_inner_grid_points", 300.0, 3.0 }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IsolineTracer, LevelsOutsideTheRangeOfValuesDrawNothing)
{
    const IsolineGrid grid = gridOf(floorArea(5, 4, [](int i, int) { return 100.0 * i; }));

    EXPECT_TRUE(traceIsolines(grid, -1.0).empty());
    EXPECT_TRUE(traceIsolines(grid, 400.5).empty());
}

// Rotationally symmetric bump with its top 100 at grid point (5, 5).
double bump(int i, int j)
{
    return 100.0 - 4.0 * ((i - 5) * (i - 5) + (j - 5) * (j - 5));
}

TEST(IsolineTracer, RadialBumpGivesOneClosedLoopPerLevel)
{
    const IsolineGrid grid = gridOf(floorArea(11, 11, bump));

    for (double level : { 30.0, 60.0, 90.0 }) {
        const std::vector<Isoline> lines = traceIsolines(grid, level);

        ASSERT_EQ(lines.size(), 1u) << level;
        const Isoline& loop = lines[0];
        EXPECT_TRUE(loop.closed);
        EXPECT_EQ(loop.points.front(), loop.points.back());
        // Closed around the top: every crossing lies at the level's radius,
        // within the error of linear interpolation between grid points.
        const double radius = std::sqrt((100.0 - level) / 4.0);
        for (const IsolinePoint& p : loop.points)
            EXPECT_NEAR(std::hypot(p.u - 5.0, p.v - 5.0), radius, 0.25) << level;
        EXPECT_TRUE(aboveOnTheRight(grid, loop, level)) << level;
    }
}

TEST(IsolineTracer, LoopsAroundTwoBumpsStaySeparate)
{
    const IsolineGrid grid = gridOf(floorArea(15, 7, [](int i, int j) {
        const double a = (i - 3) * (i - 3) + (j - 3) * (j - 3);
        const double b = (i - 11) * (i - 11) + (j - 3) * (j - 3);
        return 100.0 * std::exp(-a / 4.0) + 100.0 * std::exp(-b / 4.0);
    }));

    const std::vector<Isoline> lines = traceIsolines(grid, 50.0);

    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].closed);
    EXPECT_TRUE(lines[1].closed);
    EXPECT_LT(lines[0].points[0].u, 7.0);
    EXPECT_GT(lines[1].points[0].u, 7.0);
}

struct SaddleCase {
    const char* name;
    double v00, v10, v11, v01; // corners (0,0), (1,0), (1,1), (0,1)
    // The two segments, each as the pair of edges its ends lie on.
    IsolinePoint first[2];
    IsolinePoint second[2];
};

class Saddle : public ::testing::TestWithParam<SaddleCase> {};

bool sameSegment(const Isoline& line, const IsolinePoint (&ends)[2])
{
    if (line.points.size() != 2)
        return false;
    auto near = [](const IsolinePoint& a, const IsolinePoint& b) {
        return std::fabs(a.u - b.u) < 1e-9 && std::fabs(a.v - b.v) < 1e-9;
    };
    return (near(line.points[0], ends[0]) && near(line.points[1], ends[1]))
        || (near(line.points[0], ends[1]) && near(line.points[1], ends[0]));
}

// A saddle cell joins its two corners above the level: both segments cut off a corner below it.
TEST_P(Saddle, IsResolvedByJoiningTheCornersAboveTheLevel)
{
    const SaddleCase& c = GetParam();
    const double corners[2][2] = { { c.v00, c.v01 }, { c.v10, c.v11 } };
    const IsolineGrid grid = gridOf(floorArea(2, 2, [&](int i, int j) { return corners[i][j]; }));

    const std::vector<Isoline> lines = traceIsolines(grid, 50.0);

    ASSERT_EQ(lines.size(), 2u);
    const bool inOrder = sameSegment(lines[0], c.first) && sameSegment(lines[1], c.second);
    const bool swapped = sameSegment(lines[0], c.second) && sameSegment(lines[1], c.first);
    EXPECT_TRUE(inOrder || swapped);
    for (const Isoline& line : lines)
        EXPECT_TRUE(aboveOnTheRight(grid, line, 50.0));
}

INSTANTIATE_TEST_SUITE_P(Cells, Saddle,
    ::testing::Values(
        // (0,0) and (1,1) above: segments around (1,0) and around (0,1).
        SaddleCase { "high_on_the_rising_diagonal", 100, 0, 100, 0, { { 0.5, 0.0 }, { 1.0, 0.5 } },
            { { 0.0, 0.5 }, { 0.5, 1.0 } } },
        // (1,0) and (0,1) above: segments around (0,0) and around (1,1).
        SaddleCase { "high_on_the_falling_diagonal", 0, 100, 0, 100, { { 0.5, 0.0 }, { 0.0, 0.5 } },
            { { 0.5, 1.0 }, { 1.0, 0.5 } } },
        // Unequal corners move the crossings but not the pairing.
        SaddleCase { "unequal_corners", 90, 10, 60, 40, { { 0.5, 0.0 }, { 1.0, 0.8 } },
            { { 0.0, 0.8 }, { 0.5, 1.0 } } }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IsolineTracer, SaddleCellsInsideAGridKeepEveryLineSimple)
{
    // A checkerboard of highs and lows: every inner cell is a saddle.
    const IsolineGrid grid = gridOf(floorArea(6, 6, [](int i, int j) { return (i + j) % 2 == 0 ? 100.0 : 0.0; }));

    const std::vector<Isoline> lines = traceIsolines(grid, 50.0);

    // Each of the 18 low points gets its own line around it, never a cross.
    std::size_t segments = 0;
    for (const Isoline& line : lines) {
        segments += line.points.size() - 1;
        EXPECT_TRUE(aboveOnTheRight(grid, line, 50.0));
    }
    EXPECT_EQ(lines.size(), 18u);
    EXPECT_EQ(segments, 2u * 25u); // two segments per cell
}

TEST(IsolineTracer, ObstructedPointEndsTheLinesThatReachIt)
{
    CWorkSystem area = floorArea(5, 5, [](int i, int) { return 100.0 * i; });
    area.m_points[1 * 5 + 2].m_off = 1; // grid point (1, 2)
    const IsolineGrid grid = gridOf(area);

    const std::vector<Isoline> lines = traceIsolines(grid, 150.0);

    // The line u = 1.5 loses its crossing at v = 2 and the two segments beside it.
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].points.size(), 2u);
    EXPECT_EQ(lines[1].points.size(), 2u);
    for (const Isoline& line : lines) {
        EXPECT_FALSE(line.closed);
        for (const IsolinePoint& p : line.points) {
            EXPECT_NEAR(p.u, 1.5, 1e-9);
            EXPECT_NE(p.v, 2.0);
        }
    }
}

TEST(IsolineTracer, AreasWithoutCellsDrawNothing)
{
    const auto ramp = [](int i, int j) { return 100.0 * (i + j); };

    EXPECT_TRUE(traceIsolines(gridOf(floorArea(1, 1, ramp)), 50.0).empty());
    EXPECT_TRUE(traceIsolines(gridOf(floorArea(1, 6, ramp)), 150.0).empty());
    EXPECT_TRUE(traceIsolines(gridOf(floorArea(6, 1, ramp)), 150.0).empty());
    EXPECT_TRUE(traceIsolines(gridOf(floorArea(0, 0, ramp)), 50.0).empty());
}

TEST(IsolineGrid, LoadsValuesObstructionsAndThePlaneOfTheArea)
{
    CWorkSystem area = floorArea(3, 2, [](int i, int j) { return 10.0 * i + j; });
    area.m_origin = { 1.0, 2.0, 0.8 };
    area.m_step1 = { 0.5, 0.0, 0.0 };
    area.m_step2 = { 0.0, 0.25, 0.0 };
    area.m_points[2 * 2 + 1].m_off = 1;

    const IsolineGrid grid = gridOf(area);

    ASSERT_EQ(grid.countI(), 3);
    ASSERT_EQ(grid.countJ(), 2);
    EXPECT_DOUBLE_EQ(grid.value(2, 1), 21.0);
    EXPECT_DOUBLE_EQ(grid.value(1, 0), 10.0);
    EXPECT_TRUE(grid.obstructed(2, 1));
    EXPECT_FALSE(grid.obstructed(1, 1));
    EXPECT_DOUBLE_EQ(grid.x0(), 1.0);
    EXPECT_DOUBLE_EQ(grid.y0(), 2.0);
    EXPECT_DOUBLE_EQ(grid.dx(), 0.5);
    EXPECT_DOUBLE_EQ(grid.dy(), 0.25);
    const CVector p = grid.roomPoint(1.5, 1.0);
    EXPECT_DOUBLE_EQ(p.x, 1.75);
    EXPECT_DOUBLE_EQ(p.y, 2.25);
    EXPECT_DOUBLE_EQ(p.z, 0.8);
}

TEST(IsolineGrid, WallsTwoAndFourUseTheRoomsYAndZ)
{
    CWorkSystem area = floorArea(2, 2, [](int, int) { return 0.0; });
    area.m_viewCode = 117;
    area.m_origin = { 4.0, 1.0, 0.5 };
    area.m_step1 = { 0.0, 2.0, 0.0 };
    area.m_step2 = { 0.0, 0.0, 0.5 };

    const IsolineGrid grid = gridOf(area);

    EXPECT_DOUBLE_EQ(grid.x0(), 1.0);
    EXPECT_DOUBLE_EQ(grid.y0(), 0.5);
    EXPECT_DOUBLE_EQ(grid.dx(), 2.0);
    EXPECT_DOUBLE_EQ(grid.dy(), 0.5);
    const CVector p = grid.roomPoint(1.0, 1.0);
    EXPECT_DOUBLE_EQ(p.x, 4.0);
    EXPECT_DOUBLE_EQ(p.y, 3.0);
    EXPECT_DOUBLE_EQ(p.z, 1.0);
}

TEST(IsolineGrid, LargerAreaIsSampledDownWithinTheGrid)
{
    const CWorkSystem area = floorArea(2500, 3, [](int i, int) { return static_cast<double>(i); });

    const IsolineGrid grid = gridOf(area);

    EXPECT_LE(grid.countI(), IsolineGrid::kMaxPoints);
    EXPECT_EQ(grid.strideI(), 3);
    EXPECT_EQ(grid.countI(), 834);
    EXPECT_EQ(grid.countJ(), 3);
    // Grid point i is area point 3 i, and lies where that point lies.
    EXPECT_DOUBLE_EQ(grid.value(833, 2), 2499.0);
    EXPECT_DOUBLE_EQ(grid.roomPoint(833.0, 0.0).x, 2499.0);
    const std::vector<Isoline> lines = traceIsolines(grid, 1000.5);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NEAR(grid.roomPoint(lines[0].points[0].u, 0.0).x, 1000.5, 1e-9);
}

TEST(IsolineGrid, AreaWithMissingPointsLoadsNothing)
{
    CWorkSystem area = floorArea(3, 3, [](int, int) { return 1.0; });
    area.m_points.resize(8);

    EXPECT_TRUE(gridOf(area).empty());
    area.m_count1 = -3;
    EXPECT_TRUE(gridOf(area).empty());
}

TEST(IsolineGrid, ValuesFollowTheQuantityAndTheDaylightSettings)
{
    CWorkSystem area = floorArea(2, 2, [](int, int) { return 200.0; });
    CPointCalc& p = area.m_points[0];
    p.value(CPointCalc::kDaylightFactor) = 2.0;
    p.value(CPointCalc::kNormalPlus) = 100.0;
    p.value(CPointCalc::kUgr) = 17.0;

    EXPECT_DOUBLE_EQ(areaPointValue(area, p), 200.0);
    area.m_viewSettings.m_addDaylight = 1;
    area.m_viewSettings.m_outdoorIlluminance = 10000.0;
    EXPECT_DOUBLE_EQ(areaPointValue(area, p), 400.0);
    area.m_viewSettings.m_artificialOff = 1;
    EXPECT_DOUBLE_EQ(areaPointValue(area, p), 200.0);
    area.m_quantityCode = 166;
    area.m_reflectance = 0.5;
    EXPECT_NEAR(areaPointValue(area, p), 15.915497620314795, 1e-12);
    area.m_quantityCode = 89;
    EXPECT_DOUBLE_EQ(areaPointValue(area, p), 17.0);
}

struct PenCase {
    double level;
    double limit;
    IsolinePen pen;
};

TEST(IsolineStyle, PenFollowsTheLimitValue)
{
    for (const PenCase& c : { PenCase { 500.0, 500.0, IsolinePen::AtLimit },
             PenCase { 500.00005, 500.0, IsolinePen::AtLimit }, PenCase { 400.0, 500.0, IsolinePen::BelowLimit },
             PenCase { 600.0, 500.0, IsolinePen::AboveLimit }, PenCase { 1.0, 1.0, IsolinePen::AtLimit } })
        EXPECT_EQ(isolinePenFor(c.level, c.limit), c.pen) << c.level;
}

TEST(IsolineStyle, PenColoursFromTheViewSettingsWithWhiteFallingBackToTheDefaults)
{
    CViewSettings settings(CRoom::kWhiteColours);

    EXPECT_EQ(isolinePenColour(settings, IsolinePen::BelowLimit), CViewSettings::kGreen);
    EXPECT_EQ(isolinePenColour(settings, IsolinePen::AtLimit), CViewSettings::kBlue);
    EXPECT_EQ(isolinePenColour(settings, IsolinePen::AboveLimit), CViewSettings::kRed);
    settings.m_colors[4] = 0x123456;
    settings.m_colors[6] = 0x000000;
    EXPECT_EQ(isolinePenColour(settings, IsolinePen::BelowLimit), 0x123456u);
    EXPECT_EQ(isolinePenColour(settings, IsolinePen::AboveLimit), 0x000000u);
}

TEST(IsolineStyle, LabelsAndLevelTexts)
{
    EXPECT_EQ(isolineLabel(0.5), "0.50");
    EXPECT_EQ(isolineLabel(7.5), "7.5");
    EXPECT_EQ(isolineLabel(500.0), "500");
    EXPECT_DOUBLE_EQ(isolineLevelValue("750"), 750.0);
    EXPECT_DOUBLE_EQ(isolineLevelValue("0,5"), 0.5);
    EXPECT_DOUBLE_EQ(isolineLevelValue("abc"), 0.0);
    EXPECT_DOUBLE_EQ(isolineLevelValue("nan"), 0.0);
    EXPECT_DOUBLE_EQ(isolineLevelValue("1e999"), 0.0);
}

TEST(IsolineStyle, LevelsAndLimitByQuantityGroup)
{
    CWorkSystem area;
    area.m_viewSettings.m_ugrLimit = 22.0;

    area.m_quantityCode = 89;
    EXPECT_EQ(isolineLevelsOf(area).texts, area.m_viewSettings.m_isoUgr);
    EXPECT_DOUBLE_EQ(isolineLevelsOf(area).limit, 22.0);
    area.m_quantityCode = 141;
    EXPECT_DOUBLE_EQ(isolineLevelsOf(area).limit, 1.0);
    area.m_quantityCode = 161;
    EXPECT_DOUBLE_EQ(isolineLevelsOf(area).limit, 50.0);
    area.m_quantityCode = 95;
    EXPECT_EQ(isolineLevelsOf(area).texts, area.m_viewSettings.m_isoIlluminance);
    EXPECT_DOUBLE_EQ(isolineLevelsOf(area).limit, 500.0);
}

} // namespace
} // namespace kzev
