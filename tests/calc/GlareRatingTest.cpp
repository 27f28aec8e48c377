#include "calc/DirectIlluminance.h"
#include "calc/GlareRating.h"
#include "support/CalcTestSupport.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <tbb/global_control.h>

#include <algorithm>
#include <cmath>

namespace kzev::test {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct GrScene {
    FakeServices fakes;
    CalcScene scene;

    // A work place of 2 × 2 points whose maintained mean illuminance is eav
    // (a quarter more before maintenance), reflectance rho; then the GR area.
    GrScene(const Distribution& distribution, double eav, double rho)
        : scene(distribution)
    {
        CWorkSystem& workPlace = scene.addArea({ 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 2, 2);
        workPlace.m_quantityCode = 94;
        workPlace.m_reflectance = rho;
        for (std::size_t k = 0; k < 4; ++k) {
            // Direct and reflected parts that vary over the points but average to eav.
            CPointCalc& point = workPlace.m_points[k];
            point.value(CPointCalc::kDirectMaintained) = eav * (0.5 + 0.2 * (k % 2 ? 1.0 : -1.0));
            point.value(CPointCalc::kReflectedMaintained) = eav * 0.5;
            point.value(CPointCalc::kDirectInitial) = point.value(CPointCalc::kDirectMaintained) / 0.8;
            point.value(CPointCalc::kReflectedInitial) = point.value(CPointCalc::kReflectedMaintained) / 0.8;
        }
    }

    // Eyes at 1.5 m along step 1, looking along +X unless told otherwise.
    CWorkSystem& addEyes(const CVector& origin, std::int32_t count, std::int32_t directions = 1,
        std::int32_t first = 0)
    {
        CWorkSystem& area = scene.addArea(origin, { 0.0, 2.0, 0.0 }, { 1.0, 0.0, 0.0 }, count, 1);
        area.m_quantityCode = 161;
        area.m_directionCount = directions;
        area.m_firstDirection = first;
        return area;
    }

    bool run() { return computeGlareRatingGr(scene.room, scene.room.m_workSystems[1], scene.catalogue); }
    const CPointCalc& point(std::size_t k) const { return scene.room.m_workSystems[1].m_points[k]; }
};

/**
 * GR of the CIE 112 formula for an eye looking along +X:
 * 27 + 24 log10(Lvl / Lve^0.9), Lvl = 10 Σ E cos θ / θ² over the luminaires
 * 1.5 to 60 degrees from the line of sight, Lve = 0.035 ρ Eav / pi.
 */
double cieGr(const CVector& eye, const std::vector<CVector>& luminaires, const Distribution& distribution,
    double maintenance, double rho, double eav)
{
    double veiling = 0.0;
    for (const CVector& l : luminaires) {
        const CVector s = l - eye;
        const double d = s.Length();
        const double theta = std::acos(s.x / d) * 180.0 / kPi;
        if (theta < 1.5 || theta > 60.0)
            continue;
        // The luminaires shine straight down: gamma is the angle below them towards the eye.
        const double gamma = std::acos(s.z / d) * 180.0 / kPi;
        const double e = distribution(0.0, gamma) * maintenance / (d * d);
        veiling += 10.0 * e * std::cos(theta * kPi / 180.0) / (theta * theta);
    }
    const double surroundings = 0.035 * rho * eav / kPi;
    return 27.0 + 24.0 * std::log10(veiling / std::pow(surroundings, 0.9));
}

TEST(GlareRating, MatchesTheCieFormulaAtSeveralEyes)
{
    const Distribution distribution = lambertian(40000.0);
    const std::vector<CVector> masts { { 20.0, -6.0, 8.0 }, { 20.0, 6.0, 8.0 }, { 40.0, 0.0, 10.0 },
        { 12.0, 14.0, 9.0 } };
    GrScene s(distribution, 30.0, 0.25);
    for (const CVector& mast : masts) {
        s.scene.addLuminaire(mast).m_maintenanceFactor = 0.8;
    }
    s.addEyes({ 0.0, -4.0, 1.5 }, 5);
    ASSERT_TRUE(s.run());
    for (std::size_t k = 0; k < 5; ++k) {
        const CVector eye { 0.0, -4.0 + 2.0 * static_cast<double>(k), 1.5 };
        const double expected = cieGr(eye, masts, distribution, 0.8, 0.25, 30.0);
        ASSERT_EQ(s.point(k).m_grByDirection.size(), 1u);
        EXPECT_NEAR(s.point(k).m_grByDirection[0], expected, 0.01) << "eye " << k;
        EXPECT_EQ(s.point(k).value(CPointCalc::kGr), s.point(k).m_grByDirection[0]);
    }
}

TEST(GlareRating, YardIsRatedInTheMaintainedStateOfBothTerms)
{
    // A yard of 20 × 20 m lit by four isotropic luminaires of 20 000 cd, 8 m up at its corners,
    // maintenance factor 0.8; its illuminance comes from the program's direct pass. An
    // eye 1.5 m up, 10 m in front of the yard's middle, looks across it.
    const double intensity = 20000.0;
    const double mf = 0.8;
    const double rho = 0.2;
    const std::vector<CVector> corners { { 0.0, 0.0, 8.0 }, { 20.0, 0.0, 8.0 }, { 0.0, 20.0, 8.0 },
        { 20.0, 20.0, 8.0 } };
    FakeServices fakes;
    CalcScene scene(isotropic(intensity));
    for (const CVector& corner : corners)
        scene.addLuminaire(corner).m_maintenanceFactor = mf;
    CWorkSystem& yard = scene.addArea({ 0.0, 0.0, 0.0 }, { 5.0, 0.0, 0.0 }, { 0.0, 5.0, 0.0 }, 5, 5);
    yard.m_quantityCode = 94;
    yard.m_reflectance = rho;
    std::int32_t step = 0;
    ASSERT_TRUE(calcPointIlluminance(scene.room, scene.room.m_workSystems[0], 0, step, scene.catalogue));
    const CVector eye { 10.0, -10.0, 1.5 };
    CWorkSystem& eyes = scene.addArea(eye, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 1, 1);
    eyes.m_quantityCode = 161;
    eyes.m_directionCount = 1;
    eyes.m_firstDirection = 90;
    ASSERT_TRUE(computeGlareRatingGr(scene.room, scene.room.m_workSystems[1], scene.catalogue));

    // By hand, both terms with the factor: E = MF I h / d³ on the ground, I / d² at the eye.
    double eav = 0.0;
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 5; ++j) {
            for (const CVector& corner : corners) {
                const double d = (corner - CVector { 5.0 * i, 5.0 * j, 0.0 }).Length();
                eav += mf * intensity * corner.z / (d * d * d) / 25.0;
            }
        }
    }
    double veiling = 0.0;
    for (const CVector& corner : corners) {
        const CVector s = corner - eye;
        const double d = s.Length();
        const double theta = std::acos(s.y / d) * 180.0 / kPi;
        veiling += 10.0 * mf * intensity / (d * d) * std::cos(theta * kPi / 180.0) / (theta * theta);
    }
    const double surroundings = 0.035 * rho * eav / kPi;
    const double expected = 27.0 + 24.0 * std::log10(veiling / std::pow(surroundings, 0.9));
    EXPECT_NEAR(scene.room.m_workSystems[1].m_points[0].value(CPointCalc::kGr), expected, 0.1);
}

