#include "calc/UpwardFlux.h"
#include "catalogue/EulumdatReader.h"
#include "catalogue/PhotometryImporter.h"
#include "catalogue/PhotometryWorkbookFixture.h"
#include "platform/DataLocation.h"
#include "support/CalcTestSupport.h"
#include "support/FakeServices.h"

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

TEST(UpwardFlux, ImportedRoadLuminaireMountedLevelSendsNothingUpwards)
{
    // The road sample's file ends at gamma 90 (in steps of 2.5 there): imported and
    // loaded, the luminaire gives light up to 90 degrees and none past it.
    FakeServices fakes;
    TempFolder folder;
    const std::string workbook = makerWorkbook(folder);
    ScopedDataLocation location({ folder.path().string(), "ZEV-", "Excel 8.0" });
    const std::filesystem::path file
        = std::filesystem::path(KZEV_SHARED_DIR) / "photometry" / "ldt" / "rs_road_luminaire.ldt";
    CData book;
    const long record = PhotometryImporter::importFile(book, workbook, PhotometryImporter::Format::Eulumdat, file);
    CalcScene scene(isotropic(0.0));
    ASSERT_EQ(scene.luminaires[0].LoadFromDataFile(15, record, 0), 1);
    const PhotometricData data = EulumdatReader::read(file);
    for (const double c : { 0.0, 37.0, 90.0, 200.0 }) {
        EXPECT_NEAR(scene.luminaires[0].GetIntensity(c, 90.0), data.intensityAt(c, 90.0), 0.01) << c;
        EXPECT_EQ(scene.luminaires[0].GetIntensity(c, 91.0), 0.0) << c;
    }
    scene.addLuminaire({ 0.0, 0.0, 10.0 }); // optical axis straight down
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
