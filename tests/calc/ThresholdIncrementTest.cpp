#include "calc/ThresholdIncrement.h"
#include "model/RegularLayout.h"
#include "support/CalcTestSupport.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>
#include <tbb/global_control.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace kzev::test {
namespace {

constexpr double kPeak = 20000.0; // cd of the Lambertian luminaires, straight down
constexpr double kHeight = 10.0;
constexpr double kLaneY = 1.75;

// One row of luminaires along x at the mounting height, and a road field
// under it whose rows cover one pitch.
struct Installation {
    double pitch = 30.0;
    int count = 3;
    int rows = 10;
    int switchedOff = -1; // index of a field luminaire switched off, or none
    double firstX = 0.0;
};

struct TiScene {
    CalcScene scene { lambertian(kPeak) };

    explicit TiScene(const Installation& in, double averageLuminance = 1.5, double z = 0.9)
    {
        CLampSystem& system = scene.addLuminaire({ in.firstX, 0.0, kHeight });
        system.m_origin = { in.firstX, 0.0, kHeight };
        system.m_pitch1 = { in.pitch, 0.0, 0.0 };
        system.m_count1 = in.count;
        system.m_count2 = 1;
        layOutRegularLuminaires(system, 1);
        if (in.switchedOff >= 0)
            system.m_luminaires[static_cast<std::size_t>(in.switchedOff)].m_switchedOff = 1;
        const double step = (in.pitch > 0.0 ? in.pitch : 30.0) / in.rows;
        CWorkSystem& area = scene.addArea({ in.firstX + step / 2.0, kLaneY, 0.0 }, { step, 0.0, 0.0 },
            { 0.0, 3.5, 0.0 }, in.rows, 2);
        area.m_avg[CWorkSystem::kSlotRoadLuminance] = averageLuminance;
        area.m_maintenanceRatio = z;
        area.m_tiFlag = 1;
    }

