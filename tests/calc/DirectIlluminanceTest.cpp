#include "calc/CalcProgress.h"
#include "calc/DirectIlluminance.h"
#include "support/CalcTestSupport.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>
#include <tbb/global_control.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

namespace kzev::test {
namespace {

// Runs the pass over the room's first area.
bool runPass(CalcScene& scene, std::int32_t mode = 0)
{
    std::int32_t step = 0;
    return calcPointIlluminance(scene.room, scene.room.m_workSystems[0], mode, step, scene.catalogue);
}

double value(const CalcScene& scene, std::size_t point, int position)
{
    return scene.room.m_workSystems[0].m_points[point].value(position);
}

// E = I(γ)·cos³γ / h² on a horizontal plane h below a point source, with
// I(γ) given on the geometric angle.
double pointSourceHorizontal(const std::function<double(double)>& intensity, double dx, double dy, double h)
{
    const double d = std::sqrt(dx * dx + dy * dy + h * h);
    const double cosGamma = h / d;
    return intensity(std::acos(cosGamma)) * cosGamma * cosGamma * cosGamma / (h * h);
}

TEST(DirectIlluminance, PointSourceGivesInverseSquareCosineCubedOnHorizontalPlane)
{
    FakeServices fakes;
    struct Case {
        const char* name;
        Distribution table;
        std::function<double(double)> intensity; // of the geometric angle in radians
        double tolerance; // relative: the table is sampled at 1 degree and interpolated
    };
    const Case cases[] = {
        { "isotropic", isotropic(250.0), [](double) { return 250.0; }, 1e-9 },
        { "Lambertian", lambertian(400.0), [](double gamma) { return 400.0 * std::cos(gamma); }, 1e-4 },
    };
    for (const Case& c : cases) {
        CalcScene scene(c.table); // zero size: one part at the centre
        scene.addLuminaire({ 0.0, 0.0, 2.5 });
        scene.addArea({ 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.5, 0.0 }, 4, 3);
        ASSERT_TRUE(runPass(scene));
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 3; ++j) {
                const double expected = pointSourceHorizontal(c.intensity, i * 1.0, j * 1.5, 2.5);
                const double tolerance = expected * c.tolerance;
                const std::size_t k = static_cast<std::size_t>(i * 3 + j);
                EXPECT_NEAR(value(scene, k, CPointCalc::kHorizontal), expected, tolerance) << c.name << " " << i << "," << j;
                EXPECT_EQ(value(scene, k, CPointCalc::kHorizontalZPlus), 0.0);
                // The area's plane is horizontal with its normal up: its front face is lit.
                EXPECT_NEAR(value(scene, k, CPointCalc::kNormalMinus), expected, tolerance);
                EXPECT_NEAR(value(scene, k, CPointCalc::kDirectMaintained), expected, tolerance);
            }
        }
    }
}

