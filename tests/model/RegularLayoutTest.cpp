#include "model/RegularLayout.h"

#include "model/CLampSystem.h"

#include <gtest/gtest.h>

namespace {

using kzev::AxisLayout;

CLampSystem gridSystem(std::int32_t count1, std::int32_t count2)
{
    CLampSystem system;
    system.m_origin = { 1.0, 1.0, 2.8 };
    system.m_pitch1 = { 3.0, 0.0, 0.0 };
    system.m_pitch2 = { 0.0, 2.5, 0.0 };
    system.m_opticalAxis = { 0.0, 0.5, -1.0 };
    system.m_c0Axis = { 1.0, 0.0, 0.0 };
    system.m_count1 = count1;
    system.m_count2 = count2;
    return system;
}

TEST(RegularLayoutTest, GridRunsCount2InsideCount1WithTheSystemAxes)
{
    CLampSystem system = gridSystem(2, 3);
    system.m_luminaires.resize(5); // replaced, not extended

    kzev::layOutRegularLuminaires(system, 1);

    const std::vector<CVector> expected { { 1, 1, 2.8 }, { 1, 3.5, 2.8 }, { 1, 6, 2.8 }, { 4, 1, 2.8 },
        { 4, 3.5, 2.8 }, { 4, 6, 2.8 } };
    ASSERT_EQ(system.m_luminaires.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
        SCOPED_TRACE(k);
        const auto& luminaire = system.m_luminaires[k];
        EXPECT_EQ(luminaire.m_position, expected[k]);
        EXPECT_EQ(luminaire.m_opticalAxis, system.m_opticalAxis);
        EXPECT_EQ(luminaire.m_c0Axis, system.m_c0Axis);
        EXPECT_EQ(luminaire.m_switchedOff, 0);
    }
}

TEST(RegularLayoutTest, EveryLuminaireGetsOneFactorPerModeOfTheRoom)
{
    CLampSystem system = gridSystem(2, 2);

    kzev::layOutRegularLuminaires(system, 3);

    for (const auto& luminaire : system.m_luminaires)
        EXPECT_EQ(luminaire.m_modeFactors, (std::vector<double> { 1.0, 1.0, 1.0 }));
}

TEST(RegularLayoutTest, LayoutDropsSwitchedOffFlagsRebuildKeepsThemByIndex)
{
    CLampSystem system = gridSystem(2, 3);
    kzev::layOutRegularLuminaires(system, 1);
    system.m_luminaires[1].m_switchedOff = 1;
    system.m_luminaires[4].m_switchedOff = 1;

    CLampSystem rebuilt = system;
    rebuilt.m_count1 = 3;
    kzev::rebuildRegularLuminaires(rebuilt, 2);
    CLampSystem laidOut = system;
    kzev::layOutRegularLuminaires(laidOut, 2);

    ASSERT_EQ(rebuilt.m_luminaires.size(), 9u);
    for (std::size_t k = 0; k < 9; ++k)
        EXPECT_EQ(rebuilt.m_luminaires[k].m_switchedOff, (k == 1 || k == 4) ? 1 : 0) << k;
    for (const auto& luminaire : laidOut.m_luminaires)
        EXPECT_EQ(luminaire.m_switchedOff, 0);
}

TEST(RegularLayoutTest, ZeroCountLaysNoLuminaire)
{
    CLampSystem system = gridSystem(0, 3);
    kzev::layOutRegularLuminaires(system, 1);
    EXPECT_TRUE(system.m_luminaires.empty());
}

struct AxisCase {
    const char* name;
    bool byPitch;
    double extent;
    double value; // count or pitch
    double origin;
    bool centre;
    AxisLayout expected;
};

class AxisLayoutTest : public ::testing::TestWithParam<AxisCase> { };

TEST_P(AxisLayoutTest, GivesOriginPitchAndCount)
{
    const auto& c = GetParam();
    const AxisLayout result = c.byPitch
        ? kzev::layOutAxisByPitch(c.extent, c.value, c.origin, c.centre)
        : kzev::layOutAxisByCount(c.extent, static_cast<std::int32_t>(c.value), c.origin, c.centre);

    EXPECT_DOUBLE_EQ(result.origin, c.expected.origin);
    EXPECT_DOUBLE_EQ(result.pitch, c.expected.pitch);
    EXPECT_EQ(result.count, c.expected.count);
    EXPECT_EQ(result.pitchRejected, c.expected.pitchRejected);
}

// A 10 m × 6 m room, as a new room is.
INSTANTIATE_TEST_SUITE_P(Cases, AxisLayoutTest,
    ::testing::Values(AxisCase { "count4Centred", false, 10, 4, 0, true, { 1.25, 2.5, 4, false } },
        AxisCase { "count3CentredWidth", false, 6, 3, 0, true, { 1.0, 2.0, 3, false } },
        AxisCase { "count4FromOrigin", false, 10, 4, 1, false, { 1.0, 3.0, 4, false } },
        AxisCase { "count3FromOriginWidth", false, 6, 3, 1, false, { 1.0, 2.5, 3, false } },
        AxisCase { "count1Centred", false, 10, 1, 0, true, { 5.0, 0.0, 1, false } },
        AxisCase { "count1FromOrigin", false, 10, 1, 2, false, { 2.0, 0.0, 1, false } },
        AxisCase { "pitch3Centred", true, 10, 3, 0, true, { 2.0, 3.0, 3, false } },
        AxisCase { "pitch3FromOrigin", true, 10, 3, 1, false, { 1.0, 3.0, 4, false } },
        AxisCase { "pitchZeroRejected", true, 10, 0, 1, false, { 1.0, 0.0, 1, true } },
        AxisCase { "pitchZeroCentred", true, 10, 0, 1, true, { 5.0, 0.0, 1, true } },
        AxisCase { "pitchLongerThanRoom", true, 10, 12, 0, true, { 5.0, 12.0, 1, false } },
        AxisCase { "originBeyondFarWall", true, 10, 3, 20, false, { 20.0, 3.0, 1, false } }),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
