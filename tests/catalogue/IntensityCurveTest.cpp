// The polar diagram of the selection page, checked on the recorded drawing.

#include "PhotometryFixtures.h"

#include "catalogue/EulumdatReader.h"
#include "catalogue/IntensityCurve.h"
#include "model/CLuminaire.h"
#include "platform/RecordingSurface.h"
#include "support/WorkbookFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>

namespace kzev::test {
namespace {

/** A luminaire whose table is filled from a EULUMDAT file by the file's symmetry. */
CLuminaire luminaireFromFile(const std::string& path)
{
    const PhotometricData data = EulumdatReader::read(path);
    CLuminaire luminaire;
    for (int c = 0; c < CLuminaire::kPlanes; ++c) {
        for (int g = 0; g < CLuminaire::kGammas; ++g) {
            const double value = std::round(data.intensityAt(c % 360, g));
            luminaire.m_intensity[static_cast<std::size_t>(c) * CLuminaire::kGammas + static_cast<std::size_t>(g)] = value;
            luminaire.m_maxIntensity = std::max(luminaire.m_maxIntensity, value);
        }
    }
    return luminaire;
}

double distance(DevicePoint p, double x, double y)
{
    return std::hypot(p.x - x, p.y - y);
}

TEST(IntensityCurve, LambertianFileIsACircleThroughTheCentre)
{
    LdtFixture ldt;
    ldt.symmetry = 1;
    ldt.gammas.clear();
    for (int g = 0; g <= 180; g += 5)
        ldt.gammas.push_back(g);
    ldt.values = planeValues(ldt.cAngles, ldt.gammas,
        [](double, double g) { return g <= 90.0 ? 1000.0 * std::cos(g * std::numbers::pi / 180.0) : 0.0; });
    TempFolder folder;
    const std::string path = folder.file("lambert.ldt");
    std::ofstream(path, std::ios::binary) << ldt.text();
    const CLuminaire luminaire = luminaireFromFile(path);
    ASSERT_EQ(luminaire.m_maxIntensity, 1000);

    RecordingSurface surface;
    DrawIntensityCurve(surface, 0, 0, 200, 200, luminaire);
    // 95 % of half the side; every curve point lies on the circle of half that radius below the centre.
    const int radius = 95;
    for (const Pen& pen : { kCurvePenC0, kCurvePenC90 }) {
        const std::vector<RecordedLine> lines = surface.lines(pen);
        ASSERT_EQ(lines.size(), 2u * 36u);
        bool throughCentre = false;
        for (const RecordedLine& line : lines) {
            for (const DevicePoint p : { line.from, line.to }) {
                EXPECT_NEAR(distance(p, 100.0, 100.0 + radius / 2.0), radius / 2.0, 1.5) << p.x << "," << p.y;
                throughCentre = throughCentre || (std::abs(p.x - 100) <= 1 && std::abs(p.y - 100) <= 1);
            }
        }
        EXPECT_TRUE(throughCentre);
    }
    // Gamma 0 points straight down, to the bottom of the outer circle; C0 runs right, C180 left.
    const std::vector<RecordedLine> c0 = surface.lines(kCurvePenC0);
    EXPECT_EQ(c0.front().from, (DevicePoint { 100, 100 + radius }));
    EXPECT_GT(c0[8].to.x, 100);
    EXPECT_LT(c0[36 + 8].to.x, 100);
    // The outer circle's value is written in cd/klm.
    bool scale = false;
    for (const RecordedText& text : surface.texts())
        scale = scale || text.text == "1000 cd/klm";
    EXPECT_TRUE(scale);
}

TEST(IntensityCurve, GridFitsTheSmallerSideAndAnEmptyTableDrawsOnlyTheGrid)
{
    const CLuminaire empty;
    const struct {
        int width;
        int height;
        int radius;
    } cases[] = { { 200, 200, 95 }, { 300, 100, 47 }, { 100, 300, 47 } };
    for (const auto& c : cases) {
        RecordingSurface surface;
        DrawIntensityCurve(surface, 10, 20, c.width, c.height, empty);
        const DevicePoint centre { 10 + c.width / 2, 20 + c.height / 2 };
        const std::vector<RecordedLine> lines = surface.lines();
        ASSERT_FALSE(lines.empty());
        // The outer circle first: 73 segments from the bottom point round to it.
        for (std::size_t i = 0; i < 73; ++i)
            EXPECT_NEAR(distance(lines[i].to, centre.x, centre.y), c.radius, 1.0) << c.width << "x" << c.height;
        EXPECT_EQ(surface.lines(kCurvePenC0).size(), 0u);
        EXPECT_EQ(surface.lines(kCurvePenC90).size(), 0u);
        EXPECT_TRUE(surface.texts().empty());
    }
}

} // namespace
} // namespace kzev::test
