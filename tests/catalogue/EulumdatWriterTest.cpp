#include "catalogue/EulumdatReader.h"
#include "catalogue/EulumdatWriter.h"
#include "catalogue/IesReader.h"
#include "catalogue/PhotometryError.h"
#include "catalogue/PhotometryFileText.h"
#include "catalogue/PhotometryImporter.h"
#include "PhotometryTestFiles.h"
#include "PhotometryWorkbookFixture.h"
#include "model/CLuminaire.h"
#include "platform/DataLocation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace kzev;

namespace {

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at < text.size()) {
        const auto end = text.find("\r\n", at);
        EXPECT_NE(end, std::string::npos) << "every line ends with CR LF";
        if (end == std::string::npos)
            break;
        out.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return out;
}

/** A table of 361 x 181 values given by a function of whole degrees. */
std::vector<double> table(double (*intensity)(int, int))
{
    std::vector<double> values;
    for (int c = 0; c <= 360; ++c)
        for (int g = 0; g <= 180; ++g)
            values.push_back(static_cast<double>(static_cast<std::int32_t>(intensity(c, g))));
    return values;
}

} // namespace

TEST(EulumdatWriterTest, WritesTheLineTable)
{
    const auto values = table([](int c, int g) { return g < 90 ? 300.0 - 3 * g + (c % 360) : 0.0; });
    EulumdatExport luminaire;
    luminaire.makerName = "Výrobce";
    luminaire.luminaireName = "Panel";
    luminaire.luminaireNumber = "P-1";
    luminaire.length = 0.6;
    luminaire.width = 0.3;
    luminaire.height = 0.05;
    luminaire.luminousLength = 0.58;
    luminaire.luminousWidth = 0.28;
    luminaire.luminousHeight = 0.0;
    luminaire.symmetry = 2;
    luminaire.cStep = 15.0;
    luminaire.gammaStep = 5.0;
    luminaire.lampCount = 2;
    luminaire.efficiency = 71;
    luminaire.table = values;

    const auto l = lines(EulumdatWriter::toText(luminaire));
    EXPECT_EQ(l[0], "Výrobce");
    EXPECT_EQ(l[1], "3");
    EXPECT_EQ(l[2], "2");
    EXPECT_EQ(l[3], "24");
    EXPECT_EQ(l[4], "15.0");
    EXPECT_EQ(l[5], "37");
    EXPECT_EQ(l[6], "5.0");
    EXPECT_EQ(l[8], "Panel");
    EXPECT_EQ(l[9], "P-1");
    EXPECT_EQ(l[11], "Borva");
    EXPECT_EQ(std::vector<std::string>(l.begin() + 12, l.begin() + 21),
        (std::vector<std::string> {"600", "300", "50", "580", "280", "0", "0", "0", "0"}));
    EXPECT_EQ(l[21], "100"); // all of the flux goes below the horizontal
    EXPECT_EQ(l[22], "71");
    EXPECT_EQ(l[25], "1");
    EXPECT_EQ(l[26], "2");
    // The lamp was not found: an empty lamp line, 2000 lm and 0 W.
    EXPECT_EQ(l[27], "");
    EXPECT_EQ(l[28], "2000");
    EXPECT_EQ(l[31], "0");
    EXPECT_EQ(l[42], "0.0");
    EXPECT_EQ(l[43], "15.0");
    EXPECT_EQ(l[42 + 24], "0.0"); // first gamma
    // 13 planes C0..C180 of 37 gammas follow.
    ASSERT_EQ(l.size(), 42u + 24u + 37u + 13u * 37u);
    EXPECT_EQ(l[42 + 24 + 37 + 37 + 2], "285"); // C15, gamma 10
}

TEST(EulumdatWriterTest, RoundLuminaireHasNoWidthAndStepsBetweenWholeDegreesAreInterpolated)
{
    const auto values = table([](int, int g) { return 1000.0 - g; });
    EulumdatExport luminaire;
    luminaire.length = 0.2;
    luminaire.width = 0.2;
    luminaire.luminousLength = 0.18;
    luminaire.luminousWidth = 0.18;
    luminaire.shape = 1;
    luminaire.symmetry = 1;
    luminaire.cStep = 360.0;
    luminaire.gammaStep = 2.5;
    luminaire.lampFound = true;
    luminaire.lampCount = 2;
    luminaire.lampName = "T5";
    luminaire.lampPower = 28;
    luminaire.lampFlux = 2600.0;
    luminaire.table = values;
    const auto l = lines(EulumdatWriter::toText(luminaire));
    EXPECT_EQ(l[3], "1");
    EXPECT_EQ(l[13], "0");
    EXPECT_EQ(l[16], "0");
    EXPECT_EQ(l[27], "T5 28W");
    EXPECT_EQ(l[28], "5200");
    EXPECT_EQ(l[31], "56");
    // Gamma 2.5 lies between the table's rows 2 and 3: 997.5 rounds to 998.
    EXPECT_EQ(l[42 + 1 + 73 + 1], "998");
}

