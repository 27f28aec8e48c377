#include "calc/IntensityTable.h"
#include "model/CLuminaire.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace kzev::test {
namespace {

// A table with no pattern the reads could lean on, with decimals.
CLuminaire unevenLuminaire()
{
    CLuminaire luminaire;
    for (std::size_t i = 0; i < luminaire.m_intensity.size(); ++i)
        luminaire.m_intensity[i] = static_cast<double>((i * 7919U + 13U) % 1009U) / 7.0;
    return luminaire;
}

TEST(IntensityTable, ReadsWhatGetIntensityReadsAtEveryAngle)
{
    const CLuminaire luminaire = unevenLuminaire();
    const IntensityTable table(luminaire);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    // Whole angles, fractions on either side of the thousandth below which the table's own
    // value is taken, both ends of each range, and angles out of range.
    std::vector<double> cs { 0.0, -0.0, 0.0005, 0.001, 0.0011, 1.0, 179.9995, 180.0, 358.5, 359.0, 359.9999,
        359.99995, 360.0, 360.0001, 400.25, 720.0, -0.5, -359.75, -1e-300, 1e300, nan, inf, -inf };
    std::vector<double> gammas { 0.0, 0.0009, 0.001, 0.5, 1.0, 89.99, 90.0, 179.0, 179.9995, 180.0, 180.0001,
        250.0, -0.25, nan, inf, -inf };
    for (double c = 0.0; c < 360.0; c += 3.7)
        cs.push_back(c);
    for (double gamma = 0.0; gamma < 180.0; gamma += 2.3)
        gammas.push_back(gamma);
    for (double c : cs) {
        for (double gamma : gammas) {
            const double expected = luminaire.GetIntensity(c, gamma);
            const double got = table.value(c, gamma);
            EXPECT_TRUE(got == expected || (std::isnan(got) && std::isnan(expected)))
                << "C " << c << ", gamma " << gamma << ": " << got << " against " << expected;
        }
    }
}

TEST(IntensityTable, ReadsWhatGetIntensityReadsWithinTheCoveredGammas)
{
    // Photometry covering 2.5 to 87.5 degrees: nothing outside, the last whole degree's
    // value held up to an end off a whole degree.
    CLuminaire luminaire = unevenLuminaire();
    luminaire.m_firstGamma = 2.5;
    luminaire.m_lastGamma = 87.5;
    const IntensityTable table(luminaire);
    for (double c : { 0.0, 17.3, 359.9999 }) {
        for (double gamma : { 0.0, 2.0, 2.4985, 2.5, 2.7, 3.0, 3.4, 45.0, 86.5, 86.9995, 87.0, 87.3, 87.5, 87.5009,
                 87.502, 88.0, 88.49, 88.5, 180.0 }) {
            const double expected = luminaire.GetIntensity(c, gamma);
            EXPECT_EQ(table.value(c, gamma), expected) << "C " << c << ", gamma " << gamma;
            const bool covered = gamma >= 2.5 - 0.001 && gamma <= 87.5 + 0.001;
            EXPECT_EQ(expected != 0.0, covered) << "C " << c << ", gamma " << gamma;
        }
        EXPECT_EQ(luminaire.GetIntensity(c, 87.3), luminaire.GetIntensity(c, 87.0));
        EXPECT_EQ(luminaire.GetIntensity(c, 2.7), luminaire.GetIntensity(c, 3.0));
    }
}

TEST(IntensityTable, ShortTableReadsZeroBeyondItsEntries)
{
    CLuminaire luminaire;
    luminaire.m_intensity.assign(10, 5.0);
    const IntensityTable table(luminaire);
    EXPECT_EQ(table.value(0.0, 5.0), 5.0);
    EXPECT_EQ(table.value(0.0, 9.5), 2.5);
    EXPECT_EQ(table.value(200.0, 90.0), 0.0);
}

} // namespace
} // namespace kzev::test
