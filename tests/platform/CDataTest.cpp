#include "platform/AccessSql.h"
#include "platform/CData.h"
#include "platform/CaseFold.h"
#include "platform/FileIo.h"

#include "support/FakeServices.h"
#include "support/OtherProgram.h"
#include "support/PipeWatchdog.h"
#include "support/WorkbookFixture.h"

#include <sqlite3.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <tuple>

namespace {

// Stands for a DROP TABLE that fails: this test program's own sqlite3_exec, which the data library calls,
// and SQLite's otherwise.
std::atomic<bool> g_refuseDrop { false };

} // namespace

extern "C" int sqlite3_exec(sqlite3* db, const char* sql, int (*callback)(void*, int, char**, char**), void* argument,
    char** message)
{
    using Exec = int (*)(sqlite3*, const char*, int (*)(void*, int, char**, char**), void*, char**);
    static const auto real = reinterpret_cast<Exec>(::dlsym(RTLD_NEXT, "sqlite3_exec"));
    if (g_refuseDrop && sql && std::strncmp(sql, "DROP TABLE", 10) == 0) {
        if (message)
            *message = sqlite3_mprintf("database table is locked");
        return SQLITE_LOCKED;
    }
    return real(db, sql, callback, argument, message);
}

namespace kzev {
namespace {

using test::SheetFixture;

constexpr int G = kDataTypeGeneral;
constexpr int L = kDataTypeLong;
constexpr int T = kDataTypeText;

/** A maker's workbook, the makers' list, the groups list and the reference database in one data folder. */
class CDataFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string failure;
        ASSERT_TRUE(test::writeWorkbook(maker(),
            {
                { "Luminaires$",
                    { { "Věta", G }, { "Skupina", G }, { "Podskupina", G }, { "Oddíl", G }, { "Typ", G },
                        { "Název", G }, { "ČísloZev", G }, { "Divez", G } },
                    {
                        { 1, 20, 34, 1, "A-100", "Downlight", 12, 1234 },
                        { 2, 20, 34, 1, "x-ABC", "Reflektor", 13, 2001 },
                        { 3, 20, 35, 2, "T5", "abc 1", 14, 2002 },
                        { 4, 21, 34, {}, "Č-7", "ČÍSLO SEDM", 15, 2003 },
                        { 5, 20, 34, 1, "0815", "Žárovka", 16, 2004 },
                    } },
                { "Lamps$",
                    { { "Věta", G }, { "Skupina", G }, { "Podskupina", G }, { "Oddíl", G }, { "Typ", G },
                        { "Název", G }, { "Zdroj", G }, { "Výkon", G } },
                    {
                        { 1, 20, 5, 3, "T8", "36W/840", 3, 36 },
                        { 2, 20, 5, 3, "T8", "58W/840", 3, 58 },
                        { 3, 20, 6, 4, "T5", "28W/830", 4, 28 },
                    } },
                { "Oddíly$", { { "Oddíl", G }, { "Název", G } }, { { 1, "Interiér" }, { 2, "Průmysl" } } },
            },
            &failure))
            << failure;
        ASSERT_TRUE(test::writeWorkbook(folder.file("ZEV-VYROBCI.xls"),
            { { "Výrobci",
                { { "Soubor", G }, { "Název", G }, { "Kód", G }, { "DBF", G } },
                { { 15, "Světla s.r.o.", 15, 150 }, { 16, "Lampy a.s.", 16, 160 } } } },
            &failure))
            << failure;
        ASSERT_TRUE(test::writeWorkbook(folder.file("ZEV-SKUPINY.xls"),
            { { "Skupiny",
                { { "Skupina", G }, { "Číslo", G }, { "Název", G } },
                { { 20, {}, "Svítidla" }, { {}, 34, "Vestavná" }, { {}, 35, "Přisazená" } } } },
            &failure))
            << failure;
        CData refs;
        ASSERT_TRUE(refs.Create(folder.file("ZEV-Odkazy.mdb"), ""));
        for (const char* table : { "Luminaires", "Lamps" }) {
            refs.AddColBeforeCreateTable("Výrobce", L, 255, -2);
            refs.AddColBeforeCreateTable("Skupina", L, 255, -2);
            ASSERT_TRUE(refs.CreateTable(table));
            refs.CloseTable();
        }
        ASSERT_TRUE(refs.OpenTable("Luminaires", "", 0));
        // Written as text, the way the rebuild writes every value; long columns keep them as numbers.
        for (auto [maker, group] : { std::pair { "9", "20034" }, { "15", "20035" }, { "15", "20034" },
                 { "100", "20001" } }) {
            ASSERT_TRUE(refs.AddRow());
            ASSERT_TRUE(refs.SetStringValue(0, maker, -1, 0));
            ASSERT_TRUE(refs.SetStringValue(1, group, -1, 0));
        }
        refs.CloseTable();
        ASSERT_TRUE(refs.OpenTable("Lamps", "", 0));
        ASSERT_TRUE(refs.AddRow());
        ASSERT_TRUE(refs.SetStringValue("Výrobce", "15", -1, 0));
        ASSERT_TRUE(refs.SetStringValue("Skupina", "20005", -1, 0));
        refs.Close();
    }

    std::string maker() const { return folder.file("ZEV-0015.xls"); }

    /** Reads one column of every row of the open table. */
    static std::vector<std::string> column(CData& data, const std::string& name)
    {
        std::vector<std::string> values;
        for (long r = 0; r < data.rowCount(); ++r) {
            std::string value;
            values.push_back(data.GetStringValue(name, value, r, -1, 0) ? value : "<none>");
        }
        return values;
    }

    test::TempFolder folder;
};

struct QueryCase {
    const char* name;
    const char* file;
    std::string query;
    const char* column;
    std::vector<std::string> expected;
};

