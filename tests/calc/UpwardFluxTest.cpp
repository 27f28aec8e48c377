#include "calc/UpwardFlux.h"
#include "support/CalcTestSupport.h"

#include <gtest/gtest.h>

namespace kzev::test {
namespace {

TEST(UpwardFlux, IsotropicSourceSendsHalfItsFluxUpwards)
{
    const Distribution table = isotropic(100.0);
    CalcScene scene(table);
    scene.addLuminaire({ 0.0, 0.0, 5.0 });
    scene.addLuminaire({ 3.0, 0.0, 5.0 }).m_luminaires[0].m_opticalAxis = { 1.0, 0.2, -0.5 };
    EXPECT_NEAR(upwardFluxShare(scene.room, scene.catalogue), 0.5, 1e-12);
}

TEST(UpwardFlux, DownwardOnlySourceSendsNothingUpwards)
{
    const Distribution table = lambertian(100.0);
    CalcScene scene(table);
    scene.addLuminaire({ 0.0, 0.0, 5.0 });
    EXPECT_GT(sumZonalIntensity(scene.room, -89, scene.catalogue), 0.0);
    EXPECT_EQ(upwardFluxShare(scene.room, scene.catalogue), 0.0);
}

TEST(UpwardFlux, ZonalSumIsProportionalToTheFlux)
{
    // An isotropic 1 cd/klm source of 1000 lm emits 4π lm; the 2-degree grid
    // weighs each direction by |cos e|, so the sum × (2°)² approximates it.
    const Distribution table = isotropic(1.0);
    CalcScene scene(table);
    scene.addLuminaire({ 0.0, 0.0, 5.0 });
    const double step = DegToRad(2.0);
    EXPECT_NEAR(sumZonalIntensity(scene.room, -89, scene.catalogue) * step * step, 4.0 * 3.14159265358979, 1e-3);
}

TEST(UpwardFlux, NothingEmittingGivesZeroAndNoNaN)
{
    const Distribution table = isotropic(100.0);
    CalcScene scene(table);
    EXPECT_EQ(upwardFluxShare(scene.room, scene.catalogue), 0.0); // no lamp systems
    scene.addLuminaire({ 0.0, 0.0, 5.0 }).m_luminaires[0].m_switchedOff = 1;
    EXPECT_EQ(sumZonalIntensity(scene.room, -89, scene.catalogue), 0.0);
    EXPECT_EQ(upwardFluxShare(scene.room, scene.catalogue), 0.0);
    scene.room.m_lampSystems[0].m_luminaires[0].m_switchedOff = 0;
    EXPECT_EQ(sumZonalIntensity(scene.room, 91, scene.catalogue), 0.0); // start above 89
    scene.room.m_lampSystems[0].m_switchedOff = 1;
    EXPECT_EQ(sumZonalIntensity(scene.room, -89, scene.catalogue), 0.0);
}

} // namespace
} // namespace kzev::test
