#include "catalogue/EulumdatReader.h"
#include "catalogue/IesReader.h"
#include "catalogue/PhotometryError.h"
#include "catalogue/PhotometryImporter.h"
#include "PhotometryFixtures.h"
#include "PhotometryTestFiles.h"
#include "PhotometryWorkbookFixture.h"
#include "model/CLamp.h"
#include "model/CLuminaire.h"
#include "platform/CData.h"
#include "platform/DataLocation.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace kzev;

namespace {

using Format = PhotometryImporter::Format;

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
    const std::string workbook = test::makerWorkbook(folder);
    test::LdtFixture ldt;
    ldt.symmetry = 0;
    ldt.lamps = 2;
    ldt.cAngles = steps(0.0, 345.0, 15.0);
    ldt.gammas = steps(0.0, 180.0, 5.0);
    ldt.values = test::planeValues(ldt.cAngles, ldt.gammas, [](double c, double g) { return 1000.0 + c + g / 10.0; });
    const std::string path = test::writeFile(folder, "full.ldt", ldt.text());

    CData data;
    const long record = PhotometryImporter::importFile(data, workbook, Format::Eulumdat, path);
    EXPECT_EQ(record, 8);

    const auto catalogue = test::lastRow(workbook, "Luminaires$");
    EXPECT_EQ(test::cell(catalogue, "Věta"), "8");
    EXPECT_EQ(test::cell(catalogue, "Skupina"), "20");
    EXPECT_EQ(test::cell(catalogue, "Podskupina"), "34");
    EXPECT_EQ(test::cell(catalogue, "Typ"), "L-1");
    EXPECT_EQ(test::cell(catalogue, "Název"), "Lamp name");
    EXPECT_EQ(test::cell(catalogue, "Datum"), "l1.ldt");
    EXPECT_EQ(test::cell(catalogue, "Výkon"), "14"); // 28 W over 2 lamps
    EXPECT_EQ(test::cell(catalogue, "Zdrojů"), "2");
    EXPECT_EQ(test::cell(catalogue, "Symetrie"), "0");
    EXPECT_EQ(test::cell(catalogue, "Účinnost"), "72");
    EXPECT_EQ(test::cell(catalogue, "RozmCelkové"), "600;300;80");
    EXPECT_EQ(test::cell(catalogue, "RozmSvítící"), "580;280;0");
    EXPECT_EQ(test::cell(catalogue, "Table"), "Tab0_150_50");
    EXPECT_EQ(test::cell(catalogue, "ImportLamp"), "LED");
    EXPECT_EQ(test::cell(catalogue, "ImportFile"), path);

    const auto sheet = test::lastRow(workbook, "Tab0_150_50$");
    ASSERT_EQ(sheet.size(), 26u);
    EXPECT_EQ(sheet[0].first, "Věta");
    EXPECT_EQ(sheet[0].second, "8");
    EXPECT_EQ(sheet[1].first, "I0_0_180_5");
    EXPECT_EQ(sheet[2].first, "I15_0_180_5");
    EXPECT_EQ(sheet[25].first, "I360_0_180_5");
    EXPECT_EQ(sheet[2].second.substr(0, 17), "1015;1015.5;1016;"); // intensities keep their decimals
    // The circle closes: C360 is C0 again, not a plane of zeros.
    EXPECT_EQ(sheet[25].second, sheet[1].second);
}

TEST(PhotometryImporterTest, SymmetryThreeColumnsRunFromC270ThroughC0ToC90)
{
    test::TempFolder folder;
    const std::string workbook = test::makerWorkbook(folder);
    const std::string path = (test::photometryDir() / "ldt" / "pv_symmetry_to_c90c270.ldt").string();
    CData data;
    PhotometryImporter::importFile(data, workbook, Format::Eulumdat, path);

    // Measured 0..90 at 2.5 degrees, it is stored at its own step (see below).
    const auto sheet = test::lastRow(workbook, "Tab3_100_25$");
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
    // Gammas above 90 are left empty: the file does not cover them, and the loaded
    // luminaire gives no light there, not even towards 92.5.
    std::vector<std::string> values;
    std::istringstream cell(sheet[1].second);
    for (std::string value; std::getline(cell, value, ';');)
        values.push_back(value);
    ASSERT_EQ(values.size(), 73u);
    EXPECT_NE(values[36], "");
    EXPECT_NE(values[36], "0");
    for (std::size_t k = 37; k < values.size(); ++k)
        EXPECT_EQ(values[k], "") << k * 2.5;
}