// A yard of 20 × 20 m lit from its corners by isotropic luminaires of 20 000 cd, 8 m up, at
// maintenance factor 1.0; each mode dims every luminaire by its factor. Each mode has its own
// work place (reflectance 0.2), lit by the program's direct pass; the eye stands 1.5 m up,
// 10 m in front of the yard's middle, and looks across it.
struct DimmedYard {
    static constexpr double kIntensity = 20000.0;
    static constexpr double kRho = 0.2;
    FakeServices fakes;
    CalcScene scene { isotropic(kIntensity) };
    std::vector<CVector> corners { { 0.0, 0.0, 8.0 }, { 20.0, 0.0, 8.0 }, { 0.0, 20.0, 8.0 }, { 20.0, 20.0, 8.0 } };
    CVector eye { 10.0, -10.0, 1.5 };

    explicit DimmedYard(const std::vector<double>& modeFactors)
    {
        for (const CVector& corner : corners)
            scene.addLuminaire(corner).m_luminaires[0].m_modeFactors = modeFactors;
        for (std::size_t mode = 0; mode < modeFactors.size(); ++mode) {
            CWorkSystem& yard = scene.addArea({ 0.0, 0.0, 0.0 }, { 5.0, 0.0, 0.0 }, { 0.0, 5.0, 0.0 }, 5, 5);
            yard.m_quantityCode = 94;
            yard.m_reflectance = kRho;
            yard.m_modeIndex = static_cast<std::int32_t>(mode);
            std::int32_t step = 0;
            EXPECT_TRUE(calcPointIlluminance(
                scene.room, scene.room.m_workSystems.back(), static_cast<std::int32_t>(mode), step, scene.catalogue));
        }
    }

