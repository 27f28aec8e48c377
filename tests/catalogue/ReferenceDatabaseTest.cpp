// The rebuild of the reference database of makers, on a copy of the shipped
// data folder and on small workbooks made here.

#include "catalogue/ReferenceDatabase.h"
#include "platform/CData.h"
#include "platform/DataLocation.h"
#include "platform/FileIo.h"
#include "support/FakeServices.h"
#include "support/WorkbookFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>

namespace kzev::test {
namespace {

namespace fs = std::filesystem;

const fs::path kShippedData = fs::path(KZEV_SOURCE_DIR) / "data";

/** The rows of a query on a database, each row's cells joined by "|". */
std::vector<std::string> queryRows(const std::string& file, const std::string& query)
{
    std::vector<std::string> rows;
    CData data;
    if (!data.Open(file, {}) || !data.OpenTable(query))
        return { "cannot read " + file + ": " + data.lastError() };
    for (long row = 0; row < data.rowCount(); ++row) {
        std::string line;
        for (int column = 0; column < data.columnCount(); ++column) {
            std::string value;
            data.GetStringValue(column, value, row);
            line += (column ? "|" : "") + value;
        }
        rows.push_back(line);
    }
    data.Close();
    return rows;
}

bool logHas(const RecordingLog& log, const std::string& text)
{
    for (const std::string& call : log.calls) {
        if (call.find(text) != std::string::npos)
            return true;
    }
    return false;
}

class ReferenceDatabase : public ::testing::Test {
protected:
    ReferenceDatabase()
    {
        for (const fs::directory_entry& entry : fs::directory_iterator(kShippedData))
            fs::copy_file(entry.path(), m_folder.path() / entry.path().filename());
    }

    [[nodiscard]] std::string target() const { return m_folder.file("ZEV-Odkazy.mdb"); }

    FakeServices m_services;
    TempFolder m_folder;
    ScopedDataLocation m_location { DataLocation { m_folder.path().string(), "ZEV-", "Excel 8.0" } };
};

TEST_F(ReferenceDatabase, RebuildFromTheSampleMakersHoldsEveryMakerGroupAndSection)
{
    // Leave a stale database behind, so that the rebuild has to replace it.
    writeWorkbook(target(), { { "Luminaires", { { "Výrobce" }, { "Skupina" } }, { { std::int64_t { 9 }, std::int64_t { 1 } } } } });
    const std::vector<std::uint8_t> old = readWholeFile(target());

    ASSERT_TRUE(rebuildReferenceDatabase());

    // The queries by which the lamp-system sheet reads the database.
    EXPECT_EQ(queryRows(target(), "SELECT * FROM Luminaires ORDER BY [Výrobce],[Skupina] ASC"),
        (std::vector<std::string> { "1001|20001", "1002|20001", "1002|20002" }));
    EXPECT_EQ(queryRows(target(), "SELECT * FROM Lamps ORDER BY [Výrobce],[Skupina] ASC"),
        (std::vector<std::string> { "1001|20011", "1002|20011", "1002|20012" }));
    EXPECT_EQ(queryRows(target(), "SELECT * FROM [Oddíly] ORDER BY [Výrobce],[Podskupina] ASC"),
        (std::vector<std::string> { "1001|20|1|1|Interiérová svítidla", "1001|20|11|3|Světelné zdroje",
            "1002|20|1|1|Interiérová svítidla", "1002|20|2|2|Venkovní a uliční svítidla",
            "1002|20|11|3|Světelné zdroje", "1002|20|12|3|Světelné zdroje" }));

    // The old database is the backup, the temporary file is gone, and the log ends well.
    EXPECT_EQ(readWholeFile(referenceDatabaseBackupPath()), old);
    EXPECT_FALSE(fs::exists(referenceDatabaseTempPath()));
    EXPECT_TRUE(m_services.messageBox.shown.empty());
    ASSERT_FALSE(m_services.log.calls.empty());
    EXPECT_EQ(m_services.log.calls.back(), "line:O.K.");
    EXPECT_TRUE(logHas(m_services.log, "ZEV-1002.xls"));
    // The standard's requirement workbooks are no makers.
    EXPECT_FALSE(logHas(m_services.log, "N12464"));
}

TEST_F(ReferenceDatabase, SecondRebuildKeepsOneBackupThePreviousDatabase)
{
    ASSERT_TRUE(rebuildReferenceDatabase());
    const std::vector<std::uint8_t> first = readWholeFile(target());
    ASSERT_TRUE(rebuildReferenceDatabase());
    EXPECT_EQ(readWholeFile(referenceDatabaseBackupPath()), first);
    int backups = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_folder.path()))
        backups += entry.path().extension() == ".bak" ? 1 : 0;
    EXPECT_EQ(backups, 1);
}

