#include "model/CWorkSystem.h"
#include "print/PointGrid.h"

#include <gtest/gtest.h>

namespace kzev {
namespace {

TEST(PitchAxis, OnlyAPitchAlongOneAxisNamesIt)
{
    struct Case {
        CVector pitch;
        std::optional<int> axis;
    };
    const Case cases[] = {
        { { 0.5, 0.0, 0.0 }, 0 },
        { { -0.5, 0.0, 0.0 }, 0 }, // backwards along x is still X
        { { 0.0, 1.0, 0.0 }, 1 },
        { { 0.0, 0.0, 2.0 }, 2 },
        { { 0.5, 0.5, 0.0 }, std::nullopt }, // diagonal: no rows along a coordinate
        { { 0.0, 0.0, 0.0 }, std::nullopt },
    };
    for (const Case& c : cases)
        EXPECT_EQ(pitchAxis(c.pitch), c.axis) << c.pitch.x << " " << c.pitch.y << " " << c.pitch.z;
    EXPECT_EQ(axisLetter(1), 'Y');
}

TEST(PointValueText, ValuesByQuantityAndDashForPointsLeftOut)
{
    CWorkSystem area;
    area.m_count1 = 1;
    area.m_count2 = 3;
    area.m_points.resize(3);
    area.m_points[0].value(CPointCalc::kHorizontal) = 12.345;
    area.m_points[1].value(CPointCalc::kHorizontal) = 400.0;
    area.m_points[1].m_off = 1;
    area.m_points[2].value(CPointCalc::kHorizontal) = 100.0;
    area.m_points[2].value(CPointCalc::kDaylightFactor) = 2.0;
    EXPECT_EQ(pointValueText(area, 0), "12.3");
    EXPECT_EQ(pointValueText(area, 1), "-");
    EXPECT_EQ(pointValueText(area, 7), "-");
    // Daylight added: 2 % of 20 000 lx on top of the artificial 100 lx.
    area.m_viewSettings.m_addDaylight = 1;
    EXPECT_EQ(pointValueText(area, 2), "500.0");
    area.m_viewSettings.m_artificialOff = 1;
    EXPECT_EQ(pointValueText(area, 2), "400.0");
    // A glare value that could not be computed reads as it does on the plan.
    area.m_quantityCode = 89;
    area.m_points[0].value(CPointCalc::kUgr) = CPointCalc::kNotComputed;
    EXPECT_EQ(pointValueText(area, 0), "\u2013");
}

} // namespace
} // namespace kzev
