#include "model/CLuminaire.h"

#include "platform/DataLocation.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "support/FakeServices.h"
#include "support/WorkbookFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <functional>

namespace kzev {
namespace {

using test::SheetFixture;

constexpr double kPiExact = 3.14159265358979323846;

double rad(double degrees)
{
    return degrees * kPiExact / 180.0;
}

/** A luminaire row of "Luminaires$"; the fields a test does not set keep these values. */
struct LuminaireRow {
    long record = 1;
    std::string type = "A";
    std::string name = "B";
    DataValue protection = std::int64_t { 54 };
    std::string table = "Tab1_300_50";
    int symmetry = 1;
    std::string overall = "600;600;80";
    std::string luminous = "500;500;0";
    DataValue factor = {};
    std::string luminanceC0;
    std::string luminanceC90;
    std::string shielding = "30";
    long catalogueId = 1000;
};

std::vector<DataValue> toCells(const LuminaireRow& r)
{
    return { std::int64_t { r.record }, r.type, r.name, r.protection, "SV" + std::to_string(r.record),
        std::int64_t { r.catalogueId }, std::int64_t { 36 }, "T8", std::int64_t { 2 }, std::int64_t { 5 },
        std::int64_t { 65 }, "pic.jpg", r.factor, r.overall, r.luminous, std::int64_t { r.symmetry },
        std::int64_t { 3 }, r.shielding, r.table, r.luminanceC0.empty() ? DataValue {} : DataValue(r.luminanceC0),
        r.luminanceC90.empty() ? DataValue {} : DataValue(r.luminanceC90) };
}

SheetFixture luminairesSheet(const std::vector<LuminaireRow>& rows)
{
    SheetFixture sheet { "Luminaires$", {}, {} };
    for (const char* name : { "Věta", "Typ", "Název", "Krytí", "Blok", "Divez", "Výkon", "Zdroj", "Zdrojů",
             "PodskupinaZdroje", "Účinnost", "Picture", "Prepocet", "RozmCelkové", "RozmSvítící", "Symetrie",
             "KatÚdržby", "ÚhlyClonění", "Table", "J0_45_85", "J9_45_85" })
        sheet.columns.push_back({ name, kDataTypeGeneral });
    for (const auto& row : rows)
        sheet.rows.push_back(toCells(row));
    return sheet;
}

/** The cell of one plane: the model's values from gamma 0 to 180 at the step, rounded, each followed by ";". */
std::string planeCell(const std::function<double(double, double)>& model, double c, double step)
{
    std::string cell;
    for (int j = 0; j * step <= 180.0 + 1e-9; ++j)
        cell += formatC("%ld;", std::lround(model(c, j * step)));
    return cell;
}

/** An intensity sheet laid out the way the photometric import writes one, for the symmetry code. */
SheetFixture intensitySheet(int symmetry, double cStep, double gammaStep,
    const std::function<double(double, double)>& model, long record = 1)
{
    const int n360 = static_cast<int>(360.0 / cStep);
    std::vector<double> angles;
    const int count = symmetry == 0 ? n360 : symmetry == 1 ? 0 : symmetry == 4 ? n360 / 4 : n360 / 2;
    for (int i = 0; i <= count; ++i) {
        double c = i * cStep;
        if (symmetry == 3) {
            c += 270.0;
            if (c > 361.0)
                c -= 360.0;
        }
        angles.push_back(c);
        if (symmetry == 3 && std::fabs(c - 360.0) < 1e-5)
            angles.push_back(0.0);
    }
    SheetFixture sheet { formatC("Tab%d_%1.0lf_%1.0lf$", symmetry, cStep * 10, gammaStep * 10),
        { { "Věta", kDataTypeLong } }, { { std::int64_t { record } } } };
    for (double c : angles) {
        sheet.columns.push_back({ formatC("I%1.0lf_0_180_%1.0lf", c, gammaStep), kDataTypeText });
        sheet.rows[0].push_back(planeCell(model, c, gammaStep));
    }
    return sheet;
}

/** Makes the data folder, points the data location at it and silences message boxes. */
class LuminaireFixture : public ::testing::Test {
protected:
    void write(long database, const std::vector<SheetFixture>& sheets)
    {
        std::string failure;
        ASSERT_TRUE(test::writeWorkbook(makerWorkbookPath(database), sheets, &failure)) << failure;
    }

