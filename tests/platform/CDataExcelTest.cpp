#include "platform/CData.h"
#include "platform/DataSqlite.h"
#include "platform/HelperProgram.h"
#include "platform/WorkbookAnswer.h"

#include "support/FakeServices.h"
#include "support/WorkbookFixture.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>

#include <unistd.h>

#include <sys/wait.h>

namespace kzev {
namespace {

using test::SheetFixture;

const std::string kExcelWorkbook = std::string(KZEV_SOURCE_DIR) + "/tests/fixtures/ZEV-0042.xls";
// The same workbook with one byte changed, which makes the workbook library crash.
const std::string kCrashingWorkbook = std::string(KZEV_SOURCE_DIR) + "/tests/fixtures/ZEV-0042-damaged.xls";
// Makes the workbook library allocate without end.
const std::string kRunawayWorkbook = std::string(KZEV_SOURCE_DIR) + "/tests/fixtures/ZEV-0042-runaway.xls";

/** The rows that tools/make_xls_fixture.py writes into the genuine workbook. */
std::vector<SheetFixture> fixtureSheets()
{
    const std::string isotropic = [] {
        std::string s;
        for (int i = 0; i < 37; ++i)
            s += "80;";
        return s;
    }();
    const std::string downlight = "300;290;270;240;200;150;100;60;30;10;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;"
                                  "0;0;0;0;";
    const auto cols = [](std::initializer_list<const char*> names) {
        std::vector<SheetFixture::Column> columns;
        for (const char* n : names)
            columns.push_back({ n, kDataTypeGeneral });
        return columns;
    };
    return {
        { "Luminaires$",
            cols({ "Věta", "Skupina", "Podskupina", "Oddíl", "Typ", "Název", "Krytí", "Divez", "Výkon", "Zdroj",
                "Zdrojů", "PodskupinaZdroje", "Účinnost", "RozmCelkové", "RozmSvítící", "Symetrie", "Table",
                "J0_45_85", "Prepocet" }),
            {
                { 1, 20, 34, 1, "KZ-100", "Koule", "IP20", 4201, 60, "A60", 1, 6, 100, "300;300;300", "250;250;250",
                    1, "Tab1_300_50", {}, 1.0 },
                { 2, 20, 34, 1, "0815", "Žluťoučký downlight", 54, 4202, 36, "T8", 2, 5, 65, "1200;300;80",
                    "1180;280;0", 1, "Tab1_300_50", "1;2;3;4;5", {} },
                { 3, 20, 35, 2, "ČÍSLO-3", "Reflektor", "IP65", 4203, 150, "HIT", 1, 7, 70, "400;400;200",
                    "300;300;0", 1, "Tab1_300_50", {}, 0.5 },
            } },
        { "Lamps$",
            cols({ "Věta", "Skupina", "Podskupina", "Typ", "Název", "Výkon", "Život", "SvTok", "Tau", "Gama", "Čirý",
                "Ppr", "PodBarev" }),
            {
                { 1, 20, 5, "T8", "36W/840", 36, 20000, 3350, 0.5, 1.2, 0, 0.9, "85,5" },
                { 2, 20, 6, "A60", "60W", 60, 1000, 710.5, 0.3, 1.0, 1, 1, {} },
            } },
        { "Tab1_300_50$", cols({ "Věta", "I0_0_180_50" }), { { 1, isotropic }, { 2, downlight }, { 3, downlight } } },
    };
}

/** Every cell of the open table as text ("<none>" where it cannot be read). */
std::vector<std::vector<std::string>> cells(CData& data)
{
    std::vector<std::vector<std::string>> out;
    for (long r = 0; r < data.rowCount(); ++r) {
        std::vector<std::string> row;
        for (int c = 0; c < data.columnCount(); ++c) {
            std::string value;
            row.push_back(data.GetStringValue(c, value, r) ? value : "<none>");
        }
        out.push_back(row);
    }
    return out;
}

TEST(CDataExcel, GenuineWorkbookReadsLikeTheDatabaseWithTheSameRows)
{
    ASSERT_TRUE(std::filesystem::exists(kExcelWorkbook));
    test::TempFolder folder;
    const std::string copy = folder.file("ZEV-0042.xls");
    std::string failure;
    ASSERT_TRUE(test::writeWorkbook(copy, fixtureSheets(), &failure)) << failure;

    for (const char* open : { "first open", "opened again" }) {
        SCOPED_TRACE(open);
        CData excel;
        CData sqlite;
        ASSERT_EQ(excel.Open(kExcelWorkbook, "Excel 8.0", 0, 0), 1) << excel.lastError();
        ASSERT_EQ(sqlite.Open(copy, "Excel 8.0", 0, 0), 1);
        EXPECT_TRUE(excel.isReadOnly());
        for (int index = 0; index < 3; ++index) {
            SCOPED_TRACE(index);
            ASSERT_EQ(excel.OpenTable(index, "", 0), 1);
            ASSERT_EQ(sqlite.OpenTable(index, "", 0), 1);
            EXPECT_EQ(excel.columnNames(), sqlite.columnNames());
            EXPECT_EQ(cells(excel), cells(sqlite));
        }
        for (const std::string query : { "SELECT * FROM [Luminaires$] WHERE Skupina=20 AND Podskupina=34 ",
                 "SELECT * FROM [Luminaires$] WHERE [Typ] Like \"*čís*\" OR [Název] Like \"*čís*\"",
                 "SELECT [Skupina],[Podskupina],[Oddíl] FROM [Luminaires$] GROUP BY [Skupina],[Podskupina],[Oddíl] " }) {
            SCOPED_TRACE(query);
            ASSERT_EQ(excel.OpenTable(query, "", 0), 1);
            ASSERT_EQ(sqlite.OpenTable(query, "", 0), 1);
            EXPECT_GT(excel.rowCount(), 0);
            EXPECT_EQ(cells(excel), cells(sqlite));
        }
        ASSERT_EQ(excel.OpenTable("Lamps$", "", 0), 1);
        ASSERT_EQ(excel.Find(10, "Věta=2", 0), 1);
        std::string value;
        ASSERT_EQ(excel.GetStringValue("SvTok", value), 1);
        EXPECT_EQ(value, "710.5");
        ASSERT_EQ(excel.GetStringValue("PodBarev", value, 0), 1);
        EXPECT_EQ(value, "85,5");
    }
}

TEST(CDataExcel, GenuineWorkbookRefusesEveryWrite)
{
    const auto before = std::filesystem::last_write_time(kExcelWorkbook);
    CData excel;
    ASSERT_EQ(excel.Open(kExcelWorkbook, "Excel 8.0", 0, 0), 1);
    ASSERT_EQ(excel.OpenTable("Luminaires$", "", 0), 1);
    EXPECT_EQ(excel.AddRow(), 0);
    EXPECT_EQ(excel.SetStringValue("Typ", "x", 0, 0), 0);
    EXPECT_EQ(excel.SetValue("Věta", std::int64_t { 9 }, 0, 0), 0);
    excel.CloseTable();
    excel.AddColBeforeCreateTable("Věta", kDataTypeLong, 255, -2);
    EXPECT_EQ(excel.CreateTable("Tab0_150_50"), 0);
    excel.Close();
    EXPECT_EQ(std::filesystem::last_write_time(kExcelWorkbook), before);
}

TEST(CDataExcel, AWorkbookThatCrashesItsLibraryIsReportedDamagedByName)
{
    CData excel;
    EXPECT_EQ(excel.Open(kCrashingWorkbook, "Excel 8.0", 0, 0), 0);
    EXPECT_TRUE(excel.isDamaged());
    EXPECT_FALSE(excel.isOpen());
    EXPECT_EQ(openFailureText(excel, kCrashingWorkbook),
        "Sešit " + kCrashingWorkbook + " je poškozený, nelze jej přečíst !");
    test::FakeServices fakes;
    reportOpenFailure(excel, kCrashingWorkbook);
    ASSERT_EQ(fakes.messageBox.shown.size(), 1u);
    EXPECT_EQ(fakes.messageBox.shown[0].text, openFailureText(excel, kCrashingWorkbook));
    EXPECT_EQ(fakes.messageBox.shown[0].icon, MessageIcon::Warning);

    // The program goes on: the sound workbook opens in the same object, and a missing file is only missing.
    ASSERT_EQ(excel.Open(kExcelWorkbook, "Excel 8.0", 0, 0), 1);
    EXPECT_FALSE(excel.isDamaged());
    EXPECT_EQ(excel.Open("/nonexistent/ZEV-0001.xls", "Excel 8.0", 0, 0), 0);
    EXPECT_EQ(openFailureText(excel, "/nonexistent/ZEV-0001.xls"),
        "Nelze otevřít soubor /nonexistent/ZEV-0001.xls ! (existuje ?)");
}

TEST(CDataExcel, AWorkbookReplacedUnderItsNameIsReadAnew)
{
    // The same name holds in turn the sound workbook, the damaged one and the sound one again.
    test::TempFolder folder;
    const std::string path = folder.file("ZEV-0043.xls");
    const auto place = [&](const std::string& source) {
        std::filesystem::copy_file(source, path, std::filesystem::copy_options::overwrite_existing);
    };
    CData excel;
    place(kExcelWorkbook);
    ASSERT_EQ(excel.Open(path, "Excel 8.0", 0, 0), 1);
    ASSERT_EQ(excel.OpenTable("Lamps$", "", 0), 1);
    const auto sound = cells(excel);
    ASSERT_EQ(excel.Open(path, "Excel 8.0", 0, 0), 1) << "the same bytes open again";
    ASSERT_EQ(excel.OpenTable("Lamps$", "", 0), 1);
    EXPECT_EQ(cells(excel), sound);

    place(kCrashingWorkbook);
    EXPECT_EQ(excel.Open(path, "Excel 8.0", 0, 0), 0);
    EXPECT_TRUE(excel.isDamaged());

    place(kExcelWorkbook);
    ASSERT_EQ(excel.Open(path, "Excel 8.0", 0, 0), 1);
    EXPECT_FALSE(excel.isDamaged());
    ASSERT_EQ(excel.OpenTable("Lamps$", "", 0), 1);
    EXPECT_EQ(cells(excel), sound);
}

TEST(CDataExcel, AWorkbookThatRunsTheReaderOutOfMemoryIsReportedDamaged)
{
    CData excel;
    EXPECT_EQ(excel.Open(kRunawayWorkbook, "Excel 8.0", 0, 0), 0);
    EXPECT_TRUE(excel.isDamaged()) << excel.lastError();
    EXPECT_EQ(openFailureText(excel, kRunawayWorkbook),
        "Sešit " + kRunawayWorkbook + " je poškozený, nelze jej přečíst !");
}

/** A reader program written as a script of the shell's builtins (a reader gets no PATH). */
std::filesystem::path readerScript(const test::TempFolder& folder, const std::string& name, const std::string& body)
{
    const std::filesystem::path script = folder.file(name);
    std::ofstream(script) << "#!/bin/sh\n" << body << "\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    return script;
}

TEST(CDataExcel, AReaderKilledFromOutsideLeavesTheWorkbookToANewReader)
{
    const auto reader = findHelperProgram(workbook::kReaderName);
    ASSERT_TRUE(reader) << "the reader stands beside the test program";
    test::TempFolder folder;
    const std::string path = folder.file("ZEV-0047.xls");
    std::filesystem::copy_file(kExcelWorkbook, path);
    const auto load = [&](const std::filesystem::path& program, std::string& error, bool& damaged) {
        sqlite3* db = nullptr;
        datalib::WorkbookRefusal refusal;
        const bool loaded = datalib::loadExcelWorkbook(path, { program }, db, error, refusal);
        damaged = refusal.kind == DataFailure::damaged;
        sqlite3_close_v2(db);
        return loaded;
    };
    std::string error;
    bool damaged = true;
    // Killed once, as by the system's out-of-memory killer: a new reader reads the workbook in the same open.
    const std::string marker = folder.file("killed-once");
    const auto killedOnce = readerScript(folder, "killed-once.sh",
        "[ -e '" + marker + "' ] && exec '" + reader->string() + "' \"$@\"\n: > '" + marker + "'\nkill -KILL $$");
    EXPECT_TRUE(load(killedOnce, error, damaged)) << error;
    EXPECT_TRUE(std::filesystem::exists(marker));
    // Killed every time: refused with the reason, never called damaged nor kept so.
    const auto alwaysKilled = readerScript(folder, "always-killed.sh", "kill -KILL $$");
    EXPECT_FALSE(load(alwaysKilled, error, damaged));
    EXPECT_FALSE(damaged);
    EXPECT_NE(error.find("ended from outside"), std::string::npos) << error;
    EXPECT_TRUE(load(*reader, error, damaged)) << "the next open reads it: " << error;
}

/** Reads the workbook with the reader given; the refusal when it is not read. */
datalib::WorkbookRefusal loadWith(const std::string& path, const datalib::WorkbookReader& reader, std::string& error)
{
    sqlite3* db = nullptr;
    datalib::WorkbookRefusal refusal;
    if (datalib::loadExcelWorkbook(path, reader, db, error, refusal))
        refusal.kind = DataFailure::none;
    sqlite3_close_v2(db);
    return refusal;
}

TEST(CDataExcel, ABrokenReaderIsReportedAsWhatHappenedNeverAsTheWorkbooksFault)
{
    test::TempFolder folder;
    const std::string path = folder.file("ZEV-0044.xls");
    std::filesystem::copy_file(kExcelWorkbook, path);
    const std::string reader = std::string("kzev-xls-reader");
    const auto notExecutable = readerScript(folder, "not-executable.sh", "exit 0");
    std::filesystem::permissions(notExecutable, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    const auto junk = readerScript(folder, "junk.sh", "printf 'Tohle neni odpoved ctecky.'");
    const struct {
        const char* name;
        std::optional<std::filesystem::path> reader;
        DataFailure kind;
        int systemError;
        std::string message;
    } cases[] = {
        { "not installed", std::nullopt, DataFailure::readerMissing, 0,
            "Sešit " + path + " nelze přečíst: program pro čtení sešitů Excel 97 (" + reader
                + ") není nainstalován u programu Kzev." },
        { "missing where it was found", "/nonexistent/kzev-xls-reader", DataFailure::readerCannotStart, ENOENT,
            "Sešit " + path + " nelze přečíst: program pro čtení sešitů /nonexistent/kzev-xls-reader nelze spustit "
                "(soubor neexistuje)." },
        { "present but not executable", notExecutable, DataFailure::readerCannotStart, EACCES,
            "Sešit " + path + " nelze přečíst: program pro čtení sešitů " + notExecutable.string()
                + " nelze spustit (chybí oprávnění)." },
        { "writes junk", junk, DataFailure::readerNoAnswer, 0,
            "Sešit " + path + " nelze přečíst: program pro čtení sešitů " + junk.string()
                + " nedal použitelnou odpověď." },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        const datalib::WorkbookRefusal refusal = loadWith(path, { c.reader }, error);
        EXPECT_EQ(refusal.kind, c.kind) << error;
        EXPECT_EQ(refusal.systemError, c.systemError);
        EXPECT_EQ(failureText(refusal.kind, path, refusal.file, refusal.systemError), c.message);
    }
    // None of them is a verdict on the workbook: the real reader reads it at once.
    std::string error;
    EXPECT_EQ(loadWith(path, { findHelperProgram(workbook::kReaderName) }, error).kind, DataFailure::none) << error;
}

TEST(CDataExcel, AReaderThatIsThereButCannotRunIsFoundSoItsStartSaysWhy)
{
    const auto real = findHelperProgram(workbook::kReaderName);
    ASSERT_TRUE(real);
    const std::string name = "kzev-test-helper-" + std::to_string(::getpid());
    const std::filesystem::path beside = real->parent_path() / name;
    std::ofstream(beside) << "#!/bin/sh\nexit 0\n";
    std::filesystem::permissions(beside, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    const auto found = findHelperProgram(name);
    std::filesystem::remove(beside);
    EXPECT_EQ(found, beside) << "reported as not installed otherwise";
    EXPECT_FALSE(findHelperProgram(name));
}

TEST(CDataExcel, AWorkbookItsReaderCannotAnswerInTimeIsWaitedForOnceWhileUnchanged)
{
    test::TempFolder folder;
    const std::string path = folder.file("ZEV-0048.xls");
    std::filesystem::copy_file(kExcelWorkbook, path);
    const std::string starts = folder.file("starts");
    const auto hanging = readerScript(folder, "hanging.sh", "printf x >> '" + starts + "'\nexec /bin/sleep 30");
    const auto startCount = [&] { return std::filesystem::exists(starts) ? std::filesystem::file_size(starts) : 0; };
    const datalib::WorkbookReader reader { hanging, std::chrono::milliseconds(300) };
    const std::string expected = "Sešit " + path + " se nepodařilo přečíst ani za 20 s, je zřejmě poškozený; nelze jej přečíst !";
    std::string error;
    for (int open = 0; open < 3; ++open) {
        const datalib::WorkbookRefusal refusal = loadWith(path, reader, error);
        EXPECT_EQ(refusal.kind, DataFailure::timedOut) << error;
        EXPECT_EQ(failureText(refusal.kind, path), expected);
    }
    EXPECT_EQ(startCount(), 1u) << "refused again at once while the file is unchanged";
    // The real reader would read it now, but the refusal stands until the file changes.
    EXPECT_EQ(loadWith(path, { findHelperProgram(workbook::kReaderName) }, error).kind, DataFailure::timedOut);

    // Changed (a new modification time): read anew.
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(1));
    EXPECT_EQ(loadWith(path, reader, error).kind, DataFailure::timedOut);
    EXPECT_EQ(startCount(), 2u);
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(1));
    EXPECT_EQ(loadWith(path, { findHelperProgram(workbook::kReaderName) }, error).kind, DataFailure::none) << error;

    // A crash is a verdict too; a reader ended from outside is none.
    const auto crashing = readerScript(folder, "crashing.sh", "kill -SEGV $$");
    const auto killed = readerScript(folder, "killed.sh", "kill -KILL $$");
    const std::string other = folder.file("ZEV-0049.xls");
    std::filesystem::copy_file(kExcelWorkbook, other);
    EXPECT_EQ(loadWith(other, { killed }, error).kind, DataFailure::readerStopped);
    EXPECT_EQ(loadWith(other, { crashing }, error).kind, DataFailure::damaged);
    EXPECT_EQ(loadWith(other, { findHelperProgram(workbook::kReaderName) }, error).kind, DataFailure::damaged)
        << "an unchanged damaged workbook is not read again";
}

TEST(CDataExcel, AReaderNotSeenToEndIsNoVerdictOnTheWorkbook)
{
    // A parent that ignores SIGCHLD passes that on: the system reaps the reader before its end is seen.
    test::TempFolder folder;
    const std::string path = folder.file("ZEV-0050.xls");
    std::filesystem::copy_file(kExcelWorkbook, path);
    const auto cutShort = readerScript(folder, "cut-short.sh", "printf 'KZEV'\nkill -KILL $$");
    std::string error;
    const sighandler_t before = std::signal(SIGCHLD, SIG_IGN);
    const DataFailure first = loadWith(path, { cutShort }, error).kind;
    const DataFailure then = loadWith(path, { findHelperProgram(workbook::kReaderName) }, error).kind;
    std::signal(SIGCHLD, before);
    EXPECT_NE(first, DataFailure::none);
    EXPECT_EQ(then, DataFailure::none) << "the working reader reads the unchanged workbook: " << error;
}

TEST(CDataExcel, ARefusedWorkbookRewrittenInPlaceWithItsOldTimesIsReadAnew)
{
    // The damaged workbook is as large as the sound one: only the change time tells the rewrite.
    ASSERT_EQ(std::filesystem::file_size(kCrashingWorkbook), std::filesystem::file_size(kExcelWorkbook));
    test::TempFolder folder;
    const std::string path = folder.file("ZEV-0051.xls");
    std::filesystem::copy_file(kCrashingWorkbook, path);
    std::string error;
    ASSERT_EQ(loadWith(path, { findHelperProgram(workbook::kReaderName) }, error).kind, DataFailure::damaged);
    const auto modified = std::filesystem::last_write_time(path);
    {
        std::ifstream sound(kExcelWorkbook, std::ios::binary);
        std::fstream place(path, std::ios::binary | std::ios::in | std::ios::out);
        place << sound.rdbuf();
    }
    std::filesystem::last_write_time(path, modified);
    EXPECT_EQ(loadWith(path, { findHelperProgram(workbook::kReaderName) }, error).kind, DataFailure::none) << error;
}

TEST(CDataExcel, NoReaderIsLeftBehindAfterAWorkbookIsRead)
{
    CData excel;
    ASSERT_EQ(excel.Open(kExcelWorkbook, "Excel 8.0", 0, 0), 1) << excel.lastError();
    int status = 0;
    EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1) << "no reader runs idle or stays a zombie";
    EXPECT_EQ(errno, ECHILD);
}

} // namespace
} // namespace kzev