TEST(PhotometryImporterTest, SecondImportOfTheSameLayoutAddsARow)
{
    test::TempFolder folder;
    const std::string workbook = test::makerWorkbook(folder);
    const auto path = test::photometryDir() / "ldt" / "ugr_sample_01.ldt";
    CData data;
    EXPECT_EQ(PhotometryImporter::importFile(data, workbook, Format::Eulumdat, path), 8);
    EXPECT_EQ(PhotometryImporter::importFile(data, workbook, Format::Eulumdat, path), 9);
    EXPECT_EQ(test::cell(test::lastRow(workbook, "Tab4_150_50$"), "Věta"), "9");
}

TEST(PhotometryImporterTest, IesIntensitiesKeepTheirDecimals)
{
    test::TempFolder folder;
    const std::string workbook = test::makerWorkbook(folder);
    // 1 lamp of 100 klm: 1500 cd is 15 cd/klm and 1234 cd is 12.34 cd/klm.
    const std::string path = test::writeFile(folder, "dim.ies",
        "IESNA:LM-63-2002\n[LUMCAT] D\n[LUMINAIRE] Dim\nTILT=NONE\n1 100000 1 3 1 1 2 0 0 0\n1 1 5\n0 45 90\n0\n1500 1234 0\n");
    CData data;
    PhotometryImporter::importFile(data, workbook, Format::Ies, path);
    const auto catalogue = test::lastRow(workbook, "Luminaires$");
    EXPECT_EQ(test::cell(catalogue, "Typ"), "dim.ies"); // a one-letter number gives way to the file name
    EXPECT_EQ(test::cell(catalogue, "ImportFile"), "");  // the IES import leaves the trace columns empty
    // Ending at 90, the file is stored at its own step, the gammas past 90 empty.
    const auto sheet = test::lastRow(workbook, "Tab1_3600_450$");
    ASSERT_EQ(sheet.size(), 2u);
    EXPECT_EQ(sheet[1].first, "I0_0_180_45");
    EXPECT_EQ(sheet[1].second, "15;12.34;0;;;");
}

TEST(PhotometryImporterTest, UnreadableFileLeavesTheWorkbookAsItWas)
{
    test::TempFolder folder;
    const std::string workbook = test::makerWorkbook(folder);
    const std::string path = test::writeFile(folder, "bad.ies",
        "IESNA:LM-63-2002\nTILT=NONE\n1 1000 1 3 1 1 2 0 0 0\n1 1 5\n0 45 90\n0\n1500 1234\n");
    CData data;
    try {
        PhotometryImporter::importFile(data, workbook, Format::Ies, path);
        ADD_FAILURE() << "imported";
    } catch (const PhotometryError& error) {
        EXPECT_EQ(PhotometryImporter::readFailureMessage(Format::Ies, error),
            "Chyba při čtení IES souboru !\nSoubor " + path + ", řádek 7: soubor končí předčasně, chybí další řádky nebo hodnoty");
    }
    EXPECT_EQ(test::cell(test::lastRow(workbook, "Luminaires$"), "Věta"), "7");
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
    const std::string workbook = test::makerWorkbook(folder, false);
    try {
        PhotometryImporter::importFile(data, workbook, Format::Eulumdat, path);
        ADD_FAILURE() << "imported";
    } catch (const PhotometryError& error) {
        EXPECT_EQ(std::string(error.what()), "Nelze otevřít tabulku Luminaires$ souboru " + workbook + " !");
    }
}