TEST_F(CDataFixture, EveryQueryOfTheProgramRunsAndGivesTheRowsExpected)
{
    const std::vector<QueryCase> cases = {
        { "reference luminaires by maker and group", "ZEV-Odkazy.mdb",
            "SELECT * FROM Luminaires ORDER BY [Výrobce],[Skupina] ASC", "Skupina",
            { "20034", "20034", "20035", "20001" } },
        { "reference lamps by maker", "ZEV-Odkazy.mdb", "SELECT * FROM Lamps ORDER BY [Výrobce] ASC", "Výrobce",
            { "15" } },
        { "initial luminaire of the sheet", "ZEV-0015.xls",
            "SELECT * FROM [Luminaires$] WHERE Skupina=20 AND [Věta]=2", "Název", { "Reflektor" } },
        { "luminaires of a subgroup (trailing blank)", "ZEV-0015.xls",
            "SELECT * FROM [Luminaires$] WHERE Skupina=20 AND Podskupina=34 ", "Věta", { "1", "2", "5" } },
        { "lamps of a subgroup", "ZEV-0015.xls", "SELECT * FROM [Lamps$] WHERE Skupina=20 AND Podskupina=5",
            "Název", { "36W/840", "58W/840" } },
        { "lamp by record", "ZEV-0015.xls", "SELECT * FROM [Lamps$] WHERE [Věta]=3", "Podskupina", { "6" } },
        { "filter over type and name ignores case", "ZEV-0015.xls",
            "SELECT * FROM [Luminaires$] WHERE [Typ] Like \"*abc*\" OR [Název] Like \"*abc*\"", "Věta",
            { "2", "3" } },
        { "filter folds Czech letters", "ZEV-0015.xls",
            "SELECT * FROM [Luminaires$] WHERE [Typ] Like \"*čís*\" OR [Název] Like \"*čís*\"", "Věta", { "4" } },
        { "whole sheet", "ZEV-0015.xls", "SELECT * FROM [Luminaires$]", "Typ",
            { "A-100", "x-ABC", "T5", "Č-7", "0815" } },
        { "groups of the luminaires", "ZEV-0015.xls",
            "SELECT [Skupina],[Podskupina],[Oddíl] FROM [Luminaires$] GROUP BY [Skupina],[Podskupina],[Oddíl] ",
            "Podskupina", { "34", "35", "34" } },
        { "groups of the lamps", "ZEV-0015.xls",
            "SELECT [Skupina],[Podskupina],[Oddíl] FROM [Lamps$] GROUP BY [Skupina],[Podskupina],[Oddíl] ",
            "Oddíl", { "3", "4" } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CData data;
        ASSERT_EQ(data.Open(folder.file(c.file), "Excel 8.0", 0, 0), 1) << data.lastError();
        ASSERT_EQ(data.OpenTable(c.query, "", 0), 1) << data.lastError();
        EXPECT_EQ(column(data, c.column), c.expected);
        data.Close();
    }
}

struct CriterionCase {
    const char* name;
    const char* file;
    const char* table; // name, or "#0" for the first table
    std::string criterion;
    const char* column;
    std::string expected; // "" = no match
};

TEST_F(CDataFixture, EveryCriterionOfTheProgramFindsItsRecord)
{
    const std::vector<CriterionCase> cases = {
        { "luminaire by record", "ZEV-0015.xls", "Luminaires$", "Věta=3", "Typ", "T5" },
        { "lamp by record", "ZEV-0015.xls", "Lamps$", "Věta=2", "Název", "58W/840" },
        { "luminaire by catalogue id", "ZEV-0015.xls", "Luminaires$", "Divez=2003", "Věta", "4" },
        { "predecessor luminaire", "ZEV-0015.xls", "Luminaires$", "[ČísloZev] = 14", "Věta", "3" },
        { "predecessor lamp", "ZEV-0015.xls", "Lamps$", "[Zdroj] = 3 AND [Výkon] = 58", "Věta", "2" },
        { "predecessor lamp missing", "ZEV-0015.xls", "Lamps$", "[Zdroj] = 3 AND [Výkon] = 18", "Věta", "" },
        { "maker by code", "ZEV-VYROBCI.xls", "#0", "Kód=16", "Název", "Lampy a.s." },
        { "maker by file", "ZEV-VYROBCI.xls", "#0", "[DBF] = 150", "Soubor", "15" },
        { "record not there", "ZEV-0015.xls", "Luminaires$", "Věta=99", "Typ", "" },
        { "first of a query result in its order", "ZEV-0015.xls",
            "SELECT * FROM [Luminaires$] WHERE Skupina=20 ORDER BY [Věta] DESC", "Podskupina=34", "Věta", "5" },
        { "text in a query result of some columns", "ZEV-0015.xls", "SELECT [Věta],[Typ] FROM [Luminaires$]",
            "[Typ] = \"T5\"", "Věta", "3" },
        { "row a query left out", "ZEV-0015.xls", "SELECT * FROM [Luminaires$] WHERE Skupina=20", "Věta=4", "Typ",
            "" },
        { "empty query result", "ZEV-0015.xls", "SELECT * FROM [Lamps$] WHERE Skupina=99", "Věta=1", "Typ", "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CData data;
        ASSERT_EQ(data.Open(folder.file(c.file), "Excel 8.0", 0, 0), 1);
        ASSERT_EQ(std::string(c.table) == "#0" ? data.OpenTable(0, "", 0) : data.OpenTable(c.table, "", 0), 1);
        const int found = data.Find(10, c.criterion, 0);
        EXPECT_EQ(found, c.expected.empty() ? 0 : 1);
        if (found) {
            std::string value;
            ASSERT_EQ(data.GetStringValue(c.column, value, -1, -1, 0), 1);
            EXPECT_EQ(value, c.expected);
        }
    }
}

TEST_F(CDataFixture, FirstTableAndColumnNamesAreInFileOrder)
{
    CData data;
    ASSERT_EQ(data.Open(folder.file("ZEV-SKUPINY.xls"), "Excel 8.0", 0, 0), 1);
    ASSERT_EQ(data.OpenTable(0, "", 0), 1);
    EXPECT_EQ(data.columnNames(), (std::vector<std::string> { "Skupina", "Číslo", "Název" }));
    EXPECT_EQ(data.rowCount(), 3);
    std::string value;
    EXPECT_EQ(data.GetStringValue(0, value, 1, -1), 0) << "an empty cell cannot be read";
    ASSERT_EQ(data.GetStringValue(2, value, 1, -1), 1);
    EXPECT_EQ(value, "Vestavná");
    EXPECT_EQ(data.OpenTable(1, "", 0), 0);
}

TEST_F(CDataFixture, SheetsAreFoundByNameWithoutRegardToCase)
{
    CData data;
    ASSERT_EQ(data.Open(maker(), "Excel 8.0", 0, 0), 1);
    EXPECT_EQ(data.IsTable("Lamps$"), 1);
    EXPECT_EQ(data.IsTable("lamps$"), 1);
    EXPECT_EQ(data.IsTable("ODDÍLY$"), 1);
    EXPECT_EQ(data.IsTable("Tab1_300_50$"), 0);
    EXPECT_EQ(data.OpenTable("Tab1_300_50$", "", 0), 0);
}

TEST_F(CDataFixture, TextThatLooksLikeANumberIsKeptAsWritten)
{
    CData data;
    ASSERT_EQ(data.Open(maker(), "Excel 8.0", 0, 0), 1);
    ASSERT_EQ(data.OpenTable("SELECT * FROM [Luminaires$] WHERE [Typ] Like \"08*\"", "", 0), 1);
    ASSERT_EQ(data.rowCount(), 1);
    std::string value;
    ASSERT_EQ(data.GetStringValue("Typ", value), 1);
    EXPECT_EQ(value, "0815");
}

TEST_F(CDataFixture, ImportAppendsRowsAndAnIntensitySheet)
{
    CData data;
    ASSERT_EQ(data.Open(maker(), "Excel 8.0", kOpenToWrite, 0), 1);
    ASSERT_EQ(data.OpenTable("Luminaires$", "", 0), 1);
    const long before = data.rowCount();
    ASSERT_EQ(data.AddRow(), 1);
    EXPECT_EQ(data.currentRow(), before);
    ASSERT_EQ(data.SetValue("Věta", std::int64_t { 6 }, -1, 0), 1);
    ASSERT_EQ(data.SetValue("Skupina", std::int64_t { 20 }, -1, 0), 1);
    ASSERT_EQ(data.SetStringValue("Typ", "LED-1", -1, 0), 1);
    EXPECT_EQ(data.SetStringValue("NoSuchColumn", "x", -1, 0), 0);
    data.CloseTable();
    ASSERT_EQ(data.IsTable("Tab1_300_50$"), 0);
    ASSERT_EQ(data.AddColBeforeCreateTable("Věta", L, 255, -2), 1);
    ASSERT_EQ(data.AddColBeforeCreateTable("I0_0_180_50", T, 255, -2), 1);
    ASSERT_EQ(data.CreateTable("Tab1_300_50"), 1);
    ASSERT_EQ(data.AddRow(), 1);
    ASSERT_EQ(data.SetValue("Věta", std::int64_t { 6 }, -1, 0), 1);
    ASSERT_EQ(data.SetStringValue("I0_0_180_50", "100;90;", -1, 0), 1);
    data.Close();

    ASSERT_EQ(data.Open(maker(), "Excel 8.0", 0, 0), 1);
    EXPECT_EQ(data.IsTable("Tab1_300_50$"), 1) << "a sheet made in a workbook is opened with its \"$\"";
    EXPECT_EQ(data.IsTable("Tab1_300_50"), 1);
    ASSERT_EQ(data.OpenTable("SELECT * FROM [Luminaires$] WHERE Skupina=20 AND [Věta]=6", "", 0), 1);
    std::string value;
    ASSERT_EQ(data.GetStringValue("Typ", value), 1);
    EXPECT_EQ(value, "LED-1");
    ASSERT_EQ(data.OpenTable("Tab1_300_50$", "", 0), 1);
    ASSERT_EQ(data.Find(10, "Věta=6", 0), 1);
    ASSERT_EQ(data.GetStringValue(1, value), 1);
    EXPECT_EQ(value, "100;90;");
}

TEST_F(CDataFixture, CellsReadAcrossRowsAndAfterWritesHoldWhatIsStored)
{
    CData data;
    ASSERT_EQ(data.Open(maker(), "Excel 8.0", kOpenToWrite, 0), 1);
    ASSERT_EQ(data.OpenTable("Lamps$", "", 0), 1);
    // Rows visited out of order and back, and a row written after it was read.
    const std::vector<std::tuple<long, const char*, const char*>> reads {
        { 2, "Název", "28W/830" }, { 0, "Typ", "T8" }, { 0, "Název", "36W/840" }, { 2, "Výkon", "28" },
        { 1, "Výkon", "58" },
    };
    std::string value;
    for (const auto& [row, column, expected] : reads) {
        ASSERT_EQ(data.GetStringValue(column, value, row), 1) << column << " of row " << row;
        EXPECT_EQ(value, expected) << column << " of row " << row;
    }
    ASSERT_EQ(data.SetStringValue("Název", "36W/865", 0), 1);
    ASSERT_EQ(data.GetStringValue("Název", value, 0), 1);
    EXPECT_EQ(value, "36W/865");
    ASSERT_EQ(data.AddRow(), 1);
    EXPECT_EQ(data.GetStringValue("Název", value), 0) << "a row just added is empty";
    ASSERT_EQ(data.SetStringValue("Název", "18W/840"), 1);
    ASSERT_EQ(data.GetStringValue("Název", value), 1);
    EXPECT_EQ(value, "18W/840");
    // Row after row, the written ones among them, then back to the first.
    EXPECT_EQ(column(data, "Název"), (std::vector<std::string> { "36W/865", "58W/840", "28W/830", "18W/840" }));
    ASSERT_EQ(data.GetStringValue("Výkon", value, 0), 1);
    EXPECT_EQ(value, "36");

    // Searches in a query result find rows in the result's order, one after another.
    ASSERT_EQ(data.OpenTable("SELECT * FROM [Luminaires$] WHERE Skupina=20 ORDER BY [Věta] DESC", "", 0), 1);
    for (const auto& [criterion, row, record] : std::vector<std::tuple<const char*, long, const char*>> {
             { "Podskupina=35", 1, "3" }, { "Podskupina=34", 0, "5" }, { "[Typ] = \"A-100\"", 3, "1" } }) {
        ASSERT_EQ(data.FindFirst(criterion), 1) << criterion;
        EXPECT_EQ(data.currentRow(), row) << criterion;
        ASSERT_EQ(data.GetStringValue("Věta", value), 1);
        EXPECT_EQ(value, record) << criterion;
    }

    // A table just made names its declared columns, before and after it is opened again.
    data.CloseTable();
    ASSERT_EQ(data.AddColBeforeCreateTable("Věta", L, 255, -2), 1);
    ASSERT_EQ(data.AddColBeforeCreateTable("Obecný", G, 255, -2), 1);
    ASSERT_EQ(data.CreateTable("Nová"), 1);
    const std::vector<std::string> declared { "Věta", "Obecný" };
    EXPECT_EQ(data.columnNames(), declared);
    EXPECT_EQ(data.rowCount(), 0);
    ASSERT_EQ(data.AddRow(), 1);
    ASSERT_EQ(data.SetStringValue(0, "007"), 1);
    ASSERT_EQ(data.SetStringValue(1, "007"), 1);
    data.Close();
    ASSERT_EQ(data.Open(maker(), "Excel 8.0", kOpenToWrite, 0), 1);
    ASSERT_EQ(data.OpenTable("Nová", "", 0), 1);
    EXPECT_EQ(data.columnNames(), declared);
    ASSERT_EQ(data.GetStringValue(0, value), 1);
    EXPECT_EQ(value, "7") << "a long column keeps a number";
    ASSERT_EQ(data.GetStringValue(1, value), 1);
    EXPECT_EQ(value, "007") << "a general column keeps text that a number would change";

    // A cell written by position lands in that column, though another one's name differs only in case.
    data.CloseTable();
    ASSERT_EQ(data.AddColBeforeCreateTable("Č", G, 255, -2), 1);
    ASSERT_EQ(data.AddColBeforeCreateTable("č", G, 255, -2), 1);
    ASSERT_EQ(data.CreateTable("Dvojí"), 1);
    ASSERT_EQ(data.AddRow(), 1);
    ASSERT_EQ(data.SetStringValue(1, "malé"), 1);
    EXPECT_EQ(data.GetStringValue(0, value), 0) << "the first column stays empty";
    ASSERT_EQ(data.GetStringValue(1, value), 1);
    EXPECT_EQ(value, "malé");
}

TEST_F(CDataFixture, AQueryResultIsNotWritable)
{
    CData data;
    ASSERT_EQ(data.Open(maker(), "Excel 8.0", 0, 0), 1);
    ASSERT_EQ(data.OpenTable("SELECT * FROM [Lamps$]", "", 0), 1);
    EXPECT_EQ(data.AddRow(), 0);
    EXPECT_EQ(data.SetStringValue("Typ", "x", 0, 0), 0);
}

TEST_F(CDataFixture, PastedTextNeverRunsAsSql)
{
    const std::vector<std::string> filters = { "abc\" OR 1=1 --", "x\"; DROP TABLE [Lamps$]; --", "a' OR '1'='1",
        "*", "[", "\"" };
    for (const auto& filter : filters) {
        SCOPED_TRACE(filter);
        CData data;
        ASSERT_EQ(data.Open(maker(), "Excel 8.0", 0, 0), 1);
        const std::string query = "SELECT * FROM [Luminaires$] WHERE [Typ] Like \"*" + filter + "*\" OR [Název] Like \"*"
            + filter + "*\"";
        if (data.OpenTable(query, "", 0)) {
            EXPECT_LE(data.rowCount(), 5);
        }
        EXPECT_EQ(data.IsTable("Lamps$"), 1);
    }
    CData data;
    ASSERT_EQ(data.Open(maker(), "Excel 8.0", 0, 0), 1);
    ASSERT_EQ(data.OpenTable("Lamps$", "", 0), 1);
    EXPECT_EQ(data.Find(10, "Věta=1; DELETE FROM [Lamps$]", 0), 0);
    EXPECT_EQ(data.Find(10, "Věta=1) OR (1=1", 0), 0);
    EXPECT_EQ(data.rowCount(), 3);
}

TEST_F(CDataFixture, FilesThatAreNotDatabasesGiveZero)
{
    test::FakeServices fakes;
    std::ofstream(folder.file("text.xls")) << "Typ;Název\nA;B\n";
    std::ofstream(folder.file("empty.xls"));
    // Right headers, nothing sound behind them.
    std::ofstream(folder.file("cut.xls"), std::ios::binary) << std::string("SQLite format 3\0", 16) << std::string(300, '\x7f');
    std::ofstream(folder.file("ole.xls"), std::ios::binary)
        << std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) << std::string(1000, '\x01');
    CData data;
    EXPECT_EQ(data.Open(folder.file("cut.xls"), "Excel 8.0", 0, 0), 0);
    EXPECT_EQ(data.Open(folder.file("ole.xls"), "Excel 8.0", 0, 0), 0);
    EXPECT_EQ(data.Open(folder.file("missing.xls"), "Excel 8.0", 0, 0), 0);
    EXPECT_EQ(data.Open(folder.file("text.xls"), "Excel 8.0", 0, 0), 0);
    EXPECT_EQ(data.Open(folder.file("empty.xls"), "Excel 8.0", 0, 0), 0);
    EXPECT_EQ(data.OpenTable("Luminaires$", "", 0), 0);
    std::string value;
    EXPECT_EQ(data.GetStringValue("Typ", value), 0);
    EXPECT_EQ(data.Create(maker(), ""), 0) << "an existing file is never overwritten";
    EXPECT_TRUE(fakes.messageBox.shown.empty()) << "the data library itself shows nothing";
}

// The library checks a file before SQLite opens it by name again; a pipe put in
// its place in between must be refused by SQLite's own open, not waited on.
TEST_F(CDataFixture, SqliteRefusesAPipeInPlaceOfTheCheckedFileWithoutWaiting)
{
    CData data;
    ASSERT_EQ(data.Open(maker(), "Excel 8.0", 0, 0), 1) << "a regular database opens";
    EXPECT_EQ(data.OpenTable("Luminaires$", "", 0), 1);
    const std::filesystem::path pipe = folder.file("swapped.xls");
    test::makePipe(pipe);
    const test::PipeWatchdog watchdog({ pipe });
    for (const int flags : { SQLITE_OPEN_READONLY, SQLITE_OPEN_READWRITE }) {
        sqlite3* db = nullptr;
        const int rc = sqlite3_open_v2(pipe.c_str(), &db, flags, nullptr);
        sqlite3_close_v2(db);
        EXPECT_NE(rc, SQLITE_OK) << flags;
    }
    EXPECT_FALSE(watchdog.fired());
}

TEST_F(CDataFixture, AFileWrittenOrReplacedSinceItWasClosedIsReadAsItIsNow)
{
    const auto luminaireRows = [&] {
        CData data;
        const long rows = data.Open(maker(), "Excel 8.0", 0, 0) && data.OpenTable("Luminaires$", "", 0) ? data.rowCount() : -1;
        data.Close();
        return rows;
    };
    ASSERT_EQ(luminaireRows(), 5);
    // Written through another object while the first one's connection waits for the next open.
    {
        CData writer;
        ASSERT_TRUE(writer.Open(maker(), "Excel 8.0", kOpenToWrite, 0));
        ASSERT_TRUE(writer.OpenTable("Luminaires$", "", 0));
        ASSERT_TRUE(writer.AddRow());
        ASSERT_TRUE(writer.SetStringValue("Věta", "6", -1, 0));
        writer.Close();
    }
    EXPECT_EQ(luminaireRows(), 6);
    // Another workbook put in its place.
    const std::string other = folder.file("other.xls");
    ASSERT_TRUE(test::writeWorkbook(other, { { "Luminaires$", { { "Věta", G } }, { { 1 } } } }));
    std::filesystem::rename(other, maker());
    EXPECT_EQ(luminaireRows(), 1);
    // Overwritten in place, at once and to the same size, by a workbook whose record differs.
    ASSERT_TRUE(test::writeWorkbook(other, { { "Luminaires$", { { "Věta", G } }, { { 2 } } } }));
    const auto replacement = readWholeFile(other);
    ASSERT_EQ(replacement.size(), std::filesystem::file_size(maker()));
    const auto firstRecord = [&] {
        CData data;
        std::string value;
        if (!data.Open(maker(), "Excel 8.0", 0, 0) || !data.OpenTable("Luminaires$", "", 0) || !data.GetStringValue("Věta", value))
            value = "<none>";
        data.Close();
        return value;
    };
    ASSERT_EQ(firstRecord(), "1");
    std::ofstream(maker(), std::ios::binary | std::ios::in | std::ios::out)
        .write(reinterpret_cast<const char*>(replacement.data()), static_cast<std::streamsize>(replacement.size()));
    EXPECT_EQ(firstRecord(), "2");
    // Overwritten in place by something that is no database.
    std::ofstream(maker(), std::ios::binary | std::ios::trunc) << std::string("SQLite format 3\0", 16) << std::string(300, '\x7f');
    EXPECT_EQ(luminaireRows(), -1);
}

TEST_F(CDataFixture, AWorkbookRewrittenInPlaceWhileOpenIsReadAsItIsNow)
{
    // Another workbook of the same size and the same count of changes, whose first record differs.
    const std::string first = folder.file("first.xls");
    const std::string second = folder.file("second.xls");
    ASSERT_TRUE(test::writeWorkbook(first, { { "Luminaires$", { { "Věta", G } }, { { 1 } } } }));
    ASSERT_TRUE(test::writeWorkbook(second, { { "Luminaires$", { { "Věta", G } }, { { 2 } } } }));
    const auto replacement = readWholeFile(second);
    ASSERT_EQ(replacement.size(), std::filesystem::file_size(first));
    const auto firstRecord = [&](CData& data) {
        std::string value;
        if (!data.OpenTable("Luminaires$", "", 0) || !data.GetStringValue("Věta", value))
            value = "<none>";
        data.CloseTable();
        return value;
    };
    CData open;
    ASSERT_EQ(open.Open(first, "Excel 8.0", 0, 0), 1);
    ASSERT_EQ(firstRecord(open), "1");
    // Rewritten by another program while this one has it open.
    std::ofstream(first, std::ios::binary | std::ios::in | std::ios::out)
        .write(reinterpret_cast<const char*>(replacement.data()), static_cast<std::streamsize>(replacement.size()));
    open.Close();
    CData again;
    ASSERT_EQ(again.Open(first, "Excel 8.0", 0, 0), 1);
    EXPECT_EQ(firstRecord(again), "2");
}

using test::writtenByAnotherProgram;

TEST_F(CDataFixture, AnotherProgramWaitsForAWriteHeldWhileTheSameFileIsOpenedAgain)
{
    std::string rows;
    for (int i = 0; i < 500; ++i)
        rows += "INSERT INTO jiny VALUES (" + std::to_string(i) + ");";
    const std::string other = "CREATE TABLE jiny (x); " + rows + " COMMIT;";
    CData writer;
    ASSERT_EQ(writer.Open(maker(), "Excel 8.0", kOpenToWrite, 0), 1);
    ASSERT_EQ(writer.BeginTrans(), 1);
    ASSERT_EQ(writer.OpenTable("Luminaires$", "", 0), 1);
    ASSERT_EQ(writer.AddRow(), 1);
    ASSERT_EQ(writer.SetStringValue("Věta", "6", -1, 0), 1);
    {
        // The same file opened and closed meanwhile, as a dialog reads a table beside an import.
        CData reader;
        ASSERT_EQ(reader.Open(maker(), "Excel 8.0", 0, 0), 1);
        EXPECT_EQ(reader.OpenTable("Lamps$", "", 0), 1);
    }
    EXPECT_FALSE(writtenByAnotherProgram(maker(), other)) << "refused while the write is held";
    ASSERT_EQ(writer.CommitTrans(), 1) << writer.lastError();
    writer.Close();
    EXPECT_TRUE(writtenByAnotherProgram(maker(), other)) << "written once the first commits";
    // Nothing of either is lost.
    CData data;
    ASSERT_EQ(data.Open(maker(), "Excel 8.0", 0, 0), 1);
    ASSERT_EQ(data.OpenTable("Luminaires$", "", 0), 1);
    EXPECT_EQ(column(data, "Věta"), (std::vector<std::string> { "1", "2", "3", "4", "5", "6" }));
    ASSERT_EQ(data.OpenTable("SELECT COUNT(*) AS n FROM [jiny]", "", 0), 1);
    EXPECT_EQ(column(data, "n"), std::vector<std::string> { "500" });
}

/** Holds the size every file of this process may grow to, and ignores the signal beyond it, while it lives. */
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_before);
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limited { bytes, m_before.rlim_max };
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_before);
        std::signal(SIGXFSZ, m_signal);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_before {};
    sighandler_t m_signal {};
};

