#include "catalogue/PhotometryError.h"
#include "catalogue/PhotometryImporter.h"
#include "PhotometryFixtures.h"
#include "PhotometryTestFiles.h"
#include "support/WorkbookFixture.h"
#include "platform/CData.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace kzev;

namespace {

using Format = PhotometryImporter::Format;

/** A maker's workbook holding one catalogue row numbered 7. */
std::string makerWorkbook(const test::TempFolder& folder, bool withCatalogue = true)
{
    const std::string file = folder.file("ZEV-0015.xls");
    test::SheetFixture luminaires;
    luminaires.name = "Luminaires$";
    for (const char* text : {"Typ", "Název", "Datum", "RozmCelkové", "RozmSvítící", "Table", "ImportLamp", "ImportFile"})
        luminaires.columns.push_back({text, kDataTypeText});
    for (const char* number : {"Věta", "Skupina", "Podskupina", "Výkon", "Zdrojů", "Symetrie", "Účinnost"})
        luminaires.columns.push_back({number, kDataTypeLong});
    std::vector<DataValue> row(luminaires.columns.size());
    row[0] = std::string("OLD");
    row[8] = std::int64_t {7};
    luminaires.rows.push_back(row);
    test::SheetFixture other { "Lamps$", { { "Věta", kDataTypeLong } }, {} };
    std::string failure;
    EXPECT_TRUE(test::writeWorkbook(file, withCatalogue ? std::vector { luminaires, other } : std::vector { other }, &failure))
        << failure;
    return file;
}

std::string writeFile(const test::TempFolder& folder, const std::string& name, const std::string& text)
{
    const std::string path = folder.file(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

/** The cells of the last row of a sheet, by column name, in column order. */
std::vector<std::pair<std::string, std::string>> lastRow(const std::string& file, const std::string& sheet)
{
    CData data;
    std::vector<std::pair<std::string, std::string>> cells;
    if (!data.Open(file, "Excel 8.0", 0, 0) || !data.OpenTable(sheet, "", 0)) {
        ADD_FAILURE() << "cannot open " << sheet;
        return cells;
    }
    for (const auto& column : data.columnNames()) {
        std::string value;
        data.GetStringValue(column, value, data.rowCount() - 1, -1, 0);
        cells.emplace_back(column, value);
    }
    data.Close();
    return cells;
}

std::string cell(const std::vector<std::pair<std::string, std::string>>& row, const std::string& column)
{
    for (const auto& c : row)
        if (c.first == column)
            return c.second;
    return "<none>";
}

std::vector<double> steps(double first, double last, double step)
{
    std::vector<double> list;
    for (double a = first; a <= last + 1e-9; a += step)
        list.push_back(a);
    return list;
}

} // namespace

TEST(PhotometryImporterTest, FullCircleFileGivesCatalogueRowAndIntensitySheet)
{
    test::TempFolder folder;
    const std::string workbook = makerWorkbook(folder);
    test::LdtFixture ldt;
    ldt.symmetry = 0;
    ldt.lamps = 2;
    ldt.cAngles = steps(0.0, 345.0, 15.0);
    ldt.gammas = steps(0.0, 180.0, 5.0);
    ldt.values = test::planeValues(ldt.cAngles, ldt.gammas, [](double c, double g) { return 1000.0 + c + g / 10.0; });
    const std::string path = writeFile(folder, "full.ldt", ldt.text());

    CData data;
    const long record = PhotometryImporter::importFile(data, workbook, Format::Eulumdat, path);
    EXPECT_EQ(record, 8);

    const auto catalogue = lastRow(workbook, "Luminaires$");
    EXPECT_EQ(cell(catalogue, "Věta"), "8");
    EXPECT_EQ(cell(catalogue, "Skupina"), "20");
    EXPECT_EQ(cell(catalogue, "Podskupina"), "34");
    EXPECT_EQ(cell(catalogue, "Typ"), "L-1");
    EXPECT_EQ(cell(catalogue, "Název"), "Lamp name");
    EXPECT_EQ(cell(catalogue, "Datum"), "l1.ldt");
    EXPECT_EQ(cell(catalogue, "Výkon"), "14"); // 28 W over 2 lamps
    EXPECT_EQ(cell(catalogue, "Zdrojů"), "2");
    EXPECT_EQ(cell(catalogue, "Symetrie"), "0");
    EXPECT_EQ(cell(catalogue, "Účinnost"), "72");
    EXPECT_EQ(cell(catalogue, "RozmCelkové"), "600;300;80");
    EXPECT_EQ(cell(catalogue, "RozmSvítící"), "580;280;0");
    EXPECT_EQ(cell(catalogue, "Table"), "Tab0_150_50");
    EXPECT_EQ(cell(catalogue, "ImportLamp"), "LED");
    EXPECT_EQ(cell(catalogue, "ImportFile"), path);

    const auto sheet = lastRow(workbook, "Tab0_150_50$");
    ASSERT_EQ(sheet.size(), 26u);
    EXPECT_EQ(sheet[0].first, "Věta");
    EXPECT_EQ(sheet[0].second, "8");
    EXPECT_EQ(sheet[1].first, "I0_0_180_5");
    EXPECT_EQ(sheet[2].first, "I15_0_180_5");
    EXPECT_EQ(sheet[25].first, "I360_0_180_5");
    EXPECT_EQ(sheet[2].second.substr(0, 15), "1015;1016;1016;"); // 1015.5 rounds up
    // The circle closes: C360 is C0 again, not a plane of zeros.
    EXPECT_EQ(sheet[25].second, sheet[1].second);
}

TEST(PhotometryImporterTest, SymmetryThreeColumnsRunFromC270ThroughC0ToC90)
{
    test::TempFolder folder;
    const std::string workbook = makerWorkbook(folder);
    const std::string path = (test::photometryDir() / "ldt" / "pv_symmetry_to_c90c270.ldt").string();
    CData data;
    PhotometryImporter::importFile(data, workbook, Format::Eulumdat, path);

    const auto sheet = lastRow(workbook, "Tab3_100_25$");
    std::vector<std::string> names;
    for (const auto& c : sheet)
        names.push_back(c.first);
    ASSERT_EQ(names.size(), 21u);
    EXPECT_EQ(names[1], "I270_0_180_2");
    EXPECT_EQ(names[10], "I360_0_180_2");
    EXPECT_EQ(names[11], "I0_0_180_2");
    EXPECT_EQ(names[12], "I10_0_180_2");
    EXPECT_EQ(names[20], "I90_0_180_2");
    EXPECT_EQ(sheet[11].second, sheet[10].second);
    // First stored plane of the file (C270) starts 2200, the tenth (C0) 2533, the last (C90) 2866.
    EXPECT_EQ(sheet[1].second.substr(0, 5), "2200;");
    EXPECT_EQ(sheet[11].second.substr(0, 5), "2533;");
    EXPECT_EQ(sheet[20].second.substr(0, 5), "2866;");
    // 0..90 measured at 2.5 degrees; gammas above 90 are written as 0.
    EXPECT_EQ(std::count(sheet[1].second.begin(), sheet[1].second.end(), ';'), 73);
    EXPECT_EQ(sheet[1].second.substr(sheet[1].second.size() - 4), "0;0;");
}

TEST(PhotometryImporterTest, SecondImportOfTheSameLayoutAddsARow)
{
    test::TempFolder folder;
    const std::string workbook = makerWorkbook(folder);
    const auto path = test::photometryDir() / "ldt" / "ugr_sample_01.ldt";
    CData data;
    EXPECT_EQ(PhotometryImporter::importFile(data, workbook, Format::Eulumdat, path), 8);
    EXPECT_EQ(PhotometryImporter::importFile(data, workbook, Format::Eulumdat, path), 9);
    EXPECT_EQ(cell(lastRow(workbook, "Tab4_150_50$"), "Věta"), "9");
}

TEST(PhotometryImporterTest, IesSmallIntensitiesKeepOneDecimal)
{
    test::TempFolder folder;
    const std::string workbook = makerWorkbook(folder);
    // 1 lamp of 100 klm: 1500 cd is 15 cd/klm, so every entry keeps a decimal.
    const std::string path = writeFile(folder, "dim.ies",
        "IESNA:LM-63-2002\n[LUMCAT] D\n[LUMINAIRE] Dim\nTILT=NONE\n1 100000 1 3 1 1 2 0 0 0\n1 1 5\n0 45 90\n0\n1500 1234 0\n");
    CData data;
    PhotometryImporter::importFile(data, workbook, Format::Ies, path);
    const auto catalogue = lastRow(workbook, "Luminaires$");
    EXPECT_EQ(cell(catalogue, "Typ"), "dim.ies"); // a one-letter number gives way to the file name
    EXPECT_EQ(cell(catalogue, "ImportFile"), "");  // the IES import leaves the trace columns empty
    const auto sheet = lastRow(workbook, "Tab1_3600_450$");
    ASSERT_EQ(sheet.size(), 2u);
    EXPECT_EQ(sheet[1].first, "I0_0_180_45");
    EXPECT_EQ(sheet[1].second, "15.0;12.3;0.0;0;0;");
}

TEST(PhotometryImporterTest, UnreadableFileLeavesTheWorkbookAsItWas)
{
    test::TempFolder folder;
    const std::string workbook = makerWorkbook(folder);
    const std::string path = writeFile(folder, "bad.ies",
        "IESNA:LM-63-2002\nTILT=NONE\n1 1000 1 3 1 1 2 0 0 0\n1 1 5\n0 45 90\n0\n1500 1234\n");
    CData data;
    EXPECT_THROW(PhotometryImporter::importFile(data, workbook, Format::Ies, path), PhotometryError);
    EXPECT_EQ(cell(lastRow(workbook, "Luminaires$"), "Věta"), "7");
    CData check;
    ASSERT_TRUE(check.Open(workbook, "Excel 8.0", 0, 0));
    EXPECT_FALSE(check.IsTable("Tab1_3600_450$"));
    check.Close();
}

TEST(PhotometryImporterTest, MissingWorkbookOrSheetIsReportedWithItsName)
{
    test::TempFolder folder;
    const auto path = test::photometryDir() / "ldt" / "ugr_sample_01.ldt";
    CData data;
    try {
        PhotometryImporter::importFile(data, folder.file("ZEV-0099.xls"), Format::Eulumdat, path);
        ADD_FAILURE() << "imported";
    } catch (const PhotometryError& error) {
        EXPECT_EQ(std::string(error.what()), "Nelze otevřít soubor " + folder.file("ZEV-0099.xls") + " ! (existuje ?)");
    }
    const std::string workbook = makerWorkbook(folder, false);
    try {
        PhotometryImporter::importFile(data, workbook, Format::Eulumdat, path);
        ADD_FAILURE() << "imported";
    } catch (const PhotometryError& error) {
        EXPECT_EQ(std::string(error.what()), "Nelze otevřít tabulku Luminaires$ souboru " + workbook + " !");
    }
}
