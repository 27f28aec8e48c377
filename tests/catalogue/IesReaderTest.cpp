#include "catalogue/IesReader.h"
#include "catalogue/PhotometryError.h"
#include "catalogue/PhotometryFileText.h"
#include "PhotometryTestFiles.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kzev;

namespace {

constexpr double kPi = 3.14159265358979323846;

PhotometricData readText(const std::string& text, const std::string& name = "fixture.ies")
{
    PhotometryFileText file = PhotometryFileText::fromText(name, text);
    return IesReader::read(file);
}

/** An LM-63-2002 file of three vertical angles 0, 45, 90 and the given horizontal angles. */
std::string iesText(const std::string& header, const std::string& horizontal, const std::string& candela,
    const std::string& tilt = "TILT=NONE\n")
{
    return "IESNA:LM-63-2002\n[LUMCAT] X-1\n[LUMINAIRE] Box\n" + tilt + header + "\n1.0 1.0 40\n0 45 90\n"
        + horizontal + "\n" + candela + "\n";
}

} // namespace

TEST(IesReaderTest, ReadsEverySharedFile)
{
    const auto files = test::photometryFiles("ies");
    ASSERT_FALSE(files.empty());
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        try {
            const PhotometricData data = IesReader::read(path);
            EXPECT_EQ(data.intensities.size(), data.planeAngles.size() * data.gammaAngles.size());
            EXPECT_TRUE(data.isUniform());
            EXPECT_GT(data.lampFlux, 0.0);
        } catch (const PhotometryError& error) {
            ADD_FAILURE() << error.what();
        }
    }
}

TEST(IesReaderTest, FluxOfTheRabFilesMatchesThePublishedFigures)
{
    // Absolute photometry: the luminaire's flux is the integral of its candelas.
    struct Case {
        const char* file;
        double lumens;
        int symmetry;
    };
    for (const Case& c : {Case{"rab_1.ies", 9217.18, 4}, Case{"rab_3.ies", 13359.57, 0}, Case{"rab_7.ies", 531.98, 1}}) {
        SCOPED_TRACE(c.file);
        const PhotometricData data = IesReader::read(test::photometryDir() / "ies" / c.file);
        EXPECT_EQ(data.symmetry, c.symmetry);
        EXPECT_TRUE(data.absolute);
        EXPECT_NEAR(data.lampFlux, c.lumens, c.lumens * 0.01);
        // In cd/klm of that flux the light output ratio is 100 %.
        EXPECT_NEAR(data.integratedFlux(), 1000.0, 1.0);
        EXPECT_DOUBLE_EQ(data.lightOutputRatio, 100.0);
    }
}

TEST(IesReaderTest, ReadsKeywordsContinuationsFeetAndRoundOpenings)
{
    const auto dir = test::photometryDir() / "ies";
    const PhotometricData rab1 = IesReader::read(dir / "rab_1.ies");
    EXPECT_EQ(rab1.luminaireNumber, "PRT70/480, PRT70/480/D10");
    EXPECT_EQ(rab1.luminaireName.rfind("FROSTED TRANSLUCENT PLASTIC DIFFUSER, SANDWICHED BETWEEN CAST METAL HOUSING", 0), 0u);
    EXPECT_EQ(rab1.lampCount, 1); // absolute: one source of the luminaire's flux, not 192 LEDs
    EXPECT_DOUBLE_EQ(rab1.totalWattage, 69.6); // the input watts as the file gives them
    EXPECT_EQ(rab1.fileNameField, "rab_1.ies");
    // 1.47 ft wide and long, 0.2375 ft high.
    EXPECT_NEAR(rab1.length, 1.47 * 304.8, 1e-9);
    EXPECT_NEAR(rab1.width, 1.47 * 304.8, 1e-9);
    EXPECT_NEAR(rab1.height, 0.2375 * 304.8, 1e-9);

    // Negative width and length: a round opening of 0.453125 ft diameter.
    const PhotometricData rab7 = IesReader::read(dir / "rab_7.ies");
    EXPECT_NEAR(rab7.length, 0.453125 * 304.8, 1e-9);
    EXPECT_DOUBLE_EQ(rab7.width, 0.0);
    EXPECT_DOUBLE_EQ(rab7.luminousWidth, 0.0);

    const PhotometricData sphere = IesReader::read(dir / "pv95_sphere_opening.ies");
    EXPECT_NEAR(sphere.length, 120.0, 1e-9);
    EXPECT_DOUBLE_EQ(sphere.width, 0.0);
    EXPECT_NEAR(sphere.height, 120.0, 1e-9);
}

