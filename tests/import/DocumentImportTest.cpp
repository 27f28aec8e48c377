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

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <limits>

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

/** The fixture with some of its lines (counted from 1) replaced. */
std::string fixtureWith(const std::string& name, const std::vector<std::pair<std::size_t, std::string>>& changes)
{
    std::vector<std::string> lines = test::linesOf(test::readFixture(name));
    for (const auto& [line, text] : changes)
        lines.at(line - 1) = text;
    return test::joinLines(lines);
}

template <typename T>
std::vector<std::uint8_t> bytesOf(T value)
{
    std::vector<std::uint8_t> bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

// What the project reader would refuse on reopening, or the calculation settings never allow, an import
// refuses too: with the file and its line (text files) or byte (daylight projects), the project untouched.
TEST_F(DocumentImport, WhatCouldNotBeReopenedIsRefusedWithItsPlace)
{
    using Import = int (CKzevDoc::*)(const std::string&);
    struct Case {
        std::string file;
        std::vector<std::uint8_t> bytes;
        Import import;
        std::size_t line;                   ///< 0: a daylight project, whose byte holds `value`
        std::vector<std::uint8_t> value;
        std::string reason;
    };
    const auto text = [](const std::string& s) { return std::vector<std::uint8_t>(s.begin(), s.end()); };
    const auto zev = [&](std::size_t line, const std::string& changed) {
        return text(fixtureWith("predecessor.ink", { { line, changed } }));
    };
    const auto nep = [&](std::size_t line, const std::string& changed) {
        return text(fixtureWith("daylight-input.ink", { { line, changed } }));
    };
    const auto knep = [](const auto& change) {
        test::KnepProjectSpec spec = test::sampleKnepProject(4003);
        change(spec, spec.buildings[0][0]);
        return test::KnepWriter::write(spec);
    };
    using Spec = test::KnepProjectSpec;
    using Room = test::KnepRoomSpec;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Import zevImport = &CKzevDoc::ImportZevInput, nepImport = &CKzevDoc::ImportNepInput,
                 knepImport = &CKzevDoc::ImportKnepProject;

    const Case cases[] = {
        { "boxes.ink", zev(38, "200 200 1"), zevImport, 38, {}, "počet 200 × 200 je mimo rozsah 0 až 10000 celkem" },
        { "lamps.ink", zev(24, "300 300 1"), zevImport, 24, {}, "počet 300 × 300 je mimo rozsah 0 až 65536 celkem" },
        { "flat.ink", zev(8, "8000 0 3000"), zevImport, 8, {}, "rozměr místnosti 0 není kladné číslo" },
        { "negative.ink", zev(8, "8000 5000 -3000"), zevImport, 8, {}, "rozměr místnosti -3 není kladné číslo" },
        { "floor.ink", zev(9, "0.7 1.5 0.5 0.5 0.6 0.5"), zevImport, 9, {}, "odraznost 1.5 je mimo rozsah 0 až 1" },
        { "shelf.ink", zev(43, "-0.2 0"), zevImport, 43, {}, "odraznost -0.2 je mimo rozsah 0 až 1" },
        { "bounces.ink", zev(3, "0 0 0 10.0 500.0 2000 0 0 0 0 1 1 1 0 0 0 0 0 1 0"), zevImport, 3, {},
            "počet odrazů 2000 je mimo rozsah 0 až 1000" },
        { "boxes3.ink", nep(23, "1000 1 1000"), nepImport, 23, {}, "počet 1000 × 1000 je mimo rozsah 0 až 10000 celkem" },
        { "narrow3.ink", nep(6, "9000 -3000 3200"), nepImport, 6, {}, "rozměr místnosti -3 není kladné číslo" },
        { "wall3.ink", nep(9, "0.7 0.3 0.5 5 0.5 0.5"), nepImport, 9, {}, "odraznost 5 je mimo rozsah 0 až 1" },
        { "boxes.nep", knep([](Spec&, Room& r) { r.obstacles[0].counts[0] = r.obstacles[0].counts[1] = 100000; }),
            knepImport, 0, bytesOf(std::array<std::int32_t, 2> { 100000, 100000 }), "počet 100000 × 100000 je mimo rozsah 0 až 10000 celkem" },
        { "grid.nep", knep([](Spec&, Room& r) {
              r.planesB[0].rows = r.planesB[0].perRow = 2000;
              r.planesB[0].points.clear();
          }),
            knepImport, 0, bytesOf(std::array<std::uint32_t, 2> { 2000, 2000 }), "počet 2000 × 2000 je mimo rozsah 0 až 1048576 celkem" },
        { "nan.nep", knep([&](Spec&, Room& r) { r.d1 = nan; }), knepImport, 0, bytesOf(nan),
            "rozměr místnosti nan není kladné číslo" },
        { "inf.nep", knep([&](Spec&, Room& r) { r.d2 = inf; }), knepImport, 0, bytesOf(inf),
            "rozměr místnosti inf není kladné číslo" },
        { "minus.nep", knep([](Spec&, Room& r) { r.d3 = -3.0; }), knepImport, 0, bytesOf(-3.0),
            "rozměr místnosti -3 není kladné číslo" },
        { "rho-nan.nep", knep([&](Spec&, Room& r) { r.rho[0] = nan; }), knepImport, 0, bytesOf(nan),
            "odraznost nan je mimo rozsah 0 až 1" },
        { "rho-5.nep", knep([](Spec&, Room& r) { r.rho[5] = 5.5; }), knepImport, 0, bytesOf(5.5),
            "odraznost 5.5 je mimo rozsah 0 až 1" },
        { "rho-minus.nep", knep([](Spec&, Room& r) { r.rho[2] = -1.0; }), knepImport, 0, bytesOf(-1.0),
            "odraznost -1 je mimo rozsah 0 až 1" },
        { "bounces.nep", knep([](Spec& p, Room&) { p.r2 = 5000; }), knepImport, 0, bytesOf(std::int32_t { 5000 }),
            "počet odrazů 5000 je mimo rozsah 0 až 1000" },
    };
    const std::vector<std::uint8_t> before = projectBytes();
    for (const Case& c : cases) {
        const std::string path = write(c.file, c.bytes);
        m_messages.shown.clear();
        EXPECT_EQ((m_doc.*c.import)(path), 0) << c.file;
        ASSERT_EQ(m_messages.shown.size(), 1u) << c.file;
        std::string place = "řádek " + std::to_string(c.line);
        if (c.line == 0) {
            // The byte named is where the value stands, found in the file independently.
            const auto at = std::search(c.bytes.begin(), c.bytes.end(), c.value.begin(), c.value.end());
            ASSERT_NE(at, c.bytes.end()) << c.file;
            ASSERT_EQ(std::search(at + 1, c.bytes.end(), c.value.begin(), c.value.end()), c.bytes.end()) << c.file;
            place = "bajt " + std::to_string(at - c.bytes.begin());
        }
        EXPECT_EQ(m_messages.shown[0].text, "Soubor " + path + ", " + place + ": " + c.reason + " !");
        EXPECT_EQ(projectBytes(), before) << c.file;
        EXPECT_FALSE(m_doc.IsModified()) << c.file;
    }
}

} // namespace