TEST(DirectIlluminance, NoLightPastTheLastAngleThePhotometryCovers)
{
    FakeServices fakes;
    // Photometry of 250 cd up to gamma 60, its table 0 from 61 on; a point on the floor 1 m
    // below the luminaire at each gamma, just inside and just past that angle.
    for (const double gamma : { 59.5, 60.0, 60.5, 60.99 }) {
        CalcScene scene(isotropic(250.0));
        CLuminaire& luminaire = scene.luminaires[0];
        luminaire.m_lastGamma = 60.0;
        for (int c = 0; c < CLuminaire::kPlanes; ++c)
            for (int g = 61; g < CLuminaire::kGammas; ++g)
                luminaire.m_intensity[static_cast<std::size_t>(c * CLuminaire::kGammas + g)] = 0.0;
        scene.addLuminaire({ 0.0, 0.0, 1.0 });
        const double x = std::tan(gamma * 3.14159265358979323846 / 180.0);
        scene.addArea({ x, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 1, 1);
        ASSERT_TRUE(runPass(scene));
        const double expected = gamma <= 60.0 ? pointSourceHorizontal([](double) { return 250.0; }, x, 0.0, 1.0) : 0.0;
        EXPECT_NEAR(value(scene, 0, CPointCalc::kHorizontal), expected, 1e-9) << gamma;
    }
}

TEST(DirectIlluminance, VerticalAndSphericalFieldsOfAnOffAxisPoint)
{
    FakeServices fakes;
    const Distribution table = isotropic(1000.0);
    CalcScene scene(table);
    scene.addLuminaire({ 0.0, 0.0, 2.0 });
    scene.addArea({ 1.0, -2.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 1, 1);
    ASSERT_TRUE(runPass(scene));
    // Light travels +x, −y, −z towards the point; normal illuminance 1000 / 9.
    const double en = 1000.0 / 9.0;
    EXPECT_NEAR(value(scene, 0, CPointCalc::kVerticalXPlus), en / 3.0, 1e-9);
    EXPECT_EQ(value(scene, 0, CPointCalc::kVerticalXMinus), 0.0);
    EXPECT_EQ(value(scene, 0, CPointCalc::kVerticalYPlus), 0.0);
    EXPECT_NEAR(value(scene, 0, CPointCalc::kVerticalYMinus), en * 2.0 / 3.0, 1e-9);
    EXPECT_NEAR(value(scene, 0, CPointCalc::kHorizontal), en * 2.0 / 3.0, 1e-9);
    EXPECT_NEAR(value(scene, 0, CPointCalc::kCylindrical), en * std::sqrt(5.0) / 3.0, 1e-9);
    EXPECT_NEAR(value(scene, 0, CPointCalc::kSpherical), en / 4.0, 1e-9);
}

TEST(DirectIlluminance, CAngleIsCountedFromTheReferenceAxisTowardsTheLengthAxis)
{
    FakeServices fakes;
    const Distribution table = cAngle();
    CalcScene scene(table);
    scene.addLuminaire({ 0.0, 0.0, 1.0 }); // C0 along +x, optical axis down: C90 along +y
    scene.addArea({ -1.0, -1.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 3, 3);
    ASSERT_TRUE(runPass(scene));
    // Point (x, y) at unit depth: E_normal = C / d², horizontal = C / d² · cos γ.
    const auto cOf = [&](std::size_t k, double dx, double dy) {
        const double d2 = dx * dx + dy * dy + 1.0;
        return value(scene, k, CPointCalc::kHorizontal) * d2 * std::sqrt(d2);
    };
    EXPECT_NEAR(cOf(7, 1.0, 0.0), 0.0, 1e-6);    // towards +x
    EXPECT_NEAR(cOf(5, 0.0, 1.0), 90.0, 1e-4);   // towards +y
    EXPECT_NEAR(cOf(3, 0.0, -1.0), 270.0, 1e-4); // towards −y
    EXPECT_NEAR(cOf(1, -1.0, 0.0), 180.0, 1e-4); // towards −x
}

// Illuminance below the corner of a Lambertian rectangle a × b parallel to
// the plane at height h, luminance lum (form factor of a differential area).
double cornerIlluminance(double lum, double a, double b, double h)
{
    const double x = a / h;
    const double y = b / h;
    const double sx = std::sqrt(1.0 + x * x);
    const double sy = std::sqrt(1.0 + y * y);
    return lum / 2.0 * (x / sx * std::atan(y / sx) + y / sy * std::atan(x / sy));
}

// Rectangle [x1, x2] × [y1, y2] relative to the point, by signed corners.
double rectangleIlluminance(double lum, double x1, double x2, double y1, double y2, double h)
{
    return cornerIlluminance(lum, x2, y2, h) - cornerIlluminance(lum, x1, y2, h) - cornerIlluminance(lum, x2, y1, h)
        + cornerIlluminance(lum, x1, y1, h);
}

TEST(DirectIlluminance, LambertianRectangleMatchesItsClosedFormWithinOnePercent)
{
    FakeServices fakes;
    const double length = 1.2; // along y (the length axis for the default orientation)
    const double width = 0.6;  // along x
    const double luminance = 5000.0;
    const double h = 1.0;
    const Distribution table = lambertian(luminance * length * width);
    CalcScene scene(table, length, width);
    scene.addLuminaire({ 0.0, 0.0, h });
    scene.addArea({ 0.0, 0.0, 0.0 }, { 0.5, 0.0, 0.0 }, { 0.0, 0.5, 0.0 }, 4, 4);
    ASSERT_TRUE(runPass(scene));
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            const double px = 0.5 * i;
            const double py = 0.5 * j;
            const double expected
                = rectangleIlluminance(luminance, -width / 2 - px, width / 2 - px, -length / 2 - py, length / 2 - py, h);
            const double got = value(scene, static_cast<std::size_t>(i * 4 + j), CPointCalc::kHorizontal);
            EXPECT_NEAR(got, expected, expected * 0.01) << px << "," << py;
        }
    }
}

TEST(DirectIlluminance, SmallLuminaireStraightAboveGivesTheFormulaOfTheDefaultRatio)
{
    FakeServices fakes;
    const Distribution table = isotropic(320.0);
    CalcScene scene(table, 0.1, 0.1);
    CLampSystem& system = scene.addLuminaire({ 0.0, 0.0, 2.0 });
    system.m_maintenanceFactor = 0.8;
    system.m_uncertaintyFactor = 0.9;
    system.m_luminaires[0].m_modeFactors = { 0.5 };
    scene.luminaires[0].m_numberOfLamps = 2;
    scene.addArea({ 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 1, 1);
    ASSERT_TRUE(runPass(scene));
    // I(C, 0) × k × lamps / h² × uncertainty × maintenance, the table's unit being candela here.
    const double expected = 320.0 * 0.5 * 2.0 / 4.0 * 0.9 * 0.8;
    EXPECT_NEAR(value(scene, 0, CPointCalc::kHorizontal), expected, 1e-9);
    EXPECT_EQ(value(scene, 0, CPointCalc::kHorizontalZPlus), 0.0);
    EXPECT_NEAR(value(scene, 0, CPointCalc::kDirectInitial), expected / 0.8, 1e-9);
}

TEST(DirectIlluminance, PointCloseToALongLuminaireKeepsItsLightWithTheSubdivisionCapped)
{
    FakeServices fakes;
    // 1.2 m long seen from 0.1 m would need 121 parts; capped at 100 it still lights the point.
    const double length = 1.2;
    const double h = 0.1;
    const Distribution table = isotropic(1000.0);
    CalcScene scene(table, length, 0.0001);
    scene.addLuminaire({ 0.0, 0.0, h });
    scene.addArea({ 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 1, 1);
    ASSERT_TRUE(runPass(scene));
    // Uniform isotropic line source: E = I / (h·sqrt(h² + L²/4)).
    const double expected = 1000.0 / (h * std::sqrt(h * h + length * length / 4.0));
    EXPECT_NEAR(value(scene, 0, CPointCalc::kHorizontal), expected, expected * 0.01);
}

TEST(DirectIlluminance, NothingWithinFourCentimetresOfTheLuminaire)
{
    FakeServices fakes;
    const Distribution table = isotropic(1000.0);
    CalcScene scene(table);
    scene.addLuminaire({ 0.0, 0.0, 0.04 });
    scene.addArea({ 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 1, 1);
    scene.room.m_workSystems[0].m_points[0].value(CPointCalc::kDirectMaintained) = 7.0;
    ASSERT_TRUE(runPass(scene));
    EXPECT_EQ(value(scene, 0, CPointCalc::kHorizontal), 0.0);
    // Both-faces fields are only set when light arrived.
    EXPECT_EQ(value(scene, 0, CPointCalc::kDirectMaintained), 7.0);
}

TEST(DirectIlluminance, RoundLuminaireIsLaidOutAsASquareButKeepsItsShape)
{
    FakeServices fakes;
    const Distribution table = isotropic(1000.0);
    double lit[2] {};
    for (const double width : { 0.0, 0.5 }) {
        CalcScene scene(table, 0.5, width);
        scene.addLuminaire({ 0.0, 0.0, 1.0 });
        scene.addArea({ 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 1, 1);
        ASSERT_TRUE(runPass(scene));
        EXPECT_EQ(scene.luminaires[0].m_luminousDimensions[1], width) << "the luminaire is not changed";
        lit[width > 0.0 ? 1 : 0] = value(scene, 0, CPointCalc::kHorizontal);
    }
    EXPECT_GT(lit[0], 0.0);
    EXPECT_DOUBLE_EQ(lit[0], lit[1]);
}

TEST(DirectIlluminance, ModeFactorAndSwitchedOffFlagRemoveALuminaire)
{
    FakeServices fakes;
    const Distribution table = isotropic(1000.0);
    struct Case {
        const char* name;
        double factor;
        std::int32_t off;
        bool lit;
    };
    for (const Case& c : { Case { "factor 0.001", 0.001, 0, false }, Case { "factor 0.002", 0.002, 0, true },
             Case { "switched off", 1.0, 1, false } }) {
        CalcScene scene(table);
        CLampSystem& system = scene.addLuminaire({ 0.0, 0.0, 1.0 });
        system.m_luminaires[0].m_modeFactors = { 1.0, c.factor };
        system.m_luminaires[0].m_switchedOff = c.off;
        scene.addArea({ 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 1, 1);
        ASSERT_TRUE(runPass(scene, 1));
        EXPECT_EQ(value(scene, 0, CPointCalc::kHorizontal) > 0.0, c.lit) << c.name;
    }
}

TEST(DirectIlluminance, ExcludedAreaIsUntouchedButItsRowsCount)
{
    FakeServices fakes;
    const Distribution table = isotropic(1000.0);
    CalcScene scene(table);
    scene.addLuminaire({ 0.0, 0.0, 1.0 });
    CWorkSystem& area = scene.addArea({ 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 3, 2);
    area.m_excluded = 1;
    std::int32_t step = 5;
    ASSERT_TRUE(calcPointIlluminance(scene.room, area, 0, step, scene.catalogue));
    EXPECT_EQ(step, 8);
    EXPECT_EQ(fakes.progress.positions.back().position, 8);
    EXPECT_EQ(fakes.progress.positions.back().range, -1);
    EXPECT_EQ(area.m_points[0].value(CPointCalc::kHorizontal), 0.0);
}

TEST(DirectIlluminance, PointsReportTheElapsedTimeOncePerShownSecond)
{
    FakeServices fakes;
    const Distribution table = isotropic(1000.0);
    CalcScene scene(table);
    scene.addLuminaire({ 0.0, 0.0, 1.0 });
    scene.addArea({ 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 3, 3);
    startCalcClock();
    ASSERT_TRUE(runPass(scene));
    ASSERT_FALSE(fakes.progress.texts.empty());
    EXPECT_LT(fakes.progress.texts.size(), 9U); // not once per point
    EXPECT_EQ(fakes.progress.texts[0].text, "Čas výpočtu :00:00:00  - %d%%");
    EXPECT_EQ(fakes.progress.texts[0].style, 0x100U);
}

TEST(DirectIlluminance, DownwardStepNormalIsTurnedUp)
{
    FakeServices fakes;
    const Distribution table = isotropic(1000.0);
    CalcScene scene(table);
    scene.addLuminaire({ 0.0, 0.0, 1.0 });
    // step1 × step2 = (0, 1, 0) × (1, 0, 0) points down.
    scene.addArea({ 0.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, { 1.0, 0.0, 0.0 }, 1, 1);
    ASSERT_TRUE(runPass(scene));
    EXPECT_NEAR(value(scene, 0, CPointCalc::kNormalMinus), 1000.0, 1e-9);
    EXPECT_EQ(value(scene, 0, CPointCalc::kNormalPlus), 0.0);
}

TEST(DirectIlluminance, ObserverFieldTakesLightComingTowardsTheObserver)
{
    FakeServices fakes;
    const Distribution table = isotropic(1000.0);
    CalcScene scene(table);
    scene.addLuminaire({ 0.0, 0.0, 1.0 });
    CWorkSystem& area = scene.addArea({ 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 1, 1);
    area.m_cameraPosition = { 1.0, 0.0, 1.0 }; // 45 degrees up from the point
    ASSERT_TRUE(runPass(scene));
    EXPECT_NEAR(value(scene, 0, CPointCalc::kCamera), 1000.0 * std::sqrt(0.5), 1e-9);
    // An observer at the point itself receives nothing (and no NaN).
    scene.room.m_workSystems[0].m_cameraPosition = { 0.0, 0.0, 0.0 };
    scene.room.m_workSystems[0].m_points[0] = CPointCalc {};
    ASSERT_TRUE(runPass(scene));
    EXPECT_EQ(value(scene, 0, CPointCalc::kCamera), 0.0);
}

TEST(DirectIlluminance, ZeroMaintenanceFactorGivesZeroMaintainedAndTheInitialValue)
{
    FakeServices fakes;
    const Distribution table = isotropic(1000.0);
    CalcScene scene(table);
    scene.addLuminaire({ 0.0, 0.0, 1.0 }).m_maintenanceFactor = 0.0;
    scene.addArea({ 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 1, 1);
    ASSERT_TRUE(runPass(scene));
    EXPECT_EQ(value(scene, 0, CPointCalc::kHorizontal), 0.0);
    EXPECT_NEAR(value(scene, 0, CPointCalc::kDirectInitial), 1000.0, 1e-9);
}

TEST(DirectIlluminance, StopFlagEndsThePassWithoutMessage)
{
    FakeServices fakes;
    fakes.pump.stopAfter = 1;
    const Distribution table = isotropic(1000.0);
    CalcScene scene(table);
    scene.addLuminaire({ 0.0, 0.0, 1.0 });
    scene.addArea({ 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 2, 2);
    EXPECT_FALSE(runPass(scene));
    EXPECT_EQ(fakes.pump.calls, 1); // one pump after each batch of points, the first batch a row
    EXPECT_TRUE(fakes.messageBox.shown.empty());
    EXPECT_GT(value(scene, 1, CPointCalc::kHorizontal), 0.0);
    EXPECT_EQ(value(scene, 2, CPointCalc::kHorizontal), 0.0);
}

TEST(DirectIlluminance, UndividableOrUnresolvedLuminaireStopsWithAMessage)
{
    const Distribution table = isotropic(1000.0);
    {
        FakeServices fakes;
        CalcScene scene(table, 1.0, 1.0);
        scene.room.m_divisionRatio = -50.0;
        scene.addLuminaire({ 0.0, 0.0, 1.0 });
        scene.addArea({ 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 1, 1);
        EXPECT_FALSE(runPass(scene));
        ASSERT_EQ(fakes.messageBox.shown.size(), 1U);
        EXPECT_EQ(fakes.messageBox.shown[0].text, "Chybné dělení svitidla !");
        EXPECT_EQ(fakes.messageBox.shown[0].icon, MessageIcon::Error);
    }
    {
        FakeServices fakes;
        CalcScene scene(table);
        scene.addLuminaire({ 0.0, 0.0, 1.0 }).m_luminaireIndex = 3;
        scene.room.m_lampSystems[0].m_name = "S1";
        scene.addArea({ 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 1, 1);
        EXPECT_FALSE(runPass(scene));
        ASSERT_EQ(fakes.messageBox.shown.size(), 1U);
        EXPECT_NE(fakes.messageBox.shown[0].text.find("S1"), std::string::npos);
    }
}

} // namespace
} // namespace kzev::test

namespace kzev::test {
namespace {

TEST(DirectIlluminance, EveryDirectionReadsTheTableAtTheAnglesOfItsRay)
{
    // A table linear in both angles, which the bilinear read gives back, on a luminaire aimed
    // askew: the light at each point gives back the C and gamma it was read at, which are
    // compared with those of the library's acos and atan2 in every quadrant, above and below.
    FakeServices fakes;
    const Distribution table = [](double c, double gamma) { return 100.0 + c + 2.0 * gamma; };
    CalcScene scene(table);
    const CVector position { 0.31, -0.23, 0.17 };
    COneLampSystem& one = scene.addLuminaire(position).m_luminaires[0];
    one.m_opticalAxis = { 0.3, -0.4, -0.8 };
    one.m_c0Axis = { 0.9, 0.2, 0.1 };
    const CVector reference = one.m_c0Axis.Normalized();
    const CVector optical = one.m_opticalAxis.Normalized();
    const CVector lengthAxis = CrossProduct(reference, optical).Normalized();
    const CVector c0 = CrossProduct(optical, lengthAxis);
    const struct {
        CVector origin, step1, step2;
    } planes[] = {
        { { -2.03, -2.11, -1.5 }, { 0.43, 0.05, 0.02 }, { -0.04, 0.47, 0.01 } },
        { { -2.07, -1.93, 1.9 }, { 0.45, -0.03, -0.01 }, { 0.02, 0.41, 0.03 } },
        { { 1.7, -2.09, -1.97 }, { 0.03, 0.44, 0.01 }, { -0.02, 0.01, 0.42 } },
        { { -1.9, 1.8, -2.05 }, { 0.46, 0.02, 0.0 }, { 0.01, 0.0, 0.43 } },
    };
    for (const auto& plane : planes) {
        scene.room.m_workSystems.clear();
        scene.addArea(plane.origin, plane.step1, plane.step2, 10, 10);
        ASSERT_TRUE(runPass(scene));
        const CWorkSystem& area = scene.room.m_workSystems[0];
        for (std::int32_t i = 0; i < 10; ++i) {
            for (std::int32_t j = 0; j < 10; ++j) {
                const CVector ray = area.PointPosition(i, j) - position;
                const double d2 = DotProduct(ray, ray);
                const double gamma = RadToDeg(std::acos(DotProduct(ray, optical) / std::sqrt(d2)));
                double c = RadToDeg(std::atan2(DotProduct(ray, lengthAxis), DotProduct(ray, c0)));
                if (c < 0.0)
                    c += 360.0;
                const double got = 4.0 * area.m_points[static_cast<std::size_t>(i * 10 + j)].value(CPointCalc::kSpherical) * d2;
                // Within what the table's thousandth-of-a-degree rule and pi as 3.141592 allow.
                EXPECT_NEAR(got, 100.0 + c + 2.0 * gamma, 0.005) << "C " << c << ", gamma " << gamma;
            }
        }
    }
}

} // namespace
} // namespace kzev::test

namespace kzev::test {
namespace {

TEST(DirectIlluminance, ResultsDoNotDependOnTheNumberOfThreads)
{
    // Long luminaires near the points (cut into many parts, several batches of sources per
    // point), one box between, a plane area and a calculation surface of element means.
    FakeServices fakes;
    const auto run = [](std::size_t threads) {
        const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, threads);
        CalcScene scene(lambertian(300.0), 1.5, 0.3);
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 3; ++j)
                scene.addLuminaire({ 0.7 + 1.9 * i, 0.6 + 1.7 * j, 2.4 });
        }
        scene.addBox({ 2.0, 1.0, 1.0 }, { 0.8, 0.0, 0.0 }, { 0.0, 0.6, 0.0 }, { 0.0, 0.0, 0.5 }, 0.3);
        scene.addArea({ 0.1, 0.1, 0.8 }, { 0.12, 0.0, 0.0 }, { 0.0, 0.1, 0.0 }, 60, 50);
        CWorkSystem& surface = scene.addArea({ 0.25, 0.25, 0.0 }, { 0.5, 0.0, 0.0 }, { 0.0, 0.5, 0.0 }, 12, 10);
        surface.m_normalMode = 0;
        surface.m_normal = { 0.0, 0.0, 1.0 };
        std::vector<double> values;
        for (CWorkSystem& area : scene.room.m_workSystems) {
            std::int32_t step = 0;
            EXPECT_TRUE(calcPointIlluminance(scene.room, area, 0, step, scene.catalogue));
            for (const CPointCalc& p : area.m_points)
                values.insert(values.end(), p.m_values.begin(), p.m_values.end());
        }
        return values;
    };
    const std::vector<double> one = run(1);
    EXPECT_EQ(run(8), one) << "every point is summed whole, in one order";
}

TEST(DirectIlluminance, SeveralAreasInOnePassGetTheValuesOfEachInTurnOnAnyNumberOfThreads)
{
    // Calculation surfaces as a mode has them: a large one, faces of one and of a few elements,
    // an excluded one, one without rows, and a plane area among them; a box between.
    FakeServices fakes;
    CalcScene scene(lambertian(300.0), 1.5, 0.3);
    for (int i = 0; i < 3; ++i)
        scene.addLuminaire({ 1.0 + 2.0 * i, 1.5, 2.4 });
    scene.addBox({ 2.0, 1.0, 0.0 }, { 0.8, 0.0, 0.0 }, { 0.0, 0.6, 0.0 }, { 0.0, 0.0, 0.9 }, 0.3);
    const auto surface = [&](const CVector& origin, const CVector& step1, const CVector& step2, const CVector& normal,
                             std::int32_t rows, std::int32_t perRow) -> CWorkSystem& {
        CWorkSystem& s = scene.addArea(origin, step1, step2, rows, perRow);
        s.m_normalMode = 0;
        s.m_normal = normal;
        return s;
    };
    surface({ 0.25, 0.25, 0.0 }, { 0.5, 0.0, 0.0 }, { 0.0, 0.5, 0.0 }, { 0.0, 0.0, 1.0 }, 12, 6);
    surface({ 2.0, 1.2, 0.9 }, { 0.4, 0.0, 0.0 }, { 0.0, 0.3, 0.0 }, { 0.0, 0.0, 1.0 }, 1, 1);
    surface({ 2.8, 1.1, 0.2 }, { 0.0, 0.3, 0.0 }, { 0.0, 0.0, 0.3 }, { 1.0, 0.0, 0.0 }, 2, 3).m_excluded = 1;
    surface({ 2.0, 1.0, 0.2 }, { 0.3, 0.0, 0.0 }, { 0.0, 0.0, 0.3 }, { 0.0, -1.0, 0.0 }, 0, 3);
    scene.addArea({ 0.1, 0.1, 0.8 }, { 0.6, 0.0, 0.0 }, { 0.0, 0.5, 0.0 }, 9, 5);
    surface({ 2.0, 1.7, 0.2 }, { 0.3, 0.0, 0.0 }, { 0.0, 0.0, 0.3 }, { 0.0, 1.0, 0.0 }, 3, 2);
    const CRoom lit = scene.room;

    const auto valuesOf = [](const CRoom& room) {
        std::vector<double> values;
        for (const CWorkSystem& area : room.m_workSystems) {
            for (const CPointCalc& p : area.m_points)
                values.insert(values.end(), p.m_values.begin(), p.m_values.end());
        }
        return values;
    };
    std::int32_t inTurnSteps = 0;
    for (CWorkSystem& area : scene.room.m_workSystems)
        ASSERT_TRUE(calcPointIlluminance(scene.room, area, 0, inTurnSteps, scene.catalogue));
    const std::vector<double> inTurn = valuesOf(scene.room);
    ASSERT_GT(scene.room.m_workSystems[1].m_points[0].value(CPointCalc::kDirectMaintained), 0.0);
    EXPECT_EQ(scene.room.m_workSystems[2].m_points[0].value(CPointCalc::kDirectMaintained), 0.0) << "excluded";
    EXPECT_EQ(inTurnSteps, 12 + 1 + 2 + 0 + 9 + 3);

    for (const std::size_t threads : { 1u, 8u }) {
        const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, threads);
        CRoom room = lit;
        std::vector<CWorkSystem*> areas;
        for (CWorkSystem& area : room.m_workSystems)
            areas.push_back(&area);
        std::int32_t steps = 0;
        ASSERT_TRUE(calcPointIlluminance(room, areas, 0, steps, scene.catalogue));
        EXPECT_EQ(steps, inTurnSteps);
        const std::vector<double> values = valuesOf(room);
        ASSERT_EQ(values.size(), inTurn.size());
        EXPECT_EQ(std::memcmp(values.data(), inTurn.data(), values.size() * sizeof(double)), 0) << threads << " threads";
    }
}

} // namespace
} // namespace kzev::test