    // The eye as a GR area of the mode, added last.
    void addEyes(std::int32_t mode)
    {
        CWorkSystem& eyes = scene.addArea(eye, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 1, 1);
        eyes.m_quantityCode = 161;
        eyes.m_directionCount = 1;
        eyes.m_firstDirection = 90;
        eyes.m_modeIndex = mode;
    }

    double rateArea(std::size_t index)
    {
        EXPECT_TRUE(computeGlareRatingGr(scene.room, scene.room.m_workSystems.at(index), scene.catalogue));
        return scene.room.m_workSystems.at(index).m_points[0].value(CPointCalc::kGr);
    }

    double rate(std::int32_t mode)
    {
        addEyes(mode);
        return rateArea(scene.room.m_workSystems.size() - 1);
    }

    // By hand, every luminaire at factor k in both terms: E = k I h / d³ on the ground, k I / d² at the eye.
    double byHand(double k) const
    {
        double eav = 0.0;
        for (int i = 0; i < 5; ++i) {
            for (int j = 0; j < 5; ++j) {
                for (const CVector& corner : corners) {
                    const double d = (corner - CVector { 5.0 * i, 5.0 * j, 0.0 }).Length();
                    eav += k * kIntensity * corner.z / (d * d * d) / 25.0;
                }
            }
        }
        double veiling = 0.0;
        for (const CVector& corner : corners) {
            const CVector s = corner - eye;
            const double d = s.Length();
            const double theta = std::acos(s.y / d) * 180.0 / kPi;
            veiling += 10.0 * k * kIntensity / (d * d) * std::cos(theta * kPi / 180.0) / (theta * theta);
        }
        const double surroundings = 0.035 * kRho * eav / kPi;
        return 27.0 + 24.0 * std::log10(veiling / std::pow(surroundings, 0.9));
    }
};

TEST(GlareRating, DimmedModeRatesLuminairesAndSurroundingsInTheOneStateItShows)
{
    DimmedYard yard({ 0.5 });
    EXPECT_NEAR(yard.rate(0), yard.byHand(0.5), 0.1);
    // One state dimmed to half: GR moves by 2.4 log10 0.5 from the full state, not up by 6.5.
    EXPECT_NEAR(yard.byHand(0.5) - yard.byHand(1.0), 2.4 * std::log10(0.5), 1e-9);
}

TEST(GlareRating, EachModeIsRatedAgainstItsOwnWorkPlace)
{
    // Mode 1 dims the yard to half; the room's first work place belongs to mode 0 at full light.
    DimmedYard yard({ 1.0, 0.5 });
    EXPECT_NEAR(yard.rate(1), yard.byHand(0.5), 0.1);
    EXPECT_NEAR(yard.rate(0), yard.byHand(1.0), 0.1);
}

