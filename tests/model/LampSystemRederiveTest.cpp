// Lamp systems bound to a source, rebuilt after an edit of either side.

#include "model/CKzevDoc.h"
#include "model/LampSystemRederive.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

namespace kzev::test {
namespace {

CLampSystem systemAt(const char* name, std::initializer_list<std::pair<double, double>> places)
{
    CLampSystem system;
    system.m_name = name;
    system.m_nonRegular = 1;
    for (auto [x, y] : places) {
        COneLampSystem one;
        one.m_position = CVector { x, y, 3.0 };
        system.m_luminaires.push_back(one);
    }
    system.m_origin = system.m_luminaires.front().m_position;
    return system;
}

class LampSystemRederive : public ::testing::Test {
protected:
    LampSystemRederive()
    {
        CLampSystem source = systemAt("Zdroj", { { 1.0, 2.0 }, { 2.0, 2.0 } });
        CLampSystem shifted = systemAt("Posun", { { 0.0, 0.0 } });
        shifted.m_sourceSystem = 0;
        shifted.m_bindingType = 3;
        shifted.m_bindingVector = CVector { 3.0, 0.0, 0.0 };
        shifted.m_switchedOff = 1;
        CLampSystem mirrored = systemAt("Zrcadlo", { { 0.0, 0.0 } });
        mirrored.m_sourceSystem = 0;
        mirrored.m_bindingType = 0;
        mirrored.m_bindingVector = CVector { 0.0, 5.0, 0.0 };
        m_room.m_lampSystems = { source, shifted, mirrored };
    }

    FakeServices m_services;
    CKzevDoc m_doc;
    CRoom m_room;
};

TEST_F(LampSystemRederive, DependentsFollowTheirSourceAndKeepTheirNames)
{
    rederiveDependentLampSystems(m_doc, m_room, 0);
    const CLampSystem& shifted = m_room.m_lampSystems[1];
    ASSERT_EQ(shifted.m_luminaires.size(), 2U);
    EXPECT_DOUBLE_EQ(shifted.m_luminaires[1].m_position.x, 5.0);
    EXPECT_EQ(shifted.m_sourceSystem, 0);
    EXPECT_EQ(shifted.m_name, "Posun");
    EXPECT_EQ(shifted.m_switchedOff, 1);
    const CLampSystem& mirrored = m_room.m_lampSystems[2];
    ASSERT_EQ(mirrored.m_luminaires.size(), 2U);
    EXPECT_DOUBLE_EQ(mirrored.m_luminaires[0].m_position.y, 8.0);
    EXPECT_EQ(mirrored.m_name, "Zrcadlo");
}

TEST_F(LampSystemRederive, AnEditedShiftedCopyMovesItsSourceBackAndUnbindsIt)
{
    rederiveDependentLampSystems(m_doc, m_room, 0);
    CLampSystem edited = m_room.m_lampSystems[1];
    edited.m_luminaires[0].m_position.x += 0.5;
    rederiveLampSystemFromSource(m_doc, m_room, edited);
    const CLampSystem& source = m_room.m_lampSystems[0];
    EXPECT_DOUBLE_EQ(source.m_luminaires[0].m_position.x, 1.5);
    EXPECT_EQ(source.m_sourceSystem, -1);
    EXPECT_EQ(source.m_bindingType, -1);
    EXPECT_EQ(source.m_name, "Zdroj");
    EXPECT_EQ(source.m_switchedOff, 0);
}

TEST_F(LampSystemRederive, UnknownBindingsAndSelfBindingsChangeNothing)
{
    m_room.m_lampSystems[1].m_bindingType = 7;
    m_room.m_lampSystems[0].m_sourceSystem = 0;
    m_room.m_lampSystems[0].m_bindingType = 3;
    const CLampSystem before = m_room.m_lampSystems[1];
    rederiveDependentLampSystems(m_doc, m_room, 0);
    EXPECT_DOUBLE_EQ(m_room.m_lampSystems[1].m_luminaires[0].m_position.x, before.m_luminaires[0].m_position.x);
    EXPECT_EQ(m_room.m_lampSystems[0].m_luminaires.size(), 2U);
    rederiveLampSystemFromSource(m_doc, m_room, m_room.m_lampSystems[1]);
    EXPECT_DOUBLE_EQ(m_room.m_lampSystems[0].m_luminaires[0].m_position.x, 1.0);
    rederiveDependentLampSystems(m_doc, m_room, 9);
}

} // namespace
} // namespace kzev::test