namespace {

/** A photometric file and the reader that gives its public definition. */
struct SampleFile {
    const char* folder;
    const char* name;
    int symmetry;
};

const SampleFile kEverySymmetry[] = {
    {"ldt", "pv_no_symmetry.ldt", 0},
    {"ldt", "pv_dummy.ldt", 1},
    {"ldt", "pv_symmetry_about_vertical_axis.ldt", 1},
    {"ldt", "pv_symmetry_to_c0c180.ldt", 2},
    {"ldt", "pv_symmetry_to_c90c270.ldt", 3},
    {"ldt", "rs_road_luminaire.ldt", 3},
    {"ldt", "pv_symmetry_to_c0c90c180c270.ldt", 4},
    {"ldt", "ugr_sample_11.ldt", 4},
    {"ies", "rab_1.ies", 4},
    {"ies", "rab_3.ies", 0},
    {"ies", "rab_7.ies", 1},
};

PhotometricData readSample(const SampleFile& sample)
{
    const auto path = test::photometryDir() / sample.folder / sample.name;
    return std::string(sample.folder) == "ldt" ? EulumdatReader::read(path) : IesReader::read(path);
}

} // namespace

TEST(PhotometryImporterTest, ImportedFilesLoadAsTheirSymmetryCodeDefines)
{
    test::TempFolder folder;
    const std::string workbook = test::makerWorkbook(folder);
    ScopedDataLocation location({folder.path().string(), "ZEV-", "Excel 8.0"});
    for (const auto& sample : kEverySymmetry) {
        SCOPED_TRACE(sample.name);
        const PhotometricData file = readSample(sample);
        ASSERT_EQ(file.symmetry, sample.symmetry);
        const auto format = std::string(sample.folder) == "ldt" ? Format::Eulumdat : Format::Ies;
        CData data;
        const long record = PhotometryImporter::importFile(data, workbook, format,
            test::photometryDir() / sample.folder / sample.name);

        CLuminaire luminaire;
        ASSERT_EQ(luminaire.LoadFromDataFile(15, record, 0), 1);
        EXPECT_EQ(luminaire.m_symmetry, file.symmetry);

        // At the stored planes and gammas: the file's values, rounded to whole cd/klm.
        for (double stored : file.planeAngles) {
            const double c = std::fmod(stored, 360.0);
            if (std::fabs(c - std::round(c)) > 1e-9)
                continue;
            for (double g : file.gammaAngles) {
                if (std::fabs(g - std::round(g)) > 1e-9)
                    continue;
                ASSERT_NEAR(luminaire.at(static_cast<int>(std::round(c)), static_cast<int>(std::round(g))),
                    file.intensityAt(c, g), 1.0) << "C " << c << " gamma " << g;
            }
        }
        // In oblique planes, mirrored ones included: the public definition, within the
        // rounding of the stored values and of the table's interpolation.
        for (double c : {35.0, 100.0, 200.0, 290.0, 347.0})
            for (double g : {0.0, 20.0, 47.0, 65.0, 88.0, 120.0})
                EXPECT_NEAR(luminaire.GetIntensity(c, g), file.intensityAt(c, g), 2.0) << "C " << c << " gamma " << g;
    }
}

namespace {

long rowCount(const std::string& workbook, const std::string& sheet)
{
    CData data;
    if (!data.Open(workbook, "Excel 8.0", 0, 0) || !data.OpenTable(sheet, "", 0))
        return -1;
    return data.rowCount();
}

/** Imports the file and returns the message it fails with ("" when it succeeds). */
std::string importFailure(const std::string& workbook, Format format, const std::filesystem::path& file)
{
    CData data;
    try {
        PhotometryImporter::importFile(data, workbook, format, file);
    } catch (const PhotometryError& error) {
        return error.what();
    }
    return {};
}

} // namespace

