#include "GlareTestSupport.h"
#include "calc/CalculationRun.h"
#include "calc/PositionIndexTable.h"
#include "calc/UnifiedGlareRating.h"
#include "model/CKzevDoc.h"
#include "support/CalcTestSupport.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>
#include <tbb/global_control.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace kzev::test {
namespace {

constexpr double kPi = 3.14159265358979323846;

/** The same reflected illuminance at the eye for every point and direction. */
class FixedBackground final : public UgrBackground {
public:
    explicit FixedBackground(double lux)
        : m_lux(lux)
    {
    }
    double eyeIlluminance(std::size_t, std::size_t) const override { return m_lux; }

private:
    double m_lux;
};

// A flat luminous rectangle (no height), the C0 axis along +X unless turned.
constexpr double kLength = 0.6; // along C90
constexpr double kWidth = 0.3;  // along C0

/**
 * One luminaire for the independent figure: its centre, and its luminance
 * and projected area seen from the eye, worked out from the distribution
 * here rather than by the pass.
 */
struct Source {
    CVector centre;
    double luminance;
    double projectedArea;
};

/**
 * UGR of the CIE 117 formula for an eye looking horizontally along +Y:
 * 8 log10(0.25 / Lb · Σ L² ω / p²) with Lb = E / pi, ω = A / r², p from the
 * Guth table at T/R = |x| / y and H/R = z / y in the eye's frame.
 */
double cieUgr(const CVector& eye, const std::vector<Source>& sources, double eyeIlluminance)
{
    double sum = 0.0;
    for (const Source& s : sources) {
        const double forward = s.centre.y - eye.y;
        const double lateral = std::fabs(s.centre.x - eye.x);
        const double height = s.centre.z - eye.z;
        const double r2 = forward * forward + lateral * lateral + height * height;
        const double omega = s.projectedArea / r2;
        const double p = GuthTable::shared().at(lateral / forward, height / forward);
        sum += s.luminance * s.luminance * omega / (p * p);
    }
    const double background = eyeIlluminance / kPi;
    return 8.0 * std::log10(0.25 / background * sum);
}

// A downward flat luminaire of the test size seen from the eye: projected
// area L·W·cos γ, luminance I(C, γ) / that area, C measured from the C0 axis
// towards C0 × optical = the length axis.
Source flatSource(const Distribution& distribution, const CVector& centre, const CVector& c0, const CVector& eye)
{
    const CVector toEye = eye - centre;
    const double r = toEye.Length();
    const double cosGamma = -toEye.z / r;
    const double gamma = std::acos(cosGamma) * 180.0 / kPi;
    const CVector lengthAxis = CrossProduct(c0, CVector { 0.0, 0.0, -1.0 });
    double c = std::atan2(DotProduct(toEye, lengthAxis), DotProduct(toEye, c0)) * 180.0 / kPi;
    if (c < 0.0)
        c += 360.0;
    const double area = kLength * kWidth * cosGamma;
    return { centre, distribution(c, gamma) / area, area };
}

struct UgrScene {
    FakeServices fakes;
    CalcScene scene;
    PositionIndexTable table;
    ScratchFolder folder { "ugr" };

    explicit UgrScene(const Distribution& distribution)
        : scene(distribution, kLength, kWidth)
    {
        writePositionIndexFile(folder.path() / kPositionIndexTableFile);
        EXPECT_EQ(table.read(folder.path() / kPositionIndexTableFile), PositionIndexTableError::None);
    }

    // One eye at the origin of the area, directions as given (default: one, along +Y).
    CWorkSystem& addEye(const CVector& eye, std::int32_t count = 1, std::int32_t first = 90, std::int32_t step = 90)
    {
        CWorkSystem& area = scene.addArea(eye, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 1, 1);
        area.m_quantityCode = 89;
        area.m_directionCount = count;
        area.m_firstDirection = first;
        area.m_directionStep = step;
        return area;
    }

    bool run(const UgrBackground& background)
    {
        std::int32_t step = 0;
        return computeUgr(scene.room, scene.room.m_workSystems[0], step, scene.catalogue, table, background);
    }