TEST(GlareRating, WorkPlaceListedAfterTheGlareAreasOfItsModeIsTaken)
{
    // Areas listed [day yard, night eyes, night yard]: the night's first area rates GR,
    // its work place comes after it.
    DimmedYard yard({ 1.0, 0.5 });
    yard.addEyes(1);
    std::vector<CWorkSystem>& areas = yard.scene.room.m_workSystems;
    std::rotate(areas.begin() + 1, areas.begin() + 2, areas.end());
    ASSERT_EQ(areas[1].m_quantityCode, 161);
    EXPECT_NEAR(yard.rateArea(1), yard.byHand(0.5), 0.1);
    EXPECT_TRUE(yard.fakes.messageBox.shown.empty());
}

TEST(GlareRating, OnlyLuminairesFrom1Point5To60DegreesCount)
{
    struct Case {
        double theta;
        bool counts;
    };
    const Case cases[] = { { 1.49, false }, { 1.51, true }, { 59.99, true }, { 60.01, false }, { 120.0, false } };
    for (const Case& c : cases) {
        GrScene s(isotropic(5000.0), 30.0, 0.25);
        const double t = c.theta * kPi / 180.0;
        s.scene.addLuminaire({ 10.0 * std::cos(t), 0.0, 1.5 + 10.0 * std::sin(t) });
        s.addEyes({ 0.0, 0.0, 1.5 }, 1);
        ASSERT_TRUE(s.run());
        EXPECT_EQ(s.point(0).m_grByDirection[0] > 0.0, c.counts) << c.theta;
    }
}

TEST(GlareRating, BrighterSurroundingsLowerGr)
{
    double gr[2] {};
    for (int k = 0; k < 2; ++k) {
        GrScene s(isotropic(5000.0), 30.0 * (k + 1), 0.25);
        s.scene.addLuminaire({ 20.0, 0.0, 8.0 });
        s.addEyes({ 0.0, 0.0, 1.5 }, 1);
        ASSERT_TRUE(s.run());
        gr[k] = s.point(0).m_grByDirection[0];
    }
    EXPECT_NEAR(gr[0] - gr[1], 24.0 * 0.9 * std::log10(2.0), 1e-9);
}

TEST(GlareRating, DirectionsInOrderWithNegativeAndEmptyOnesStoredAsZero)
{
    GrScene s(isotropic(5000.0), 100.0, 0.5);
    s.scene.addLuminaire({ 20.0, 0.0, 8.0 });   // ahead along +X
    s.scene.addLuminaire({ 0.0, 600.0, 30.0 }); // ahead along +Y, too far to give a positive GR
    s.addEyes({ 0.0, 0.0, 1.5 }, 1, 4, 0);
    ASSERT_TRUE(s.run());
    const std::vector<double>& list = s.point(0).m_grByDirection;
    ASSERT_EQ(list.size(), 4u);
    EXPECT_GT(list[0], 0.0);
    EXPECT_EQ(list[1], 0.0); // negative GR
    EXPECT_EQ(list[2], 0.0); // nothing ahead
    EXPECT_EQ(list[3], 0.0);
    EXPECT_EQ(s.point(0).value(CPointCalc::kGr), list[0]);
}

TEST(GlareRating, NoLuminaireSwitchedOnIsNotComputedRatherThanNoGlare)
{
    GrScene s(isotropic(5000.0), 100.0, 0.5);
    s.scene.addLuminaire({ 20.0, 0.0, 8.0 }).m_switchedOff = 1;
    s.addEyes({ 0.0, 0.0, 1.5 }, 1, 2, 0);
    ASSERT_TRUE(s.run());
    EXPECT_EQ(s.point(0).m_grByDirection, std::vector<double>(2, CPointCalc::kNotComputed));
    EXPECT_EQ(s.point(0).value(CPointCalc::kGr), CPointCalc::kNotComputed);
}

