#include "calc/PolygonFormFactor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace kzev::test {
namespace {

// Configuration factor from an element to a parallel a × b rectangle at distance c, the
// element facing one of its corners.
double cornerFactor(double a, double b, double c)
{
    const double x = a / c;
    const double y = b / c;
    const double sx = std::sqrt(1.0 + x * x);
    const double sy = std::sqrt(1.0 + y * y);
    return (x / sx * std::atan(y / sx) + y / sy * std::atan(x / sy)) / (2.0 * std::numbers::pi);
}

TEST(PolygonFormFactor, ParallelRectangleMatchesTheClosedForm)
{
    struct Case {
        double a;
        double b;
        double c;
    };
    const CVector up { 0.0, 0.0, 1.0 };
    for (const Case k : { Case { 1.0, 1.0, 1.0 }, Case { 4.0, 3.0, 2.0 }, Case { 0.1, 5.0, 0.05 },
             Case { 20.0, 20.0, 0.01 } }) {
        const std::array<CVector, 4> rectangle { CVector { 0, 0, k.c }, CVector { k.a, 0, k.c },
            CVector { k.a, k.b, k.c }, CVector { 0, k.b, k.c } };
        const std::vector<CVector> points(5, CVector { 0, 0, 0 });
        const double expected = cornerFactor(k.a, k.b, k.c);
        EXPECT_NEAR(pointToPolygonFactor(points[0], up, rectangle), expected, 1e-14);
        EXPECT_NEAR(sumOfPolygonFactors(points, up, rectangle), 5.0 * expected, 5e-14);
    }
}

TEST(PolygonFormFactor, SumOverPointsAgreesWithTheOneByOneFactor)
{
    // Points all round a tilted quadrilateral, in front of it, behind it and cutting its plane,
    // with normals every way.
    std::mt19937 random(3);
    std::uniform_real_distribution<double> spread(-3.0, 3.0);
    const std::array<CVector, 4> quad { CVector { 0, 0, 1 }, CVector { 1.5, 0, 1.2 }, CVector { 1.5, 2, 1.6 },
        CVector { 0, 2, 1.4 } };
    int whole = 0;
    for (int round = 0; round < 300; ++round) {
        const CVector n = CVector { spread(random), spread(random), spread(random) }.Normalized();
        std::vector<CVector> points;
        double oneByOne = 0.0;
        for (int i = 0; i < 1 + round % 11; ++i) {
            points.push_back({ spread(random), spread(random), spread(random) });
            oneByOne += pointToPolygonFactor(points.back(), n, quad);
            whole += pointToPolygonFactor(points.back(), n, quad) > 0.0 ? 1 : 0;
        }
        EXPECT_NEAR(sumOfPolygonFactors(points, n, quad), oneByOne, 1e-14 * (1.0 + oneByOne)) << round;
    }
    EXPECT_GT(whole, 500);

    // A wall standing on the floor: two corners lie in the plane of every point of the floor.
    const std::array<CVector, 4> wall { CVector { 0, 2, 0 }, CVector { 3, 2, 0 }, CVector { 3, 2, 2.5 },
        CVector { 0, 2, 2.5 } };
    std::vector<CVector> floor;
    double oneByOne = 0.0;
    for (int i = 0; i < 37; ++i) {
        floor.push_back({ spread(random) + 1.5, spread(random) / 3.0 + 1.0, 0.0 });
        oneByOne += pointToPolygonFactor(floor.back(), { 0, 0, 1 }, wall);
    }
    EXPECT_GT(oneByOne, 1.0);
    EXPECT_NEAR(sumOfPolygonFactors(floor, { 0, 0, 1 }, wall), oneByOne, 1e-14 * oneByOne);
}

} // namespace
} // namespace kzev::test
