#include "cad/DxfWriter.h"

#include <gtest/gtest.h>

namespace kzev {
namespace {

TEST(DxfWriter, EmptyFileIsTheSectionAndTheTrailer)
{
    std::string out;
    DxfWriteEntitiesHeader(out);
    DxfWriteTrailer(out);
    EXPECT_EQ(out, "  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n");
}

TEST(DxfWriter, LinesCarryLayerColourAndBothEnds)
{
    std::string flat;
    DxfWriteLine2D(flat, 1.5, -2.0, 3.0, 4.25, 3, "ZEV_IZO");
    EXPECT_EQ(flat,
        "  0\nLINE\n  8\nZEV_IZO\n 62\n3\n 10\n1.500000\n 20\n-2.000000\n 30\n0.000000\n"
        " 11\n3.000000\n 21\n4.250000\n 31\n0.000000\n");
    std::string space;
    DxfWriteLine3D(space, 0.0, 0.0, 2800.0, 1.0, 2.0, 2900.0, 4, "ZEV_LUMINAIRES");
    EXPECT_NE(space.find(" 30\n2800.000000\n"), std::string::npos);
    EXPECT_NE(space.find(" 31\n2900.000000\n"), std::string::npos);
}

struct TextCase {
    const char* name;
    int justification;
    double angle;
    const char* expected;
};

class DxfText : public ::testing::TestWithParam<TextCase> {};

TEST_P(DxfText, FirstPointAndAlignmentByJustification)
{
    const TextCase& c = GetParam();
    std::string out;
    DxfWriteText(out, c.justification, 100.0, 200.0, 10.0, c.angle, "500", "ZEV_IZO");
    EXPECT_EQ(out, c.expected);
}

// Three characters 10 high: 11.25 to the centre, 22.5 to the right end. Degrees turn to radians with pi taken
// as 3.141592, so a quarter turn leaves 7e-6 of its cosine.
INSTANTIATE_TEST_SUITE_P(Cases, DxfText,
    ::testing::Values(
        TextCase { "left", kDxfLeft, 0.0,
            "  0\nTEXT\n  8\nZEV_IZO\n 62\n7\n 10\n100.000000\n 20\n200.000000\n 30\n0.000000\n"
            " 40\n10.0\n 50\n0.000000\n  1\n500\n" },
        TextCase { "centred", kDxfCentre, 0.0,
            "  0\nTEXT\n  8\nZEV_IZO\n 62\n7\n 10\n88.750000\n 20\n200.000000\n 30\n0.000000\n"
            " 40\n10.0\n 50\n0.000000\n  1\n500\n 72\n     1\n 11\n100.000000\n 21\n200.000000\n 31\n0.000000\n" },
        TextCase { "rightTurned", kDxfRight, 90.0,
            "  0\nTEXT\n  8\nZEV_IZO\n 62\n7\n 10\n99.999993\n 20\n177.500000\n 30\n0.000000\n"
            " 40\n10.0\n 50\n90.000000\n  1\n500\n 72\n     2\n 11\n100.000000\n 21\n200.000000\n 31\n0.000000\n" }),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

TEST(DxfWriter, SmallTextHeightKeepsItsDecimals)
{
    std::string out;
    DxfWriteText(out, kDxfLeft, 0.0, 0.0, 0.04, 0.0, "1.0", "ZEV_IZO");
    EXPECT_NE(out.find(" 40\n0.040000\n"), std::string::npos) << out;
}

} // namespace
} // namespace kzev
