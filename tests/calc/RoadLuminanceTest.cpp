#include "calc/RoadLuminance.h"
#include "support/CalcTestSupport.h"
#include "support/FakeServices.h"
#include "support/RoadTableFiles.h"

#include <gtest/gtest.h>
#include <tbb/global_control.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kzev::test {
namespace {

// A road scene: the room's surface class 1 reads ZEV_JV1.dat of the folder.
struct RoadScene {
    CalcScene scene;
    TempFolder folder;

    explicit RoadScene(const Distribution& distribution, const std::function<double(double, double)>& r)
        : scene(distribution)
    {
        scene.room.m_roadSurfaceClass = 1;
        folder.write("ZEV_JV1.dat", roadTableText(r));
    }

    CWorkSystem& area() { return scene.room.m_workSystems[0]; }
    bool run() { return calcRoadLuminance(scene.room, area(), scene.catalogue, folder.path()); }
    double luminance(std::size_t k) { return area().m_points[k].value(CPointCalc::kRoadLuminance); }
};

TEST(RoadLuminance, ConstantTableGivesIntensityTimesROverHeightSquared)
{
    FakeServices fakes;
    const double peak = 2000.0; // cd, Lambertian downwards
    const double r = 0.007;     // sr^-1, stored as 70 with the scale 0.1
    RoadScene road(lambertian(peak), [r](double, double) { return r; });
    CLampSystem& first = road.scene.addLuminaire({ 2.0, 1.0, 8.0 });
    first.m_maintenanceFactor = 0.8;
    first.m_uncertaintyFactor = 0.9;
    road.scene.addLuminaire({ 30.0, 6.0, 10.0 });
    road.scene.addArea({ 0.0, 0.0, 0.0 }, { 5.0, 0.0, 0.0 }, { 0.0, 2.0, 0.0 }, 4, 3);
    road.area().m_cameraPosition = { -60.0, 1.5, 1.5 };
    ASSERT_TRUE(road.run());

    struct Source {
        double x, y, h, factor;
    };
    const Source sources[] = { { 2.0, 1.0, 8.0, 0.8 * 0.9 }, { 30.0, 6.0, 10.0, 1.0 } };
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 3; ++j) {
            double expected = 0.0;
            for (const Source& s : sources) {
                const double d = std::hypot(5.0 * i - s.x, 2.0 * j - s.y, s.h);
                expected += peak * (s.h / d) * r / (s.h * s.h) * s.factor; // I(γ) = I0·cos γ
            }
            // The intensity table is sampled at whole degrees: 1e-4 relative.
            EXPECT_NEAR(road.luminance(static_cast<std::size_t>(i * 3 + j)), expected, expected * 1e-4)
                << i << "," << j;
        }
    }
}

// Plan angle in degrees, 0 to 180, between two horizontal directions.
double planAngle(double ax, double ay, double bx, double by)
{
    double a = std::fabs(std::atan2(ay, ax) - std::atan2(by, bx)) * 180.0 / std::numbers::pi;
    return a > 180.0 ? 360.0 - a : a;
}

TEST(RoadLuminance, BetaAndTanGammaOfEveryPointAsTheObserverSeesIt)
{
    FakeServices fakes;
    const auto r = [](double beta, double t) { return (100.0 + 2.0 * beta + 40.0 * t) / 10000.0; };
    RoadScene road(isotropic(1000.0), r);
    road.scene.addLuminaire({ 10.0, 4.0, 8.0 });
    road.scene.addArea({ 0.0, 0.0, 0.0 }, { 3.0, 0.0, 0.0 }, { 0.0, 1.75, 0.0 }, 10, 3);
    const double ox = -60.0;
    const double oy = 1.5;
    road.area().m_cameraPosition = { ox, oy, 1.5 };
    ASSERT_TRUE(road.run());
    for (int i = 0; i < 10; ++i) {
        for (int j = 0; j < 3; ++j) {
            const double px = 3.0 * i;
            const double py = 1.75 * j;
            const double beta = planAngle(10.0 - px, 4.0 - py, px - ox, py - oy);
            const double t = std::hypot(10.0 - px, 4.0 - py) / 8.0;
            const double expected = 1000.0 * r(beta, t) / 64.0;
            EXPECT_NEAR(road.luminance(static_cast<std::size_t>(i * 3 + j)), expected, expected * 1e-5)
                << "beta " << beta << " tan gamma " << t;
        }
    }
}