TEST(GlareRating, WorkPlaceWithoutLightOrReflectanceStopsBeforeWriting)
{
    struct Case {
        const char* name;
        std::function<void(CWorkSystem&)> spoil;
    };
    const Case cases[] = {
        { "work place rates UGR", [](CWorkSystem& w) { w.m_quantityCode = 89; } },
        { "no points", [](CWorkSystem& w) { w.m_points.clear(); } },
        { "all points hidden", [](CWorkSystem& w) { for (CPointCalc& p : w.m_points) p.m_off = 1; } },
        { "reflectance below 0.0001", [](CWorkSystem& w) { w.m_reflectance = 0.00009; } },
        { "no illuminance", [](CWorkSystem& w) { for (CPointCalc& p : w.m_points) p.m_values.fill(0.0); } },
    };
    for (const Case& c : cases) {
        GrScene s(isotropic(5000.0), 30.0, 0.25);
        s.scene.addLuminaire({ 20.0, 0.0, 8.0 });
        s.addEyes({ 0.0, 0.0, 1.5 }, 1);
        s.scene.room.m_workSystems[1].m_points[0].m_grByDirection = { 33.0 };
        c.spoil(s.scene.room.m_workSystems[0]);
        EXPECT_FALSE(s.run()) << c.name;
        EXPECT_EQ(s.point(0).m_grByDirection, std::vector<double> { 33.0 }) << c.name;
        ASSERT_EQ(s.fakes.messageBox.shown.size(), 1u) << c.name;
        EXPECT_NE(s.fakes.messageBox.shown[0].text.find("Činitel oslnění GR nelze spočítat"), std::string::npos);
    }
}

TEST(GlareRating, LuminaireBehindHalfTransparentObstacleGivesHalfItsLight)
{
    struct Case {
        const char* name;
        double transmittance;
        bool besideTheRay;
    };
    const Case cases[] = { { "half transparent", 0.5, false }, { "beside the ray", 0.0, true } };
    for (const Case& c : cases) {
        double gr[2] {};
        for (int withBox = 0; withBox < 2; ++withBox) {
            GrScene s(isotropic(5000.0), 30.0, 0.25);
            s.scene.addLuminaire({ 20.0, 0.0, 8.0 });
            if (withBox)
                s.scene.addBox({ 10.0, c.besideTheRay ? 2.0 : -1.0, 0.0 }, { 0.2, 0.0, 0.0 }, { 0.0, 2.0, 0.0 },
                    { 0.0, 0.0, 10.0 }, c.transmittance);
            s.addEyes({ 0.0, 0.0, 1.5 }, 1);
            ASSERT_TRUE(s.run()) << c.name;
            gr[withBox] = s.point(0).m_grByDirection[0];
        }
        const double expected = c.besideTheRay ? 0.0 : 24.0 * std::log10(1.0 / c.transmittance);
        EXPECT_NEAR(gr[0] - gr[1], expected, 1e-9) << c.name;
    }
}

TEST(GlareRating, ResultsDoNotDependOnTheNumberOfThreads)
{
    const auto rate = [](std::size_t threads) {
        const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, threads);
        GrScene s(lambertian(40000.0), 30.0, 0.25);
        for (int k = 0; k < 12; ++k)
            s.scene.addLuminaire({ 10.0 + 6.0 * (k % 4), -9.0 + 6.0 * (k / 4), 8.0 });
        s.scene.addBox({ 8.0, -4.0, 0.0 }, { 0.3, 0.0, 0.0 }, { 0.0, 5.0, 0.0 }, { 0.0, 0.0, 6.0 }, 0.4);
        s.addEyes({ 0.0, -20.0, 1.5 }, 40, 8, 0);
        s.scene.room.m_workSystems[1].m_directionStep = 45;
        EXPECT_TRUE(s.run());
        std::vector<double> values;
        for (const CPointCalc& point : s.scene.room.m_workSystems[1].m_points)
            values.insert(values.end(), point.m_grByDirection.begin(), point.m_grByDirection.end());
        return values;
    };
    const std::vector<double> one = rate(1);
    ASSERT_FALSE(one.empty());
    EXPECT_GT(*std::max_element(one.begin(), one.end()), 0.0) << "a scene with glare";
    EXPECT_EQ(rate(8), one) << "every point is rated whole, in one order";
}

} // namespace
} // namespace kzev::test