TEST_F(CDataFixture, AWriteTheDiskCannotTakeIsReportedWithTheDisksCauseAndUndone)
{
    enum class Ending { commit, closeTable, close, openAnother, destroyed };
    const struct {
        const char* name;
        Ending ending;
    } cases[] = { { "held and committed", Ending::commit }, { "committed as the table closes", Ending::closeTable },
        { "committed as the file closes", Ending::close }, { "committed as another file opens", Ending::openAnother },
        { "committed as the object goes", Ending::destroyed } };
    const std::string expectedCause = std::strerror(EFBIG);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakeServices fakes;
        auto owned = std::make_unique<CData>();
        CData& data = *owned;
        ASSERT_EQ(data.Open(maker(), "Excel 8.0", kOpenToWrite, 0), 1);
        if (c.ending == Ending::commit) {
            ASSERT_EQ(data.BeginTrans(), 1);
        }
        ASSERT_EQ(data.OpenTable("Luminaires$", "", 0), 1);
        int result = 1;
        {
            // As a full disk: the file may not grow by what the rows need.
            const FileSizeLimit limit(static_cast<rlim_t>(std::filesystem::file_size(maker())) + (64 << 10));
            for (int row = 0; row < 300; ++row) {
                ASSERT_EQ(data.AddRow(), 1) << data.lastError();
                ASSERT_EQ(data.SetStringValue("Název", std::string(2000, 'x'), -1, 0), 1) << data.lastError();
            }
            switch (c.ending) {
            case Ending::commit: result = data.CommitTrans(); break;
            case Ending::closeTable: result = data.CloseTable(); break;
            case Ending::close: result = data.Close(); break;
            case Ending::openAnother: result = data.Open(folder.file("ZEV-SKUPINY.xls"), "Excel 8.0", 0, 0); break;
            case Ending::destroyed: owned.reset(); break;
            }
        }
        if (c.ending == Ending::destroyed) {
            // Nobody is left to ask: the user is told that the changes are lost, and why.
            ASSERT_EQ(fakes.messageBox.shown.size(), 1u);
            EXPECT_EQ(fakes.messageBox.shown[0].text.rfind("Změny souboru " + maker() + " se nepodařilo uložit (", 0), 0u)
                << fakes.messageBox.shown[0].text;
            EXPECT_NE(fakes.messageBox.shown[0].text.find(expectedCause), std::string::npos);
        } else {
            EXPECT_EQ(result, 0);
            EXPECT_NE(data.lastError().find(expectedCause), std::string::npos) << data.lastError();
            EXPECT_EQ(data.lastError().find("cannot rollback"), std::string::npos) << data.lastError();
            if (c.ending == Ending::openAnother) {
                EXPECT_FALSE(data.isOpen()) << "the other file is not opened in place of the lost writes";
            }
            data.Close();
            EXPECT_TRUE(fakes.messageBox.shown.empty());
        }
        CData after;
        ASSERT_EQ(after.Open(maker(), "Excel 8.0", 0, 0), 1);
        ASSERT_EQ(after.OpenTable("Luminaires$", "", 0), 1);
        EXPECT_EQ(after.rowCount(), 5) << "nothing of the failed write stays";
    }
}

