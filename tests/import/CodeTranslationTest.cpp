// The predecessor's luminaire and lamp codes looked up in the makers' workbooks.

#include "support/FakeServices.h"
#include "support/WorkbookFixture.h"

#include "import/CodeTranslation.h"
#include "import/ImportError.h"
#include "platform/DataLocation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace {

using namespace kzev;

class CodeTranslation : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeSheet(dataFolderWithPrefix() + "VYROBCI.xls",
            { "Vyrobci$", { { "Soubor" }, { "DBF" } }, { { std::int64_t { 1001 }, std::int64_t { 1234 } } } });
        writeSheet(makerWorkbookPath(1001),
            { "Luminaires$", { { "Věta" }, { "ČísloZev" } },
                { { std::int64_t { 3 }, std::int64_t { 7 } }, { std::int64_t { 9 }, std::int64_t { 5678 } } } });
        const auto lamps = [](std::int64_t record) {
            return test::SheetFixture { "Lamps$", { { "Věta" }, { "Zdroj" }, { "Výkon" } },
                { { record, std::int64_t { 21 }, std::int64_t { 36 } } } };
        };
        writeSheet(makerWorkbookPath(1241), lamps(11));
        writeSheet(makerWorkbookPath(1082), lamps(22));
    }

    void writeSheet(const std::string& file, const test::SheetFixture& sheet)
    {
        std::string failure;
        ASSERT_TRUE(test::writeWorkbook(file, { sheet }, &failure)) << failure;
    }

    bool logged(const std::string& text) const
    {
        return std::find(m_log.calls.begin(), m_log.calls.end(), "line:" + text) != m_log.calls.end();
    }

    test::TempFolder m_folder;
    ScopedDataLocation m_location { DataLocation { m_folder.path().string() + "/", "ZEV-", "Excel 8.0" } };
    test::RecordingLog m_log;
    ScopedServices m_services { Services { &m_log, nullptr, nullptr, nullptr, nullptr, nullptr } };
};

TEST_F(CodeTranslation, FindsLuminairesAndTheFirstLampWorkbookHoldingTheLamp)
{
    std::vector<CLampSystem> systems(3);
    const std::vector<PredecessorCodes> codes {
        { 12345678, 21, 36 },
        { 12345678, 21, 36 },
        { 12340001, 99, 10 },
    };
    translatePredecessorCodes(systems, codes);
    EXPECT_EQ(systems[0].m_luminaireDatabase, 1001);
    EXPECT_EQ(systems[0].m_luminaireRecord, 9);
    EXPECT_EQ(systems[1].m_luminaireRecord, 9);
    EXPECT_EQ(systems[0].m_lampDatabase, 1241) << "1241 is searched before 1082";
    EXPECT_EQ(systems[0].m_lampRecord, 11);
    EXPECT_EQ(systems[0].m_luminaireIndex, -1) << "the document's lists are found by the next resolution";

    EXPECT_EQ(systems[2].m_luminaireRecord, 0);
    EXPECT_EQ(systems[2].m_luminaireDatabase, 0);
    EXPECT_EQ(systems[2].m_lampRecord, 0);
    EXPECT_EQ(systems[2].m_lampDatabase, 0);
    EXPECT_TRUE(logged("Nenalezeno [ČísloZev] = 1 v " + makerWorkbookPath(1001)));
    // 1184 and 1191 are not in the folder: a folder need not hold them, nothing is said of them.
    EXPECT_TRUE(std::none_of(m_log.calls.begin(), m_log.calls.end(),
        [](const std::string& line) { return line.find("Sešit") != std::string::npos; }));
}

TEST_F(CodeTranslation, ALampWorkbookThatIsThereButUnreadableIsLogged)
{
    std::ofstream(makerWorkbookPath(1184), std::ios::binary) << "not a workbook";
    std::vector<CLampSystem> systems(1);
    translatePredecessorCodes(systems, { { 12345678, 21, 36 } });
    EXPECT_EQ(systems[0].m_lampDatabase, 1241);
    EXPECT_TRUE(logged("Sešit " + makerWorkbookPath(1184) + " nelze otevřít, jeho zdroje nebyly hledány."));
    EXPECT_FALSE(logged("Sešit " + makerWorkbookPath(1191) + " nelze otevřít, jeho zdroje nebyly hledány."));
}

