// Which luminaire blocks go into a CAD drawing, where, how large and turned
// how, with which attribute texts; and what is left out with a line in the log.

#include "cad/LuminaireInserts.h"

#include "model/CKzevDoc.h"
#include "platform/DataLocation.h"
#include "platform/ProfileStore.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <memory>

namespace kzev {
namespace {

TEST(LuminaireDataString, LegendKeyGivesLetterAndNumber)
{
    CLuminaire luminaire;
    luminaire.m_databaseNumber = 1;
    luminaire.m_recordNumber = 1234;
    CLamp lamp;
    lamp.m_databaseNumber = 2;
    lamp.m_recordNumber = 56;
    const struct {
        const char* key;
        const char* data;
    } cases[] = {
        { "C12", "0 0 0 0 -50 -50 3 12 1 1234 2 56" },
        { "B", "0 0 0 0 -50 -50 2 0 1 1234 2 56" },
        { "A0", "0 0 0 0 -50 -50 1 0 1 1234 2 56" },
        { "D-3", "0 0 0 0 -50 -50 4 0 1 1234 2 56" },
        { "", "0 0 0 0 -50 -50 -1 -1 1 1234 2 56" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(luminaireDataString(c.key, luminaire, lamp), c.data) << c.key;
}

TEST(BlockScale, TypesThirtyOneToFortyAndFiftyOneToFiftySixTakeDxfScale)
{
    const struct {
        const char* block;
        int dxfScale;
        double scale;
    } cases[] = {
        { "DAD 35", 50, 50.0 },
        { "DAD 31", 50, 50.0 },
        { "DAD 40", 20, 20.0 },
        { "DAD 41", 50, 100.0 },
        { "DAD 56", 50, 50.0 },
        { "DAD 57", 50, 100.0 },
        { "DAD 31", 0, 100.0 },
        { "DAD K 1", 50, 100.0 },
        { "DAD", 50, 100.0 },
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(blockScale(c.block, c.dxfScale), c.scale) << c.block << " " << c.dxfScale;
}

COneLampSystem aimed(CVector at, CVector aim, CVector c0, int switchedOff = 0)
{
    COneLampSystem one;
    one.m_position = at;
    one.m_opticalAxis = aim;
    one.m_c0Axis = c0;
    one.m_switchedOff = switchedOff;
    return one;
}

class LuminaireInsertsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        installProfileStore(std::make_unique<MemoryProfileStore>());
        m_doc = std::make_unique<CKzevDoc>();
        CKzevDoc& doc = *m_doc;
        doc.m_unitMm = 1;
        doc.m_dxfScale = 50;
        CLuminaire panel;
        panel.m_name = "Panel";
        panel.m_block = "  DAD 35  ";
        panel.m_databaseNumber = 3;
        panel.m_recordNumber = 17;
        panel.m_overallDimensions = { 1.2, -1.0, 0.1 };
        CLuminaire unnamed = panel;
        unnamed.m_name = "Bez bloku";
        unnamed.m_block = " X ";
        doc.m_luminaires = { panel, unnamed };
        CLamp lamp;
        lamp.m_databaseNumber = 4;
        lamp.m_recordNumber = 99;
        doc.m_lamps = { lamp };

        CRoom room;
        room.m_origin = { 10.0, 20.0, 0.5 };
        CLampSystem lit;
        lit.m_name = "Hlavní";
        lit.m_luminaireIndex = 0;
        lit.m_lampIndex = 0;
        lit.m_luminaires = { aimed({ 3.45, 3.0, 2.8 }, { 0.0, 0.0, -1.0 }, { 1.0, 0.0, 0.0 }),
            aimed({ 4.0, 3.0, 2.8 }, { 0.0, 0.0, -1.0 }, { 0.0, 1.0, 0.0 }),
            aimed({ 6.0, 3.0, 2.8 }, { 0.0, 0.0, -1.0 }, { 1.0, 0.0, 0.0 }, 1) };
        CLampSystem off = lit;
        off.m_name = "Vypnutá";
        off.m_switchedOff = 1;
        CLampSystem lost = lit;
        lost.m_name = "Ztracená";
        lost.m_luminaireIndex = -1;
        lost.m_luminaireDatabase = 9999;
        lost.m_luminaireRecord = 1;
        CLampSystem noBlock = lit;
        noBlock.m_name = "Bez bloku";
        noBlock.m_luminaireIndex = 1;
        room.m_lampSystems = { lit, off, lost, noBlock };
        doc.m_rooms = { room };
    }

    std::vector<LuminaireInsert> inserts(InsertOptions options = {})
    {
        return luminaireInserts(*m_doc, m_doc->m_rooms[0], options);
    }

    test::FakeServices m_services;
    ScopedDataLocation m_location { DataLocation { "/nonexistent-kzev-data/", "ZEV-", "Excel 8.0" } };
    std::unique_ptr<CKzevDoc> m_doc;
};

TEST_F(LuminaireInsertsTest, SwitchedOnPositionsInMillimetresWithDataAndRotation)
{
    const std::vector<LuminaireInsert> all = inserts();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_NEAR(all[0].point.x, 13450.0, 1e-9);
    EXPECT_NEAR(all[0].point.y, 23000.0, 1e-9);
    EXPECT_NEAR(all[0].point.z, 3300.0, 1e-9);
    EXPECT_EQ(all[0].block, "DAD 35");
    EXPECT_DOUBLE_EQ(all[0].scaleX, 50.0);
    // Aimed down, C0 along x: 270 degrees; C0 along y: not turned.
    EXPECT_NEAR(all[0].rotation, 270.0, 1e-4);
    EXPECT_NEAR(all[1].rotation, 0.0, 1e-4);
    EXPECT_FALSE(all[0].tilted);
    // No legend built: the key is empty and the numbers -1 -1.
    EXPECT_EQ(all[0].data, "0 0 0 0 -50 -50 -1 -1 3 17 4 99");
    EXPECT_EQ(all[0].key, "");

    // The unresolvable and the nameless lamp system are each named once, not once per luminaire.
    EXPECT_EQ(m_services.log.calls,
        (std::vector<std::string> { "line:Svítidlo soustavy Ztracená nelze načíst z databáze, soustava nebyla "
                                    "exportována !",
            "line:Není definováno v databázi jméno bloku svítidla Bez bloku !" }));
}

TEST_F(LuminaireInsertsTest, MetreProjectKeepsDecimalsAndScalesBlocksToMetres)
{
    m_doc->m_unitMm = 0;
    m_doc->m_export0 = 1;
    const std::vector<LuminaireInsert> all = inserts();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_NEAR(all[0].point.x, 13.45, 1e-12);
    EXPECT_NEAR(all[0].point.z, 0.5, 1e-12);
    EXPECT_NEAR(all[0].scaleX, 0.05, 1e-12);
}

TEST_F(LuminaireInsertsTest, GenericBlockTakesTheLengthForANegativeWidth)
{
    const std::vector<LuminaireInsert> all = inserts(InsertOptions { true, false });
    ASSERT_EQ(all.size(), 2u);
    EXPECT_TRUE(all[0].block.ends_with("tvmluni.dwg"));
    EXPECT_NEAR(all[0].scaleX, 120.0, 1e-9);
    EXPECT_NEAR(all[0].scaleY, 120.0, 1e-9);
    EXPECT_NEAR(all[0].scaleZ, 10.0, 1e-9);
}

TEST_F(LuminaireInsertsTest, LeadingBlanksKeptOnlyWhenAsked)
{
    EXPECT_EQ(inserts(InsertOptions { false, true }).at(0).block, "  DAD 35");
}

TEST_F(LuminaireInsertsTest, TiltedOnlyWhenTiltedOneByOneAndAimedAside)
{
    CLampSystem& system = m_doc->m_rooms[0].m_lampSystems[0];
    system.m_luminaires[0].m_opticalAxis = { 0.5, 0.0, -0.8660254 };
    EXPECT_FALSE(inserts().at(0).tilted);
    system.m_generalOrientation = 1;
    const LuminaireInsert tilted = inserts().at(0);
    EXPECT_TRUE(tilted.tilted);
    EXPECT_NEAR(tilted.tilt, 30.0, 1e-3);
    EXPECT_NEAR(tilted.turn, 0.0, 1e-6);
    // Aimed straight down stays untilted whatever the lamp system says.
    EXPECT_FALSE(inserts().at(1).tilted);
}

} // namespace
} // namespace kzev