TEST_F(CDataFixture, WritesHeldByATransactionAcrossTablesAreUndoneTogether)
{
    const auto rows = [&](const char* table) {
        CData reader;
        EXPECT_EQ(reader.Open(maker(), "Excel 8.0", 0, 0), 1);
        EXPECT_EQ(reader.OpenTable(table, "", 0), 1);
        return reader.rowCount();
    };
    const long luminaires = rows("Luminaires$");
    const long lamps = rows("Lamps$");
    for (const bool commit : { false, true }) {
        SCOPED_TRACE(commit ? "committed" : "closed without commit");
        CData data;
        ASSERT_EQ(data.Open(maker(), "Excel 8.0", kOpenToWrite, 0), 1);
        ASSERT_EQ(data.BeginTrans(), 1);
        ASSERT_EQ(data.OpenTable("Luminaires$", "", 0), 1);
        ASSERT_EQ(data.AddRow(), 1);
        data.CloseTable(); // closing a table does not end the transaction
        ASSERT_EQ(data.OpenTable("Lamps$", "", 0), 1);
        ASSERT_EQ(data.AddRow(), 1);
        data.CloseTable();
        if (commit) {
            ASSERT_EQ(data.CommitTrans(), 1);
        }
        data.Close();
        EXPECT_EQ(rows("Luminaires$"), luminaires + (commit ? 1 : 0));
        EXPECT_EQ(rows("Lamps$"), lamps + (commit ? 1 : 0));
    }

    CData data;
    ASSERT_EQ(data.Open(maker(), "Excel 8.0", kOpenToWrite, 0), 1);
    ASSERT_EQ(data.BeginTrans(), 1);
    EXPECT_EQ(data.BeginTrans(), 0);
    ASSERT_EQ(data.OpenTable("Lamps$", "", 0), 1);
    ASSERT_EQ(data.AddRow(), 1);
    ASSERT_EQ(data.AddColBeforeCreateTable("Věta", L, 255, -2), 1);
    ASSERT_EQ(data.CreateTable("Tab9_300_50"), 1);
    EXPECT_EQ(data.IsTable("Tab9_300_50$"), 1);
    data.Rollback();
    EXPECT_EQ(data.CommitTrans(), 0) << "nothing is held after a rollback";
    EXPECT_EQ(data.IsTable("Tab9_300_50$"), 0) << "a table made in the transaction is gone with it";
    EXPECT_EQ(data.OpenTable("Tab9_300_50$", "", 0), 0);
    ASSERT_EQ(data.OpenTable(0, "", 0), 1);
    data.Close();
    EXPECT_EQ(rows("Lamps$"), lamps + 1);
}

