// The document's imports: a good file replaces the rooms and leaves the
// project untitled and modified; a refused one changes nothing.

#include "ImportTestSupport.h"
#include "KnepWriter.h"
#include "support/FakeServices.h"
#include "support/WorkbookFixture.h"

#include "model/CKzevDoc.h"
#include "platform/DataLocation.h"
#include "platform/ProfileStore.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using namespace kzev;

class DocumentImport : public ::testing::Test {
protected:
    void SetUp() override
    {
        installProfileStore(std::make_unique<MemoryProfileStore>());
        m_doc.OnNewDocument();
        m_doc.m_rooms[0].m_name = "Původní";
        m_doc.SetModifiedFlag(false);
        std::string failure;
        ASSERT_TRUE(test::writeWorkbook(dataFolderWithPrefix() + "VYROBCI.xls",
            { { "Vyrobci$", { { "Soubor" }, { "DBF" } }, { { std::int64_t { 1001 }, std::int64_t { 1234 } } } } },
            &failure))
            << failure;
    }

    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        const std::string path = m_folder.file(name);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    std::vector<std::uint8_t> projectBytes() { return m_doc.SaveToBytes(); }

    test::TempFolder m_folder;
    ScopedDataLocation m_location { DataLocation { m_folder.path().string() + "/", "ZEV-", "Excel 8.0" } };
    test::RecordingLog m_log;
    test::ScriptedMessageBox m_messages;
    ScopedServices m_services { Services { &m_log, nullptr, &m_messages, nullptr, nullptr, nullptr } };
    CKzevDoc m_doc;
};

TEST_F(DocumentImport, AnImportedRoomReplacesTheRoomsOfAnUntitledModifiedProject)
{
    ASSERT_EQ(m_doc.ImportZevInput(test::importFixture("predecessor.ink").string()), 1) << m_messages.shown.size();
    ASSERT_EQ(m_doc.m_rooms.size(), 1u);
    EXPECT_EQ(m_doc.m_rooms[0].m_name, "Kancelář 101");
    EXPECT_TRUE(m_doc.GetPathName().empty()) << "Save must never overwrite the imported file";
    EXPECT_TRUE(m_doc.IsModified());

    ASSERT_EQ(m_doc.ImportNepInput(test::importFixture("daylight-input.ink").string()), 1);
    EXPECT_EQ(m_doc.m_rooms[0].m_name, "Učebna");

    const std::string nep = write("p.nep", test::KnepWriter::write(test::sampleKnepProject(4003)));
    ASSERT_EQ(m_doc.ImportKnepProject(nep), 1);
    EXPECT_EQ(m_doc.m_rooms[0].m_name, "Místnost");
    EXPECT_EQ(m_doc.m_projectName, "Přístavba");
    EXPECT_EQ(m_doc.m_unitMm, 0);
    EXPECT_EQ(m_doc.m_leftMargin, 21);
}

TEST_F(DocumentImport, ARefusedFileLeavesTheProjectAsItWas)
{
    const std::vector<std::uint8_t> before = projectBytes();
    test::KnepProjectSpec noRooms = test::sampleKnepProject(4003);
    noRooms.buildings.clear();
    std::vector<std::uint8_t> cut = test::KnepWriter::write(test::sampleKnepProject(4003));
    cut.resize(cut.size() - 10);
    const std::string text = test::readFixture("predecessor.ink");

    const std::pair<std::function<int()>, std::string> refused[] = {
        { [&] { return m_doc.ImportZevInput(m_folder.file("missing.ink")); },
            "Nelze otevřít soubor " + m_folder.file("missing.ink") + " ! (existuje ?)" },
        { [&] { return m_doc.ImportZevInput(write("cut.ink", { text.begin(), text.begin() + 300 })); }, "" },
        { [&] { return m_doc.ImportNepInput(test::importFixture("predecessor.ink").string()); },
            "Soubor nevypadá jako Knep 3.x vstupní !" },
        { [&] { return m_doc.ImportKnepProject(write("cut.nep", cut)); }, "" },
        { [&] { return m_doc.ImportKnepProject(write("none.nep", test::KnepWriter::write(noRooms))); },
            "Soubor " + m_folder.file("none.nep") + " neobsahuje žádnou místnost !" },
    };
    for (const auto& [import, message] : refused) {
        m_messages.shown.clear();
        EXPECT_EQ(import(), 0);
        ASSERT_EQ(m_messages.shown.size(), 1u);
        if (!message.empty()) {
            EXPECT_EQ(m_messages.shown[0].text, message);
        }
        EXPECT_EQ(projectBytes(), before);
        EXPECT_FALSE(m_doc.IsModified());
    }
}

} // namespace
