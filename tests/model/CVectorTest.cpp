#include "model/CVector.h"
#include "platform/Archive.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

// Angles derived with pi = 3.141592 differ from the exact ones in the 6th decimal.
constexpr double kAngleTol = 1e-7;

void expectVector(const CVector& v, double x, double y, double z, double tol = 1e-9)
{
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
}

} // namespace

TEST(CVectorTest, NormalizedTreatsVeryShortVectorsAsZero)
{
    expectVector(CVector(0, 0, 0.00005).Normalized(), 0, 0, 0);
    expectVector(CVector(0, 0, 0.0002).Normalized(), 0, 0, 1);
    expectVector(CVector(3, 4, 0).Normalized(), 0.6, 0.8, 0);
}

TEST(CVectorTest, DistanceIsNeverBelowTheFloor)
{
    const CVector p(1, 2, 3);
    EXPECT_EQ(Distance(p, p), 1e-5);
    EXPECT_DOUBLE_EQ(Distance(CVector(0, 0, 0), CVector(3, 4, 0)), 5.0);
}

TEST(CVectorTest, ConversionsUseTheRoundedPi)
{
    EXPECT_DOUBLE_EQ(DegToRad(180.0), 3.141592);
    EXPECT_DOUBLE_EQ(RadToDeg(3.141592), 180.0);
}

TEST(CVectorTest, AngleBetween)
{
    struct Case {
        const char* name;
        CVector a;
        CVector b;
        double angle;
    };
    const Case cases[] = {
        { "perpendicular", { 1, 0, 0 }, { 0, 1, 0 }, 89.9999813 },
        { "opposite", { 1, 0, 0 }, { -1, 0, 0 }, 180.0 },
        { "zero vector", { 1, 0, 0 }, { 0, 0, 0 }, 0.0 },
        { "parallel", { 2, 0, 0 }, { 5, 0, 0 }, 0.0 },
        { "45 degrees", { 1, 0, 0 }, { 1, 1, 0 }, 45.0000093 },
    };
    for (const Case& c : cases)
        EXPECT_NEAR(AngleBetween(c.a, c.b), c.angle, kAngleTol) << c.name;
}

TEST(CVectorTest, AngleAroundAxisSenseFollowsTheAxis)
{
    EXPECT_NEAR(AngleAroundAxis({ 1, 0, 0 }, { 0, 1, 0 }, { 0, 0, 1 }), 269.9999813, kAngleTol);
    EXPECT_NEAR(AngleAroundAxis({ 1, 0, 0 }, { 0, 1, 0 }, { 0, 0, -1 }), 90.0000187, kAngleTol);
    EXPECT_EQ(AngleAroundAxis({ 1, 0, 0 }, { -1, 0, 0 }, { 0, 0, 1 }), 180.0);
}

TEST(CVectorTest, DirectionToAngles)
{
    struct Case {
        const char* name;
        CVector d;
        CVector e;
        double tilt;
        double turn;
        double rotation;
    };
    const Case cases[] = {
        { "straight down, default axes", { 0, 0, -1 }, { 0, 1, 0 }, 0.0, 0.0, 90.0000187 },
        { "along x, C0 axis to the right", { 1, 0, 0 }, { 0, -1, 0 }, 89.9999813, 0.0, 0.0 },
        { "along y, C0 axis to the right", { 0, 1, 0 }, { 1, 0, 0 }, 89.9999813, 90.0000187, 0.0 },
        { "along x, C0 axis up", { 1, 0, 0 }, { 0, 0, 1 }, 89.9999813, 0.0, 90.0000187 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double tilt = -1, turn = -1, rotation = -1;
        DirectionToAngles(c.d, c.e, tilt, turn, rotation);
        EXPECT_NEAR(tilt, c.tilt, kAngleTol);
        EXPECT_NEAR(turn, c.turn, kAngleTol);
        EXPECT_NEAR(rotation, c.rotation, 1e-4);
    }
}

TEST(CVectorTest, AxisAtAngleAroundHeading)
{
    CVector d, e;
    AxisAtAngleAroundHeading(0.0, 77.0, 0.0, d, e);
    expectVector(d, 0, 0, -1);
    expectVector(e, 1, 0, 0);

    AxisAtAngleAroundHeading(90.0, 0.0, 0.0, d, e);
    EXPECT_NEAR(d.Length(), 100.0, 1e-9);
    EXPECT_EQ(d.z, 0.0);

    AxisAtAngleAroundHeading(30.0, 0.0, 0.0, d, e);
    // tan(30°) · 100 with pi as 3.141592.
    expectVector(d, 100.0 * std::tan(30.0 * 3.141592 / 180.0), 0, -100, 1e-9);
    EXPECT_NEAR(d.x, 57.735, 1e-3);
}

TEST(CVectorTest, HeadingAndAnglesAreInverse)
{
    const double cases[][3] = { { 30, 45, 10 }, { 60, 200, 300 }, { 120, 10, 45 }, { 45, 300, 170 } };
    for (const auto& c : cases) {
        CVector d, e;
        AxisAtAngleAroundHeading(c[0], c[1], c[2], d, e);
        double tilt, turn, rotation;
        DirectionToAngles(d, e, tilt, turn, rotation);
        EXPECT_NEAR(tilt, c[0], 1e-4);
        EXPECT_NEAR(turn, c[1], 1e-4);
        EXPECT_NEAR(rotation, c[2], 1e-4) << c[0] << " " << c[1] << " " << c[2];
    }
}

TEST(CVectorTest, LocalToGlobalUsesUnitAxes)
{
    const CVector r = LocalToGlobal({ 1, 2, 3 }, { 5, 0, 0 }, { 0, 0.5, 0 }, { 0, 0, -7 });
    expectVector(r, 1, 2, -3);
    expectVector(CombineAxes({ 1, 2, 3 }, { 5, 0, 0 }, { 0, 0.5, 0 }, { 0, 0, -7 }), 1, 2, -3);
}

TEST(CVectorTest, Determinant3AndProducts)
{
    EXPECT_DOUBLE_EQ(Determinant3(2, 0, 0, 0, 3, 0, 0, 0, 4), 24.0);
    EXPECT_DOUBLE_EQ(Determinant3(1, 2, 3, 4, 5, 6, 7, 8, 10), -3.0);
    expectVector(CrossProduct({ 1, 0, 0 }, { 0, 1, 0 }), 0, 0, 1);
    EXPECT_DOUBLE_EQ(AbsCosBetween({ 1, 0, 0 }, { -2, 0, 0 }), 1.0);
}

TEST(CVectorTest, ArchiveRoundTripIsBitExact)
{
    CVector v(0.1, -1e-300, 12345.678901234);
    kzev::Archive out = kzev::Archive::forStoring();
    v.Serialize(out);
    ASSERT_EQ(out.bytes().size(), 24u);
    kzev::Archive in = kzev::Archive::forLoading(out.bytes());
    CVector back(0, 0, 0);
    back.Serialize(in);
    EXPECT_EQ(std::memcmp(&v, &back, sizeof v), 0);

    Muj3dBod point;
    EXPECT_EQ(point.x, 0.0);
    kzev::Archive truncated = kzev::Archive::forLoading(std::span(out.bytes().data(), 20));
    EXPECT_THROW(point.Serialize(truncated), kzev::ArchiveError);
}
