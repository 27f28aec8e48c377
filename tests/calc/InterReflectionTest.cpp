#include "calc/CalcSurfaces.h"
#include "calc/DirectIlluminance.h"
#include "calc/InterReflection.h"
#include "calc/SurfaceBounce.h"
#include "support/CalcTestSupport.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>
#include <tbb/global_control.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace kzev::test {
namespace {

constexpr double kPi = std::numbers::pi;

// A calculation surface of rows × columns elements, lit by e (direct, with
// and without maintenance) at every element.
CWorkSystem litSurface(const std::string& name, const CVector& corner, const CVector& sideU, const CVector& sideV,
    const CVector& direction, std::int32_t rows, std::int32_t columns, double reflectance, double e)
{
    CWorkSystem s;
    s.m_name = name;
    s.m_step1 = (1.0 / rows) * sideU;
    s.m_step2 = (1.0 / columns) * sideV;
    s.m_origin = corner + 0.5 * s.m_step1 + 0.5 * s.m_step2;
    s.m_count1 = rows;
    s.m_count2 = columns;
    s.m_normal = direction;
    s.m_normalMode = 0;
    s.m_reflectance = reflectance;
    s.m_points.resize(static_cast<std::size_t>(rows * columns));
    for (CPointCalc& p : s.m_points) {
        p.value(CPointCalc::kDirectMaintained) = e;
        p.value(CPointCalc::kDirectInitial) = e;
    }
    return s;
}

// A room whose only mode holds the given sources; surfaces keep their reflectance.
CRoom roomWithSources(std::vector<CWorkSystem> sources)
{
    CRoom room;
    room.m_lampSystems.clear();
    room.m_workSystems.clear();
    room.m_reflectanceReductionInUse = 1.0;
    room.m_modes[0].m_surfaces = std::move(sources);
    return room;
}

double meanValue(const CWorkSystem& area, int position)
{
    double sum = 0.0;
    for (const CPointCalc& p : area.m_points)
        sum += p.value(position);
    return sum / static_cast<double>(area.m_points.size());
}

// View factor between directly opposed parallel rectangles a × b at distance c.
double parallelViewFactor(double a, double b, double c)
{
    const double x = a / c;
    const double y = b / c;
    const double x2 = 1.0 + x * x;
    const double y2 = 1.0 + y * y;
    return 2.0 / (kPi * x * y)
        * (std::log(std::sqrt(x2 * y2 / (x2 + y * y))) + x * std::sqrt(y2) * std::atan(x / std::sqrt(y2))
            + y * std::sqrt(x2) * std::atan(y / std::sqrt(x2)) - x * std::atan(x) - y * std::atan(y));
}

// View factor from a rectangle of width w to a perpendicular one of height h
// sharing an edge of length l.
double perpendicularViewFactor(double w, double h, double l)
{
    const double W = w / l;
    const double H = h / l;
    const double r = std::sqrt(H * H + W * W);
    const double a = (1.0 + W * W) * (1.0 + H * H) / (1.0 + W * W + H * H);
    const double b = std::pow(W * W * (1.0 + W * W + H * H) / ((1.0 + W * W) * (W * W + H * H)), W * W);
    const double c = std::pow(H * H * (1.0 + H * H + W * W) / ((1.0 + H * H) * (H * H + W * W)), H * H);
    return 1.0 / (kPi * W) * (W * std::atan(1.0 / W) + H * std::atan(1.0 / H) - r * std::atan(1.0 / r)
                                 + 0.25 * std::log(a * b * c));
}

TEST(InterReflection, SingleBounceBetweenParallelRectanglesMatchesTheirViewFactor)
{
    FakeServices fakes;
    // 4 × 3 m rectangles 2 m apart; the ceiling lit by 100 lx reflects 60 %.
    CRoom room = roomWithSources(
        { litSurface("S", { 0, 0, 2 }, { 4, 0, 0 }, { 0, 3, 0 }, { 0, 0, -1 }, 10, 8, 0.6, 100.0) });
    CWorkSystem target = litSurface("T", { 0, 0, 0 }, { 4, 0, 0 }, { 0, 3, 0 }, { 0, 0, 1 }, 40, 30, 0.5, 0.0);
    std::int32_t step = 0;

    ASSERT_TRUE(calcReflectedPoints(room, target, 0, step));

    // Same areas: the mean illuminance is ρ·E·F; 1 % for the grid of target points.
    const double expected = 0.6 * 100.0 * parallelViewFactor(4.0, 3.0, 2.0);
    EXPECT_NEAR(meanValue(target, CPointCalc::kReflectedInitial), expected, 0.01 * expected);
    EXPECT_NEAR(meanValue(target, CPointCalc::kReflectedMaintained), expected, 0.01 * expected);
    EXPECT_EQ(step, 40) << "one step per row of target points";
}

TEST(InterReflection, SingleBounceBetweenPerpendicularRectanglesMatchesTheirViewFactor)
{
    FakeServices fakes;
    // A 4 m wide, 3 m high wall along the y axis lit by 200 lx; the floor 5 m deep in front of it.
    CRoom room = roomWithSources(
        { litSurface("wall", { 0, 0, 0 }, { 0, 4, 0 }, { 0, 0, 3 }, { 1, 0, 0 }, 10, 8, 0.5, 200.0) });
    CWorkSystem floor = litSurface("floor", { 0, 0, 0 }, { 5, 0, 0 }, { 0, 4, 0 }, { 0, 0, 1 }, 50, 40, 0.3, 0.0);
    std::int32_t step = 0;

    ASSERT_TRUE(calcReflectedPoints(room, floor, 0, step));

    // Mean floor illuminance ρ·E·F(floor → wall).
    const double expected = 0.5 * 200.0 * perpendicularViewFactor(5.0, 3.0, 4.0);
    EXPECT_NEAR(meanValue(floor, CPointCalc::kReflectedInitial), expected, 0.01 * expected);
}

// A closed cube of side a, reflectance rho, an isotropic source of intensity
// i at its centre: after the bounces converge the mean reflected illuminance
// is ρΦ / (S (1 − ρ)).
double cubeReflectedMean(double rho, double a, double maxElement, int bounces, double i)
{
    CalcScene scene(isotropic(i));
    CRoom& room = scene.room;
    room.m_length = room.m_width = room.m_height = a;
    room.m_ceilingReflectance = room.m_floorReflectance = rho;
    room.m_wallReflectances = { rho, rho, rho, rho };
    room.m_elementarySurfaceSize = maxElement;
    room.m_reflectanceReductionInUse = 1.0;
    scene.addLuminaire({ a / 2, a / 2, a / 2 });
    createSurfaceAreas(room, 0, ProjectType::Interior);
    auto& surfaces = room.m_modes[0].m_surfaces;
    std::int32_t step = 0;
    for (CWorkSystem& s : surfaces)
        EXPECT_TRUE(calcPointIlluminance(room, s, 0, step, scene.catalogue));
    for (int n = 0; n < bounces; ++n) {
        for (CWorkSystem& s : surfaces)
            EXPECT_TRUE(calcReflectedPoints(room, s, 0, step));
    }
    double sum = 0.0;
    std::size_t count = 0;
    for (const CWorkSystem& s : surfaces) {
        for (const CPointCalc& p : s.m_points) {
            sum += p.value(CPointCalc::kReflectedInitial);
            ++count;
        }
    }
    return sum / static_cast<double>(count); // every element has the same area
}

TEST(InterReflection, ClosedCubeConvergesToTheIntegratingSphereValue)
{
    FakeServices fakes;
    const double a = 3.0;
    const double intensity = 100.0;
    const double flux = 4.0 * kPi * intensity;
    const double area = 6.0 * a * a;
    struct Case {
        double rho;
        int bounces; // enough that ρ^n is well below the tolerance
    };
    for (const Case c : { Case { 0.2, 6 }, Case { 0.5, 10 }, Case { 0.8, 30 } }) {
        const double expected = c.rho * flux / (area * (1.0 - c.rho));
        const double mean = cubeReflectedMean(c.rho, a, 0.5, c.bounces, intensity);
        // Half-metre elements and a few bounces short of the limit.
        EXPECT_NEAR(mean, expected, 0.02 * expected) << "rho " << c.rho;
    }
}

// The 4 m cube of the closed-room test case, an isotropic source of intensity i at its
// centre, all surfaces of reflectance rho, elements of the default size; lit by the direct pass.
void lightCube(CalcScene& scene, double rho)
{
    CRoom& room = scene.room;
    room.m_length = room.m_width = room.m_height = 4.0;
    room.m_ceilingReflectance = room.m_floorReflectance = rho;
    room.m_wallReflectances = { rho, rho, rho, rho };
    room.m_reflectanceReductionInUse = 1.0;
    scene.addLuminaire({ 2.0, 2.0, 2.0 });
    createSurfaceAreas(room, 0, ProjectType::Interior);
    std::int32_t step = 0;
    for (CWorkSystem& s : room.m_modes[0].m_surfaces)
        EXPECT_TRUE(calcPointIlluminance(room, s, 0, step, scene.catalogue));
}

// Flux (lm) that a value of the surfaces' points stands for: the sum of value × element area.
double surfaceFlux(const CRoom& room, int position)
{
    double flux = 0.0;
    for (const CWorkSystem& s : room.m_modes[0].m_surfaces) {
        const double area = s.m_step1.Length() * s.m_step2.Length();
        for (const CPointCalc& p : s.m_points)
            flux += p.value(position) * area;
    }
    return flux;
}

TEST(InterReflection, ClosedCubeKeepsTheFluxBalanceOfTheDirectLightAndOfOneBounce)
{
    FakeServices fakes;
    const double intensity = 100.0;
    const double flux = 4.0 * kPi * intensity;
    const double rho = 0.5;
    CalcScene scene(isotropic(intensity));
    lightCube(scene, rho);
    const CRoom& room = scene.room;
    EXPECT_EQ(room.m_modes[0].m_surfaces[0].m_step1.Length(), 0.8) << "elements of the default size";

    // Every element holds the mean of its direct light: together they take what the source sends.
    const double direct = surfaceFlux(room, CPointCalc::kDirectInitial);
    EXPECT_NEAR(direct, flux, 0.001 * flux);

    // One bounce, every surface from the direct light alone: it hands on rho times what came in.
    CRoom bounced = room;
    std::int32_t step = 0;
    for (std::size_t k = 0; k < room.m_modes[0].m_surfaces.size(); ++k) {
        CWorkSystem target = room.m_modes[0].m_surfaces[k];
        ASSERT_TRUE(calcReflectedPoints(room, target, 0, step));
        bounced.m_modes[0].m_surfaces[k] = target;
    }
    EXPECT_NEAR(surfaceFlux(bounced, CPointCalc::kReflectedInitial), rho * direct, 0.001 * rho * direct);
}

TEST(InterReflection, ClosedCubeAtTheDefaultElementSizeReachesTheFluxBalanceValue)
{
    FakeServices fakes;
    const double intensity = 100.0;
    const double flux = 4.0 * kPi * intensity;
    const double area = 6.0 * 4.0 * 4.0;
    for (const double rho : { 0.05, 0.2, 0.5, 0.8, 0.95 }) {
        CalcScene scene(isotropic(intensity));
        lightCube(scene, rho);
        CRoom& room = scene.room;
        // Bounces until what is left, rho to their number, is far below the tolerance.
        const int bounces = static_cast<int>(std::ceil(std::log(0.002) / std::log(rho)));
        std::int32_t step = 0;
        for (int n = 0; n < bounces; ++n) {
            for (CWorkSystem& s : room.m_modes[0].m_surfaces)
                ASSERT_TRUE(calcReflectedPoints(room, s, 0, step));
        }
        const double expected = rho * flux / (area * (1.0 - rho));
        EXPECT_NEAR(surfaceFlux(room, CPointCalc::kReflectedInitial) / area, expected, 0.01 * expected) << rho;
    }
}

TEST(InterReflection, VisualTaskAreaGetsTheDirectionalFieldsAndTheLightPerViewingDirection)
{
    FakeServices fakes;
    // A wall 2 m in front of the point (at x = 2), facing back at it.
    CRoom room = roomWithSources(
        { litSurface("wall", { 2, -1, 0 }, { 0, 2, 0 }, { 0, 0, 2 }, { -1, 0, 0 }, 8, 8, 0.5, 100.0) });
    CWorkSystem area;
    area.m_name = "area";
    area.m_origin = { 0, 0, 1 };
    area.m_count1 = area.m_count2 = 1;
    area.m_points.resize(1);
    area.m_directionCount = 4; // +x, +y, −x, −y
    area.m_cameraPosition = { 5, 0, 1 }; // an observer behind the wall's light
    std::int32_t step = 0;

    ASSERT_TRUE(calcReflectedPoints(room, area, 0, step));

    const CPointCalc& p = area.m_points[0];
    // All light travels towards −x: it falls on the face that looks +x.
    EXPECT_GT(p.value(CPointCalc::kVerticalXMinus), 0.0);
    EXPECT_EQ(p.value(CPointCalc::kVerticalXPlus), 0.0);
    EXPECT_NEAR(p.value(CPointCalc::kVerticalYPlus), p.value(CPointCalc::kVerticalYMinus), 1e-9);
    EXPECT_GT(p.value(CPointCalc::kHorizontal), 0.0) << "the wall's lower half lies below the point";
    EXPECT_GT(p.value(CPointCalc::kCamera), 0.0) << "light arrives from the observer's side";
    ASSERT_EQ(p.m_reflectedByDirection.size(), 4u);
    const auto& list = p.m_reflectedByDirection;
    EXPECT_GT(list[0], list[1]);
    EXPECT_NEAR(list[1], list[3], 1e-5 * list[1]) << "pi is 3.141592 in the azimuths";
    EXPECT_EQ(list[2], 0.0) << "looking away from the wall";
    EXPECT_NEAR(p.value(CPointCalc::kReflectedOverDirections), list[0] + list[1] + list[3], 1e-9);
    // The area's plane is horizontal: its reflected illuminance counts both faces.
    EXPECT_NEAR(p.value(CPointCalc::kReflectedMaintained),
        p.value(CPointCalc::kHorizontal) + p.value(CPointCalc::kHorizontalZPlus), 1e-9);
}

TEST(InterReflection, ValueTowardsTheObserverHasTheSenseOfTheDirectPass)
{
    FakeServices fakes;
    // Both light sources are above the point: a luminaire and a lit ceiling.
    for (const double observerZ : { 10.0, -10.0 }) {
        CalcScene scene(isotropic(100.0));
        scene.addLuminaire({ 0, 0, 2 });
        CWorkSystem& area = scene.addArea({ 0, 0, 0 }, { 1, 0, 0 }, { 0, 1, 0 }, 1, 1);
        area.m_cameraPosition = { 0, 0, observerZ };
        scene.room.m_reflectanceReductionInUse = 1.0;
        scene.room.m_modes[0].m_surfaces
            = { litSurface("ceiling", { -2, -2, 3 }, { 4, 0, 0 }, { 0, 4, 0 }, { 0, 0, -1 }, 4, 4, 0.7, 100.0) };
        std::int32_t step = 0;

        ASSERT_TRUE(calcPointIlluminance(scene.room, area, 0, step, scene.catalogue));
        const double direct = area.m_points[0].value(CPointCalc::kCamera);
        ASSERT_TRUE(calcReflectedPoints(scene.room, area, 0, step));
        const double reflected = area.m_points[0].value(CPointCalc::kCamera) - direct;

        if (observerZ > 0.0) {
            EXPECT_GT(direct, 0.0);
            EXPECT_GT(reflected, 0.0);
        } else {
            EXPECT_EQ(direct, 0.0);
            EXPECT_EQ(reflected, 0.0) << "the reflected pass agrees with the direct pass";
        }
    }
}

TEST(InterReflection, SourcesThatGiveNothing)
{
    FakeServices fakes;
    const auto ceiling = [](const std::string& name) {
        return litSurface(name, { 0, 0, 2 }, { 2, 0, 0 }, { 0, 2, 0 }, { 0, 0, -1 }, 2, 2, 0.7, 100.0);
    };
    struct Case {
        const char* name;
        CWorkSystem source;
    };
    CWorkSystem notReflecting = ceiling("S");
    notReflecting.m_reflectedComponent = 0;
    CWorkSystem facingUp = litSurface("S", { 0, 0, -1 }, { 2, 0, 0 }, { 0, 2, 0 }, { 0, 0, 1 }, 2, 2, 0.7, 100.0);
    CWorkSystem inThePlane = litSurface("S", { 0, 0, 0 }, { 4, 0, 0 }, { 0, 4, 0 }, { 0, 0, 1 }, 2, 2, 0.7, 100.0);
    inThePlane.m_normal = { 0, 0, -1 };
    const Case cases[] = {
        { "the target itself (same name)", ceiling("T") },
        { "a surface that does not reflect", notReflecting },
        { "a surface facing the same way", facingUp },
        { "a surface in the target's plane", inThePlane },
    };
    for (const Case& c : cases) {
        CRoom room = roomWithSources({ c.source });
        CWorkSystem target = litSurface("T", { 0, 0, 0 }, { 2, 0, 0 }, { 0, 2, 0 }, { 0, 0, 1 }, 2, 2, 0.5, 0.0);
        std::int32_t step = 0;
        ASSERT_TRUE(calcReflectedPoints(room, target, 0, step)) << c.name;
        EXPECT_EQ(meanValue(target, CPointCalc::kReflectedInitial), 0.0) << c.name;
    }
}

TEST(InterReflection, CalculationSurfaceGetsOnlyItsPlaneValues)
{
    FakeServices fakes;
    CRoom room = roomWithSources(
        { litSurface("S", { 0, 0, 2 }, { 2, 0, 0 }, { 0, 2, 0 }, { 0, 0, -1 }, 2, 2, 0.7, 100.0) });
    CWorkSystem floor = litSurface("T", { 0, 0, 0 }, { 2, 0, 0 }, { 0, 2, 0 }, { 0, 0, 1 }, 2, 2, 0.5, 0.0);
    floor.m_points[0].value(CPointCalc::kHorizontal) = 42.0;
    room.m_reflectanceReductionInUse = 0.8;
    std::int32_t step = 0;

    ASSERT_TRUE(calcReflectedPoints(room, floor, 0, step));

    const CPointCalc& p = floor.m_points[0];
    EXPECT_GT(p.value(CPointCalc::kReflectedInitial), 0.0);
    EXPECT_NEAR(p.value(CPointCalc::kReflectedMaintained), 0.8 * p.value(CPointCalc::kReflectedInitial), 1e-9)
        << "maintained light loses the reflectance reduction at the bounce";
    EXPECT_EQ(p.value(CPointCalc::kHorizontal), 42.0);
    EXPECT_EQ(p.value(CPointCalc::kSpherical), 0.0);
    EXPECT_TRUE(p.m_reflectedByDirection.empty());
}

TEST(InterReflection, ObstaclesShadeReflectedLightButNotTheirOwnFaces)
{
    FakeServices fakes;
    CWorkSystem source = litSurface("S", { 0, 0, 2 }, { 2, 0, 0 }, { 0, 2, 0 }, { 0, 0, -1 }, 2, 2, 0.7, 100.0);
    for (const std::int32_t skipCode : { 5, 10 }) {
        source.m_surfaceNumber = skipCode; // 5 the ceiling, 10 a face of obstacle system 0
        CRoom room = roomWithSources({ source });
        CXSystem plate; // an opaque plate between the source and the target
        plate.m_origin = { -1, -1, 1 };
        plate.m_edgeA = { 4, 0, 0 };
        plate.m_edgeB = { 0, 4, 0 };
        plate.m_edgeC = { 0, 0, 0.1 };
        room.m_obstacleSystems.push_back(plate);
        CWorkSystem target = litSurface("T", { 0, 0, 0 }, { 2, 0, 0 }, { 0, 2, 0 }, { 0, 0, 1 }, 2, 2, 0.5, 0.0);
        std::int32_t step = 0;
        ASSERT_TRUE(calcReflectedPoints(room, target, 0, step));
        if (skipCode == 5)
            EXPECT_EQ(meanValue(target, CPointCalc::kReflectedInitial), 0.0);
        else
            EXPECT_GT(meanValue(target, CPointCalc::kReflectedInitial), 0.0);
    }
}

TEST(InterReflection, BoxOfTheSameObstacleSystemShadesAFaceAcrossTheAisle)
{
    FakeServices fakes;
    // Two 1 × 1 × 2 m racks of one obstacle system, x 0..1 and 3..4, with an aisle between.
    CXSystem racks;
    racks.m_origin = { 0, 0, 0 };
    racks.m_edgeA = { 1, 0, 0 };
    racks.m_edgeB = { 0, 1, 0 };
    racks.m_edgeC = { 0, 0, 2 };
    racks.m_spacing1 = { 3, 0, 0 };
    racks.m_count1 = 2;
    // The first rack's face towards the aisle, lit by 100 lx.
    CWorkSystem face = litSurface("Překážka 0-5", { 1, 0, 0 }, { 0, 1, 0 }, { 0, 0, 2 }, { 1, 0, 0 }, 2, 4, 0.7, 100.0);
    face.m_surfaceKind = 6;
    face.m_obstacleNumber = 0;
    face.m_surfaceNumber = 10;
    CRoom room = roomWithSources({ face });
    room.m_obstacleSystems.push_back(racks);

    struct Case {
        const char* name;
        double x; // of a small target facing the face
        bool lit;
    };
    for (const Case c : { Case { "in the aisle", 2.0, true }, Case { "behind the second rack", 5.0, false } }) {
        CWorkSystem target
            = litSurface("T", { c.x, 0.25, 0.5 }, { 0, 0.5, 0 }, { 0, 0, 1 }, { -1, 0, 0 }, 2, 2, 0.5, 0.0);
        std::int32_t step = 0;
        ASSERT_TRUE(calcReflectedPoints(room, target, 0, step));
        if (c.lit)
            EXPECT_GT(meanValue(target, CPointCalc::kReflectedInitial), 1.0) << c.name;
        else
            EXPECT_EQ(meanValue(target, CPointCalc::kReflectedInitial), 0.0) << c.name;
    }
}

TEST(InterReflection, ExcludedTargetIsUntouchedButItsRowsCount)
{
    FakeServices fakes;
    CRoom room = roomWithSources(
        { litSurface("S", { 0, 0, 2 }, { 2, 0, 0 }, { 0, 2, 0 }, { 0, 0, -1 }, 2, 2, 0.7, 100.0) });
    CWorkSystem target = litSurface("T", { 0, 0, 0 }, { 2, 0, 0 }, { 0, 2, 0 }, { 0, 0, 1 }, 3, 2, 0.5, 0.0);
    target.m_excluded = 1;
    std::int32_t step = 5;

    ASSERT_TRUE(calcReflectedPoints(room, target, 0, step));

    EXPECT_EQ(step, 8);
    EXPECT_EQ(meanValue(target, CPointCalc::kReflectedInitial), 0.0);
}

TEST(InterReflection, StopFlagEndsThePass)
{
    FakeServices fakes;
    fakes.pump.stopAfter = 1;
    CRoom room = roomWithSources(
        { litSurface("S", { 0, 0, 2 }, { 2, 0, 0 }, { 0, 2, 0 }, { 0, 0, -1 }, 2, 2, 0.7, 100.0) });
    CWorkSystem target = litSurface("T", { 0, 0, 0 }, { 2, 0, 0 }, { 0, 2, 0 }, { 0, 0, 1 }, 4, 4, 0.5, 0.0);
    std::int32_t step = 0;

    // The first batch is the first row; the stop is seen after it.
    EXPECT_FALSE(calcReflectedPoints(room, target, 0, step));
    EXPECT_EQ(fakes.pump.calls, 1);
    EXPECT_EQ(step, 1);
    EXPECT_GT(target.m_points[3].value(CPointCalc::kReflectedInitial), 0.0);
    EXPECT_EQ(target.m_points[4].value(CPointCalc::kReflectedInitial), 0.0);
}

TEST(InterReflection, ElementIntensityIsLambertian)
{
    CWorkSystem s = litSurface("S", { 0, 0, 0 }, { 2, 0, 0 }, { 0, 1, 0 }, { 0, 0, 1 }, 2, 1, 0.5, 100.0);
    s.m_points[1].value(CPointCalc::kReflectedMaintained) = 20.0;
    s.m_points[1].value(CPointCalc::kReflectedInitial) = 60.0;
    // Element area 1 m², luminance ρE/π with pi as 3.141592.
    EXPECT_NEAR(computeSurfaceTermMaintained(s, 1, 0.0), 0.5 * 120.0 / 3.141592, 1e-9);
    EXPECT_NEAR(computeSurfaceTerm(s, 1, 60.0), 0.5 * 160.0 / 3.141592 * 0.5, 1e-5); // degrees with pi as 3.141592
    EXPECT_EQ(computeSurfaceTerm(s, 2, 0.0), 0.0);
}

} // namespace
} // namespace kzev::test