TEST_F(CDataFixture, AFileOpenedToReadIsOpenedReadOnly)
{
    const auto before = readWholeFile(maker());
    CData data;
    ASSERT_EQ(data.Open(maker(), "Excel 8.0", 0, 0), 1);
    EXPECT_TRUE(data.isReadOnly());
    ASSERT_EQ(data.OpenTable("Luminaires$", "", 0), 1);
    EXPECT_EQ(data.AddRow(), 0);
    EXPECT_EQ(data.SetStringValue("Typ", "jiný", 0, 0), 0);
    EXPECT_EQ(data.BeginTrans(), 0);
    data.Close();
    EXPECT_EQ(readWholeFile(maker()), before);
    ASSERT_EQ(data.Open(maker(), "Excel 8.0", kOpenToWrite, 0), 1);
    EXPECT_FALSE(data.isReadOnly()) << "a file opened to write is written";
}

/** The "Typ" of the first luminaire as a new object reads it; "<refused>" when the workbook is refused. */
std::string firstType(const std::string& workbook)
{
    CData data;
    std::string value;
    if (!data.Open(workbook, "Excel 8.0", 0, 0) || !data.OpenTable("Luminaires$", "", 0) || !data.GetStringValue("Typ", value, 0))
        return "<refused>";
    return value;
}