TEST(PhotometryImporterTest, AFailedImportNamesItsCauseAndLeavesNoRowAnywhere)
{
    test::TempFolder folder;
    const auto ldt = test::photometryDir() / "ldt" / "ugr_sample_01.ldt";
    const PhotometryImporter::Prepared rows = PhotometryImporter::prepareFile(Format::Eulumdat, ldt);
    const std::string sheet = rows.sheet + "$";

    // A catalogue sheet without "Typ": the intensity row must not be written either.
    const std::string noType = folder.file("ZEV-0016.xls");
    std::string failure;
    ASSERT_TRUE(test::writeWorkbook(noType,
        { { "Luminaires$", { { "Věta", kDataTypeLong }, { "Název", kDataTypeText } }, { { std::int64_t { 7 }, std::string("A") } } } },
        &failure))
        << failure;
    EXPECT_EQ(importFailure(noType, Format::Eulumdat, ldt), "V tabulce Luminaires$ souboru " + noType + " chybí sloupec Typ !");
    EXPECT_EQ(rowCount(noType, "Luminaires$"), 1);
    EXPECT_EQ(rowCount(noType, sheet), -1) << "no intensity sheet is made";

    // An intensity sheet of the same name that lacks a plane: nothing is written.
    const std::string workbook = test::makerWorkbook(folder);
    {
        CData data;
        ASSERT_TRUE(data.Open(workbook, "Excel 8.0", kOpenToWrite, 0));
        data.AddColBeforeCreateTable("Věta", kDataTypeLong, 255, -2);
        data.AddColBeforeCreateTable(rows.columns.front().first, kDataTypeText, 255, -2);
        ASSERT_TRUE(data.CreateTable(sheet));
        data.Close();
    }
    EXPECT_EQ(importFailure(workbook, Format::Eulumdat, ldt),
        "V tabulce " + sheet + " souboru " + workbook + " chybí sloupec " + rows.columns[1].first + " !");
    EXPECT_EQ(rowCount(workbook, "Luminaires$"), 1);
    EXPECT_EQ(rowCount(workbook, sheet), 0);

    // A genuine Excel 97 workbook is only ever read.
    const std::string genuine = std::string(KZEV_SOURCE_DIR) + "/tests/fixtures/ZEV-0042.xls";
    EXPECT_EQ(importFailure(genuine, Format::Eulumdat, ldt),
        "Sešit " + genuine + " je jen pro čtení, import do něj nelze zapsat !");
    const std::string damaged = std::string(KZEV_SOURCE_DIR) + "/tests/fixtures/ZEV-0042-damaged.xls";
    EXPECT_EQ(importFailure(damaged, Format::Eulumdat, ldt), "Sešit " + damaged + " je poškozený, nelze jej přečíst !");
}

TEST(PhotometryImporterTest, AnIesPointSourceImportsAndLoadsAsASmallLuminousSquare)
{
    test::FakeServices fakes;
    test::TempFolder folder;
    const std::string workbook = test::makerWorkbook(folder);
    ScopedDataLocation location({ folder.path().string(), "ZEV-", "Excel 8.0" });
    // One lamp of 1000 lm, rotationally symmetric, no luminous dimensions (width, length, height 0).
    const std::string path = test::writeFile(folder, "bod.ies",
        "IESNA:LM-63-2002\n[LUMCAT] BOD-1\n[LUMINAIRE] Bodový zdroj\nTILT=NONE\n1 1000 1 3 1 1 2 0 0 0\n1 1 10\n"
        "0 90 180\n0\n300 200 0\n");
    CData data;
    const long record = PhotometryImporter::importFile(data, workbook, Format::Ies, path);
    EXPECT_EQ(test::cell(test::lastRow(workbook, "Luminaires$"), "RozmSvítící"), "0;0;0");
    // The line comes before those of the written rows.
    ASSERT_EQ(fakes.log.calls.size(), 3u);
    EXPECT_EQ(fakes.log.calls.front(), "line:Soubor " + path
            + " nemá zadány svítící rozměry: svítidlo se uloží jako bodový zdroj a počítá se svítící plochou 10 × 10 mm.");

    CLuminaire luminaire;
    ASSERT_EQ(luminaire.LoadFromDataFile(15, record, 1), 1);
    EXPECT_TRUE(fakes.messageBox.shown.empty());
    EXPECT_DOUBLE_EQ(luminaire.m_luminousDimensions[0], CLuminaire::kPointSourceSide);
    EXPECT_DOUBLE_EQ(luminaire.m_luminousDimensions[1], CLuminaire::kPointSourceSide);
    EXPECT_EQ(luminaire.at(0, 0), 300);
    EXPECT_EQ(luminaire.at(123, 90), 200);
}

