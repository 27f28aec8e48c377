#include "calc/LimitingLuminance.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace kzev::test {
namespace {

// log10 of the limits at 45 and 75 degrees of the two curves, from the class
// factor Q and the illuminance factor f.
struct CurveLogs {
    double at45;
    double at75;
};
CurveLogs curve(int number, double q, double f)
{
    const double x = q - 1.16 * std::log10(f);
    if (number == 1)
        return { 0.4 * x * x + 3.1761, 0.15 * x * x + 3.0 };
    return { 0.26 * x * x + 3.1055, 0.07 * x * x + 2.9294 };
}

/**
 * A document holding one luminaire (database 1, record 7) and one lamp
 * (database 1, record 3) of 1000 lm, and a room of 6 × 10 m with a lamp
 * system at 3 m that uses them; the luminaire's table luminances are low
 * everywhere unless a test raises them.
 */
class LimitingLuminanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        installProfileStore(std::make_unique<MemoryProfileStore>());
        doc = std::make_unique<CKzevDoc>();
        doc->m_limitLuminanceLog = 1;
        CLuminaire luminaire;
        luminaire.m_databaseNumber = 1;
        luminaire.m_recordNumber = 7;
        luminaire.m_numberOfLamps = 2;
        luminaire.m_luminousDimensions = { 1.2, 0.2, 0.0001 };
        luminaire.m_luminance.fill(100);
        luminaire.m_shieldingAngles = { 30, 30 };
        luminaire.m_symmetry = 4;
        doc->m_luminaires.push_back(luminaire);
        CLamp lamp;
        lamp.m_databaseNumber = 1;
        lamp.m_recordNumber = 3;
        lamp.m_luminousFlux = 1000.0;
        doc->m_lamps.push_back(lamp);

        room = CRoom();
        system = CLampSystem();
        room.m_width = 6.0;
        room.m_length = 10.0;
        room.m_ceilingReflectance = 0.7;
        room.m_wallReflectances = { 0.5, 0.5, 0.5, 0.5 };
        room.m_glareClass = 1;
        system.m_luminaireDatabase = 1;
        system.m_luminaireRecord = 7;
        system.m_lampDatabase = 1;
        system.m_lampRecord = 3;
        system.m_mountingHeight = 3.0;
        system.m_em = 500.0;
        system.m_rotation = 90.0;
    }

    bool run() { return calcGlareLimitingLuminance(*doc, room, system); }
    CLuminaire& luminaire() { return doc->m_luminaires[0]; }
    std::vector<std::string>& log() { return services.log.calls; }

    FakeServices services;
    std::unique_ptr<CKzevDoc> doc;
    CRoom room;
    CLampSystem system;
};

TEST_F(LimitingLuminanceTest, GlareClass1At500LuxUsesTheFirstCurve)
{
    ASSERT_TRUE(run());
    // x = 1.5 − 1.16 log10 0.5 ≈ 1.8492: log10 L45 ≈ 4.5439, log10 L75 ≈ 3.5129.
    EXPECT_NEAR(std::log10(system.m_limit[0][0]), 4.5439, 1e-4);
    EXPECT_NEAR(std::log10(system.m_limit[0][3]), 3.5129, 1e-4);
    EXPECT_NEAR(std::log10(system.m_limit[0][1]), 4.5439 + (3.5129 - 4.5439) / 3.0, 1e-4);
    EXPECT_NEAR(std::log10(system.m_limit[0][2]), 4.5439 + 2.0 * (3.5129 - 4.5439) / 3.0, 1e-4);
    EXPECT_EQ(system.m_limit[0][4], system.m_limit[0][3]);
    EXPECT_EQ(system.m_limit[1], system.m_limit[0]);
    // Two lamps of 1000 lm: the table's 100 cd/m² per 1000 lm become 200.
    EXPECT_DOUBLE_EQ(system.m_luminance[1][2], 200.0);
    // 90 − atan(1.5 / 5) and 90 − atan(1.5 / 9).
    EXPECT_NEAR(system.m_criticalAngles[0], 90.0 - std::atan(1.5 / 5.0) * 180.0 / M_PI, 1e-4);
    EXPECT_NEAR(system.m_criticalAngles[1], 90.0 - std::atan(1.5 / 9.0) * 180.0 / M_PI, 1e-4);
    EXPECT_EQ(system.m_verdicts, (std::array<std::int32_t, 2> { 1, 1 }));
    ASSERT_EQ(log().size(), 2u);
    EXPECT_EQ(log()[0], "line:Výpočet oslnění dle mezních jasů ... ");
    EXPECT_EQ(log()[1], "text:O.K.");
}