TEST_F(ReferenceDatabase, DamagedWorkbookMidwayKeepsTheOldDatabaseAndSaysSo)
{
    // Sorted after the two sample makers, so the rebuild has written their rows already.
    fs::copy_file(fs::path(KZEV_SOURCE_DIR) / "tests/fixtures/ZEV-0042-damaged.xls", m_folder.path() / "ZEV-1500.xls");
    const std::vector<std::uint8_t> old = readWholeFile(target());

    EXPECT_FALSE(rebuildReferenceDatabase());

    EXPECT_EQ(readWholeFile(target()), old);
    EXPECT_FALSE(fs::exists(referenceDatabaseTempPath()));
    EXPECT_FALSE(fs::exists(referenceDatabaseBackupPath()));
    ASSERT_EQ(m_services.messageBox.shown.size(), 1u);
    const auto& message = m_services.messageBox.shown[0];
    EXPECT_EQ(message.icon, MessageIcon::Error);
    EXPECT_NE(message.text.find("ZEV-1500.xls"), std::string::npos);
    EXPECT_NE(message.text.find("zůstal beze změny"), std::string::npos);
    EXPECT_FALSE(logHas(m_services.log, "O.K."));
}

TEST_F(ReferenceDatabase, FolderWithoutMakersLeavesTheOldDatabase)
{
    for (const char* name : { "ZEV-1001.xls", "ZEV-1002.xls" })
        fs::remove(m_folder.path() / name);
    const std::vector<std::uint8_t> old = readWholeFile(target());

    EXPECT_FALSE(rebuildReferenceDatabase());

    EXPECT_EQ(readWholeFile(target()), old);
    ASSERT_EQ(m_services.messageBox.shown.size(), 1u);
    EXPECT_NE(m_services.messageBox.shown[0].text.find("Nenalezl jsem žádné soubory"), std::string::npos);
    EXPECT_FALSE(logHas(m_services.log, "O.K."));
}

TEST_F(ReferenceDatabase, RepeatedPairsGiveOneRowAndMakersWithoutLampsAreRead)
{
    // A maker of luminaires only; group 20 subgroup 34 met twice, rows without a subgroup skipped.
    const auto n = [](long value) { return DataValue { std::int64_t { value } }; };
    ASSERT_TRUE(writeWorkbook(m_folder.file("ZEV-0007.xls"),
        { { "Luminaires$", { { "Věta" }, { "Skupina" }, { "Podskupina" }, { "Oddíl" } },
              { { n(1), n(20), n(34), n(5) }, { n(2), n(20), n(34), n(5) }, { n(3), n(20), n(0), n(5) },
                  { n(4), n(20), n(34), {} } } },
            { "Oddíly$", { { "Oddíl" }, { "Název" } }, { { n(5), std::string("Zářivková svítidla") } } } }));

    ASSERT_TRUE(rebuildReferenceDatabase());

    EXPECT_EQ(queryRows(target(), "SELECT * FROM Luminaires WHERE [Výrobce]=7"), (std::vector<std::string> { "7|20034" }));
    EXPECT_TRUE(queryRows(target(), "SELECT * FROM Lamps WHERE [Výrobce]=7").empty());
    EXPECT_EQ(queryRows(target(), "SELECT * FROM [Oddíly] WHERE [Výrobce]=7"),
        (std::vector<std::string> { "7|20|34|5|Zářivková svítidla" }));
}

TEST_F(ReferenceDatabase, GroupNumbersNoMakerUsesArePassedOver)
{
    // Damaged cells: a group or subgroup far beyond any real one, even the lowest number there is.
    const auto n = [](long value) { return DataValue { std::int64_t { value } }; };
    ASSERT_TRUE(writeWorkbook(m_folder.file("ZEV-0007.xls"),
        { { "Luminaires$", { { "Věta" }, { "Skupina" }, { "Podskupina" }, { "Oddíl" } },
            { { n(1), n(std::numeric_limits<std::int32_t>::min()), n(1), n(5) }, { n(2), n(20), n(2000000), n(5) },
                { n(3), n(20), n(34), n(5) } } } }));

    ASSERT_TRUE(rebuildReferenceDatabase());

    EXPECT_EQ(queryRows(target(), "SELECT * FROM Luminaires WHERE [Výrobce]=7"), (std::vector<std::string> { "7|20034" }));
}

/** A workbook of maker 7 with luminaires of group 20, subgroup `subgroup`, section 5, and one lamp of subgroup 35. */
bool writeMakerSeven(const std::string& file, long subgroup)
{
    const auto n = [](long value) { return DataValue { std::int64_t { value } }; };
    std::error_code ignored;
    fs::remove(file, ignored);
    return writeWorkbook(file,
        { { "Luminaires$", { { "Věta" }, { "Skupina" }, { "Podskupina" }, { "Oddíl" } },
              { { n(1), n(20), n(subgroup), n(5) }, { n(2), n(20), n(subgroup), n(5) } } },
            { "Lamps$", { { "Věta" }, { "Skupina" }, { "Podskupina" }, { "Oddíl" } }, { { n(1), n(20), n(35), n(5) } } },
            { "Oddíly$", { { "Oddíl" }, { "Název" } }, { { n(5), std::string("ACME Inc.") } } } });
}