TEST(IesReaderTest, RelativePhotometryAppliesMultiplierAndLampLumens)
{
    // 2 lamps of 500 lm, multiplier 1.5: 400 cd become 400 x 1.5 / 1 klm = 600 cd/klm.
    const auto data = readText(iesText("2 500 1.5 3 1 1 2 0.5 0.5 0", "0", "400 200 0"));
    EXPECT_FALSE(data.absolute);
    EXPECT_DOUBLE_EQ(data.lampFlux, 1000.0);
    EXPECT_DOUBLE_EQ(data.value(0, 0), 600.0);
    EXPECT_DOUBLE_EQ(data.value(0, 1), 300.0);
    EXPECT_DOUBLE_EQ(data.totalWattage, 40.0);

    const auto absolute = IesReader::read(test::photometryDir() / "ies" / "pv95_absolute_photometry_with_multiplier.ies");
    const auto relative = IesReader::read(test::photometryDir() / "ies" / "pv95_label_lines.ies");
    // The same candelas, the first 1.5 times larger: the flux is 1.5 times larger.
    EXPECT_NEAR(absolute.lampFlux, 1.5 * relative.lampFlux, 1e-6);
}

TEST(IesReaderTest, SymmetryFromTheHorizontalAngles)
{
    struct Case {
        const char* name;
        std::string horizontal;
        int symmetry;
    };
    const Case cases[] = {
        {"single angle", "0", 1},
        {"quadrant", "0 90", 4},
        {"half about C0-C180", "0 90 180", 2},
        {"half about C90-C270", "90 180 270", 3},
        {"full circle", "0 90 180 270 360", 0},
        {"negative angles from -90", "-90 0 90", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int planes = static_cast<int>(std::count(c.horizontal.begin(), c.horizontal.end(), ' ')) + 1;
        std::string candela;
        for (int p = 0; p < planes; ++p)
            candela += std::to_string(100 * (p + 1)) + " 50 0\n";
        const std::string header = "1 1000 1 3 " + std::to_string(planes) + " 1 2 0 0 0";
        EXPECT_EQ(readText(iesText(header, c.horizontal, candela)).symmetry, c.symmetry);
    }
}

TEST(IesReaderTest, HalfAboutC90C270KeepsEveryPlaneAtItsAngle)
{
    // Planes 90, 180, 270 hold 100, 200, 300 cd at gamma 0.
    const auto data = readText(iesText("1 1000 1 3 3 1 2 0 0 0", "90 180 270", "100 50 0\n200 50 0\n300 50 0"));
    EXPECT_DOUBLE_EQ(data.intensityAt(90.0, 0.0), 100.0);
    EXPECT_DOUBLE_EQ(data.intensityAt(180.0, 0.0), 200.0);
    EXPECT_DOUBLE_EQ(data.intensityAt(270.0, 0.0), 300.0);
    EXPECT_DOUBLE_EQ(data.intensityAt(0.0, 0.0), 200.0);   // the mirror of C180
    EXPECT_DOUBLE_EQ(data.intensityAt(45.0, 0.0), 150.0);  // the mirror of C135
    EXPECT_DOUBLE_EQ(data.intensityAt(315.0, 0.0), 250.0); // the mirror of C225
}

TEST(IesReaderTest, ReadsWrappedValuesTiltBlocksAndOldLayouts)
{
    const std::string plain = iesText("1 1000 1 3 2 1 2 0 0 0", "0 180", "100 50 0 90 45 0");
    const auto expected = readText(plain).intensities;

    struct Case {
        const char* name;
        std::string text;
    };
    const Case cases[] = {
        {"values wrapped with tabs and commas",
            iesText("1 1000 1 3 2 1 2 0 0 0", "0,\t180", "100\t50\n0,90\n  45   0")},
        {"TILT=INCLUDE with its lines",
            iesText("1 1000 1 3 2 1 2 0 0 0", "0 180", "100 50 0 90 45 0", "TILT=INCLUDE\n1\n4\n0 30\n60 90\n1 0.9 0.8 0.7\n")},
        {"TILT=<file> without lines",
            iesText("1 1000 1 3 2 1 2 0 0 0", "0 180", "100 50 0 90 45 0", "TILT=lamp.tlt\n")},
        {"no format line and free labels (LM-63-1986)",
            "Maker text\nLuminaire text\nTILT=NONE\n1 1000 1 3 2 1 2 0 0 0\n1 1 40\n0 45 90\n0 180\n100 50 0 90 45 0\r\n"},
        {"CR LF line ends", [&] {
             std::string t;
             for (char c : plain)
                 t += c == '\n' ? std::string("\r\n") : std::string(1, c);
             return t;
         }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readText(c.text).intensities, expected);
    }
}

TEST(IesReaderTest, RefusesOtherPhotometricTypes)
{
    try {
        (void)readText(iesText("1 1000 1 3 1 2 2 0 0 0", "0", "100 50 0"), "typ-b.ies");
        FAIL() << "read";
    } catch (const PhotometryError& error) {
        EXPECT_EQ(error.reason(), "This photometry type cannot be read !");
        EXPECT_EQ(error.line(), 5);
        EXPECT_NE(std::string(error.what()).find("typ-b.ies"), std::string::npos);
    }
}

TEST(IesReaderTest, RefusesMalformedFiles)
{
    struct Case {
        const char* name;
        std::string text;
    };
    const Case cases[] = {
        {"empty", ""},
        {"no TILT line", "IESNA:LM-63-2002\n[TEST] x\n"},
        {"header cut short", "IESNA:LM-63-2002\nTILT=NONE\n1 1000 1 3\n"},
        {"too few candela values", iesText("1 1000 1 3 2 1 2 0 0 0", "0 180", "100 50 0 90 45")},
        {"more values than counted", iesText("1 1000 1 3 2 1 2 0 0 0", "0 180", "100 50 0 90 45 0 7")},
        {"vertical angles out of order", "IESNA:LM-63-2002\nTILT=NONE\n1 1000 1 3 1 1 2 0 0 0\n1 1 40\n0 90 45\n0\n1 2 3\n"},
        {"horizontal range with no meaning", iesText("1 1000 1 3 2 1 2 0 0 0", "30 60", "100 50 0 90 45 0")},
        {"lamp lumens zero", iesText("1 0 1 3 1 1 2 0 0 0", "0", "100 50 0")},
        {"letters among values", iesText("1 1000 1 3 1 1 2 0 0 0", "0", "100 5x0 0")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW((void)readText(c.text), PhotometryError);
    }
    for (const auto& path : test::photometryFiles("malformed")) {
        SCOPED_TRACE(path.filename().string());
        try {
            (void)IesReader::read(path);
            ADD_FAILURE() << "read";
        } catch (const PhotometryError& error) {
            EXPECT_NE(std::string(error.what()).find(path.filename().string()), std::string::npos);
            EXPECT_GT(error.line(), 0);
        }
    }
}

TEST(IesReaderTest, CollapsesRunsOfBlanks)
{
    EXPECT_EQ(IesReader::CollapseSpaces("a  b" + std::string(25, ' ') + "c d"), "a b c d");
}
