#include "cad/LuminaireOutline.h"

#include "model/CLuminaire.h"
#include "model/COneLampSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace kzev {
namespace {

CLuminaire luminaire(double d1, double d2, double d3, int shape = 0)
{
    CLuminaire l;
    l.m_overallDimensions = { d1, d2, d3 };
    l.m_shape = shape;
    return l;
}

COneLampSystem at(CVector position)
{
    COneLampSystem one;
    one.m_position = position;
    one.m_opticalAxis = { 0.0, 0.0, -1.0 };
    one.m_c0Axis = { 1.0, 0.0, 0.0 };
    return one;
}

bool near(const CVector& a, const CVector& b)
{
    return std::fabs(a.x - b.x) < 1e-6 && std::fabs(a.y - b.y) < 1e-6 && std::fabs(a.z - b.z) < 1e-6;
}

TEST(LuminaireOutline, DownlightBoxInMillimetresStandsOnItsFace)
{
    const std::vector<Edge3D> edges = luminaireOutline(at({ 2.0, 3.0, 2.8 }), luminaire(0.6, 0.6, 0.1), 1000.0, 30.0);
    ASSERT_EQ(edges.size(), 12u);
    // The first edge runs along the front face, the second rises from it against the light.
    EXPECT_TRUE(near(edges[1].to - edges[1].from, CVector { 0.0, 0.0, 100.0 }));
    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9, minZ = 1e9, maxZ = -1e9;
    for (const Edge3D& e : edges) {
        for (const CVector& p : { e.from, e.to }) {
            minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
            minZ = std::min(minZ, p.z), maxZ = std::max(maxZ, p.z);
        }
    }
    EXPECT_NEAR(minX, 1700.0, 1e-6);
    EXPECT_NEAR(maxX, 2300.0, 1e-6);
    EXPECT_NEAR(minY, 2700.0, 1e-6);
    EXPECT_NEAR(maxY, 3300.0, 1e-6);
    EXPECT_NEAR(minZ, 2800.0, 1e-6);
    EXPECT_NEAR(maxZ, 2900.0, 1e-6);
}

TEST(LuminaireOutline, LengthRunsAcrossTheCZeroAxis)
{
    // d1 lies along optical axis x C0 axis = (0, -1, 0), d2 along the C0 axis.
    const std::vector<Edge3D> edges = luminaireOutline(at({ 0.0, 0.0, 3.0 }), luminaire(1.2, 0.2, 0.05), 1.0, 30.0);
    EXPECT_TRUE(near(edges[0].to - edges[0].from, CVector { 0.0, -1.2, 0.0 }));
    EXPECT_TRUE(near(edges[2].to - edges[2].from, CVector { 0.2, 0.0, 0.0 }));
}

struct RoundCase {
    double increment;
    std::size_t edges;
};

class RoundOutline : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundOutline, ThreeEdgesPerStepAndOneMore)
{
    const std::vector<Edge3D> edges
        = luminaireOutline(at({ 1.0, 1.0, 3.0 }), luminaire(0.4, 0.4, 0.1, 1), 1.0, GetParam().increment);
    ASSERT_EQ(edges.size(), GetParam().edges);
    // Every rim point lies on the circle of the diameter around the position.
    for (const Edge3D& e : edges)
        EXPECT_NEAR(std::hypot(e.to.x - 1.0, e.to.y - 1.0), 0.2, 1e-5);
}

// 30 and 29.9999999999999 degrees are one step; 7 does not divide 360; a step below one degree is taken as one.
INSTANTIATE_TEST_SUITE_P(Steps, RoundOutline,
    ::testing::Values(RoundCase { 30.0, 3 * 13 }, RoundCase { 29.9999999999999, 3 * 13 }, RoundCase { 7.0, 3 * 52 },
        RoundCase { 0.2, 3 * 361 }));

TEST(LuminaireOutline, AxisAlongTheCZeroAxisDegeneratesWithoutError)
{
    COneLampSystem one = at({ 0.0, 0.0, 3.0 });
    one.m_c0Axis = { 0.0, 0.0, -1.0 };
    const std::vector<Edge3D> edges = luminaireOutline(one, luminaire(0.6, 0.3, 0.1), 1.0, 30.0);
    ASSERT_EQ(edges.size(), 12u);
    for (const Edge3D& e : edges) {
        EXPECT_TRUE(std::isfinite(e.from.x) && std::isfinite(e.to.z));
        EXPECT_NEAR(e.from.x, 0.0, 1e-9);
        EXPECT_NEAR(e.from.y, 0.0, 1e-9);
    }
}

} // namespace
} // namespace kzev