TEST_F(CDataFixture, AJournalOfAnotherUserBesideAWorkbookIsNeverUsed)
{
    // Another user's copy of the workbook with its own first luminaire, and the journal of a write
    // to that copy cut short: played back, it would put the copy's rows into the workbook.
    const std::string copy = folder.file("cizi.xls");
    std::filesystem::copy_file(maker(), copy);
    ASSERT_TRUE(writtenByAnotherProgram(copy, "UPDATE [Luminaires$] SET Typ = 'cizí' WHERE rowid = 1; COMMIT;"));
    const std::string journal = maker() + "-journal";
    const std::string hot = folder.file("hot-journal");
    ASSERT_TRUE(test::ranInAnotherProgram("import sqlite3, shutil, sys, os\n"
                                          "c = sqlite3.connect(sys.argv[1], isolation_level=None)\n"
                                          "c.execute('PRAGMA synchronous=OFF')\n"
                                          "c.execute('BEGIN IMMEDIATE')\n"
                                          "c.execute('UPDATE [Luminaires$] SET Typ = Typ || \"!\"')\n"
                                          "shutil.copyfile(sys.argv[1] + '-journal', sys.argv[2])\n"
                                          "os._exit(0)\n",
        { copy, hot }));
    ASSERT_GT(std::filesystem::file_size(hot), 0u);
    const auto before = readWholeFile(maker());
    const struct {
        const char* name;
        std::string file;
    } cases[] = { { "a hot journal", journal }, { "a WAL file", maker() + "-wal" }, { "a shared-memory file", maker() + "-shm" } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.file == journal)
            std::filesystem::copy_file(hot, journal);
        else
            std::ofstream(c.file, std::ios::binary) << std::string(4096, '\x5a');
        ASSERT_EQ(::chown(c.file.c_str(), 65534, 65534), 0) << std::strerror(errno);
        for (const int mode : { kOpenToRead, kOpenToWrite }) {
            CData data;
            EXPECT_EQ(data.Open(maker(), "Excel 8.0", mode, 0), 0) << mode;
            EXPECT_EQ(data.failure(), DataFailure::foreignFile);
            EXPECT_EQ(data.failureFile(), c.file);
            EXPECT_EQ(openFailureText(data, maker()),
                "Sešit " + maker() + " nelze otevřít: vedle něj leží soubor " + c.file
                    + ", který nepatří vlastníkovi sešitu (zanechal jej jiný uživatel). Sešit zůstal beze změny; "
                      "soubor může odstranit jeho vlastník nebo správce.");
        }
        EXPECT_EQ(readWholeFile(maker()), before) << "the workbook stays byte for byte";
        std::filesystem::remove(c.file);
    }
    // The owner's own journal is SQLite's as ever: a read puts the write cut short back.
    std::filesystem::copy_file(hot, journal);
    EXPECT_EQ(firstType(maker()), "cizí");
    EXPECT_FALSE(std::filesystem::exists(journal));
}

