// Splitting a regular lamp system into one system per column or per row.

#include "model/CRoom.h"
#include "model/LampSystemSplit.h"
#include "model/RegularLayout.h"
#include "support/VectorExpect.h"

#include <gtest/gtest.h>

using namespace kzev;
using kzev::test::expectVectorNear;

namespace {

// "S": 3 columns 2 m apart along x, 2 rows 1.5 m apart along y, from (1, 1, 3), in a room of two modes.
CRoom roomWithGrid()
{
    CRoom room;
    room.m_modes.resize(2);
    CLampSystem& s = room.m_lampSystems[0];
    s.m_name = "S";
    s.m_origin = { 1.0, 1.0, 3.0 };
    s.m_pitch1 = { 2.0, 0.0, 0.0 };
    s.m_pitch2 = { 0.0, 1.5, 0.0 };
    s.m_count1 = 3;
    s.m_count2 = 2;
    layOutRegularLuminaires(s, 2);
    // Luminaire (1, 1) is off, luminaire (2, 0) is off in the second mode.
    s.m_luminaires[3].m_switchedOff = 1;
    s.m_luminaires[4].m_modeFactors[1] = 0.0;
    return room;
}

TEST(LampSystemSplitTest, ColumnsGiveOneSystemPerColumnOfTwoLuminaires)
{
    const CRoom room = roomWithGrid();
    const LampSystemSplit split = splitLampSystem(room, 0, SplitDirection::Columns);
    EXPECT_TRUE(split.refusal.empty());
    ASSERT_EQ(split.parts.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const CLampSystem& part = split.parts[static_cast<std::size_t>(i)];
        EXPECT_EQ(part.m_name, "S-" + std::to_string(i + 1));
        EXPECT_EQ(part.m_count1, 1);
        EXPECT_EQ(part.m_count2, 2);
        EXPECT_EQ(part.m_numberOfLuminaires, 2);
        ASSERT_EQ(part.m_luminaires.size(), 2u);
        const double x = 1.0 + 2.0 * i;
        expectVectorNear(part.m_luminaires[0].m_position, { x, 1.0, 3.0 });
        expectVectorNear(part.m_luminaires[1].m_position, { x, 2.5, 3.0 });
    }
    EXPECT_EQ(split.parts[1].m_luminaires[1].m_switchedOff, 1);
    EXPECT_EQ(split.parts[0].m_luminaires[1].m_switchedOff, 0);
    EXPECT_EQ(split.parts[2].m_luminaires[0].m_modeFactors, (std::vector<double> { 1.0, 0.0 }));
}

TEST(LampSystemSplitTest, RowsKeepTheXPositionsAndTheColumnPitch)
{
    const CRoom room = roomWithGrid();
    const LampSystemSplit split = splitLampSystem(room, 0, SplitDirection::Rows);
    ASSERT_EQ(split.parts.size(), 2u);
    for (int j = 0; j < 2; ++j) {
        const CLampSystem& part = split.parts[static_cast<std::size_t>(j)];
        EXPECT_EQ(part.m_count1, 3);
        EXPECT_EQ(part.m_count2, 1);
        expectVectorNear(part.m_pitch1, { 2.0, 0.0, 0.0 });
        ASSERT_EQ(part.m_luminaires.size(), 3u);
        for (int i = 0; i < 3; ++i)
            expectVectorNear(part.m_luminaires[static_cast<std::size_t>(i)].m_position,
                { 1.0 + 2.0 * i, 1.0 + 1.5 * j, 3.0 });
    }
    EXPECT_EQ(split.parts[1].m_luminaires[1].m_switchedOff, 1);
    EXPECT_EQ(split.parts[0].m_luminaires[2].m_modeFactors, (std::vector<double> { 1.0, 0.0 }));
}

TEST(LampSystemSplitTest, IrregularAndBoundSystemsAreRefused)
{
    CRoom irregular = roomWithGrid();
    irregular.m_lampSystems[0].m_nonRegular = 1;
    LampSystemSplit split = splitLampSystem(irregular, 0, SplitDirection::Columns);
    EXPECT_TRUE(split.parts.empty());
    EXPECT_EQ(split.refusal, "Nepravidelnou soustavu nelze rozložit");

    // A source of a derived system and the derived system itself.
    CRoom bound = roomWithGrid();
    bound.m_lampSystems.push_back(bound.m_lampSystems[0]);
    bound.m_lampSystems[1].m_sourceSystem = 0;
    bound.m_lampSystems[1].m_bindingType = 3;
    for (const int index : { 0, 1 }) {
        split = splitLampSystem(bound, index, SplitDirection::Rows);
        EXPECT_TRUE(split.parts.empty()) << index;
        EXPECT_NE(split.refusal.find("nelze ji rozložit"), std::string::npos) << index;
    }

    split = splitLampSystem(bound, 5, SplitDirection::Rows);
    EXPECT_TRUE(split.parts.empty());
    EXPECT_TRUE(split.refusal.empty());
}

} // namespace
