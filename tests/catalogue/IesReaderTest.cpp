#include "catalogue/IesReader.h"
#include "catalogue/PhotometryError.h"
#include "catalogue/PhotometryFileText.h"
#include "PhotometryTestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace kzev;

TEST(IesReaderTest, ReadsEverySharedFile)
{
    const auto files = test::photometryFiles("ies");
    ASSERT_FALSE(files.empty());
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        PhotometricData data;
        try {
            data = IesReader::read(path);
        } catch (const PhotometryError& error) {
            ADD_FAILURE() << error.what();
            continue;
        }
        EXPECT_EQ(data.intensities.size(), data.planeAngles.size() * data.gammaAngles.size());
        std::printf("%s sym %d planes %d (%g..%g step %g) gammas %d (%g..%g step %g) flux %g lampflux %g lor %d lamps %d dims %g %g %g\n",
            path.filename().string().c_str(), data.symmetry, data.planeCount(), data.planeAngles.front(),
            data.planeAngles.back(), data.cStep, data.gammaCount(), data.gammaAngles.front(),
            data.gammaAngles.back(), data.gammaStep, data.integratedFlux(), data.lampFlux, data.lightOutputRatio, data.lampCount,
            data.length, data.width, data.height);
    }
}

TEST(IesReaderTest, RefusesMalformed)
{
    for (const auto& path : test::photometryFiles("malformed")) {
        try {
            (void)IesReader::read(path);
            ADD_FAILURE() << path;
        } catch (const PhotometryError& error) {
            std::printf("%s\n", error.what());
        }
    }
}