namespace kzev::test {
namespace {

TEST(InterReflection, ResultsDoNotDependOnTheNumberOfThreads)
{
    FakeServices fakes;
    const auto litRoom = [](std::size_t threads) {
        const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, threads);
        CalcScene scene(isotropic(100.0));
        lightCube(scene, 0.5);
        std::int32_t step = 0;
        for (int n = 0; n < 2; ++n) {
            for (CWorkSystem& s : scene.room.m_modes[0].m_surfaces)
                EXPECT_TRUE(calcReflectedPoints(scene.room, s, 0, step));
        }
        std::vector<double> values;
        for (const CWorkSystem& s : scene.room.m_modes[0].m_surfaces) {
            for (const CPointCalc& p : s.m_points) {
                values.push_back(p.value(CPointCalc::kDirectInitial));
                values.push_back(p.value(CPointCalc::kReflectedInitial));
            }
        }
        return values;
    };
    const std::vector<double> one = litRoom(1);
    EXPECT_EQ(litRoom(8), one) << "every point is summed whole, in one order";
}

} // namespace
} // namespace kzev::test

namespace kzev::test {
namespace {

// A 5 × 4 × 3 m room lit by one luminaire, a rack of two boxes and a lower crate as obstacles:
// its surfaces in many blocks of the bounce, small faces among large ones.
void lightFurnishedRoom(CalcScene& scene)
{
    CRoom& room = scene.room;
    room.m_length = 5.0;
    room.m_width = 4.0;
    room.m_height = 3.0;
    room.m_elementarySurfaceSize = 0.6;
    room.m_reflectanceReductionInUse = 0.9;
    scene.addLuminaire({ 2.5, 2.0, 2.9 });
    CXSystem& rack = scene.addBox({ 0.5, 0.5, 0.0 }, { 2.0, 0.0, 0.0 }, { 0.0, 0.5, 0.0 }, { 0.0, 0.0, 1.8 }, 0.0);
    rack.m_spacing1 = { 0.0, 2.5, 0.0 };
    rack.m_count1 = 2;
    rack.m_reflectance = 0.4;
    CXSystem& crate = scene.addBox({ 3.5, 1.5, 0.0 }, { 0.8, 0.0, 0.0 }, { 0.0, 0.8, 0.0 }, { 0.0, 0.0, 0.7 }, 0.3);
    crate.m_reflectance = 0.6;
    createSurfaceAreas(room, 0, ProjectType::Interior);
    std::int32_t step = 0;
    for (CWorkSystem& s : room.m_modes[0].m_surfaces)
        EXPECT_TRUE(calcPointIlluminance(room, s, 0, step, scene.catalogue));
}

std::vector<double> surfaceValues(const CRoom& room)
{
    std::vector<double> values;
    for (const CWorkSystem& s : room.m_modes[0].m_surfaces) {
        for (const CPointCalc& p : s.m_points) {
            values.push_back(p.value(CPointCalc::kReflectedMaintained));
            values.push_back(p.value(CPointCalc::kReflectedInitial));
        }
    }
    return values;
}

// Two bounces as the run made them before: each surface in turn, from those before it already
// bounced; the values of the surfaces, and the steps counted.
std::vector<double> bouncedInTurn(CRoom room, std::int32_t& steps)
{
    for (int n = 0; n < 2; ++n) {
        for (CWorkSystem& s : room.m_modes[0].m_surfaces) {
            if (s.m_reflectedComponent != 0) {
                EXPECT_TRUE(calcReflectedPoints(room, s, 0, steps));
            }
        }
    }
    return surfaceValues(room);
}

TEST(InterReflection, BounceOverAllSurfacesGivesTheValuesOfEachSurfaceInTurnOnAnyNumberOfThreads)
{
    FakeServices fakes;
    CalcScene lit(isotropic(200.0));
    lightFurnishedRoom(lit);
    const std::vector<CWorkSystem>& surfaces = lit.room.m_modes[0].m_surfaces;
    ASSERT_GT(surfaces.size(), 12u);
    // One that does not reflect is passed over, as the run passes over it; an excluded one keeps
    // its values and still lights the others with them.
    const std::size_t dark = 9;
    lit.room.m_modes[0].m_surfaces[dark].m_reflectedComponent = 0;
    lit.room.m_modes[0].m_surfaces[2].m_excluded = 1;

    std::int32_t turnSteps = 0;
    const std::vector<double> expected = bouncedInTurn(lit.room, turnSteps);

    for (const std::size_t threads : { 1u, 3u, 8u }) {
        const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, threads);
        CRoom room = lit.room;
        std::int32_t steps = 0;
        std::vector<std::size_t> turns;
        for (int n = 0; n < 2; ++n)
            ASSERT_TRUE(calcSurfaceBounce(room, 0, steps, [&](std::size_t k) { turns.push_back(k); }));
        const std::vector<double> values = surfaceValues(room);
        ASSERT_EQ(values.size(), expected.size());
        EXPECT_EQ(std::memcmp(values.data(), expected.data(), values.size() * sizeof(double)), 0)
            << threads << " threads";
        EXPECT_EQ(steps, turnSteps);
        ASSERT_EQ(turns.size(), 2 * surfaces.size());
        for (std::size_t i = 0; i < turns.size(); ++i)
            EXPECT_EQ(turns[i], i % surfaces.size());
    }
}

// The views of the obstacles held for a few elements only, as a room of many obstacles holds
// them: the elements beyond the window, those that enter it late and those that share a place
// in it give the same values to the last bit.
TEST(InterReflection, BounceHoldingFewObstacleViewsGivesTheSameValuesOnAnyNumberOfThreads)
{
    FakeServices fakes;
    CalcScene lit(isotropic(200.0));
    lightFurnishedRoom(lit);
    lit.room.m_modes[0].m_surfaces[2].m_excluded = 1;
    std::int32_t turnSteps = 0;
    const std::vector<double> expected = bouncedInTurn(lit.room, turnSteps);
    std::size_t largest = 0;
    for (const CWorkSystem& s : lit.room.m_modes[0].m_surfaces)
        largest = std::max(largest, s.m_points.size());
    ASSERT_GT(largest, 7u) << "a surface larger than the smaller windows";

    for (const std::size_t held : { std::size_t { 1 }, std::size_t { 7 }, largest + 3 }) {
        for (const std::size_t threads : { 1u, 3u, 8u }) {
            const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, threads);
            CRoom room = lit.room;
            std::int32_t steps = 0;
            for (int n = 0; n < 2; ++n)
                ASSERT_TRUE(calcSurfaceBounce(room, 0, steps, [](std::size_t) {}, held));
            const std::vector<double> values = surfaceValues(room);
            ASSERT_EQ(values.size(), expected.size());
            EXPECT_EQ(std::memcmp(values.data(), expected.data(), values.size() * sizeof(double)), 0)
                << held << " views held, " << threads << " threads";
            EXPECT_EQ(steps, turnSteps);
        }
    }
}