    test::TempFolder folder;
    ScopedDataLocation location { DataLocation { folder.path().string(), "ZEV-", "Excel 8.0" } };
    test::FakeServices fakes;
};

struct SymmetryCase {
    const char* name;
    int code;
    std::function<double(double, double)> model; // I(C, gamma), C and gamma in degrees
};

double falloff(double gamma)
{
    return (180.0 - gamma) / 180.0;
}

TEST_F(LuminaireFixture, EverySymmetryCodeGivesThePublicMeaningOfItsStoredPlanes)
{
    const std::vector<SymmetryCase> cases = {
        { "0 none", 0,
            [](double c, double g) { return (300 + 120 * std::cos(rad(c)) + 70 * std::sin(rad(c))) * falloff(g); } },
        { "1 rotational", 1, [](double, double g) { return 250 * falloff(g); } },
        { "2 about C0-C180", 2,
            [](double c, double g) { return (300 + 120 * std::cos(rad(c)) + 40 * std::cos(rad(2 * c))) * falloff(g); } },
        { "3 about C90-C270", 3,
            [](double c, double g) { return (300 + 120 * std::sin(rad(c)) + 40 * std::cos(rad(2 * c))) * falloff(g); } },
        { "4 about both", 4,
            [](double c, double g) { return (300 + 90 * std::cos(rad(2 * c))) * falloff(g); } },
    };
    const double cStep = 15.0;
    const double gammaStep = 10.0;
    for (const auto& sc : cases) {
        SCOPED_TRACE(sc.name);
        LuminaireRow row;
        row.symmetry = sc.code;
        row.table = formatC("Tab%d_%1.0lf_%1.0lf", sc.code, cStep * 10, gammaStep * 10);
        write(20 + sc.code, { luminairesSheet({ row }), intensitySheet(sc.code, cStep, gammaStep, sc.model) });

        CLuminaire lum;
        ASSERT_EQ(lum.LoadFromDataFile(20 + sc.code, 1, 1), 1);
        for (double gamma : { 0.0, 30.0, 35.0 }) {
            // The whole planes at the stored or mirrored C angles.
            for (double c : { 0.0, 90.0, 180.0, 270.0 }) {
                const double expected = sc.model(c, gamma);
                EXPECT_NEAR(lum.GetIntensity(c, gamma), expected, 1.0) << "C " << c << " gamma " << gamma;
            }
            // Oblique planes, one per quadrant, interpolated between the neighbouring 15-degree planes.
            for (double c : { 37.0, 143.0, 217.0, 323.0 }) {
                const double c0 = std::floor(c / cStep) * cStep;
                const double c1 = c0 + cStep;
                const double expected = sc.model(c0, gamma) + (sc.model(c1, gamma) - sc.model(c0, gamma)) * (c - c0) / cStep;
                EXPECT_NEAR(lum.GetIntensity(c, gamma), expected, 1.5) << "C " << c << " gamma " << gamma;
            }
        }
        EXPECT_EQ(lum.at(360, 0), lum.at(0, 0));
    }
}

TEST_F(LuminaireFixture, IsotropicTableIntegratesToItsFlux)
{
    LuminaireRow row;
    write(1, { luminairesSheet({ row }), intensitySheet(1, 30.0, 5.0, [](double, double) { return 80.0; }) });
    CLuminaire lum;
    ASSERT_EQ(lum.LoadFromDataFile(1, 1, 1), 1);
    // 80 cd/klm in every direction is 4 pi x 80 lm per 1000 lm of lamp flux.
    const double expected = 4.0 * kPiExact * 80.0 / 10.0;
    EXPECT_NEAR(lum.ComputeFlux(), expected, expected * 0.005);
}

TEST_F(LuminaireFixture, CatalogueFieldsAreReadAndDescribed)
{
    LuminaireRow row;
    row.overall = "1200";
    row.luminous = "1000;0;0";
    row.factor = 0.0;
    row.luminanceC0 = "1;2;3";
    row.catalogueId = 4321;
    write(15, { luminairesSheet({ row }), intensitySheet(1, 30.0, 5.0, [](double, double g) { return 200 - g; }) });
    CLuminaire lum;
    lum.m_legendName = "kept";
    ASSERT_EQ(lum.LoadFromDataFile(15, 1, 1), 1);
    EXPECT_EQ(lum.GetDescription(), "A,B,IP54,2x36W,65%");
    EXPECT_EQ(lum.m_block, "SV1");
    EXPECT_EQ(lum.m_catalogueId, 4321);
    EXPECT_EQ(lum.m_databaseNumber, 15);
    EXPECT_EQ(lum.m_recordNumber, 1);
    EXPECT_DOUBLE_EQ(lum.m_intensityFactor, 1.0) << "a factor of 0 loads the intensities unscaled";
    EXPECT_EQ(lum.at(0, 0), 200);
    EXPECT_EQ(lum.m_shape, 2);
    EXPECT_DOUBLE_EQ(lum.m_overallDimensions[1], 1.2);
    EXPECT_DOUBLE_EQ(lum.m_overallDimensions[2], 1.2);
    EXPECT_EQ(lum.m_shieldingAngles, (std::array<std::int32_t, 2> { 30, 30 }));
    EXPECT_EQ(lum.m_legendName, "kept");

    // Luminances 45, 55, 65 degrees read; 75 and 85 computed over the round area of 1 m
    // diameter and 0.1 mm height that a width of 0 stands for.
    EXPECT_EQ(lum.m_luminance[0], 1);
    EXPECT_EQ(lum.m_luminance[2], 3);
    EXPECT_EQ(lum.m_luminancesComputed, 1);
    EXPECT_EQ(lum.m_luminousDimensions[1], 0.0) << "the round shape is kept as loaded";
    for (int k : { 3, 4 }) {
        const double a = 45.0 + 10.0 * k;
        const double area = kPiExact / 4.0 * std::cos(rad(a)) + 1.0 * 0.0001 * std::sin(rad(a));
        EXPECT_NEAR(lum.m_luminance[static_cast<std::size_t>(k)], (200 - a) / area, 1.0) << a;
    }
    EXPECT_EQ(CLuminaire::GetRecordNumber(15, 4321), 1);
}

TEST_F(LuminaireFixture, IntensityFactorScalesAndIntensitiesInterpolate)
{
    LuminaireRow row;
    row.factor = 0.5;
    write(3, { luminairesSheet({ row }), intensitySheet(1, 30.0, 5.0, [](double, double g) { return g < 3 ? 300 : 100; }) });
    CLuminaire lum;
    ASSERT_EQ(lum.LoadFromDataFile(3, 1, 1), 1);
    EXPECT_EQ(lum.at(77, 0), 150);
    EXPECT_EQ(lum.at(77, 5), 50);
    EXPECT_EQ(lum.at(77, 2), 110) << "150 + (50 - 150) x 2/5";
    EXPECT_EQ(lum.m_maxIntensity, 150);
    EXPECT_DOUBLE_EQ(lum.GetIntensity(360.0, 2.0), lum.GetIntensity(359.9999, 2.0));
    EXPECT_DOUBLE_EQ(lum.GetIntensity(10.0005, 2.0005), lum.at(10, 2));
    // A hair below a whole degree reads that degree too, not a trace of the one before.
    EXPECT_DOUBLE_EQ(lum.GetIntensity(10.0, 2.9995), lum.at(10, 3));
    EXPECT_DOUBLE_EQ(lum.GetIntensity(10.0, 179.9995), lum.at(10, 180));
    EXPECT_NEAR(lum.GetIntensity(10.0, 2.5), 100.0, 1e-9);
}

TEST_F(LuminaireFixture, TableNameWithoutStepsMeansThirtyAndFiveDegrees)
{
    LuminaireRow row;
    row.table = "Tab1";
    SheetFixture sheet = intensitySheet(1, 30.0, 5.0, [](double, double g) { return 180 - g; });
    sheet.name = "Tab1$";
    write(8, { luminairesSheet({ row }), sheet });
    CLuminaire lum;
    ASSERT_EQ(lum.LoadFromDataFile(8, 1, 1), 1);
    EXPECT_DOUBLE_EQ(lum.m_cPlaneSpacing, 30.0);
    EXPECT_DOUBLE_EQ(lum.m_gammaSpacing, 5.0);
    EXPECT_EQ(lum.at(123, 42), 138);
}

struct MalformedCase {
    const char* name;
    std::function<void(LuminaireRow&, SheetFixture&)> spoil;
    int messageId; // 0: the record loads
};

TEST_F(LuminaireFixture, MalformedSheetsAreRefusedAndLoadNothing)
{
    const auto renameColumn = [](const char* name) {
        return [name](LuminaireRow&, SheetFixture& sheet) { sheet.columns[1].name = name; };
    };
    const std::vector<MalformedCase> cases = {
        { "sound sheet", [](LuminaireRow&, SheetFixture&) {}, 0 },
        { "gamma step 0", [](LuminaireRow& r, SheetFixture& s) { r.table = "Tab1_300_0"; s.name = "Tab1_300_0$"; },
            64610 },
        { "C step 0 of an asymmetric luminaire",
            [](LuminaireRow& r, SheetFixture& s) { r.table = "Tab0_0_50"; r.symmetry = 0; s.name = "Tab0_0_50$"; },
            64610 },
        { "C above 360", renameColumn("I400_0_180_5"), 64611 },
        { "negative C", renameColumn("I-15_0_180_5"), 64611 },
        { "gamma above 180", renameColumn("I0_0_190_5"), 64611 },
        { "gammas reversed", renameColumn("I0_90_0_5"), 64611 },
        { "missing gamma", renameColumn("I0__180"), 61470 },
        { "no C at all", renameColumn("I_0_180_5"), 61470 },
        { "luminous length 0", [](LuminaireRow& r, SheetFixture&) { r.luminous = "0;100;0"; }, 64612 },
        { "no intensity column", [](LuminaireRow&, SheetFixture& s) { s.columns.resize(1); s.rows[0].resize(1); },
            64613 },
        { "record missing from the intensity sheet",
            [](LuminaireRow&, SheetFixture& s) { s.rows[0][0] = std::int64_t { 7 }; }, 61467 },
        { "intensity sheet missing", [](LuminaireRow&, SheetFixture& s) { s.name = "Other$"; }, 61447 },
        { "no table name", [](LuminaireRow& r, SheetFixture&) { r.table.clear(); }, 61468 },
        { "empty intensity cell", [](LuminaireRow&, SheetFixture& s) { s.rows[0][1] = DataValue {}; }, 61469 },
        { "intensity beyond any luminaire",
            [](LuminaireRow&, SheetFixture& s) { s.rows[0][1] = std::string("100;3000000000;100;"); }, 64616 },
        { "intensity that is no number", [](LuminaireRow&, SheetFixture& s) { s.rows[0][1] = std::string("100;nan;"); },
            64616 },
        { "factor that makes the intensities too large",
            [](LuminaireRow& r, SheetFixture&) { r.factor = 1.0e300; }, 64616 },
        { "largest intensity allowed", [](LuminaireRow&, SheetFixture& s) { s.rows[0][1] = std::string("10000000;"); },
            0 },
    };
    long database = 100;
    for (const auto& mc : cases) {
        SCOPED_TRACE(mc.name);
        LuminaireRow row;
        SheetFixture sheet = intensitySheet(1, 30.0, 5.0, [](double, double) { return 100.0; });
        mc.spoil(row, sheet);
        ++database;
        write(database, { luminairesSheet({ row }), sheet });
        for (int showMessages : { 1, 0 }) {
            fakes.messageBox.shown.clear();
            CLuminaire lum;
            lum.m_type = "untouched";
            const int loaded = lum.LoadFromDataFile(database, 1, showMessages);
            EXPECT_EQ(loaded, mc.messageId == 0 ? 1 : 0);
            if (mc.messageId == 0)
                continue;
            EXPECT_EQ(lum.m_type, "untouched");
            if (showMessages == 0) {
                EXPECT_TRUE(fakes.messageBox.shown.empty());
                continue;
            }
            ASSERT_EQ(fakes.messageBox.shown.size(), 1u);
            const std::string format = loadString(mc.messageId);
            const std::string head = format.substr(0, format.find('%'));
            EXPECT_EQ(fakes.messageBox.shown[0].text.substr(0, head.size()), head);
        }
    }
}

TEST_F(LuminaireFixture, MissingWorkbookSheetOrRecordIsReported)
{
    write(5, { luminairesSheet({ LuminaireRow {} }), intensitySheet(1, 30.0, 5.0, [](double, double) { return 1.0; }) });
    write(6, { intensitySheet(1, 30.0, 5.0, [](double, double) { return 1.0; }) });
    CLuminaire lum;
    EXPECT_EQ(lum.LoadFromDataFile(4, 1, 1), 0);
    EXPECT_EQ(lum.LoadFromDataFile(6, 1, 1), 0);
    EXPECT_EQ(lum.LoadFromDataFile(5, 9, 1), 0);
    ASSERT_EQ(fakes.messageBox.shown.size(), 3u);
    EXPECT_EQ(fakes.messageBox.shown[0].text, formatC(loadString(61446).c_str(), makerWorkbookPath(4).c_str()));
    EXPECT_EQ(fakes.messageBox.shown[1].text,
        formatC(loadString(61447).c_str(), "Luminaires$", makerWorkbookPath(6).c_str()));
    EXPECT_EQ(fakes.messageBox.shown[2].text, formatC(loadString(61467).c_str(), 9L, makerWorkbookPath(5).c_str()));
    EXPECT_EQ(CLuminaire::GetRecordNumber(5, 999), 0);
}

TEST_F(LuminaireFixture, APointSourceLoadsWithASmallSquareLuminousAreaSaidInTheLog)
{
    LuminaireRow row;
    row.overall = "0;0;0";
    row.luminous = "0;0;0";
    write(9, { luminairesSheet({ row }), intensitySheet(1, 30.0, 5.0, [](double, double) { return 100.0; }) });
    CLuminaire lum;
    ASSERT_EQ(lum.LoadFromDataFile(9, 1, 1), 1);
    EXPECT_TRUE(fakes.messageBox.shown.empty());
    EXPECT_EQ(lum.m_luminousDimensions, (std::array { 0.01, 0.01, 0.0001 }));
    EXPECT_EQ(lum.at(90, 60), 100);
    // C0 at 45 degrees: 100 / (0.01 × (0.01 cos 45° + 0.0001 sin 45°)), truncated.
    EXPECT_EQ(lum.m_luminance[0], static_cast<std::int32_t>(100.0 / (0.01 * (0.01 + 0.0001) * std::cos(rad(45.0)))));
    ASSERT_EQ(fakes.log.calls.size(), 1u);
    EXPECT_EQ(fakes.log.calls[0], "line:Svítidlo 1 v souboru " + makerWorkbookPath(9)
            + " nemá zadány svítící rozměry: počítá se jako bodový zdroj se svítící plochou 10 × 10 mm.");
}

TEST_F(LuminaireFixture, AWorkbookThatCrashesItsLibraryIsReportedDamaged)
{
    std::filesystem::copy_file(std::string(KZEV_SOURCE_DIR) + "/tests/fixtures/ZEV-0042-damaged.xls",
        makerWorkbookPath(43));
    CLuminaire lum;
    EXPECT_EQ(lum.LoadFromDataFile(43, 1, 1), 0);
    ASSERT_EQ(fakes.messageBox.shown.size(), 1u);
    EXPECT_EQ(fakes.messageBox.shown[0].text, "Sešit " + makerWorkbookPath(43) + " je poškozený, nelze jej přečíst !");
}

TEST(LuminaireExcel, GenuineWorkbookLoadsLikeADatabase)
{
    test::FakeServices fakes;
    ScopedDataLocation location { DataLocation { std::string(KZEV_SOURCE_DIR) + "/tests/fixtures", "ZEV-", "Excel 8.0" } };
    CLuminaire lum;
    ASSERT_EQ(lum.LoadFromDataFile(42, 1, 1), 1) << (fakes.messageBox.shown.empty() ? "" : fakes.messageBox.shown[0].text);
    EXPECT_EQ(lum.GetDescription(), "KZ-100,Koule,IP20,1x60W,100%");
    EXPECT_NEAR(lum.ComputeFlux(), 4.0 * kPiExact * 80.0 / 10.0, 0.5);
    CLuminaire halved;
    ASSERT_EQ(halved.LoadFromDataFile(42, 3, 1), 1);
    EXPECT_EQ(halved.at(200, 0), 150);
    EXPECT_EQ(halved.GetDescription(), "ČÍSLO-3,Reflektor,IP65,1x150W,70%");
}

} // namespace
} // namespace kzev
