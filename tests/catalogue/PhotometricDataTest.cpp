#include "catalogue/PhotometricData.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kzev;

namespace {

constexpr double kPi = 3.14159265358979323846;

PhotometricData grid(int symmetry, std::vector<double> planes, std::vector<double> gammas,
    double (*intensity)(double, double))
{
    PhotometricData data;
    data.symmetry = symmetry;
    data.planeAngles = std::move(planes);
    data.gammaAngles = std::move(gammas);
    for (double c : data.planeAngles)
        for (double g : data.gammaAngles)
            data.intensities.push_back(intensity(c, g));
    return data;
}

std::vector<double> steps(double first, double last, double step)
{
    std::vector<double> list;
    for (double a = first; a <= last + 1e-9; a += step)
        list.push_back(a);
    return list;
}

double planar(double c, double g) { return 2.0 * c + 3.0 * g + 1.0; }

} // namespace

TEST(PhotometricDataTest, InterpolatesBilinearlyBetweenMeasuredAngles)
{
    // A function linear in C and in gamma is reproduced exactly between the samples.
    const PhotometricData data = grid(0, {0.0, 10.0, 40.0}, {0.0, 20.0, 90.0}, planar);
    EXPECT_DOUBLE_EQ(data.InterpolateMeasured(25.0, 55.0), planar(25.0, 55.0));
    EXPECT_DOUBLE_EQ(data.InterpolateMeasured(10.0, 20.0), planar(10.0, 20.0));
    EXPECT_DOUBLE_EQ(data.InterpolateMeasured(40.0, 90.0), planar(40.0, 90.0));
}

TEST(PhotometricDataTest, FullCircleClosesFromLastPlaneToFirst)
{
    const PhotometricData data = grid(0, {0.0, 90.0, 180.0, 270.0}, {0.0, 90.0},
        [](double c, double) { return c; });
    // Halfway between C270 (270) and C360 = C0 (0).
    EXPECT_DOUBLE_EQ(data.InterpolateMeasured(315.0, 0.0), 135.0);
    EXPECT_DOUBLE_EQ(data.InterpolateMeasured(360.0, 0.0), 0.0);
}

TEST(PhotometricDataTest, ResamplesUnevenPlanesOntoTheSmallestStep)
{
    PhotometricData data = grid(2, {0.0, 10.0, 20.0, 40.0}, {0.0, 45.0, 90.0}, planar);
    data.cStep = 10.0;
    data.gammaStep = 45.0;
    ASSERT_FALSE(data.isUniform());
    data.ResampleToUniformGrid();
    EXPECT_EQ(data.planeAngles, (std::vector<double>{0.0, 10.0, 20.0, 30.0, 40.0}));
    EXPECT_DOUBLE_EQ(data.cStep, 10.0);
    EXPECT_DOUBLE_EQ(data.value(3, 1), planar(30.0, 45.0));
}

TEST(PhotometricDataTest, ResamplingStartsFromTheFirstMeasuredAngle)
{
    // An up-light measured from gamma 90 only: the grid runs 90..180, not 0..90.
    PhotometricData data = grid(1, {0.0}, {90.0, 100.0, 130.0, 180.0}, planar);
    data.cStep = 360.0;
    data.gammaStep = 10.0;
    data.ResampleToUniformGrid();
    EXPECT_DOUBLE_EQ(data.gammaAngles.front(), 90.0);
    EXPECT_DOUBLE_EQ(data.gammaAngles.back(), 180.0);
    ASSERT_EQ(data.gammaCount(), 10);
    EXPECT_DOUBLE_EQ(data.value(0, 3), planar(0.0, 120.0));
}

TEST(PhotometricDataTest, UnevenStepThatDoesNotDivideTheRangeFallsBackToAUsualDivisor)
{
    // Steps 5 and 7 (0, 5, 12): neither 5 nor 2.5 divides 12, 2 does.
    PhotometricData data = grid(1, {0.0}, {0.0, 5.0, 12.0}, planar);
    data.cStep = 360.0;
    data.gammaStep = 5.0;
    data.ResampleToUniformGrid();
    EXPECT_DOUBLE_EQ(data.gammaStep, 2.0);
    EXPECT_EQ(data.gammaCount(), 7);
    EXPECT_DOUBLE_EQ(data.value(0, 3), planar(0.0, 6.0));
    EXPECT_DOUBLE_EQ(data.gammaAngles.back(), 12.0);
}