TEST_F(LimitingLuminanceTest, IlluminanceFactorSteps)
{
    struct Case {
        double em;
        double f;
    };
    const Case cases[] = { { 300.0, 0.25 }, { 300.1, 0.5 }, { 500.0, 0.5 }, { 1000.0, 1.0 }, { 1000.1, 2.0 } };
    for (const Case& c : cases) {
        system.m_em = c.em;
        room.m_glareClass = 3;
        ASSERT_TRUE(run());
        EXPECT_NEAR(std::log10(system.m_limit[0][0]), curve(1, 2.2, c.f).at45, 1e-6) << c.em;
    }
}

TEST_F(LimitingLuminanceTest, RoomsTheMethodDoesNotApplyTo)
{
    struct Case {
        const char* name;
        std::function<void(CRoom&)> change;
        const char* line; // none when the method applies
    };
    const Case cases[] = {
        { "viewing upwards", [](CRoom& r) { r.m_viewingAngle = 0.6; }, "směr pohledu nahoru" },
        { "ceiling 0.49 before dark walls",
            [](CRoom& r) {
                r.m_ceilingReflectance = 0.49;
                r.m_wallReflectances.fill(0.1);
            },
            "malá odraznost stropu" },
        { "ceiling 0.5", [](CRoom& r) { r.m_ceilingReflectance = 0.5; }, nullptr },
        { "walls 0.25", [](CRoom& r) { r.m_wallReflectances.fill(0.25); }, nullptr },
        { "walls 0.24", [](CRoom& r) { r.m_wallReflectances.fill(0.24); }, "malá odraznost stěn" },
        // Walls 1 and 3 weigh with the length (10 m), 2 and 4 with the width (2 m).
        { "long light walls",
            [](CRoom& r) {
                r.m_width = 2.0;
                r.m_wallReflectances = { 0.3, 0.1, 0.3, 0.1 };
            },
            nullptr },
        { "long dark walls",
            [](CRoom& r) {
                r.m_width = 2.0;
                r.m_wallReflectances = { 0.1, 0.3, 0.1, 0.3 };
            },
            "malá odraznost stěn" },
        { "narrow room", [](CRoom& r) { r.m_width = 1.0; }, "Příliš malé rozměry" },
    };
    for (const Case& c : cases) {
        SetUp();
        services.log.calls.clear();
        c.change(room);
        system.m_limit[0][0] = 7.0;
        system.m_verdicts = { 1, 1 };
        ASSERT_TRUE(run()) << c.name;
        if (c.line) {
            EXPECT_EQ(system.m_verdicts, (std::array<std::int32_t, 2> { 0, 0 })) << c.name;
            EXPECT_EQ(system.m_limit[0][0], 7.0) << c.name;
            ASSERT_EQ(log().size(), 2u) << c.name;
            EXPECT_NE(log()[1].find(c.line), std::string::npos) << c.name;
        } else {
            EXPECT_EQ(system.m_verdicts[0], 1) << c.name;
        }
    }
}

TEST_F(LimitingLuminanceTest, MissingC90LuminanceIsAcceptedOnlyForRotationalSymmetry)
{
    luminaire().m_luminance[5] = -1;
    luminaire().m_symmetry = 1;
    ASSERT_TRUE(run());
    EXPECT_EQ(system.m_verdicts[0], 1);

    luminaire().m_symmetry = 2;
    services.log.calls.clear();
    ASSERT_TRUE(run());
    EXPECT_EQ(system.m_verdicts, (std::array<std::int32_t, 2> { 0, 0 }));
    EXPECT_NE(log().back().find("nezadané jasy svítidla"), std::string::npos);
}

TEST_F(LimitingLuminanceTest, LuminanceAboveTheLimitFailsOnlyBelowTheCriticalAngle)
{
    luminaire().m_luminance[4] = 100000; // C0 at 85 degrees
    ASSERT_TRUE(run());                  // critical angle of plane 0 ≈ 73.3: 85 is above it
    EXPECT_EQ(system.m_pass[0][4], 1);
    EXPECT_EQ(system.m_verdicts[1], 1);

    room.m_width = 30.0; // 90 − atan(1.5 / 29) ≈ 87.0: 85 now lies below it
    services.log.calls.clear();
    ASSERT_TRUE(run());
    EXPECT_EQ(system.m_pass[0][4], 0);
    EXPECT_EQ(system.m_pass[1][4], 1);
    EXPECT_EQ(system.m_verdicts, (std::array<std::int32_t, 2> { 1, 0 }));
    EXPECT_EQ(log().back(), "text:Nevyhovuje");
}