    const CPointCalc& point() const { return scene.room.m_workSystems[0].m_points[0]; }
};

TEST(UnifiedGlareRating, OneLuminaireMatchesTheCieFormula)
{
    const Distribution distribution = lambertian(2000.0);
    const CVector eye { 0.0, 0.0, 1.2 };
    struct Case {
        const char* name;
        CVector centre;
    };
    const Case cases[] = {
        { "ahead and above", { 0.0, 4.0, 3.0 } },
        { "off to the side", { 1.7, 3.3, 2.9 } },
        { "far to the other side", { -3.6, 2.9, 3.4 } },
    };
    for (const Case& c : cases) {
        UgrScene s(distribution);
        s.scene.room.m_divisionRatio = 1.0; // the luminaire stays one element
        s.scene.addLuminaire(c.centre);
        s.addEye(eye);
        ASSERT_TRUE(s.run(FixedBackground(40.0))) << c.name;
        const double expected = cieUgr(eye, { flatSource(distribution, c.centre, { 1.0, 0.0, 0.0 }, eye) }, 40.0);
        ASSERT_EQ(s.point().m_ugrByDirection.size(), 1u);
        EXPECT_NEAR(s.point().m_ugrByDirection[0], expected, 0.1) << c.name;
        EXPECT_EQ(s.point().value(CPointCalc::kUgr), s.point().m_ugrByDirection[0]);
    }
}

TEST(UnifiedGlareRating, LuminairesCountWhereverThePositionIndexIsDefined)
{
    // The eye looks along +Y; a luminaire counts up to the table's edges (T/R 3, H/R 1.9)
    // however far from the line of sight that is, unless its position touches a cell the
    // CIE table leaves open or the eye lies more than 85 degrees from its nadir.
    const CVector eye { 0.0, 0.0, 1.2 };
    struct Case {
        const char* name;
        CVector centre;
        bool counted;
    };
    const Case cases[] = {
        { "H/R 1.72 straight ahead, next to the open cells above the brow", { 0.0, 2.0, 1.2 + 3.44 }, false },
        { "H/R 1.72 at T/R 1, where the table is given", { 2.0, 2.0, 1.2 + 3.44 }, true },
        { "H/R 1.95, under the brow", { 0.0, 2.0, 1.2 + 3.9 }, false },
        { "T/R 2.8 at H/R 0.5, 71 degrees aside", { 5.6, 2.0, 2.2 }, true },
        { "T/R 3.2, beside the table", { 6.4, 2.0, 2.2 }, false },
        { "84.3 degrees from the nadir", { 0.0, 20.0, 3.2 }, true },
        { "85.2 degrees from the nadir", { 0.0, 24.0, 3.2 }, false },
    };
    for (const Case& c : cases) {
        UgrScene s(lambertian(2000.0));
        s.scene.room.m_divisionRatio = 1.0;
        s.scene.addLuminaire(c.centre);
        s.addEye(eye);
        ASSERT_TRUE(s.run(FixedBackground(40.0))) << c.name;
        if (c.counted) {
            const double expected
                = cieUgr(eye, { flatSource(lambertian(2000.0), c.centre, { 1.0, 0.0, 0.0 }, eye) }, 40.0);
            EXPECT_NEAR(s.point().m_ugrByDirection[0], expected, 0.1) << c.name;
        } else {
            EXPECT_EQ(s.point().m_ugrByDirection[0], 0.0) << c.name;
        }
    }
}

TEST(UnifiedGlareRating, SourcesOfEverySizeCountByTheAreaTheyShow)
{
    // L = I / A and ω = A / r² for small sources too: L² ω = I² / (A r²) grows as the
    // area shrinks, and no floor of area holds a small downlight's glare down.
    const CVector eye { 0.0, 0.0, 1.2 };
    struct Case {
        const char* name;
        std::array<double, 3> luminous; // length, width, height
        CVector centre;
    };
    const Case cases[] = {
        { "disc of 66 mm", { 0.066, 0.0, 0.0001 }, { 0.5, 3.0, 3.0 } },
        { "10 mm square of a point source", { 0.01, 0.01, 0.0 }, { 0.5, 3.0, 3.0 } },
        { "120 mm square seen at 59 degrees: 0.0073 m2", { 0.12, 0.12, 0.0 }, { 0.5, 3.0, 3.0 } },
        { "the same far ahead, seen at 81 degrees: 0.0021 m2", { 0.12, 0.12, 0.0 }, { 0.0, 12.0, 3.0 } },
    };
    for (const Case& c : cases) {
        UgrScene s(isotropic(3000.0));
        s.scene.luminaires[0].m_luminousDimensions = c.luminous;
        s.scene.addLuminaire(c.centre);
        s.addEye(eye);
        ASSERT_TRUE(s.run(FixedBackground(40.0))) << c.name;

        const CVector toLuminaire = c.centre - eye;
        const double cosGamma = toLuminaire.z / toLuminaire.Length();
        const double shown = c.luminous[1] == 0.0
            ? kPi / 4.0 * c.luminous[0] * c.luminous[0] * cosGamma
            : c.luminous[0] * c.luminous[1] * cosGamma;
        EXPECT_NEAR(s.point().m_ugrByDirection[0], cieUgr(eye, { { c.centre, 3000.0 / shown, shown } }, 40.0), 0.1)
            << c.name;
    }
}

TEST(UnifiedGlareRating, SeveralLuminairesEachRatedAtItsCentreMatchTheCieFormula)
{
    const Distribution distribution = lambertian(1500.0);
    const CVector eye { 2.0, 0.0, 1.2 };
    const std::vector<CVector> centres { { 0.5, 2.0, 3.0 }, { 2.0, 2.5, 3.0 }, { 3.5, 3.0, 3.0 }, { 0.5, 5.0, 3.0 },
        { 2.0, 5.5, 3.0 }, { 3.5, 6.0, 3.0 }, { 4.5, 4.0, 3.0 } };
    UgrScene s(distribution); // the division ratio (10) cuts luminaires for illuminance only
    std::vector<Source> sources;
    for (const CVector& centre : centres) {
        s.scene.addLuminaire(centre);
        sources.push_back(flatSource(distribution, centre, { 1.0, 0.0, 0.0 }, eye));
    }
    s.addEye(eye);
    ASSERT_TRUE(s.run(FixedBackground(65.0)));
    EXPECT_NEAR(s.point().m_ugrByDirection[0], cieUgr(eye, sources, 65.0), 0.1);
}

TEST(UnifiedGlareRating, EachLuminaireGlaresAtItsFactorInTheAreasMode)
{
    // Two luminaires ahead of the eye; the second is at full output in mode 0, at half in
    // mode 1 and dark in mode 2. A luminaire at factor k has k times its luminance.
    const Distribution distribution = lambertian(1500.0);
    const CVector eye { 2.0, 0.0, 1.2 };
    const CVector first { 1.0, 3.0, 3.0 };
    const CVector second { 3.0, 4.0, 3.0 };
    const double secondFactors[] = { 1.0, 0.5, 0.0 };
    for (std::int32_t mode = 0; mode < 3; ++mode) {
        UgrScene s(distribution);
        s.scene.addLuminaire(first).m_luminaires[0].m_modeFactors = { 1.0, 1.0, 1.0 };
        s.scene.addLuminaire(second).m_luminaires[0].m_modeFactors = { 1.0, 0.5, 0.0 };
        s.addEye(eye).m_modeIndex = mode;
        ASSERT_TRUE(s.run(FixedBackground(65.0))) << mode;

        std::vector<Source> sources { flatSource(distribution, first, { 1.0, 0.0, 0.0 }, eye) };
        const double k = secondFactors[mode];
        if (k > 0.0) {
            Source dimmed = flatSource(distribution, second, { 1.0, 0.0, 0.0 }, eye);
            dimmed.luminance *= k;
            sources.push_back(dimmed);
        }
        EXPECT_NEAR(s.point().m_ugrByDirection.at(0), cieUgr(eye, sources, 65.0), 0.1) << "mode " << mode;
    }
}

TEST(UnifiedGlareRating, ReadsTheLuminaireOnTheSideTheEyeIsOn)
{
    // Four times brighter on the C90 side than on the C270 side: the eye sees
    // one or the other as the luminaire is turned by 180 degrees.
    const Distribution lopsided = [](double c, double gamma) {
        const double side = c <= 180.0 ? 1.0 : 0.25;
        return gamma < 90.0 ? 2000.0 * side * std::cos(DegToRad(gamma)) : 0.0;
    };
    const CVector eye { 0.0, 0.0, 1.2 };
    const CVector centre { 0.8, 4.0, 3.0 };
    double ratings[2] {};
    int n = 0;
    for (const CVector c0 : { CVector { 1.0, 0.0, 0.0 }, CVector { -1.0, 0.0, 0.0 } }) {
        UgrScene s(lopsided);
        s.scene.room.m_divisionRatio = 1.0;
        s.scene.addLuminaire(centre).m_luminaires[0].m_c0Axis = c0;
        s.addEye(eye);
        ASSERT_TRUE(s.run(FixedBackground(40.0)));
        const double expected = cieUgr(eye, { flatSource(lopsided, centre, c0, eye) }, 40.0);
        ratings[n++] = s.point().m_ugrByDirection[0];
        EXPECT_NEAR(s.point().m_ugrByDirection[0], expected, 0.1);
    }
    // A quarter of the luminance is 8·log10(16) lower.
    EXPECT_NEAR(ratings[1] - ratings[0], 8.0 * std::log10(16.0), 0.1);
}

TEST(UnifiedGlareRating, RoundAreaShowsItsDiscAndOneRectangleOfItsSide)
{
    // Width 0 marks a round area of diameter L: a disc (the loader's least height of
    // 0.1 mm) or an upright cylinder of height H along the optical axis.
    const double diameter = 0.3;
    const CVector eye { 0.0, 0.0, 1.2 };
    const CVector centre { 0.5, 3.0, 3.0 };
    for (const double height : { 0.0001, 0.5 }) {
        UgrScene s(isotropic(3000.0));
        s.scene.luminaires[0].m_luminousDimensions = { diameter, 0.0, height };
        s.scene.addLuminaire(centre);
        s.addEye(eye);
        ASSERT_TRUE(s.run(FixedBackground(40.0)));

        const CVector toLuminaire = centre - eye;
        const double r = toLuminaire.Length();
        const double disc = kPi / 4.0 * diameter * diameter * std::fabs(toLuminaire.z) / r;
        const double side = diameter * height * std::hypot(toLuminaire.x, toLuminaire.y) / r;
        const double area = disc + side;
        EXPECT_NEAR(s.point().m_ugrByDirection[0], cieUgr(eye, { { centre, 3000.0 / area, area } }, 40.0), 0.1)
            << height;
        // Rated as the square D x D the rating would be 8 log10(4 / pi) lower.
        if (height < 0.001) {
            const double square = diameter * diameter * std::fabs(toLuminaire.z) / r;
            EXPECT_GT(s.point().m_ugrByDirection[0],
                cieUgr(eye, { { centre, 3000.0 / square, square } }, 40.0) + 0.5 * 8.0 * std::log10(4.0 / kPi));
        }
    }
}

TEST(UnifiedGlareRating, FourDirectionsInOrderAndTheLargestKept)
{
    UgrScene s(lambertian(2000.0));
    s.scene.addLuminaire({ 4.0, 0.3, 3.0 });  // ahead when looking along +X
    s.scene.addLuminaire({ 0.2, -3.0, 2.6 }); // ahead when looking along −Y, and closer
    s.addEye({ 0.0, 0.0, 1.2 }, 4, 0, 90);
    ASSERT_TRUE(s.run(FixedBackground(50.0)));
    const std::vector<double>& list = s.point().m_ugrByDirection;
    ASSERT_EQ(list.size(), 4u);
    EXPECT_GT(list[0], 0.0);
    EXPECT_EQ(list[1], 0.0); // both behind or beside the table's reach
    EXPECT_EQ(list[2], 0.0);
    EXPECT_GT(list[3], list[0]);
    EXPECT_EQ(s.point().value(CPointCalc::kUgr), list[3]);
    // The area keeps the last direction it was looked along.
    const CVector last = s.scene.room.m_workSystems[0].m_viewDirection;
    EXPECT_NEAR(last.x, 0.0, 1e-5);
    EXPECT_NEAR(last.y, -1.0, 1e-5);
}

TEST(UnifiedGlareRating, NoLuminaireSwitchedOnIsNotComputedRatherThanNoGlare)
{
    UgrScene s(lambertian(2000.0));
    s.scene.addLuminaire({ 0.0, 4.0, 3.0 }).m_switchedOff = 1;
    s.addEye({ 0.0, 0.0, 1.2 }, 4, 0, 90);
    ASSERT_TRUE(s.run(FixedBackground(50.0)));
    EXPECT_EQ(s.point().m_ugrByDirection, std::vector<double>(4, CPointCalc::kNotComputed));
    EXPECT_EQ(s.point().value(CPointCalc::kUgr), CPointCalc::kNotComputed);
}

TEST(UnifiedGlareRating, ZeroBackgroundIsNotComputedRatherThanNoGlareWithOneLogLine)
{
    UgrScene s(lambertian(2000.0));
    s.scene.addLuminaire({ 0.0, 4.0, 3.0 });
    s.addEye({ 0.0, 0.0, 1.2 }, 2, 90, 0);
    ASSERT_TRUE(s.run(FixedBackground(0.0)));
    EXPECT_EQ(s.point().m_ugrByDirection, std::vector<double>(2, CPointCalc::kNotComputed));
    EXPECT_EQ(s.point().value(CPointCalc::kUgr), CPointCalc::kNotComputed);
    ASSERT_EQ(s.fakes.log.calls.size(), 1u);
    EXPECT_NE(s.fakes.log.calls[0].find("jas pozadí 0"), std::string::npos);
}

TEST(UnifiedGlareRating, RunTakesTheBackgroundOfThisRunsReflectedPassOnly)
{
    UgrScene s(lambertian(2000.0));
    s.scene.addLuminaire({ 0.0, 4.0, 3.0 });
    CWorkSystem& area = s.addEye({ 0.0, 0.0, 1.2 });
    // Left by an earlier run, or by this run's reflected pass.
    area.m_points[0].m_reflectedByDirection = { 40.0 };
    std::int32_t step = 0;

    s.scene.room.m_reflectedComponent = 0; // no reflected pass in this run: the list is stale
    ASSERT_TRUE(runUgrPass(s.scene.room, area, step, s.scene.catalogue, s.folder.path()));
    EXPECT_EQ(area.m_points[0].m_ugrByDirection[0], CPointCalc::kNotComputed);
    EXPECT_EQ(s.fakes.log.calls.size(), 1u);

    s.scene.room.m_reflectedComponent = 1;
    ASSERT_TRUE(s.run(FixedBackground(40.0)));
    const double expected = s.point().m_ugrByDirection[0];
    EXPECT_GT(expected, 0.0);
    ASSERT_TRUE(runUgrPass(s.scene.room, area, step, s.scene.catalogue, s.folder.path()));
    EXPECT_DOUBLE_EQ(area.m_points[0].m_ugrByDirection[0], expected);
    EXPECT_EQ(step, 2); // one row per evaluation
}

TEST(UnifiedGlareRating, MissingTableLeavesTheAreaAsItWas)
{
    UgrScene s(lambertian(2000.0));
    s.scene.addLuminaire({ 0.0, 4.0, 3.0 });
    CWorkSystem& area = s.addEye({ 0.0, 0.0, 1.2 });
    area.m_points[0].m_ugrByDirection = { 17.0 };
    std::int32_t step = 0;
    ScratchFolder empty("ugr_empty");
    EXPECT_FALSE(runUgrPass(s.scene.room, area, step, s.scene.catalogue, empty.path()));
    EXPECT_EQ(area.m_points[0].m_ugrByDirection, std::vector<double> { 17.0 });
    EXPECT_EQ(s.fakes.messageBox.shown.size(), 1u);
}

TEST(UnifiedGlareRating, ElementBehindHalfTransparentObstacleCountsAQuarter)
{
    const CVector eye { 0.0, 0.0, 1.2 };
    double ratings[2] {};
    for (int withBox = 0; withBox < 2; ++withBox) {
        UgrScene s(lambertian(2000.0));
        s.scene.room.m_divisionRatio = 1.0;
        s.scene.addLuminaire({ 0.0, 4.0, 3.0 });
        if (withBox)
            s.scene.addBox({ -1.0, 2.0, 0.0 }, { 2.0, 0.0, 0.0 }, { 0.0, 0.2, 0.0 }, { 0.0, 0.0, 4.0 }, 0.5);
        s.addEye(eye);
        ASSERT_TRUE(s.run(FixedBackground(40.0)));
        ratings[withBox] = s.point().m_ugrByDirection[0];
    }
    EXPECT_NEAR(ratings[0] - ratings[1], 8.0 * std::log10(4.0), 1e-9);
}

TEST(UnifiedGlareRating, ResultsDoNotDependOnTheNumberOfThreads)
{
    const auto rate = [](std::size_t threads) {
        const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, threads);
        UgrScene s(lambertian(2000.0));
        for (int k = 0; k < 16; ++k)
            s.scene.addLuminaire({ 1.0 + 2.0 * (k % 4), 1.0 + 2.0 * (k / 4), 3.0 });
        s.scene.addBox({ 3.0, 0.0, 1.5 }, { 0.2, 0.0, 0.0 }, { 0.0, 8.0, 0.0 }, { 0.0, 0.0, 1.0 }, 0.5);
        CWorkSystem& area = s.scene.addArea({ 0.5, 0.5, 1.2 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 8, 7);
        area.m_quantityCode = 89;
        std::int32_t step = 0;
        EXPECT_TRUE(computeUgr(s.scene.room, area, step, s.scene.catalogue, s.table, FixedBackground(40.0)));
        std::vector<double> values;
        for (const CPointCalc& point : area.m_points)
            values.insert(values.end(), point.m_ugrByDirection.begin(), point.m_ugrByDirection.end());
        return values;
    };
    const std::vector<double> one = rate(1);
    ASSERT_FALSE(one.empty());
    EXPECT_GT(*std::max_element(one.begin(), one.end()), 0.0) << "a scene with glare";
    EXPECT_EQ(rate(8), one) << "every point is rated whole, in one order";
}

TEST(UnifiedGlareRating, FaultsOfTheLuminaireEndTheEvaluation)
{
    struct Case {
        const char* name;
        std::function<void(UgrScene&)> spoil;
        const char* message;
    };
    const Case cases[] = {
        { "no luminous area",
            [](UgrScene& s) { s.scene.luminaires[0].m_luminousDimensions = { 0.0, 0.5, 0.0 }; },
            "nulovou svítící plochu" },
        { "unresolved luminaire", [](UgrScene& s) { s.scene.room.m_lampSystems[0].m_luminaireIndex = 3; },
            "nemá načtené svítidlo" },
    };
    for (const Case& c : cases) {
        UgrScene s(lambertian(2000.0));
        s.scene.addLuminaire({ 0.0, 4.0, 3.0 }).m_name = "S1";
        s.addEye({ 0.0, 0.0, 1.2 });
        c.spoil(s);
        EXPECT_FALSE(s.run(FixedBackground(40.0))) << c.name;
        ASSERT_EQ(s.fakes.messageBox.shown.size(), 1u) << c.name;
        EXPECT_NE(s.fakes.messageBox.shown[0].text.find(c.message), std::string::npos) << c.name;
        EXPECT_TRUE(s.point().m_ugrByDirection.empty()) << c.name;
    }
}

TEST(UnifiedGlareRating, StopKeepsThePointsNotYetRatedAsTheyWere)
{
    UgrScene s(lambertian(2000.0));
    s.scene.addLuminaire({ 0.0, 4.0, 3.0 });
    CWorkSystem& area = s.addEye({ 0.0, 0.0, 1.2 }, 2, 90, 0);
    area.m_count1 = 2; // two rows of one eye
    area.m_points.resize(2);
    area.m_points[1].m_ugrByDirection = { 5.0 };
    s.fakes.pump.stopAfter = 1; // after the first batch, the first row
    EXPECT_FALSE(s.run(FixedBackground(40.0)));
    EXPECT_EQ(s.point().m_ugrByDirection.size(), 2u) << "a point is rated whole";
    EXPECT_EQ(area.m_points[1].m_ugrByDirection, std::vector<double> { 5.0 });
    setStopRequested(false);
}

TEST(UnifiedGlareRating, CalculationRunRatesWithTheReflectedLightItComputed)
{
    for (const std::int32_t reflections : { 1, 0 }) {
        FakeServices fakes;
        CKzevDoc doc;
        doc.m_saveBeforeCalc = 0;
        std::vector<CLuminaire> luminaires { tabulatedLuminaire(lambertian(1000.0), 0.6, 0.6) };
        luminaires[0].m_databaseNumber = 1;
        luminaires[0].m_recordNumber = 7;
        std::vector<CLamp> lamps { makeLamp(1.0, 10000, 0.8, 5000.0) };
        lamps[0].m_databaseNumber = 1;
        lamps[0].m_recordNumber = 3;
        std::string prefix;
        std::vector<std::string> none;
        const LuminaireLists lists { luminaires, lamps, prefix, none, none, none, none };

        CRoom room;
        room.m_length = 4.0;
        room.m_width = 3.0;
        room.m_height = 2.5;
        room.m_elementarySurfaceSize = 0.5;
        room.m_iterations = 1;
        room.m_maintenanceFactorMode = 2;
        room.m_reflectedComponent = reflections;
        room.m_computeUgr = 1;
        CLampSystem& system = room.m_lampSystems[0];
        system.m_luminaireDatabase = 1;
        system.m_luminaireRecord = 7;
        system.m_lampDatabase = 1;
        system.m_lampRecord = 3;
        COneLampSystem one;
        one.m_position = { 2.0, 1.5, 2.4 };
        system.m_luminaires = { one };
        CWorkSystem& area = room.m_workSystems[0];
        area.m_quantityCode = 89;
        area.m_origin = { 2.0, 0.2, 1.2 };
        area.m_count1 = 1;
        area.m_count2 = 1;
        area.m_points.resize(1);
        area.m_firstDirection = 90;
        area.m_directionCount = 1;
        // Left over from an earlier run with other reflectances.
        area.m_points[0].m_reflectedByDirection = { 5000.0 };
        doc.m_rooms = { room };
        fakes.view.selected = 0;

        ScratchFolder data("ugr_run");
        writePositionIndexFile(data.path() / kPositionIndexTableFile);
        CalculationRun calculation(doc, lists);
        calculation.m_dataFolder = data.path();
        ASSERT_EQ(calculation.run(), CalcOutcome::Completed) << reflections;

        const CPointCalc& point = doc.m_rooms[0].m_workSystems[0].m_points[0];
        const bool zeroBackgroundLogged = std::ranges::find_if(fakes.log.calls, [](const std::string& call) {
            return call.find("jas pozadí 0") != std::string::npos;
        }) != fakes.log.calls.end();
        ASSERT_EQ(point.m_ugrByDirection.size(), 1u);
        if (reflections == 1) {
            ASSERT_EQ(point.m_reflectedByDirection.size(), 1u);
            const double eye = point.m_reflectedByDirection[0];
            EXPECT_GT(eye, 0.0);
            EXPECT_LT(eye, 5000.0);
            // The same point rated on the background the run left gives the run's figure.
            PositionIndexTable table;
            ASSERT_EQ(table.read(data.path() / kPositionIndexTableFile), PositionIndexTableError::None);
            CRoom copy = doc.m_rooms[0];
            const CalcCatalogue catalogue(luminaires, lamps);
            std::int32_t step = 0;
            ASSERT_TRUE(computeUgr(copy, copy.m_workSystems[0], step, catalogue, table, FixedBackground(eye)));
            EXPECT_GT(point.m_ugrByDirection[0], 0.0);
            EXPECT_DOUBLE_EQ(point.m_ugrByDirection[0], copy.m_workSystems[0].m_points[0].m_ugrByDirection[0]);
            EXPECT_FALSE(zeroBackgroundLogged);
        } else {
            EXPECT_EQ(point.m_ugrByDirection[0], CPointCalc::kNotComputed);
            EXPECT_TRUE(zeroBackgroundLogged);
        }
    }
}

} // namespace
} // namespace kzev::test