TEST(PhotometricDataTest, FullCircleIsClosedWithAPlaneAt360)
{
    PhotometricData data = grid(0, steps(0.0, 345.0, 15.0), {0.0, 90.0}, planar);
    data.cStep = 15.0;
    data.gammaStep = 90.0;
    data.ResampleToUniformGrid();
    ASSERT_EQ(data.planeCount(), 25);
    EXPECT_DOUBLE_EQ(data.planeAngles.back(), 360.0);
    EXPECT_DOUBLE_EQ(data.value(24, 1), data.value(0, 1));
}

TEST(PhotometricDataTest, HalvesFullCircleOneDegreeTables)
{
    PhotometricData data = grid(0, steps(0.0, 360.0, 1.0), {0.0, 90.0}, planar);
    data.cStep = 1.0;
    data.gammaStep = 90.0;
    data.HalveCPlanes();
    EXPECT_DOUBLE_EQ(data.cStep, 2.0);
    ASSERT_EQ(data.planeCount(), 181);
    EXPECT_DOUBLE_EQ(data.planeAngles[1], 2.0);
    EXPECT_DOUBLE_EQ(data.value(1, 1), planar(2.0, 90.0));
}

TEST(PhotometricDataTest, SymmetryCodesMirrorByTheirPublicMeaning)
{
    auto f = [](double c, double g) { return 1000.0 + c + g / 100.0; };
    struct Case {
        const char* name;
        int symmetry;
        std::vector<double> planes;
        double direction;
        double storedEquivalent;
    };
    const Case cases[] = {
        {"code 2 mirrors C0-C180", 2, steps(0.0, 180.0, 15.0), 300.0, 60.0},
        {"code 3 mirrors C90-C270", 3, steps(270.0, 450.0, 15.0), 120.0, 420.0},
        {"code 3 keeps the stored half", 3, steps(270.0, 450.0, 15.0), 30.0, 390.0},
        {"code 3 at C180 reads C0", 3, steps(270.0, 450.0, 15.0), 180.0, 360.0},
        {"code 4 mirrors both", 4, steps(0.0, 90.0, 15.0), 210.0, 30.0},
        {"code 0 stores all", 0, steps(0.0, 345.0, 15.0), 210.0, 210.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PhotometricData data;
        data.symmetry = c.symmetry;
        data.planeAngles = c.planes;
        data.gammaAngles = {0.0, 30.0, 90.0};
        for (double p : c.planes)
            for (double g : data.gammaAngles)
                data.intensities.push_back(f(p, g));
        EXPECT_DOUBLE_EQ(data.intensityAt(c.direction, 30.0), f(c.storedEquivalent, 30.0));
    }
}

TEST(PhotometricDataTest, IntegratesKnownDistributionsForEverySymmetry)
{
    // A uniform sphere of 1000/(4 pi) cd gives 1000 lm; I0 cos(gamma) below gives pi I0.
    const double uniform = 1000.0 / (4.0 * kPi);
    struct Case {
        int symmetry;
        std::vector<double> planes;
    };
    const Case cases[] = {
        {0, steps(0.0, 345.0, 15.0)},
        {1, {0.0}},
        {2, steps(0.0, 180.0, 10.0)},
        {3, steps(270.0, 450.0, 10.0)},
        {4, steps(0.0, 90.0, 15.0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.symmetry);
        const auto all = steps(0.0, 180.0, 5.0);
        std::vector<double> values(c.planes.size() * all.size(), uniform);
        EXPECT_NEAR(integrateFlux(c.symmetry, c.planes, all, values), 1000.0, 1e-9);

        // Linear pieces of cos over 2.5-degree steps: the error is below 0.02 %.
        const auto lower = steps(0.0, 90.0, 2.5);
        std::vector<double> cosine;
        for (std::size_t p = 0; p < c.planes.size(); ++p)
            for (double g : lower)
                cosine.push_back(100.0 * std::cos(g * kPi / 180.0));
        EXPECT_NEAR(integrateFlux(c.symmetry, c.planes, lower, cosine), 100.0 * kPi, 100.0 * kPi * 2e-4);
    }
}