TEST(RoadLuminance, EachLuminaireIsTakenAsItIsAimed)
{
    FakeServices fakes;
    const double r = 0.01;
    RoadScene road(lambertian(1000.0), [r](double, double) { return r; });
    // The system's common axis points down, the luminaire itself along +x.
    CLampSystem& system = road.scene.addLuminaire({ 0.0, 0.0, 8.0 });
    system.m_opticalAxis = { 0.0, 0.0, -1.0 };
    system.m_luminaires[0].m_opticalAxis = { 1.0, 0.0, 0.0 };
    system.m_luminaires[0].m_c0Axis = { 0.0, 1.0, 0.0 };
    road.scene.addArea({ -8.0, 0.0, 0.0 }, { 8.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 3, 1);
    ASSERT_TRUE(road.run());
    EXPECT_NEAR(road.luminance(0), 0.0, 1e-9);   // behind it
    EXPECT_NEAR(road.luminance(1), 0.0, 1e-6);   // at 90 degrees from its axis
    const double ahead = 1000.0 * std::cos(std::numbers::pi / 4.0) * r / 64.0;
    EXPECT_NEAR(road.luminance(2), ahead, ahead * 1e-4);
}

TEST(RoadLuminance, CPlanesKeepTheirSidesAllRoundTheLuminaire)
{
    FakeServices fakes;
    const double r = 0.01;
    RoadScene road(cAngle(), [r](double, double) { return r; });
    road.scene.addLuminaire({ 0.0, 0.0, 1.0 }); // C0 along +x, optical axis down: C90 along +y
    road.scene.addArea({ -1.0, -1.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 3, 3);
    ASSERT_TRUE(road.run());
    // I = C; the points at unit distance from the foot see it at h = 1.
    const auto cOf = [&](std::size_t k) { return road.luminance(k) / r; };
    EXPECT_NEAR(cOf(7), 0.0, 1e-6);   // +x
    EXPECT_NEAR(cOf(5), 90.0, 1e-4);  // +y
    EXPECT_NEAR(cOf(1), 180.0, 1e-4); // −x
    EXPECT_NEAR(cOf(3), 270.0, 1e-4); // −y
}

TEST(RoadLuminance, HiddenPointsSwitchedOffLuminairesObstaclesAndLuminairesNotAboveTheRoad)
{
    FakeServices fakes;
    const double r = 0.01;
    RoadScene road(isotropic(100.0), [r](double, double) { return r; });
    road.scene.addLuminaire({ 0.0, 0.0, 5.0 });
    road.scene.addLuminaire({ 0.0, 0.0, 5.0 }).m_switchedOff = 1;
    road.scene.addLuminaire({ 0.0, 0.0, 5.0 }).m_luminaires[0].m_switchedOff = 1;
    road.scene.addLuminaire({ 3.0, 0.0, 0.0 }); // on the road itself
    road.scene.addArea({ 0.0, 0.0, 0.0 }, { 10.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 3, 1);
    road.area().m_points[1].m_off = 1;
    road.area().m_points[1].value(CPointCalc::kRoadLuminance) = 123.0;
    // A half-transparent box across the light to the third point only.
    road.scene.addBox({ 15.0, -1.0, 0.5 }, { 2.0, 0.0, 0.0 }, { 0.0, 2.0, 0.0 }, { 0.0, 0.0, 1.0 }, 0.5);
    ASSERT_TRUE(road.run());
    EXPECT_NEAR(road.luminance(0), 100.0 * r / 25.0, 1e-12);
    EXPECT_EQ(road.luminance(1), 123.0);
    EXPECT_NEAR(road.luminance(2), 0.5 * 100.0 * r / 25.0, 1e-12);
}

TEST(RoadLuminance, MissingTableOrUnresolvedLampSystemStopsWithAMessageAndChangesNoPoint)
{
    FakeServices fakes;
    RoadScene road(isotropic(100.0), [](double, double) { return 0.01; });
    road.scene.addLuminaire({ 0.0, 0.0, 5.0 }).m_name = "Stožáry";
    road.scene.addArea({ 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 2, 1);
    road.area().m_points[0].value(CPointCalc::kRoadLuminance) = 7.0;

    road.scene.room.m_roadSurfaceClass = 2;
    EXPECT_FALSE(road.run());
    ASSERT_EQ(fakes.messageBox.shown.size(), 1U);
    EXPECT_EQ(fakes.messageBox.shown[0].text,
        "Nelze otevřít soubor " + (road.folder.path() / "ZEV_JV2.dat").string() + " ! (existuje ?)");

    road.scene.room.m_roadSurfaceClass = 1;
    road.scene.room.m_lampSystems[0].m_luminaireIndex = 5;
    EXPECT_FALSE(road.run());
    ASSERT_EQ(fakes.messageBox.shown.size(), 2U);
    EXPECT_EQ(fakes.messageBox.shown[1].text, "Soustava svítidel Stožáry nemá načtené svítidlo nebo zdroj !");
    EXPECT_EQ(road.luminance(0), 7.0);
    EXPECT_EQ(road.luminance(1), 0.0);
}

TEST(RoadLuminance, TableWithoutScaleIsNamedInTheLog)
{
    FakeServices fakes;
    RoadScene road(isotropic(100.0), [](double, double) { return 0.01; });
    road.folder.write("ZEV_JV1.dat",
        "@\n@$ bez meritka\n0,0,2,5,10,15,20,25,30,35,40,45,60,75,90,105,120,135,150,165,180\n"
        "0,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1\n");
    road.scene.addLuminaire({ 0.0, 0.0, 5.0 });
    road.scene.addArea({ 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 1, 1);
    ASSERT_TRUE(road.run());
    EXPECT_EQ(road.luminance(0), 0.0);
    const std::string file = (road.folder.path() / "ZEV_JV1.dat").string();
    const std::vector<std::string> expected {
        "line:  Soubor " + file + ", řádek 4: neúplný řádek tabulky povrchu vozovky, chybějící hodnoty jsou 0.",
        "line:  Tabulka povrchu vozovky " + file
            + " neudává měřítko (číslo před poslední závorkou titulku), jasy vozovky vycházejí nulové.",
    };
    EXPECT_EQ(fakes.log.calls, expected);
}

TEST(RoadLuminance, StopFlagEndsThePassAtTheNextLampSystem)
{
    FakeServices fakes;
    fakes.pump.stopAfter = 2;
    RoadScene road(isotropic(100.0), [](double, double) { return 0.01; });
    road.scene.addLuminaire({ 0.0, 0.0, 5.0 });
    road.scene.addArea({ 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, 3, 1);
    EXPECT_FALSE(road.run());
    EXPECT_GT(road.luminance(0), 0.0);
    EXPECT_EQ(road.luminance(1), 0.0);
    EXPECT_EQ(road.luminance(2), 0.0);
}

TEST(RoadLuminance, ResultsDoNotDependOnTheNumberOfThreads)
{
    // Enough points and luminaires for the points to be shared out, and a box between.
    FakeServices fakes;
    const auto run = [](std::size_t threads) {
        const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, threads);
        RoadScene road(lambertian(2000.0), [](double beta, double tanGamma) { return 0.01 + 0.001 * beta / (1.0 + tanGamma); });
        for (int k = 0; k < 12; ++k)
            road.scene.addLuminaire({ 4.0 + 9.0 * (k % 6), k < 6 ? -1.0 : 8.0, 9.0 });
        road.scene.addBox({ 20.0, 0.5, 0.0 }, { 0.5, 0.0, 0.0 }, { 0.0, 2.0, 0.0 }, { 0.0, 0.0, 6.0 }, 0.4);
        road.scene.addArea({ 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 0.0, 0.2, 0.0 }, 60, 35);
        road.area().m_cameraPosition = { -60.0, 3.5, 1.5 };
        EXPECT_TRUE(road.run());
        std::vector<double> values;
        for (std::size_t k = 0; k < road.area().m_points.size(); ++k)
            values.push_back(road.luminance(k));
        return values;
    };
    const std::vector<double> one = run(1);
    EXPECT_GT(*std::min_element(one.begin(), one.end()), 0.0) << "every point lit";
    EXPECT_EQ(run(8), one) << "every point is summed whole, in one order";
}

} // namespace
} // namespace kzev::test