    CWorkSystem& area() { return scene.room.m_workSystems[0]; }
    ThresholdIncrementOutcome run() { return computeThresholdIncrement(scene.room, area(), scene.catalogue); }
};

// TI from first principles: the driver's eye 1.5 m high, 2.75·(H − 1.5) m and
// half a row step before each row, looking 1° down the road; every luminaire of
// the row continued up to 500 m beyond the field on both sides adds
// E·cos θ / θ² (θ in degrees, between 1.5° and 60°) to the veiling luminance
// Lv / 10; TI = 65·Lv / L^0.8 with L the initial average luminance.
double independentTi(const Installation& in, double averageLuminance, double z)
{
    const double degree = std::numbers::pi / 180.0;
    const double luminance = averageLuminance / z;
    const double step = (in.pitch > 0.0 ? in.pitch : 30.0) / in.rows;
    std::vector<double> xs;
    const double lastX = in.firstX + (in.count - 1) * in.pitch;
    const int beyond = in.pitch > 0.0 ? static_cast<int>(500.0 / in.pitch) : 0;
    for (int k = -beyond; k < in.count + beyond; ++k) {
        const double x = in.firstX + k * in.pitch;
        if (k != in.switchedOff && x >= in.firstX - 500.0 - 1e-9 && x <= lastX + 500.0 + 1e-9)
            xs.push_back(x);
    }
    const double sx = std::cos(degree);
    const double sz = -std::sin(degree);
    double tiMax = 0.0;
    for (int r = 0; r < in.rows; ++r) {
        const double rowX = in.firstX + step / 2.0 + r * step;
        const double eyeX = rowX - 2.75 * (kHeight - 1.5) - step / 2.0;
        double veiling = 0.0;
        for (const double x : xs) {
            const double vx = x - eyeX;
            const double vy = 0.0 - kLaneY;
            const double vz = kHeight - 1.5;
            const double d = std::sqrt(vx * vx + vy * vy + vz * vz);
            const double cosTheta = (vx * sx + vz * sz) / d;
            if (cosTheta < 0.0)
                continue;
            const double theta = std::acos(cosTheta) / degree;
            if (theta < 1.5 || theta > 60.0)
                continue;
            const double intensity = kPeak * vz / d; // I0·cos γ, γ from straight down
            veiling += 10.0 * intensity * cosTheta / (d * d) / (theta * theta);
        }
        tiMax = std::max(tiMax, 65.0 * veiling / std::pow(luminance, 0.8));
    }
    return tiMax;
}

TEST(ThresholdIncrement, SingleRowMatchesTheVeilingLuminanceSummedToFiveHundredMetres)
{
    struct Case {
        const char* name;
        Installation installation;
    };
    const Case cases[] = {
        { "pitch 25: 40 luminaires more, 500 m earlier", { 25.0, 3, 10, -1, 0.0 } },
        { "pitch 30: whole pitches, field luminaires in place", { 30.0, 4, 10, -1, 12.0 } },
        { "pitch 37, a field luminaire switched off", { 37.0, 3, 8, 1, -5.0 } },
        { "one row of points", { 30.0, 3, 1, -1, 0.0 } },
        { "no pitch along the road: not continued", { 0.0, 1, 10, -1, 0.0 } },
    };
    for (const Case& c : cases) {
        FakeServices fakes;
        TiScene ti(c.installation);
        ASSERT_EQ(ti.run(), ThresholdIncrementOutcome::Stored) << c.name;
        const double expected = independentTi(c.installation, 1.5, 0.9);
        EXPECT_GT(expected, 1.0) << c.name;
        // The intensity table is sampled at whole degrees and pi is 3.141592 in the pass: 2e-4 relative.
        EXPECT_NEAR(ti.area().m_thresholdIncrement, expected, expected * 2e-4) << c.name;
        EXPECT_TRUE(fakes.log.calls.empty()) << c.name;
    }
}

TEST(ThresholdIncrement, LineOfSightIsStoredAsTheAreaViewingDirection)
{
    FakeServices fakes;
    TiScene ti(Installation {});
    ti.area().m_drivingDirection = 0;
    ASSERT_EQ(ti.run(), ThresholdIncrementOutcome::Stored);
    const CVector& w = ti.area().m_viewDirection;
    EXPECT_NEAR(w.x, -std::cos(std::numbers::pi / 180.0), 1e-6);
    EXPECT_EQ(w.y, 0.0);
    EXPECT_NEAR(w.z, -std::sin(std::numbers::pi / 180.0), 1e-6);
}

TEST(ThresholdIncrement, DriverTowardsMinusXStandsBeforeTheFieldInHisOwnDirection)
{
    FakeServices fakes;
    const Installation forward { 30.0, 3, 10, -1, 0.0 };
    TiScene ahead(forward);
    ASSERT_EQ(ahead.run(), ThresholdIncrementOutcome::Stored);

    // The same road mirrored in x and driven the other way sees the same glare.
    const double lastX = forward.firstX + (forward.count - 1) * forward.pitch;
    TiScene mirrored(Installation { forward.pitch, forward.count, forward.rows, -1, -lastX });
    const double step = forward.pitch / forward.rows;
    const double lastRow = forward.firstX + step / 2.0 + (forward.rows - 1) * step;
    mirrored.area().m_origin.x = -lastRow;
    mirrored.area().m_drivingDirection = 0;
    ASSERT_EQ(mirrored.run(), ThresholdIncrementOutcome::Stored);
    EXPECT_GT(ahead.area().m_thresholdIncrement, 1.0);
    EXPECT_NEAR(mirrored.area().m_thresholdIncrement, ahead.area().m_thresholdIncrement,
        ahead.area().m_thresholdIncrement * 1e-9);
}

TEST(ThresholdIncrement, AllLuminairesSwitchedOffGiveZero)
{
    FakeServices fakes;
    TiScene ti(Installation { 30.0, 3, 10, -1, 0.0 });
    CLampSystem& system = ti.scene.room.m_lampSystems[0];
    system.m_nonRegular = 1;
    for (COneLampSystem& one : system.m_luminaires)
        one.m_switchedOff = 1;
    ti.area().m_thresholdIncrement = 5.0;
    ASSERT_EQ(ti.run(), ThresholdIncrementOutcome::Stored);
    EXPECT_EQ(ti.area().m_thresholdIncrement, 0.0);
}

TEST(ThresholdIncrement, WithoutABasisItSaysWhyAndLeavesTheResult)
{
    struct Case {
        const char* name;
        std::function<void(TiScene&)> arrange;
        std::string line;
    };
    const Case cases[] = {
        { "no lamp system", [](TiScene& ti) { ti.scene.room.m_lampSystems.clear(); },
            "line:  Prahový přírůstek TI plochy Vozovka nelze vypočítat: místnost nemá žádnou soustavu svítidel." },
        { "average luminance 0", [](TiScene& ti) { ti.area().m_avg[CWorkSystem::kSlotRoadLuminance] = 0.0; },
            "line:  Prahový přírůstek TI plochy Vozovka nelze vypočítat: průměrný jas vozovky je 0." },
        { "placeholder origin", [](TiScene& ti) { ti.scene.room.m_lampSystems[0].m_origin.z = -1.0; },
            "line:  Prahový přírůstek TI plochy Vozovka nelze vypočítat: soustava svítidel Stožáry nemá zadanou "
            "výšku (souřadnice z je záporná)." },
        { "unresolved luminaire", [](TiScene& ti) { ti.scene.room.m_lampSystems[0].m_luminaireIndex = -1; },
            "line:  Prahový přírůstek TI plochy Vozovka nelze vypočítat: soustava svítidel Stožáry nemá načtené "
            "svítidlo nebo zdroj." },
    };
    for (const Case& c : cases) {
        FakeServices fakes;
        TiScene ti(Installation {});
        ti.area().m_name = "Vozovka";
        ti.scene.room.m_lampSystems[0].m_name = "Stožáry";
        c.arrange(ti);
        EXPECT_EQ(ti.run(), ThresholdIncrementOutcome::NotComputed) << c.name;
        EXPECT_EQ(ti.area().m_thresholdIncrement, 0.0) << c.name;
        EXPECT_EQ(fakes.log.calls, std::vector<std::string> { c.line }) << c.name;
    }
}

TEST(ThresholdIncrement, StopFlagLeavesTheResult)
{
    FakeServices fakes;
    fakes.pump.stopAfter = 5;
    TiScene ti(Installation {});
    ti.area().m_thresholdIncrement = 0.0;
    EXPECT_EQ(ti.run(), ThresholdIncrementOutcome::Stopped);
    EXPECT_EQ(ti.area().m_thresholdIncrement, 0.0);
}

TEST(ThresholdIncrement, ResultDoesNotDependOnTheNumberOfThreads)
{
    // Short pitches continued 500 m either way and many rows: the rows are shared out.
    FakeServices fakes;
    const auto run = [](std::size_t threads) {
        const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, threads);
        Installation in;
        in.pitch = 1.3;
        in.count = 23;
        in.rows = 150;
        TiScene ti(in);
        EXPECT_EQ(ti.run(), ThresholdIncrementOutcome::Stored);
        return ti.area().m_thresholdIncrement;
    };
    const double one = run(1);
    EXPECT_GT(one, 0.0);
    EXPECT_EQ(run(8), one) << "every row is summed whole, in one order";
}

} // namespace
} // namespace kzev::test