TEST(PhotometryImporterTest, DecimalIntensitiesSurviveImportStorageLoadingAndInterpolation)
{
    test::TempFolder folder;
    const std::string workbook = test::makerWorkbook(folder);
    ScopedDataLocation location({folder.path().string(), "ZEV-", "Excel 8.0"});
    // An isotropic 79.58 cd/klm (1000 lm over 4 pi) down to the horizontal, fading to 0.12 straight up.
    test::LdtFixture ldt;
    ldt.gammas = { 0.0, 90.0, 180.0 };
    ldt.values = { 79.58, 79.58, 0.12 };
    const std::string path = test::writeFile(folder, "decimals.ldt", ldt.text());
    CData data;
    const long record = PhotometryImporter::importFile(data, workbook, Format::Eulumdat, path);

    const auto sheet = test::lastRow(workbook, test::cell(test::lastRow(workbook, "Luminaires$"), "Table") + "$");
    ASSERT_EQ(sheet.size(), 2u);
    EXPECT_EQ(sheet[1].second, "79.58;79.58;0.12;");

    CLuminaire luminaire;
    ASSERT_EQ(luminaire.LoadFromDataFile(15, record, 0), 1);
    EXPECT_DOUBLE_EQ(luminaire.at(0, 0), 79.58);
    EXPECT_DOUBLE_EQ(luminaire.at(123, 180), 0.12);
    EXPECT_DOUBLE_EQ(luminaire.m_maxIntensity, 79.58);
    // Linear in gamma between the stored 90 and 180, and in C between whole planes.
    for (const double c : { 0.0, 200.5, 359.75 }) {
        for (const double g : { 135.0, 179.5, 180.0 })
            EXPECT_NEAR(luminaire.GetIntensity(c, g), 79.58 + (0.12 - 79.58) * (g - 90.0) / 90.0, 1e-9) << c << " " << g;
    }
}

TEST(PhotometryImporterTest, APowerThatTheLampsDoNotShareEvenlyKeepsTheFilesTotal)
{
    test::FakeServices fakes;
    test::TempFolder folder;
    const std::string workbook = test::makerWorkbook(folder);
    ScopedDataLocation location({ folder.path().string(), "ZEV-", "Excel 8.0" });
    test::LdtFixture ldt;
    ldt.lamps = 2;
    ldt.watts = 15;
    CData data;
    const long record
        = PhotometryImporter::importFile(data, workbook, Format::Eulumdat, test::writeFile(folder, "twin.ldt", ldt.text()));
    ASSERT_EQ(record, 8);
    EXPECT_EQ(test::cell(test::lastRow(workbook, "Luminaires$"), "Výkon"), "7.5");
    EXPECT_EQ(test::cell(test::lastRow(workbook, "Lamps$"), "Výkon"), "7.5");

    CLuminaire luminaire;
    ASSERT_EQ(luminaire.LoadFromDataFile(15, record, 1), 1);
    EXPECT_DOUBLE_EQ(luminaire.m_numberOfLamps * luminaire.m_lampPower, 15.0);
    EXPECT_NE(luminaire.GetDescription().find(",2x7.5W,"), std::string::npos) << luminaire.GetDescription();
    CLamp lamp;
    ASSERT_EQ(lamp.LoadFromDatabase(15, 4, 1), 1);
    EXPECT_DOUBLE_EQ(lamp.m_power, 7.5);
    EXPECT_NE(lamp.GetDescription(-1.0).find(",7.5W,"), std::string::npos) << lamp.GetDescription(-1.0);
}

TEST(PhotometryImporterTest, AnImportedLuminaireGivesNoLightPastTheFilesLastAngle)
{
    struct Case {
        double last;
        double step;
    };
    // Files ending on a whole degree and one ending off it, each at its own step.
    for (const Case c : { Case { 60.0, 5.0 }, Case { 80.0, 10.0 }, Case { 87.5, 2.5 } }) {
        test::FakeServices fakes;
        test::TempFolder folder;
        const std::string workbook = test::makerWorkbook(folder);
        ScopedDataLocation location({ folder.path().string(), "ZEV-", "Excel 8.0" });
        test::LdtFixture ldt;
        ldt.gammas.clear();
        ldt.values.clear();
        for (double g = 0.0; g <= c.last + 1e-9; g += c.step) {
            ldt.gammas.push_back(g);
            ldt.values.push_back(300.0 - 3.0 * g); // still bright at the last angle
        }
        const std::string file = test::writeFile(folder, "short.ldt", ldt.text());
        const PhotometricData measured = EulumdatReader::read(file);
        CData data;
        const long record = PhotometryImporter::importFile(data, workbook, Format::Eulumdat, file);
        CLuminaire luminaire;
        ASSERT_EQ(luminaire.LoadFromDataFile(15, record, 1), 1) << c.last;
        for (double past : { 0.5, 0.99, 1.0, 5.0 }) {
            EXPECT_EQ(measured.intensityAt(45.0, c.last + past), 0.0);
            EXPECT_EQ(luminaire.GetIntensity(45.0, c.last + past), 0.0) << c.last << " + " << past;
        }
        // Within the file's angles the luminaire gives the file's light, up to its last angle.
        EXPECT_NEAR(luminaire.GetIntensity(45.0, c.last - 5.0), measured.intensityAt(45.0, c.last - 5.0), 1e-9);
        EXPECT_NEAR(luminaire.GetIntensity(45.0, std::floor(c.last)), 300.0 - 3.0 * std::floor(c.last), 1e-9);
        EXPECT_NEAR(luminaire.GetIntensity(45.0, c.last), measured.intensityAt(45.0, c.last), 3.0 * (c.last - std::floor(c.last)));
    }
}

