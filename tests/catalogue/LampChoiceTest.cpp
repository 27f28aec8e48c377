// Writing the selection page's choice into a lamp system of a document.

#include "catalogue/LampChoice.h"
#include "model/CKzevDoc.h"
#include "platform/DataLocation.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

namespace kzev::test {
namespace {

CLampSystem panelSystem(const std::string& name)
{
    CLampSystem system;
    system.m_name = name;
    system.m_luminaireDatabase = 1001;
    system.m_luminaireRecord = 2;
    system.m_lampDatabase = 1001;
    system.m_lampRecord = 2;
    return system;
}

class LampChoiceTest : public ::testing::Test {
protected:
    LampChoiceTest()
    {
        CRoom room;
        room.m_lampSystems = { panelSystem("A"), panelSystem("B") };
        m_doc.m_rooms = { room, room };
        for (CRoom& r : m_doc.m_rooms)
            for (CLampSystem& system : r.m_lampSystems) {
                EXPECT_EQ(m_doc.ResolveLuminaire(system, 0), 1);
                EXPECT_EQ(m_doc.ResolveLamp(system, 0), 1);
            }
    }

    FakeServices m_services;
    ScopedDataLocation m_location {
        DataLocation { (std::filesystem::path(KZEV_SOURCE_DIR) / "data").string(), "ZEV-", "Excel 8.0" } };
    CKzevDoc m_doc;
};

TEST_F(LampChoiceTest, ANewLampGetsItsOwnEntryAndLeavesTheOtherSystemsAlone)
{
    ASSERT_EQ(m_doc.m_luminaires.size(), 1u);
    ASSERT_EQ(m_doc.m_lamps.size(), 1u);
    const CLampSystem otherBefore = m_doc.m_rooms[1].m_lampSystems[0];
    const double sharedFlux = m_doc.m_lamps[0].m_luminousFlux;

    CLampSystem working = m_doc.m_rooms[0].m_lampSystems[0];
    LampChoice choice;
    choice.hasLuminaire = true;
    choice.luminaireMaker = 1001;
    choice.luminaireRecord = 2;
    choice.hasLamp = true;
    choice.lampMaker = 1001;
    choice.lampRecord = 5;
    choice.lampSubgroup = 11;
    choice.flux = 1014.0;
    EXPECT_TRUE(applyLampChoice(m_doc, working, choice));

    EXPECT_EQ(working.m_lampRecord, 5);
    EXPECT_EQ(working.m_catalogueGroup, 11);
    ASSERT_EQ(m_doc.m_lamps.size(), 2u);
    EXPECT_EQ(working.m_lampIndex, 1);
    EXPECT_EQ(m_doc.m_lamps[1].m_recordNumber, 5);
    EXPECT_DOUBLE_EQ(working.m_lampFlux, 1014.0);
    // The shared luminaire and the other systems' lamp are as they were.
    EXPECT_EQ(m_doc.m_luminaires[0].m_lampDesignation, "1001-2");
    EXPECT_DOUBLE_EQ(m_doc.m_lamps[0].m_luminousFlux, sharedFlux);
    const CLampSystem& other = m_doc.m_rooms[1].m_lampSystems[0];
    EXPECT_EQ(other.m_lampRecord, otherBefore.m_lampRecord);
    EXPECT_EQ(other.m_lampIndex, otherBefore.m_lampIndex);
    EXPECT_EQ(other.m_lampName, otherBefore.m_lampName);
    EXPECT_EQ(m_doc.m_rooms[0].m_lampSystems[1].m_lampRecord, 2);
}

TEST_F(LampChoiceTest, ANewLuminaireIsFoundAndDescribedAndTheOwnFluxWins)
{
    CLampSystem working = m_doc.m_rooms[0].m_lampSystems[0];
    LampChoice choice;
    choice.hasLuminaire = true;
    choice.luminaireMaker = 1002;
    choice.luminaireRecord = 1;
    choice.hasLamp = true;
    choice.lampMaker = 1002;
    choice.lampRecord = 1;
    choice.flux = 30000.0;
    choice.ownFlux = 1;
    EXPECT_TRUE(applyLampChoice(m_doc, working, choice));
    ASSERT_GE(working.m_luminaireIndex, 0);
    EXPECT_EQ(m_doc.m_luminaires[static_cast<std::size_t>(working.m_luminaireIndex)].m_type, "RoadRun23");
    EXPECT_EQ(working.m_luminaireName.rfind("RoadRun23,Road Runner,", 0), 0u) << working.m_luminaireName;
    EXPECT_DOUBLE_EQ(working.m_lampFlux, 30000.0);
    EXPECT_EQ(working.m_ownFlux, 1);
    EXPECT_EQ(m_doc.m_rooms[0].m_lampSystems[1].m_luminaireRecord, 2);
}

TEST_F(LampChoiceTest, AnOwnFluxBeyondRangeIsNotTaken)
{
    for (const double typed : { std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN() }) {
        CLampSystem working = m_doc.m_rooms[0].m_lampSystems[0];
        working.m_ownFlux = 1;
        working.m_lampFlux = 4500.0;
        LampChoice choice;
        choice.flux = typed;
        choice.ownFlux = 1;
        EXPECT_TRUE(applyLampChoice(m_doc, working, choice));
        EXPECT_TRUE(std::isfinite(working.m_lampFlux)) << typed;
        EXPECT_DOUBLE_EQ(working.m_lampFlux, 4500.0) << typed;
    }
}

TEST_F(LampChoiceTest, NothingChosenKeepsTheIdentity)
{
    CLampSystem working = m_doc.m_rooms[0].m_lampSystems[0];
    LampChoice choice;
    choice.flux = 4997.0;
    EXPECT_TRUE(applyLampChoice(m_doc, working, choice));
    EXPECT_EQ(working.m_luminaireRecord, 2);
    EXPECT_EQ(working.m_lampRecord, 2);
    EXPECT_EQ(working.m_luminaireIndex, 0);
}

} // namespace
} // namespace kzev::test
