// Imports into one workbook from several processes at once, and beside another program's write.

#include "catalogue/PhotometryError.h"
#include "catalogue/PhotometryImporter.h"
#include "PhotometryTestFiles.h"
#include "PhotometryWorkbookFixture.h"
#include "platform/CData.h"
#include "support/FakeServices.h"
#include "support/OtherProgram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>

#include <sys/wait.h>
#include <unistd.h>

using namespace kzev;

namespace {

using Format = PhotometryImporter::Format;

std::filesystem::path sampleFile()
{
    return test::photometryDir() / "ldt" / "ugr_sample_01.ldt";
}

/** Imports the file so many times in a process of its own; it writes each record number (-1 for a failure) to `results`. */
pid_t importingProcess(const std::string& workbook, const std::filesystem::path& file, int times, const std::string& results)
{
    const pid_t child = ::fork();
    if (child != 0)
        return child;
    std::ofstream out(results);
    for (int i = 0; i < times; ++i) {
        CData data;
        try {
            out << PhotometryImporter::importFile(data, workbook, Format::Eulumdat, file) << "\n";
        } catch (const std::exception& error) {
            out << "-1 " << error.what() << "\n";
        }
    }
    out.close();
    ::_exit(0);
}

/** The record numbers a process reported, and the failures it met. */
struct Reported {
    std::vector<long> records;
    std::vector<std::string> failures;
};

Reported reported(pid_t child, const std::string& results)
{
    int status = 0;
    ::waitpid(child, &status, 0);
    Reported out;
    std::ifstream in(results);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("-1", 0) == 0)
            out.failures.push_back(line);
        else
            out.records.push_back(std::stol(line));
    }
    return out;
}

/** Every value of a column of a sheet, row by row. */
std::vector<std::string> columnValues(const std::string& workbook, const std::string& sheet, const std::string& column)
{
    CData data;
    std::vector<std::string> values;
    if (!data.Open(workbook, "Excel 8.0", 0, 0) || !data.OpenTable(sheet, "", 0))
        return values;
    for (long row = 0; row < data.rowCount(); ++row) {
        std::string value;
        values.push_back(data.GetStringValue(column, value, row) ? value : "<none>");
    }
    return values;
}

std::multiset<std::string> counted(const std::vector<std::string>& values)
{
    return { values.begin(), values.end() };
}

} // namespace

TEST(ConcurrentImport, TwoProcessesImportingIntoOneWorkbookGiveEveryLuminaireARecordOfItsOwn)
{
    test::FakeServices fakes;
    test::TempFolder folder;
    const std::string workbook = test::makerWorkbook(folder);
    const long before = static_cast<long>(columnValues(workbook, "Luminaires$", "Věta").size());
    const long lampsBefore = static_cast<long>(columnValues(workbook, "Lamps$", "Věta").size());
    constexpr int kTimes = 25;
    const pid_t first = importingProcess(workbook, sampleFile(), kTimes, folder.file("first.txt"));
    const pid_t second = importingProcess(workbook, sampleFile(), kTimes, folder.file("second.txt"));
    const Reported a = reported(first, folder.file("first.txt"));
    const Reported b = reported(second, folder.file("second.txt"));
    EXPECT_TRUE(a.failures.empty()) << a.failures.front();
    EXPECT_TRUE(b.failures.empty()) << b.failures.front();

    std::vector<long> all = a.records;
    all.insert(all.end(), b.records.begin(), b.records.end());
    const std::set<long> distinct(all.begin(), all.end());
    EXPECT_EQ(distinct.size(), all.size()) << "no two successes share a record number";

    // Each record stands once in the catalogue and once in the intensity sheet; each lamp once.
    const auto luminaires = counted(columnValues(workbook, "Luminaires$", "Věta"));
    const auto intensities = counted(columnValues(workbook, "Tab4_150_50$", "Věta"));
    for (const long record : all) {
        EXPECT_EQ(luminaires.count(std::to_string(record)), 1u) << record;
        EXPECT_EQ(intensities.count(std::to_string(record)), 1u) << record;
    }
    EXPECT_EQ(static_cast<long>(luminaires.size()), before + static_cast<long>(all.size()));
    const auto lamps = columnValues(workbook, "Lamps$", "Věta");
    EXPECT_EQ(static_cast<long>(lamps.size()), lampsBefore + static_cast<long>(all.size()));
    EXPECT_EQ(std::set<std::string>(lamps.begin(), lamps.end()).size(), lamps.size()) << "every lamp has its own record";
    const auto references = columnValues(workbook, "Luminaires$", "Zdroj");
    const std::set<std::string> distinctReferences(references.end() - static_cast<long>(all.size()), references.end());
    EXPECT_EQ(distinctReferences.size(), all.size()) << "every luminaire refers to its own lamp";
}

TEST(ConcurrentImport, TwoImportsThatBothNeedANewIntensitySheetBothSucceed)
{
    test::FakeServices fakes;
    test::TempFolder folder;
    const std::string workbook = test::makerWorkbook(folder);
    ASSERT_TRUE(columnValues(workbook, "Tab4_150_50$", "Věta").empty()) << "the sheet is new to the workbook";
    // Both open the workbook while another program writes it, and find the sheet missing.
    test::HeldWrite other(workbook, "CREATE TABLE jiny (x)", 0.5);
    ASSERT_TRUE(other.held());
    const pid_t first = importingProcess(workbook, sampleFile(), 1, folder.file("first.txt"));
    const pid_t second = importingProcess(workbook, sampleFile(), 1, folder.file("second.txt"));
    const Reported a = reported(first, folder.file("first.txt"));
    const Reported b = reported(second, folder.file("second.txt"));
    EXPECT_TRUE(other.release());
    EXPECT_TRUE(a.failures.empty()) << a.failures.front();
    EXPECT_TRUE(b.failures.empty()) << b.failures.front();
    EXPECT_EQ(columnValues(workbook, "Tab4_150_50$", "Věta").size(), 2u);
}

TEST(ConcurrentImport, AnImportWaitsForAnotherProgramsWriteAndElseSaysItIsBeingWritten)
{
    test::FakeServices fakes;
    test::TempFolder folder;
    const std::string workbook = test::makerWorkbook(folder);
    {
        CData data;
        ASSERT_EQ(PhotometryImporter::importFile(data, workbook, Format::Eulumdat, sampleFile()), 8);
    }
    {
        // Held for a second: the import waits its turn.
        test::HeldWrite other(workbook, "CREATE TABLE jiny (x)", 1.0);
        ASSERT_TRUE(other.held());
        CData data;
        EXPECT_EQ(PhotometryImporter::importFile(data, workbook, Format::Eulumdat, sampleFile()), 9);
        EXPECT_TRUE(other.release());
    }
    // Held beyond the time an import waits: it fails, says why, and writes nothing.
    test::HeldWrite other(workbook, "CREATE TABLE jiny2 (x)", 30.0);
    ASSERT_TRUE(other.held());
    CData data;
    try {
        PhotometryImporter::importFile(data, workbook, Format::Eulumdat, sampleFile());
        ADD_FAILURE() << "imported while another program writes";
    } catch (const PhotometryError& error) {
        EXPECT_EQ(error.reason(),
            "Do sešitu " + workbook + " právě zapisuje jiný program a nepřestal ani za 2 s; import nic nezapsal. "
                "Zkuste to znovu, až zápis skončí.");
    }
    EXPECT_TRUE(other.release());
    EXPECT_EQ(columnValues(workbook, "Luminaires$", "Věta").back(), "9");
}