TEST_F(CDataFixture, AColleaguesWriteOnATeamWorkbookIsWaitedForAndItsRowsKept)
{
    // A colleague: another user who may write the workbook, as a member of its group or as anyone.
    constexpr int kColleague = 65534;
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the superuser can run a program as another user";
    std::filesystem::permissions(folder.file(""), std::filesystem::perms::all);
    const struct {
        const char* name;
        mode_t mode;
        gid_t group;
    } cases[] = { { "world-writable", 0666, 0 }, { "group-writable, the colleague's group", 0664, kColleague } };
    int imports = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(::chown(maker().c_str(), 0, c.group), 0) << std::strerror(errno);
        ASSERT_EQ(::chmod(maker().c_str(), c.mode), 0) << std::strerror(errno);
        // A long import: its pages spill into the workbook while its journal lies beside it.
        const std::string table = "Dovoz" + std::to_string(++imports) + "$";
        {
            const test::HeldWrite colleague(maker(),
                "CREATE TABLE [" + table + "] AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                "WHERE i < 20000) SELECT i AS Věta, randomblob(300) AS Data FROM n",
                0.5, "IMMEDIATE", kColleague);
            ASSERT_TRUE(colleague.held());
            ASSERT_TRUE(std::filesystem::exists(maker() + "-journal"));
            CData data;
            ASSERT_EQ(data.Open(maker(), "Excel 8.0", kOpenToRead, 0), 1) << data.lastError();
            ASSERT_EQ(data.OpenTable(table, "", 0), 1);
            EXPECT_EQ(data.rowCount(), 20000) << "read once the colleague committed";
        }
        // The colleague's write cut short leaves its journal with no lock held: rolled back as SQLite does.
        ASSERT_TRUE(test::ranInAnotherProgram("import sqlite3, sys, os\n"
                                              "os.setgid(int(sys.argv[2])); os.setuid(int(sys.argv[2]))\n"
                                              "c = sqlite3.connect(sys.argv[1], isolation_level=None)\n"
                                              "c.execute('PRAGMA cache_size=10')\n"
                                              "c.execute('BEGIN IMMEDIATE')\n"
                                              "c.execute('UPDATE [Luminaires$] SET Typ = \"zkaženo\"')\n"
                                              "c.execute('DELETE FROM [" + table + "]')\n"
                                              "os._exit(0)\n",
            { maker(), std::to_string(kColleague) }));
        ASSERT_TRUE(std::filesystem::exists(maker() + "-journal"));
        EXPECT_EQ(firstType(maker()), "A-100");
        EXPECT_FALSE(std::filesystem::exists(maker() + "-journal"));
        CData data;
        ASSERT_EQ(data.Open(maker(), "Excel 8.0", kOpenToWrite, 0), 1) << data.lastError();
        ASSERT_EQ(data.OpenTable(table, "", 0), 1);
        EXPECT_EQ(data.rowCount(), 20000) << "the colleague's rows are kept";
    }
}

TEST_F(CDataFixture, AWriteBesideAnyJournalOfAUserWhoMayNotWriteTheWorkbookIsRefusedNamingIt)
{
    const std::string journal = maker() + "-journal";
    const auto plant = [&](const std::string& bytes) {
        std::ofstream(journal, std::ios::binary) << bytes;
        return ::chown(journal.c_str(), 65534, 65534) == 0;
    };
    const auto before = readWholeFile(maker());
    const std::string expected = "Sešit " + maker() + " nelze otevřít: vedle něj leží soubor " + journal
        + ", který nepatří vlastníkovi sešitu (zanechal jej jiný uživatel). Sešit zůstal beze změny; "
          "soubor může odstranit jeho vlastník nebo správce.";
    for (const std::string& bytes : { std::string(), std::string(4096, '\0') }) {
        SCOPED_TRACE(bytes.empty() ? "empty" : "zero-filled");
        ASSERT_TRUE(plant(bytes)) << std::strerror(errno);
        CData data;
        EXPECT_EQ(data.Open(maker(), "Excel 8.0", kOpenToWrite, 0), 0);
        EXPECT_EQ(data.failure(), DataFailure::foreignFile) << data.lastError();
        EXPECT_EQ(data.failureFile(), journal);
        EXPECT_EQ(openFailureText(data, maker()), expected);
        // Not hot, it is no use to a read.
        EXPECT_EQ(firstType(maker()), "A-100");
        std::filesystem::remove(journal);
    }
    // Planted after the open: the write it fails names it.
    CData data;
    ASSERT_EQ(data.Open(maker(), "Excel 8.0", kOpenToWrite, 0), 1);
    ASSERT_EQ(data.OpenTable("Lamps$", "", 0), 1);
    ASSERT_TRUE(plant({})) << std::strerror(errno);
    EXPECT_EQ(data.AddRow(), 0);
    EXPECT_EQ(data.failure(), DataFailure::foreignFile) << data.lastError();
    EXPECT_EQ(data.failureFile(), journal);
    data.Close();
    std::filesystem::remove(journal);
    EXPECT_EQ(readWholeFile(maker()), before) << "the workbook stays byte for byte";
}