TEST(PhotometryImporterTest, TheFilesWattsAndLightOutputRatioKeepTheirDecimals)
{
    struct Case {
        const char* name;
        Format format;
        int lamps;
        double watts;      // of all lamps, as the file gives them
        double ratio;      // light output ratio, per cent
        const char* power; // "Výkon" of the luminaire and of its lamp: watts per lamp
        const char* shown; // in the luminaire's description
    };
    const Case cases[] = {
        { "one lamp of 31.7 W", Format::Eulumdat, 1, 31.7, 72.0, "31.7", ",1x31.7W,72%" },
        { "two lamps of 15.5 W in all", Format::Eulumdat, 2, 15.5, 72.0, "7.75", ",2x7.75W,72%" },
        { "a light output ratio of 100.1 %", Format::Eulumdat, 1, 28.0, 100.1, "28", ",1x28W,100.1%" },
        { "an IES file of 9.39 input watts", Format::Ies, 1, 9.39, 0.0, "9.39", ",1x9.39W," },
    };
    for (const Case& c : cases) {
        test::FakeServices fakes;
        test::TempFolder folder;
        const std::string workbook = test::makerWorkbook(folder);
        ScopedDataLocation location({ folder.path().string(), "ZEV-", "Excel 8.0" });
        std::string file;
        if (c.format == Format::Eulumdat) {
            test::LdtFixture ldt;
            ldt.lamps = c.lamps;
            ldt.watts = c.watts;
            ldt.lightOutputRatio = c.ratio;
            file = test::writeFile(folder, "watts.ldt", ldt.text());
            const PhotometricData read = EulumdatReader::read(file);
            EXPECT_DOUBLE_EQ(read.totalWattage, c.watts) << c.name;
            EXPECT_DOUBLE_EQ(read.lightOutputRatio, c.ratio) << c.name;
        } else {
            file = test::writeFile(folder, "watts.ies",
                "IESNA:LM-63-2002\n[LUMCAT] W-1\n[LUMINAIRE] Watts\nTILT=NONE\n1 1000 1 3 1 1 2 0.1 0.1 0\n1 1 9.39\n"
                "0 45 90\n0\n300 200 0\n");
            EXPECT_DOUBLE_EQ(IesReader::read(file).totalWattage, c.watts) << c.name;
        }
        CData data;
        const long record = PhotometryImporter::importFile(data, workbook, c.format, file);
        EXPECT_EQ(test::cell(test::lastRow(workbook, "Luminaires$"), "Výkon"), c.power) << c.name;
        EXPECT_EQ(test::cell(test::lastRow(workbook, "Lamps$"), "Výkon"), c.power) << c.name;

        CLuminaire luminaire;
        ASSERT_EQ(luminaire.LoadFromDataFile(15, record, 1), 1) << c.name;
        EXPECT_NEAR(luminaire.m_numberOfLamps * luminaire.m_lampPower, c.watts, 1e-9) << c.name;
        EXPECT_NE(luminaire.GetDescription().find(c.shown), std::string::npos) << c.name << ": " << luminaire.GetDescription();
        CLamp lamp;
        ASSERT_EQ(lamp.LoadFromDatabase(15, 4, 1), 1) << c.name;
        EXPECT_NEAR(lamp.m_power * c.lamps, c.watts, 1e-9) << c.name;
        if (c.format == Format::Eulumdat) {
            // The luminaire's flux from its lamps (3000 lm in all) and its light output ratio.
            const double flux = luminaire.m_numberOfLamps * lamp.m_luminousFlux * luminaire.m_efficiency / 100.0;
            EXPECT_NEAR(flux, 3000.0 * c.ratio / 100.0, 3000.0 * c.ratio / 100.0 * 1e-4) << c.name;
        }
    }
}

