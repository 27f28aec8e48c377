#pragma once

#include <cmath>

namespace kzev {
class Archive;
}

/**
 * A 3-D vector of three doubles: a point, a direction or a triple of
 * coefficients, in metres in the room's frame with z pointing up. The default
 * constructor leaves the values unset, as every user assigns them first.
 */
class CVector {
public:
    double x;
    double y;
    double z;

    CVector() = default; // NOLINT: deliberately uninitialised, see above
    CVector(double ax, double ay, double az)
        : x(ax)
        , y(ay)
        , z(az)
    {
    }

    /** Stores or loads the three doubles (24 bytes, no tag). */
    void Serialize(kzev::Archive& ar);

    /** Returns sqrt(x² + y² + z²). */
    [[nodiscard]] double Length() const { return std::sqrt(x * x + y * y + z * z); }
    /** Returns the unit vector; the zero vector when the length is 0.0001 or less. */
    [[nodiscard]] CVector Normalized() const
    {
        const double length = Length();
        if (std::fabs(length) <= 0.0001)
            return { 0.0, 0.0, 0.0 };
        return { x / length, y / length, z / length };
    }

    bool operator==(const CVector&) const = default;
};

// The helpers of the inner loops are inline: a call per vector operation costs more than the operation.
inline CVector operator+(const CVector& a, const CVector& b)
{
    return { a.x + b.x, a.y + b.y, a.z + b.z };
}

inline CVector operator-(const CVector& a, const CVector& b)
{
    return { a.x - b.x, a.y - b.y, a.z - b.z };
}

inline CVector operator*(double s, const CVector& v)
{
    return { s * v.x, s * v.y, s * v.z };
}

/** A serialisable 3-D point whose default is the origin (the CAD pick button's point). */
class Muj3dBod {
public:
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    void Serialize(kzev::Archive& ar);
    bool operator==(const Muj3dBod&) const = default;
};

// pi is taken as 3.141592 in these conversions so that results match stored projects.
inline constexpr double kModelPi = 3.141592;

[[nodiscard]] inline double DotProduct(const CVector& a, const CVector& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

[[nodiscard]] inline CVector CrossProduct(const CVector& a, const CVector& b)
{
    return { a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x };
}

/** Returns the length of a − b, never less than 1e-5. */
[[nodiscard]] inline double Distance(const CVector& a, const CVector& b)
{
    const double d = (a - b).Length();
    return d < 1e-5 ? 1e-5 : d;
}

/** Degrees to radians with pi as 3.141592. */
[[nodiscard]] inline double DegToRad(double degrees)
{
    return degrees * 0.01745328888888889;
}

/** Radians to degrees with pi as 3.141592. */
[[nodiscard]] inline double RadToDeg(double radians)
{
    return radians * 57.29579143313326;
}

/**
 * Returns the unoriented angle in degrees, 0 to 180, whose cosine is c:
 * within 1e-5 of either end it is exactly 0 or 180.
 */
[[nodiscard]] inline double AngleOfCosine(double c)
{
    if (std::fabs(1.0 - c) <= 1e-5)
        return 0.0;
    if (std::fabs(c + 1.0) <= 1e-5)
        return 180.0;
    // Rounding can push |c| a hair above 1; acos must not see that.
    const double clamped = std::fabs(c) > 1.0 ? 1.0 : std::fabs(c);
    const double t = RadToDeg(std::acos(clamped));
    return c >= 1e-5 ? t : 180.0 - t;
}

/** Returns the unoriented angle between a and b in degrees, 0 to 180 (0 for a short vector). */
[[nodiscard]] inline double AngleBetween(const CVector& a, const CVector& b)
{
    const double la = a.Length();
    const double lb = b.Length();
    if (std::fabs(la) <= 1e-5 || std::fabs(lb) <= 1e-5)
        return 0.0;
    return AngleOfCosine(DotProduct(a, b) / la / lb);
}

/** Returns |a·b| / |a| / |b|; callers pass vectors of non-zero length. */
[[nodiscard]] inline double AbsCosBetween(const CVector& a, const CVector& b)
{
    return std::fabs(DotProduct(a, b)) / a.Length() / b.Length();
}
/** Returns the oriented angle from a to b in degrees, 0 to below 360, its sense fixed by the axis. */
[[nodiscard]] double AngleAroundAxis(const CVector& a, const CVector& b, CVector axis);
/** Returns the determinant of the 3 × 3 matrix given row by row. */
[[nodiscard]] double Determinant3(double m0, double m1, double m2, double m3, double m4, double m5, double m6,
    double m7, double m8);
/** Returns k.x·unit(U) + k.y·unit(V) + k.z·unit(W). */
[[nodiscard]] CVector LocalToGlobal(CVector k, CVector u, CVector v, CVector w);
/** The same as LocalToGlobal; used by luminaire outlines, the DXF export and the 3-D view. */
[[nodiscard]] CVector CombineAxes(CVector k, CVector x, CVector y, CVector z);
/** Writes tilt, turn and rotation (degrees) of the optical axis D with the C0 axis E. */
void DirectionToAngles(CVector d, CVector e, double& tilt, double& turn, double& rotation);
/** Writes the unit direction perpendicular to D at the angle (degrees) about D. */
void AxisAtAngleAroundDirection(CVector d, double angle, CVector& axis);
/** Writes the direction for tilt and turn, and the axis at the rotation about it. */
void AxisAtAngleAroundHeading(double tilt, double turn, double rotation, CVector& direction, CVector& axis);