TEST_F(ReferenceDatabase, UpdateAfterAnImportReadsThatMakerAgainAndKeepsTheOthers)
{
    ASSERT_TRUE(writeMakerSeven(m_folder.file("ZEV-0007.xls"), 1));
    ASSERT_TRUE(rebuildReferenceDatabase());
    // Luminaires moved to the group of imported ones; a damaged workbook of another maker, which a whole
    // rebuild would stop at, is not read.
    ASSERT_TRUE(writeMakerSeven(m_folder.file("ZEV-0007.xls"), 34));
    fs::copy_file(fs::path(KZEV_SOURCE_DIR) / "tests/fixtures/ZEV-0042-damaged.xls", m_folder.path() / "ZEV-1500.xls");
    const std::vector<std::uint8_t> before = readWholeFile(target());
    m_services.log.calls.clear();

    ASSERT_TRUE(updateReferenceDatabase({ m_folder.file("ZEV-0007.xls"), 7 }));

    EXPECT_EQ(queryRows(target(), "SELECT * FROM Luminaires ORDER BY [Výrobce],[Skupina] ASC"),
        (std::vector<std::string> { "7|20034", "1001|20001", "1002|20001", "1002|20002" }));
    EXPECT_EQ(queryRows(target(), "SELECT * FROM Lamps ORDER BY [Výrobce],[Skupina] ASC"),
        (std::vector<std::string> { "7|20035", "1001|20011", "1002|20011", "1002|20012" }));
    EXPECT_EQ(queryRows(target(), "SELECT * FROM [Oddíly] WHERE [Výrobce]=7 ORDER BY [Podskupina] ASC"),
        (std::vector<std::string> { "7|20|34|5|ACME Inc.", "7|20|35|5|ACME Inc." }));
    EXPECT_EQ(queryRows(target(), "SELECT * FROM [Oddíly] WHERE [Výrobce]=1002 ORDER BY [Podskupina] ASC").size(), 4u);
    EXPECT_EQ(readWholeFile(referenceDatabaseBackupPath()), before);
    EXPECT_FALSE(fs::exists(referenceDatabaseTempPath()));
    EXPECT_TRUE(m_services.messageBox.shown.empty());
    ASSERT_FALSE(m_services.log.calls.empty());
    EXPECT_EQ(m_services.log.calls.back(), "line:O.K.");
    EXPECT_FALSE(logHas(m_services.log, "ZEV-1001.xls")) << "only the updated maker is read";
}

TEST_F(ReferenceDatabase, UpdateWithoutADatabaseBuildsAllOfIt)
{
    ASSERT_TRUE(writeMakerSeven(m_folder.file("ZEV-0007.xls"), 34));
    fs::remove(target());

    ASSERT_TRUE(updateReferenceDatabase({ m_folder.file("ZEV-0007.xls"), 7 }));

    EXPECT_EQ(queryRows(target(), "SELECT * FROM Luminaires ORDER BY [Výrobce],[Skupina] ASC"),
        (std::vector<std::string> { "7|20034", "1001|20001", "1002|20001", "1002|20002" }));
}

TEST_F(ReferenceDatabase, UpdateOfAnUnreadableDatabaseLeavesItAndSaysSo)
{
    ASSERT_TRUE(writeMakerSeven(m_folder.file("ZEV-0007.xls"), 34));
    std::ofstream(target(), std::ios::binary | std::ios::trunc) << "not a database";
    const std::vector<std::uint8_t> old = readWholeFile(target());

    EXPECT_FALSE(updateReferenceDatabase({ m_folder.file("ZEV-0007.xls"), 7 }));

    EXPECT_EQ(readWholeFile(target()), old);
    EXPECT_FALSE(fs::exists(referenceDatabaseTempPath()));
    ASSERT_EQ(m_services.messageBox.shown.size(), 1u);
    EXPECT_NE(m_services.messageBox.shown[0].text.find("zůstal beze změny"), std::string::npos);
}

TEST(MakerWorkbooks, OnlyNumberedWorkbooksAreMakers)
{
    TempFolder folder;
    const struct {
        const char* name;
        long number; // 0: not a maker
    } cases[] = {
        { "ZEV-1001.xls", 1001 },
        { "ZEV-0015.xls", 15 },
        { "ZEV-0000.xls", 0 },
        { "ZEV-N12464-1.xls", 0 },
        { "ZEV-SKUPINY.xls", 0 },
        { "ZEV-Odkazy.mdb", 0 },
        { "ZEV-2000.txt", 0 },
        { "OTHER-1003.xls", 0 },
    };
    for (const auto& c : cases)
        std::ofstream(folder.path() / c.name) << "x";
    ScopedDataLocation location { DataLocation { folder.path().string(), "ZEV-", "Excel 8.0" } };

    std::vector<long> expected;
    for (const auto& c : cases) {
        if (c.number > 0)
            expected.push_back(c.number);
    }
    std::sort(expected.begin(), expected.end());
    std::vector<long> found;
    for (const MakerWorkbook& workbook : findMakerWorkbooks())
        found.push_back(workbook.number);
    EXPECT_EQ(found, expected);
}

} // namespace
} // namespace kzev::test
