#include "catalogue/EulumdatReader.h"
#include "catalogue/PhotometryError.h"
#include "catalogue/PhotometryFileText.h"
#include "PhotometryFixtures.h"
#include "PhotometryTestFiles.h"

#include <gtest/gtest.h>

using namespace kzev;

namespace {

PhotometricData readText(const std::string& text, const std::string& name = "fixture.ldt")
{
    PhotometryFileText file = PhotometryFileText::fromText(name, text);
    return EulumdatReader::read(file);
}

} // namespace

TEST(EulumdatReaderTest, ReadsEverySharedFile)
{
    const auto files = test::photometryFiles("ldt");
    ASSERT_FALSE(files.empty());
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        try {
            const PhotometricData data = EulumdatReader::read(path);
            EXPECT_EQ(data.intensities.size(), data.planeAngles.size() * data.gammaAngles.size());
            EXPECT_TRUE(data.isUniform());
            EXPECT_GT(data.integratedFlux(), 0.0);
        } catch (const PhotometryError& error) {
            ADD_FAILURE() << error.what();
        }
    }
}

TEST(EulumdatReaderTest, ReadsTheCatalogueLines)
{
    const PhotometricData data = EulumdatReader::read(test::photometryDir() / "ldt" / "rs_road_luminaire.ldt");
    EXPECT_EQ(data.luminaireName, "Road Runner");
    EXPECT_EQ(data.luminaireNumber, "RoadRun23");
    EXPECT_EQ(data.fileNameField, "road_luminaire.ldt");
    EXPECT_DOUBLE_EQ(data.length, 617.0);
    EXPECT_DOUBLE_EQ(data.width, 0.0);
    EXPECT_DOUBLE_EQ(data.height, 825.0);
    EXPECT_DOUBLE_EQ(data.luminousLength, 472.0);
    EXPECT_DOUBLE_EQ(data.luminousHeight, 140.0);
    EXPECT_DOUBLE_EQ(data.lightOutputRatio, 84.42); // with its decimals
    EXPECT_EQ(data.lampCount, 1);
    EXPECT_EQ(data.lampType, "SON-TPP250W");
    EXPECT_DOUBLE_EQ(data.lampFlux, 33200.0);
    EXPECT_DOUBLE_EQ(data.totalWattage, 276.0);
}

TEST(EulumdatReaderTest, IntegratedFluxAgreesWithTheFilesLightOutputRatio)
{
    // The light output ratio written in these files is an independent figure for the
    // integral of their cd/klm distribution (1 % of the lamp flux is 10 lm/klm).
    for (const char* name : {"ugr_sample_11.ldt", "rs_road_luminaire.ldt", "ugr_sample_01.ldt"}) {
        SCOPED_TRACE(name);
        const PhotometricData data = EulumdatReader::read(test::photometryDir() / "ldt" / name);
        const double ratio = std::stod(PhotometryFileText::load(test::photometryDir() / "ldt" / name).remaining()[22]);
        EXPECT_NEAR(data.integratedFlux() / 10.0, ratio, ratio * 0.01);
    }
}

TEST(EulumdatReaderTest, SymmetryThreeStoresC270ThroughC0ToC90)
{
    // The road luminaire lists 52 uneven C angles; code 3 stores the 27 planes from
    // C270 (index 39) on. Its plane C60 gives 69 cd/klm at gamma 65 (the 25th
    // stored plane, 15th gamma); mirrored about C90-C270 that is C120 too.
    const PhotometricData data = EulumdatReader::read(test::photometryDir() / "ldt" / "rs_road_luminaire.ldt");
    EXPECT_EQ(data.symmetry, 3);
    EXPECT_DOUBLE_EQ(data.planeAngles.front(), 270.0);
    EXPECT_DOUBLE_EQ(data.planeAngles.back(), 450.0);
    EXPECT_NEAR(data.intensityAt(60.0, 65.0), 69.0, 1e-9);
    EXPECT_NEAR(data.intensityAt(120.0, 65.0), 69.0, 1e-9);
    // The first stored plane is C270: 295 cd/klm at gamma 20.
    EXPECT_NEAR(data.intensityAt(270.0, 20.0), 295.0, 1e-9);
}

TEST(EulumdatReaderTest, AcceptsLfAndCrLfAndDecimalCommas)
{
    test::LdtFixture fixture;
    fixture.symmetry = 2;
    fixture.cAngles = {0.0, 90.0, 180.0, 270.0};
    fixture.values = test::planeValues({0.0, 90.0, 180.0}, fixture.gammas,
        [](double c, double g) { return 300.0 - g + c / 10.0; });
    const PhotometricData crlf = readText(fixture.text());
    fixture.lineEnd = "\n";
    const PhotometricData lf = readText(fixture.text());
    EXPECT_EQ(crlf.intensities, lf.intensities);
    EXPECT_EQ(crlf.planeAngles, (std::vector<double>{0.0, 90.0, 180.0}));

    std::string comma = fixture.text();
    comma.replace(comma.find("\n45\n"), 4, "\n45,0\n");
    EXPECT_EQ(readText(comma).gammaAngles, lf.gammaAngles);
}

TEST(EulumdatReaderTest, UnevenCAnglesAreResampled)
{
    test::LdtFixture fixture;
    fixture.symmetry = 0;
    fixture.cAngles = {0.0, 10.0, 20.0, 40.0};
    fixture.values = test::planeValues(fixture.cAngles, fixture.gammas, [](double c, double) { return 100.0 + c; });
    const PhotometricData data = readText(fixture.text());
    EXPECT_DOUBLE_EQ(data.cStep, 10.0);
    ASSERT_GE(data.planeCount(), 5);
    EXPECT_DOUBLE_EQ(data.planeAngles[3], 30.0);
    EXPECT_DOUBLE_EQ(data.value(3, 0), 130.0);
}

TEST(EulumdatReaderTest, NegativeLampCountIsAbsolutePhotometryOfThatManyLamps)
{
    const PhotometricData data = EulumdatReader::read(test::photometryDir() / "ldt" / "pv_absolute.ldt");
    EXPECT_TRUE(data.absolute);
    EXPECT_EQ(data.lampCount, 2);
}

TEST(EulumdatReaderTest, RefusesMalformedFilesWithFileAndLine)
{
    test::LdtFixture good;
    good.cAngles = {0.0};
    const std::string text = good.text();
    auto replaceLine = [&](int number, const std::string& content) {
        std::string t = text;
        std::size_t at = 0;
        for (int i = 1; i < number; ++i)
            at = t.find("\r\n", at) + 2;
        t.replace(at, t.find("\r\n", at) - at, content);
        return t;
    };
    struct Case {
        const char* name;
        std::string text;
        int line;
    };
    const Case cases[] = {
        {"empty file", "", 0},
        {"only blanks", " \r\n\r\n", 0},
        {"too few values", text.substr(0, text.rfind("0\r\n")), 49},
        {"symmetry code out of range", replaceLine(3, "7"), 3},
        {"gammas out of order", replaceLine(46, "30"), 46},
        {"gamma count larger than the data", replaceLine(6, "4"), 50},
        {"letters for a number", replaceLine(4, "x"), 4},
        {"more values than counted", text + "12\r\n", 50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            (void)readText(c.text, "broken.ldt");
            ADD_FAILURE() << "read";
        } catch (const PhotometryError& error) {
            EXPECT_EQ(error.file(), "broken.ldt");
            EXPECT_EQ(error.line(), c.line);
            EXPECT_NE(std::string(error.what()).find("broken.ldt"), std::string::npos);
            EXPECT_FALSE(error.reason().empty());
        }
    }
}