TEST_F(LimitingLuminanceTest, RotationChoosesWhichTablePlaneEachViewingPlaneReads)
{
    luminaire().m_luminance = { 10, 10, 10, 10, 10, 50, 50, 50, 50, 50 };
    ASSERT_TRUE(run());
    EXPECT_DOUBLE_EQ(system.m_luminance[0][0], 20.0);
    EXPECT_DOUBLE_EQ(system.m_luminance[1][0], 100.0);
    system.m_rotation = 0.0;
    ASSERT_TRUE(run());
    EXPECT_DOUBLE_EQ(system.m_luminance[0][0], 100.0);
    EXPECT_DOUBLE_EQ(system.m_luminance[1][0], 20.0);
}

TEST_F(LimitingLuminanceTest, CurveByShieldingAndLuminousSides)
{
    struct Case {
        const char* name;
        std::array<std::int32_t, 2> shielding;
        std::array<double, 3> luminous;
        int curvePlane0;
        int curvePlane1;
    };
    const Case cases[] = {
        { "shielded, flat", { 30, 30 }, { 1.2, 0.2, 0.0001 }, 1, 1 },
        { "not shielded", { 30, 29 }, { 1.2, 0.2, 0.0001 }, 2, 2 },
        { "sides of exactly 30 mm are not tall", { 30, 30 }, { 1.2, 0.2, 0.030 }, 1, 1 },
        { "tall sides, elongated", { 30, 30 }, { 1.2, 0.2, 0.031 }, 2, 1 },
        { "tall sides, compact", { 30, 30 }, { 0.4, 0.2, 0.05 }, 2, 2 },
    };
    for (const Case& c : cases) {
        luminaire().m_shieldingAngles = c.shielding;
        luminaire().m_luminousDimensions = c.luminous;
        ASSERT_TRUE(run()) << c.name;
        EXPECT_NEAR(std::log10(system.m_limit[0][0]), curve(c.curvePlane0, 1.5, 0.5).at45, 1e-6) << c.name;
        EXPECT_NEAR(std::log10(system.m_limit[1][3]), curve(c.curvePlane1, 1.5, 0.5).at75, 1e-6) << c.name;
    }
}

TEST_F(LimitingLuminanceTest, ClassAndLampSetTheShieldingNeeded)
{
    struct Case {
        const char* name;
        std::int32_t glareClass;
        std::int32_t subgroup;
        std::int32_t clear;
        std::array<std::int32_t, 2> shielding;
        bool shielded;
    };
    const Case cases[] = {
        { "class 3, frosted lamp needs 20/20", 3, 0, 0, { 20, 20 }, true },
        { "class 3, clear lamp needs 30/30", 3, 0, 1, { 20, 20 }, false },
        { "subgroup 13, class 3 needs 10/0", 4, 13, 0, { 10, 0 }, true },
        { "subgroup 13, class 2 needs 20/20", 2, 13, 0, { 20, 19 }, false },
    };
    for (const Case& c : cases) {
        room.m_glareClass = c.glareClass;
        doc->m_lamps[0].m_subgroup = c.subgroup;
        doc->m_lamps[0].m_clear = c.clear;
        luminaire().m_shieldingAngles = c.shielding;
        ASSERT_TRUE(run()) << c.name;
        const double q = c.glareClass == 2 ? 1.850000023841858 : c.glareClass == 3 ? 2.200000047683716 : 2.549999952316284;
        EXPECT_NEAR(std::log10(system.m_limit[0][0]), curve(c.shielded ? 1 : 2, q, 0.5).at45, 1e-6) << c.name;
    }
}

TEST_F(LimitingLuminanceTest, WithoutTheLogFlagNothingIsWrittenButTheResultsAreTheSame)
{
    luminaire().m_luminancesComputed = 1;
    ASSERT_TRUE(run());
    EXPECT_EQ(log().size(), 3u); // start, computed luminances, verdict
    EXPECT_NE(log()[1].find("vypočtené jasy"), std::string::npos);
    const auto limits = system.m_limit;
    system.m_limit = {};
    doc->m_limitLuminanceLog = 0;
    services.log.calls.clear();
    ASSERT_TRUE(run());
    EXPECT_TRUE(log().empty());
    EXPECT_EQ(system.m_limit, limits);
}

TEST_F(LimitingLuminanceTest, UnresolvableLuminaireReturnsFalse)
{
    system.m_luminaireDatabase = 0;
    system.m_luminaireRecord = 0;
    EXPECT_FALSE(run());
    EXPECT_EQ(services.messageBox.shown.size(), 1u);
}

} // namespace
} // namespace kzev::test