TEST_F(CDataFixture, AnOpenWaitsForAnotherProgramsWriteAndElseSaysItIsBeingWritten)
{
    {
        const test::HeldWrite shortWrite(maker(), "INSERT INTO [Lamps$] (Věta) VALUES (4)", 0.5, "EXCLUSIVE");
        ASSERT_TRUE(shortWrite.held());
        CData data;
        EXPECT_EQ(data.Open(maker(), "Excel 8.0", 0, 0), 1) << data.lastError();
        ASSERT_EQ(data.OpenTable("Lamps$", "", 0), 1);
        EXPECT_EQ(data.rowCount(), 4) << "read once the other program committed";
    }
    test::HeldWrite longWrite(maker(), "INSERT INTO [Lamps$] (Věta) VALUES (5)", 30, "EXCLUSIVE");
    ASSERT_TRUE(longWrite.held());
    CData data;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(data.Open(maker(), "Excel 8.0", 0, 0), 0);
    // One wait of 2 s, not two.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(data.failure(), DataFailure::busy) << data.lastError();
    EXPECT_EQ(openFailureText(data, maker()),
        "Do sešitu " + maker() + " právě zapisuje jiný program, nelze jej nyní otevřít. Zkuste to znovu, až zápis skončí.");
    EXPECT_TRUE(longWrite.release());
    EXPECT_EQ(data.Open(maker(), "Excel 8.0", 0, 0), 1);
    // A missing file is the one case that asks whether it exists.
    EXPECT_EQ(data.Open(folder.file("ZEV-0099.xls"), "Excel 8.0", 0, 0), 0);
    EXPECT_EQ(openFailureText(data, folder.file("ZEV-0099.xls")),
        "Nelze otevřít soubor " + folder.file("ZEV-0099.xls") + " ! (existuje ?)");
}

TEST_F(CDataFixture, ASearchTableThatCannotBeDroppedFailsTheCallThatClosesIt)
{
    CData data;
    ASSERT_EQ(data.Open(maker(), "Excel 8.0", 0, 0), 1);
    ASSERT_EQ(data.OpenTable("SELECT * FROM [Lamps$] WHERE Skupina=20", "", 0), 1);
    ASSERT_EQ(data.FindFirst("Věta=2"), 1);
    g_refuseDrop = true;
    const int closed = data.CloseTable();
    g_refuseDrop = false;
    EXPECT_EQ(closed, 0);
    EXPECT_NE(data.lastError().find("the search table of the query stays"), std::string::npos) << data.lastError();
    EXPECT_EQ(data.OpenTable("Lamps$", "", 0), 1) << "the file stays usable";
}

TEST_F(CDataFixture, CallersReportFailuresWithTheirMessages)
{
    test::FakeServices fakes;
    reportOpenFailure("/data/ZEV-0099.xls");
    reportTableFailure("Lamps$", "/data/ZEV-0015.xls");
    ASSERT_EQ(fakes.messageBox.shown.size(), 2u);
    EXPECT_EQ(fakes.messageBox.shown[0].text, "Nelze otevřít soubor /data/ZEV-0099.xls ! (existuje ?)");
    EXPECT_EQ(fakes.messageBox.shown[1].text, "Nelze otevřít tabulku Lamps$ souboru /data/ZEV-0015.xls !");
    EXPECT_EQ(fakes.messageBox.shown[1].icon, MessageIcon::Warning);
}

TEST(CaseFold, CzechLettersFoldAndMatch)
{
    EXPECT_EQ(foldCase("ŽLUŤOUČKÝ KŮŇ Ďábel"), "žluťoučký kůň ďábel");
    EXPECT_EQ(upperCase("příliš ěščřžýáíéúůťďň"), "PŘÍLIŠ ĚŠČŘŽÝÁÍÉÚŮŤĎŇ");
    EXPECT_TRUE(matchLikePattern("*ČÍS*", "číslo"));
    EXPECT_TRUE(matchLikePattern("T#-?", "T5-a"));
    EXPECT_FALSE(matchLikePattern("T#", "Tx"));
    EXPECT_TRUE(matchLikePattern("[!a-c]*", "d1"));
    EXPECT_FALSE(matchLikePattern("*abc", "abcd"));
    // Many stars in a filter text never make the match run away.
    EXPECT_FALSE(matchLikePattern("*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b*", std::string(400, 'a')));
    EXPECT_TRUE(matchLikePattern("*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b*", std::string(400, 'a') + "b"));
    EXPECT_EQ(foldCase(std::string("\xC3", 1)), std::string("\xC3", 1)) << "a cut sequence passes unchanged";
}

TEST(AccessSql, LiteralsAreBoundAndNamesQuoted)
{
    const auto query = translateQuery("SELECT * FROM [Luminaires$] WHERE Skupina=20 AND [Typ] Like \"*a\"\"b*\"");
    ASSERT_TRUE(query);
    EXPECT_EQ(query->text, "SELECT * FROM \"Luminaires$\" WHERE \"Skupina\" = ? AND \"Typ\" LIKE ?");
    ASSERT_EQ(query->literals.size(), 2u);
    EXPECT_EQ(std::get<std::int64_t>(query->literals[0]), 20);
    EXPECT_EQ(std::get<std::string>(query->literals[1]), "*a\"b*");
    EXPECT_FALSE(translateQuery("DELETE FROM [Lamps$]"));
    EXPECT_FALSE(translateQuery("SELECT * FROM [Lamps$]; DROP TABLE x"));
    EXPECT_FALSE(translateQuery("SELECT * FROM [Lamps$] -- x"));
    EXPECT_FALSE(translateCriterion("Věta=1 UNION SELECT 1"));
}

} // namespace
} // namespace kzev