TEST(EulumdatWriterTest, ProposesFileNames)
{
    EXPECT_EQ(EulumdatWriter::proposedName("A/B.1", 4, false), "A-B_1");
    EXPECT_EQ(EulumdatWriter::proposedName("A\\B", 4, true), "A-B_ldt_4");
}

TEST(EulumdatWriterTest, FileThatCannotBeCreatedIsReported)
{
    test::TempFolder folder;
    const auto path = folder.path() / "missing" / "out.ldt";
    try {
        EulumdatWriter::write(path, EulumdatExport {});
        FAIL() << "written";
    } catch (const PhotometryError& error) {
        EXPECT_EQ(std::string(error.what()), "Nelze otevřít soubor " + path.string() + " ! (existuje ?)");
    }
}

TEST(EulumdatWriterTest, ImportLoadAndExportGiveBackTheIntensitiesOfTheFile)
{
    test::TempFolder folder;
    const std::string workbook = test::makerWorkbook(folder);
    ScopedDataLocation location({folder.path().string(), "ZEV-", "Excel 8.0"});
    for (const char* name : {"pv_no_symmetry.ldt", "pv_symmetry_about_vertical_axis.ldt", "pv_symmetry_to_c0c180.ldt",
             "pv_symmetry_to_c90c270.ldt", "rs_road_luminaire.ldt", "ugr_sample_01.ldt", "ugr_sample_11.ldt"}) {
        SCOPED_TRACE(name);
        const auto path = test::photometryDir() / "ldt" / name;
        const PhotometricData original = EulumdatReader::read(path);
        CData data;
        const long record = PhotometryImporter::importFile(data, workbook, PhotometryImporter::Format::Eulumdat, path);
        test::setLastRowCell(workbook, "Luminaires$", "Zdroj", "15-3");
        CLuminaire luminaire;
        ASSERT_EQ(luminaire.LoadFromDataFile(15, record, 0), 1);

        const auto out = folder.path() / "out.ldt";
        EulumdatWriter::write(out, EulumdatWriter::exportOf(luminaire, "Maker"));
        const PhotometricData back = EulumdatReader::read(out);
        EXPECT_EQ(back.symmetry, original.symmetry);
        EXPECT_EQ(back.luminaireName, original.luminaireName);
        EXPECT_EQ(back.lampType, "T5 28W/840 28W");
        EXPECT_DOUBLE_EQ(back.lampFlux, 2600.0 * original.lampCount);
        EXPECT_NEAR(back.length, original.length, 0.5);
        // The catalogue's table holds whole degrees: there the values come back within
        // their rounding (a gamma of 2.5 is only what the rows 2 and 3 around it give).
        for (double stored : original.planeAngles) {
            for (double g : original.gammaAngles) {
                if (std::fabs(g - std::round(g)) > 1e-9)
                    continue;
                ASSERT_NEAR(back.intensityAt(stored, g), original.intensityAt(stored, g), 1.0)
                    << "C " << stored << " gamma " << g;
            }
        }
    }
}

// A file that gives no height (or no width) is exported with none: the length the loaded
// luminaire draws in their place is no dimension of the luminaire.
TEST(EulumdatWriterTest, DimensionsComeBackAsTheImportedFileGaveThem)
{
    test::TempFolder folder;
    const std::string workbook = test::makerWorkbook(folder);
    ScopedDataLocation location({folder.path().string(), "ZEV-", "Excel 8.0"});
    const struct {
        const char* folder;
        const char* name;
        PhotometryImporter::Format format;
        double length, width, height;
    } cases[] = {
        // A rectangular opening of 0.16 x 0.21 m without height.
        { "ies", "rab_3.ies", PhotometryImporter::Format::Ies, 160.0, 210.0, 0.0 },
        // A round opening of 0.453125 ft (138 mm) without height.
        { "ies", "rab_7.ies", PhotometryImporter::Format::Ies, 138.0, 0.0, 0.0 },
        { "ldt", "ugr_sample_07.ldt", PhotometryImporter::Format::Eulumdat, -1.0, -1.0, -1.0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = test::photometryDir() / c.folder / c.name;
        const PhotometricData original
            = c.format == PhotometryImporter::Format::Ies ? IesReader::read(path) : EulumdatReader::read(path);
        CData data;
        const long record = PhotometryImporter::importFile(data, workbook, c.format, path);
        CLuminaire luminaire;
        ASSERT_EQ(luminaire.LoadFromDataFile(15, record, 0), 1);
        const auto out = folder.path() / "out.ldt";
        EulumdatWriter::write(out, EulumdatWriter::exportOf(luminaire, "Maker"));
        const PhotometricData back = EulumdatReader::read(out);
        EXPECT_NEAR(back.length, original.length, 0.5);
        EXPECT_NEAR(back.width, original.width, 0.5);
        EXPECT_NEAR(back.height, original.height, 0.5);
        if (c.length >= 0.0) {
            EXPECT_NEAR(back.length, c.length, 0.5);
            EXPECT_NEAR(back.width, c.width, 0.5);
            EXPECT_EQ(back.height, c.height);
        }
    }
}
