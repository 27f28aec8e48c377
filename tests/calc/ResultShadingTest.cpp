#include "calc/ResultShading.h"
#include "model/CWorkSystem.h"

#include <gtest/gtest.h>

namespace kzev {
namespace {

constexpr std::uint32_t rgb(int r, int g, int b)
{
    return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) | (static_cast<std::uint32_t>(b) << 16);
}

// A surface area of 1 × n points whose surface illuminance (direct + reflected) is given.
CWorkSystem surfaceArea(std::int32_t surfaceCode, const std::vector<double>& totals)
{
    CWorkSystem area;
    area.m_surfaceKind = surfaceCode;
    area.m_reflectance = 1.0;
    area.m_origin = { 0.5, 0.5, 0.0 };
    area.m_count1 = static_cast<std::int32_t>(totals.size());
    area.m_count2 = 1;
    area.m_points.resize(totals.size());
    for (std::size_t k = 0; k < totals.size(); ++k) {
        area.m_points[k].value(CPointCalc::kDirectMaintained) = 0.75 * totals[k];
        area.m_points[k].value(CPointCalc::kReflectedMaintained) = 0.25 * totals[k];
    }
    return area;
}

struct ShadeCase {
    const char* name;
    std::uint32_t colour;
    double value;
    std::uint32_t expected;
};

class FalseColourShade : public ::testing::TestWithParam<ShadeCase> {};

TEST_P(FalseColourShade, MatchesTheMappingAtItsEdges)
{
    const ShadeCase& c = GetParam();

    const std::optional<double> shade = falseColourShade(c.value, 200.0);

    ASSERT_TRUE(shade);
    EXPECT_EQ(shadedColour(c.colour, *shade), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Edges, FalseColourShade,
    ::testing::Values(ShadeCase { "white_at_zero", rgb(255, 255, 255), 0.0, rgb(164, 164, 164) },
        ShadeCase { "white_at_the_maximum", rgb(255, 255, 255), 200.0, rgb(254, 254, 254) },
        // 0.64453125 + 0.5 × 0.3515625 = 0.8203125 of each channel, truncated.
        ShadeCase { "coloured_at_half", rgb(200, 100, 10), 100.0, rgb(164, 82, 8) },
        ShadeCase { "black_stays_black", rgb(0, 0, 0), 200.0, rgb(0, 0, 0) }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FalseColourMap, NoMaximumAboveZeroDrawsNothing)
{
    EXPECT_FALSE(falseColourShade(0.0, 0.0));
    EXPECT_FALSE(falseColourShade(5.0, -1.0));
    EXPECT_TRUE(falseColourCells({ surfaceArea(6, { 0.0, 0.0 }) }, 112).empty());
    EXPECT_TRUE(falseColourCells({}, 112).empty());
}

TEST(FalseColourMap, SurfaceLeftOutOfTheViewTakesNoPartInTheMaximum)
{
    // The ceiling (4) is not drawn onto the floor view and its bright values do not count.
    const std::vector<CWorkSystem> areas { surfaceArea(4, { 1000.0 }), surfaceArea(6, { 0.0, 50.0, 100.0 }) };

    const std::vector<FalseColourCell> cells = falseColourCells(areas, 112);

    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0].colour, rgb(164, 164, 164));
    EXPECT_EQ(cells[2].colour, rgb(254, 254, 254));
    // In the ceiling view the ceiling's 1000 is the maximum.
    EXPECT_EQ(falseColourCells(areas, 113).size(), 4u);
    EXPECT_EQ(falseColourCells(areas, 113)[3].colour, rgb(173, 173, 173));
}

TEST(FalseColourMap, CellSurroundsItsPoint)
{
    CWorkSystem area = surfaceArea(6, { 10.0 });
    area.m_step1 = { 0.5, 0.0, 0.0 };
    area.m_step2 = { 0.0, 0.25, 0.0 };

    const std::vector<FalseColourCell> cells = falseColourCells({ area }, 112);

    ASSERT_EQ(cells.size(), 1u);
    const auto& c = cells[0].corners;
    EXPECT_DOUBLE_EQ(c[0].x, 0.25);
    EXPECT_DOUBLE_EQ(c[0].y, 0.375);
    EXPECT_DOUBLE_EQ(c[2].x, 0.75);
    EXPECT_DOUBLE_EQ(c[2].y, 0.625);
    EXPECT_DOUBLE_EQ(c[1].x, 0.75);
    EXPECT_DOUBLE_EQ(c[3].y, 0.625);
}

TEST(FalseColourMap, SurfaceCodesLeftOutByView)
{
    const std::pair<std::int32_t, std::int32_t> leftOut[] = { { 0, 116 }, { 1, 117 }, { 2, 114 }, { 3, 115 },
        { 4, 112 }, { 5, 113 } };
    for (const auto& [surface, view] : leftOut) {
        EXPECT_TRUE(surfaceLeftOutInView(surface, view)) << surface;
        EXPECT_FALSE(surfaceLeftOutInView(surface, view == 112 ? 113 : 112)) << surface;
    }
    EXPECT_FALSE(surfaceLeftOutInView(6, 112));
}

// A floor area of 2 × 2 points with horizontal illuminance and its stored summary.
CWorkSystem taskArea(const std::array<double, 4>& values, double minimum, double maximum)
{
    CWorkSystem area;
    area.m_count1 = 2;
    area.m_count2 = 2;
    area.m_points.resize(4);
    for (std::size_t k = 0; k < 4; ++k)
        area.m_points[k].value(CPointCalc::kHorizontal) = values[k];
    area.m_min[CWorkSystem::kSlotHorizontal] = minimum;
    area.m_max[CWorkSystem::kSlotHorizontal] = maximum;
    return area;
}

TEST(PointValueLabels, MarkMinimumGreenAndMaximumRed)
{
    CWorkSystem area = taskArea({ 312.4, 498.0, 312.2, 655.0 }, 312.2, 655.0);

    const std::vector<ValueLabel> labels = pointValueLabels(area);

    ASSERT_EQ(labels.size(), 4u);
    // 312.4 prints as the minimum's "312", so it is marked alike.
    EXPECT_EQ(labels[0].text, "312");
    EXPECT_EQ(labels[0].colour, kLabelGreen);
    EXPECT_EQ(labels[1].colour, kLabelBlack);
    EXPECT_EQ(labels[2].colour, kLabelGreen);
    EXPECT_EQ(labels[3].colour, kLabelRed);
    EXPECT_DOUBLE_EQ(labels[3].at.x, 1.0);
    EXPECT_DOUBLE_EQ(labels[3].at.y, 1.0);
}

TEST(PointValueLabels, UniformAreaIsAllGreenAndObstructedPointsAreLeftOut)
{
    CWorkSystem area = taskArea({ 1.5, 1.5, 1.5, 1.5 }, 1.5, 1.5);
    area.m_points[1].m_off = 1;

    const std::vector<ValueLabel> labels = pointValueLabels(area);

    ASSERT_EQ(labels.size(), 3u);
    for (const ValueLabel& label : labels) {
        EXPECT_EQ(label.text, "1.50");
        EXPECT_EQ(label.colour, kLabelGreen);
    }
}

TEST(PointValueLabels, AreaWithoutPointsWritesNothing)
{
    CWorkSystem area = taskArea({ 1.0, 2.0, 3.0, 4.0 }, 1.0, 4.0);
    area.m_points.resize(3);

    EXPECT_TRUE(pointValueLabels(area).empty());
    EXPECT_TRUE(surfaceValueLabels(area, false).empty());
}

TEST(SurfaceValueLabels, IlluminanceOrLuminance)
{
    CWorkSystem area = surfaceArea(6, { 100.0, 250.4 });
    area.m_reflectance = 0.5;

    const std::vector<ValueLabel> lux = surfaceValueLabels(area, false);
    const std::vector<ValueLabel> luminance = surfaceValueLabels(area, true);

    ASSERT_EQ(lux.size(), 2u);
    EXPECT_EQ(lux[0].text, "100");
    EXPECT_EQ(lux[1].text, "250");
    // 100 lx on a surface of reflectance 0.5: 100 × 0.5 / pi = 15.9 cd/m².
    EXPECT_EQ(luminance[0].text, "16");
    EXPECT_DOUBLE_EQ(lux[1].at.x, 1.5);
}

TEST(PointValueLabels, MarksFollowTheShownQuantity)
{
    // Stored with artificial light only: 100 is the minimum, 400 the maximum.
    CWorkSystem area = taskArea({ 100.0, 200.0, 300.0, 400.0 }, 100.0, 400.0);
    const std::array<double, 4> daylightFactor { 3.0, 2.0, 1.0, 0.5 }; // per cent
    for (std::size_t k = 0; k < 4; ++k)
        area.m_points[k].value(CPointCalc::kDaylightFactor) = daylightFactor[k];
    area.m_viewSettings.m_outdoorIlluminance = 10000.0;

    struct Case {
        const char* name;
        std::int32_t artificialOff;
        std::int32_t addDaylight;
        std::array<const char*, 4> texts;
        std::array<std::uint32_t, 4> colours;
    };
    const Case cases[] = {
        { "artificial", 0, 0, { "100", "200", "300", "400" }, { kLabelGreen, kLabelBlack, kLabelBlack, kLabelRed } },
        // 100 + 300, 200 + 200, 300 + 100, 400 + 50 lx
        { "with daylight", 0, 1, { "400", "400", "400", "450" }, { kLabelGreen, kLabelGreen, kLabelGreen, kLabelRed } },
        { "daylight only", 1, 1, { "300", "200", "100", "50" }, { kLabelRed, kLabelBlack, kLabelBlack, kLabelGreen } },
    };
    for (const Case& c : cases) {
        area.m_viewSettings.m_artificialOff = c.artificialOff;
        area.m_viewSettings.m_addDaylight = c.addDaylight;
        const std::vector<ValueLabel> labels = pointValueLabels(area);
        ASSERT_EQ(labels.size(), 4u) << c.name;
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_EQ(labels[k].text, c.texts[k]) << c.name << " " << k;
            EXPECT_EQ(labels[k].colour, c.colours[k]) << c.name << " " << k;
        }
    }
}
} // namespace
} // namespace kzev