TEST_F(CodeTranslation, AMakerNotFoundIsLoggedAndLeavesItsSystemsUnassigned)
{
    std::vector<CLampSystem> systems(3);
    const std::vector<std::int32_t> unknown
        = translatePredecessorCodes(systems, { { 99990001, 21, 36 }, { 99990002, 21, 36 }, { 12345678, 21, 36 } });
    EXPECT_EQ(unknown, std::vector<std::int32_t> { 9999 }) << "each unknown maker once, a known one not";
    EXPECT_EQ(systems[0].m_luminaireDatabase, 0);
    EXPECT_EQ(systems[0].m_luminaireRecord, 0);
    EXPECT_EQ(systems[0].m_lampRecord, 11);
    EXPECT_TRUE(logged("Nenalezeno [DBF] = 9999 v " + dataFolderWithPrefix() + "VYROBCI.xls"));
}

TEST_F(CodeTranslation, AMissingMakersListStopsTheImport)
{
    std::filesystem::remove(dataFolderWithPrefix() + "VYROBCI.xls");
    std::vector<CLampSystem> systems(1);
    try {
        translatePredecessorCodes(systems, { { 12345678, 21, 36 } });
        ADD_FAILURE();
    } catch (const ImportError& e) {
        EXPECT_EQ(e.what(), "Nelze otevřít soubor " + dataFolderWithPrefix() + "VYROBCI.xls ! (existuje ?)");
    }
    std::vector<CLampSystem> none;
    EXPECT_NO_THROW(translatePredecessorCodes(none, {})) << "a room without lamp systems needs no workbook";
}

} // namespace

namespace {

TEST_F(CodeTranslation, AMissingColumnIsNamedAsAColumnNotAsARow)
{
    using kzev::test::SheetFixture;
    const std::string makers = dataFolderWithPrefix() + "VYROBCI.xls";
    const struct {
        std::string workbook;
        SheetFixture sheet;
        std::string table;
        std::string column;
    } cases[] = {
        // A makers' list of names only, without the predecessor's numbers.
        { makers,
            { "Vyrobci$", { { "Kód" }, { "Název" } }, { { std::int64_t { 1001 }, std::string("A") } } },
            "Vyrobci$", "DBF" },
        { makerWorkbookPath(1001), { "Luminaires$", { { "Věta" }, { "Typ" } }, { { std::int64_t { 9 }, std::string("T") } } },
            "Luminaires$", "ČísloZev" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column);
        std::filesystem::remove(c.workbook);
        writeSheet(c.workbook, c.sheet);
        m_log.calls.clear();
        std::vector<CLampSystem> systems(1);
        const std::string expected = "Sešit " + c.workbook + ": tabulka " + c.table + " nemá sloupec " + c.column
            + ", kódy svítidel předchozí verze nelze přeložit !";
        try {
            translatePredecessorCodes(systems, { { 12345678, 21, 36 } });
            ADD_FAILURE() << "a table without the column cannot translate any code";
        } catch (const ImportError& e) {
            EXPECT_EQ(e.what(), expected);
        }
        EXPECT_TRUE(logged(expected));
        EXPECT_TRUE(std::none_of(m_log.calls.begin(), m_log.calls.end(),
            [](const std::string& line) { return line.find("Nenalezeno") != std::string::npos; }));
        // The next case has the makers' list of the fixture again.
        std::filesystem::remove(makers);
        writeSheet(makers,
            { "Vyrobci$", { { "Soubor" }, { "DBF" } }, { { std::int64_t { 1001 }, std::int64_t { 1234 } } } });
    }
}

TEST_F(CodeTranslation, ALampWorkbookWithoutTheColumnIsSkippedWithItsOwnLine)
{
    std::filesystem::remove(makerWorkbookPath(1241));
    writeSheet(makerWorkbookPath(1241),
        { "Lamps$", { { "Věta" }, { "Výkon" } }, { { std::int64_t { 11 }, std::int64_t { 36 } } } });
    std::vector<CLampSystem> systems(1);
    translatePredecessorCodes(systems, { { 12345678, 21, 36 } });
    EXPECT_EQ(systems[0].m_lampDatabase, 1082);
    EXPECT_EQ(systems[0].m_lampRecord, 22);
    EXPECT_TRUE(logged("Sešit " + makerWorkbookPath(1241) + ": tabulka Lamps$ nemá sloupec Zdroj, jeho zdroje nebyly hledány."));
}

} // namespace
