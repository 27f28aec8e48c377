// The lamp-system sheet's snapshot, push and ways out, without its window.

#include "dialogs/lamps/LampSheetSession.h"
#include "model/CKzevDoc.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

namespace kzev::test {
namespace {

class LampSheetSessionTest : public ::testing::Test {
protected:
    LampSheetSessionTest()
    {
        CRoom room;
        room.m_lampSystems.clear();
        for (const char* name : { "A", "B" }) {
            CLampSystem system;
            system.m_name = name;
            system.m_luminaireRecord = 1;
            room.m_lampSystems.push_back(system);
        }
        room.m_resultsValid = 1;
        room.m_surfacesUpToDate = 1;
        m_doc.m_rooms = { room };
        m_doc.SetModifiedFlag(false);
    }

    CLampSystem& documentSystem(std::size_t i) { return m_doc.m_rooms[0].m_lampSystems[i]; }

    FakeServices m_services;
    CKzevDoc m_doc;
};

TEST_F(LampSheetSessionTest, CancelRestoresTheRoomAfterPushedEdits)
{
    LampSheetSession session(m_doc, 0, 1);
    ASSERT_TRUE(session.Begin());
    EXPECT_EQ(session.working().m_name, "B");
    session.working().m_luminaireRecord = 7;
    session.Push();
    EXPECT_EQ(documentSystem(1).m_luminaireRecord, 7);
    EXPECT_EQ(m_doc.m_rooms[0].m_resultsValid, 0);
    EXPECT_EQ(m_doc.m_rooms[0].m_surfacesUpToDate, 0);
    session.Cancel();
    EXPECT_EQ(documentSystem(1).m_luminaireRecord, 1);
    EXPECT_EQ(documentSystem(0).m_name, "A");
    EXPECT_FALSE(m_doc.IsModified());
    // The results belong to the restored lamp systems: they hold again.
    EXPECT_EQ(m_doc.m_rooms[0].m_resultsValid, 1);
    EXPECT_EQ(m_doc.m_rooms[0].m_surfacesUpToDate, 1);
}

TEST_F(LampSheetSessionTest, OkKeepsTheWorkingCopyWithItsPage)
{
    LampSheetSession session(m_doc, 0, 0);
    ASSERT_TRUE(session.Begin());
    session.working().m_luminaireRecord = 9;
    session.Ok(0);
    EXPECT_EQ(documentSystem(0).m_luminaireRecord, 9);
    EXPECT_EQ(documentSystem(0).m_pageState, 0);
    EXPECT_EQ(documentSystem(1).m_luminaireRecord, 1);
    EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(LampSheetSessionTest, EscapeKeepsWhatWasPushedAndCountsItAsAChange)
{
    LampSheetSession session(m_doc, 0, 0);
    ASSERT_TRUE(session.Begin());
    session.working().m_luminaireRecord = 5;
    session.Push();
    session.working().m_luminaireRecord = 6;
    session.Escape();
    EXPECT_EQ(documentSystem(0).m_luminaireRecord, 5);
    EXPECT_TRUE(m_doc.IsModified());

    m_doc.SetModifiedFlag(false);
    LampSheetSession untouched(m_doc, 0, 1);
    ASSERT_TRUE(untouched.Begin());
    untouched.Escape();
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(LampSheetSessionTest, MissingRoomOrLampSystemOpensNothing)
{
    for (const auto& [room, system] : { std::pair { 1, 0 }, std::pair { 0, 2 }, std::pair { -1, 0 }, std::pair { 0, -1 } }) {
        LampSheetSession session(m_doc, room, system);
        EXPECT_FALSE(session.Begin()) << room << "," << system;
        session.Push();
        session.Ok(0);
        session.Cancel();
    }
    EXPECT_EQ(m_doc.m_rooms[0].m_lampSystems.size(), 2u);
    EXPECT_FALSE(m_doc.IsModified());
}

} // namespace
} // namespace kzev::test