TEST(InterReflection, StoppedBounceKeepsTheSurfacesSetSoFar)
{
    FakeServices fakes;
    const tbb::global_control one(tbb::global_control::max_allowed_parallelism, 1);
    CalcScene lit(isotropic(200.0));
    lightFurnishedRoom(lit);
    const std::vector<double> before = surfaceValues(lit.room);
    CRoom full = lit.room;
    std::int32_t step = 0;
    ASSERT_TRUE(calcSurfaceBounce(full, 0, step, [](std::size_t) {}));
    const std::vector<double> bounced = surfaceValues(full);

    // Stopped at the first serving of the window: nothing set yet. Stopped later: some surfaces
    // hold the bounce's values, the others those before it.
    for (const int stopAfter : { 1, 12 }) {
        fakes.pump.stopAfter = stopAfter;
        fakes.pump.calls = 0;
        setStopRequested(false);
        CRoom room = lit.room;
        step = 0;
        EXPECT_FALSE(calcSurfaceBounce(room, 0, step, [](std::size_t) {}));
        setStopRequested(false);
        const std::vector<double> values = surfaceValues(room);
        std::size_t set = 0;
        for (std::size_t i = 0; i < values.size(); ++i) {
            EXPECT_TRUE(values[i] == bounced[i] || values[i] == before[i]) << i;
            set += values[i] != before[i] ? 1 : 0;
        }
        if (stopAfter == 1)
            EXPECT_EQ(set, 0u);
        else
            EXPECT_GT(set, 0u);
    }
}

} // namespace
} // namespace kzev::test