TEST(PhotometryImporterTest, AnImportedLuminaireAndItsLampHaveWhatTheCalculationReads)
{
    test::FakeServices fakes;
    test::TempFolder folder;
    const std::string workbook = test::makerWorkbook(folder);
    ScopedDataLocation location({ folder.path().string(), "ZEV-", "Excel 8.0" });
    const auto path = test::photometryDir() / "ldt" / "rs_road_luminaire.ldt";
    CData data;
    const long record = PhotometryImporter::importFile(data, workbook, Format::Eulumdat, path);
    ASSERT_EQ(record, 8);

    // The luminaire names its lamp, the next lamp of the workbook (3 is the fixture's own).
    CLuminaire luminaire;
    ASSERT_EQ(luminaire.LoadFromDataFile(15, record, 1), 1);
    EXPECT_EQ(luminaire.m_maintenanceCategory, PhotometryImporter::kDefaultMaintenanceCategory);
    EXPECT_EQ(luminaire.m_lampDesignation, "15-4");
    CLamp lamp;
    ASSERT_EQ(lamp.LoadFromDatabase(15, 4, 1), 1);
    // The file's lamp set: one SON-TPP250W of 33200 lm taking 276 W.
    EXPECT_EQ(lamp.m_type, "SON-TPP250W");
    EXPECT_EQ(lamp.m_power, 276);
    EXPECT_DOUBLE_EQ(lamp.m_luminousFlux, 33200.0);
    EXPECT_EQ(lamp.m_life, PhotometryImporter::kDefaultLampLife);
    EXPECT_DOUBLE_EQ(lamp.m_gamma, PhotometryImporter::kDefaultLampResidual);
    EXPECT_DOUBLE_EQ(lamp.m_tau, PhotometryImporter::kDefaultLampTau);
    EXPECT_TRUE(fakes.messageBox.shown.empty());

    // The log names every value the file did not give.
    ASSERT_EQ(fakes.log.calls.size(), 2u);
    EXPECT_EQ(fakes.log.calls[0],
        "line:Svítidlo RoadRun23 (věta 8, oddíl „ACME Inc.“): kategorie údržby 2 (výchozí: otevřené svítidlo s přímým "
        "světlem), krytí IP20; zdroj věta 4: 33200 lm, život 50000 h, Gama 0.70, Tau 100000 h.");
    EXPECT_NE(fakes.log.calls[1].find("výchozí hodnoty"), std::string::npos) << fakes.log.calls[1];
}

TEST(PhotometryImporterTest, ACategoryOutsideTheMaintenanceTableIsRefusedBeforeAnythingIsWritten)
{
    test::TempFolder folder;
    const std::string workbook = test::makerWorkbook(folder);
    PhotometryImporter::Prepared rows
        = PhotometryImporter::prepareFile(Format::Eulumdat, test::photometryDir() / "ldt" / "ugr_sample_01.ldt");
    for (const long category : { 0L, 7L, -2L }) {
        rows.maintenanceCategory = category;
        CData data;
        try {
            PhotometryImporter::write(data, workbook, rows);
            ADD_FAILURE() << category;
        } catch (const PhotometryError& error) {
            EXPECT_EQ(std::string(error.what()),
                "Kategorie údržby „" + std::to_string(category)
                    + "“ není v tabulce údržby ZEV_Z.dat: platí celé číslo 1 až 6. Nic nebylo importováno.");
        }
    }
    EXPECT_EQ(rowCount(workbook, "Luminaires$"), 1);
    EXPECT_EQ(rowCount(workbook, "Lamps$"), 1);
    rows.maintenanceCategory = 6;
    CData data;
    EXPECT_EQ(PhotometryImporter::write(data, workbook, rows), 8);
    EXPECT_EQ(test::cell(test::lastRow(workbook, "Luminaires$"), "KatÚdržby"), "6");
}
