#include "model/CVector.h"

#include "platform/Archive.h"

#include <cmath>

void CVector::Serialize(kzev::Archive& ar)
{
    ar.io(x);
    ar.io(y);
    ar.io(z);
}

void Muj3dBod::Serialize(kzev::Archive& ar)
{
    ar.io(x);
    ar.io(y);
    ar.io(z);
}

namespace {

/** Cosine of the angle between a and b, or nothing when either is shorter than 1e-5. */
bool cosineBetween(const CVector& a, const CVector& b, double& c)
{
    const double la = a.Length();
    const double lb = b.Length();
    if (std::fabs(la) <= 1e-5 || std::fabs(lb) <= 1e-5)
        return false;
    c = DotProduct(a, b) / la / lb;
    return true;
}

double acosDegrees(double c)
{
    // Rounding can push |c| a hair above 1; acos must not see that.
    const double clamped = std::fabs(c) > 1.0 ? 1.0 : std::fabs(c);
    return RadToDeg(std::acos(clamped));
}

} // namespace

double AngleAroundAxis(const CVector& a, const CVector& b, CVector axis)
{
    const double s = DotProduct(CrossProduct(a, b).Normalized(), axis.Normalized());
    double c = 0.0;
    if (!cosineBetween(a, b, c))
        return 0.0;
    if (std::fabs(1.0 - c) <= 1e-5)
        return 0.0;
    if (std::fabs(c + 1.0) <= 1e-5)
        return 180.0;
    const double t = acosDegrees(c);
    if (s < 1e-5)
        return c < -1e-5 ? 180.0 - t : t;
    return c < -1e-5 ? 180.0 + t : 360.0 - t;
}

double Determinant3(double m0, double m1, double m2, double m3, double m4, double m5, double m6, double m7,
    double m8)
{
    return m1 * m5 * m6 + m2 * m3 * m7 + m0 * m4 * m8 - (m2 * m4 * m6 + m0 * m5 * m7 + m1 * m3 * m8);
}

CVector LocalToGlobal(CVector k, CVector u, CVector v, CVector w)
{
    const CVector uu = u.Normalized();
    const CVector vv = v.Normalized();
    const CVector ww = w.Normalized();
    return { (k.z * ww.x + k.y * vv.x) + k.x * uu.x, (k.z * ww.y + k.y * vv.y) + k.x * uu.y,
        (k.z * ww.z + k.y * vv.z) + k.x * uu.z };
}

CVector CombineAxes(CVector k, CVector x, CVector y, CVector z)
{
    return LocalToGlobal(k, x, y, z);
}

void DirectionToAngles(CVector d, CVector e, double& tilt, double& turn, double& rotation)
{
    const CVector down { 0.0, 0.0, -1.0 };
    const CVector xAxis { 1.0, 0.0, 0.0 };
    tilt = AngleBetween(down, d);
    if (std::fabs(d.x) <= 1e-7 && std::fabs(d.y) <= 1e-7)
        turn = 0.0;
    else
        turn = AngleAroundAxis(xAxis, CVector { d.x, d.y, 0.0 }, down);
    if (std::fabs(d.z) <= 1e-7)
        rotation = AngleAroundAxis(CrossProduct(d.Normalized(), CVector { 0.0, 0.0, 1.0 }), e, d);
    else if (std::fabs(d.x) <= 1e-6 && std::fabs(d.y) <= 1e-6)
        rotation = AngleAroundAxis(xAxis, e, down);
    else
        rotation = AngleAroundAxis(CrossProduct(d, CVector { d.x, d.y, -d.z }), e, d);
}

void AxisAtAngleAroundDirection(CVector d, double angle, CVector& axis)
{
    CVector a1;
    CVector a2;
    if (std::fabs(d.z) <= 0.0001) {
        a1 = CrossProduct(d, CVector { 0.0, 0.0, 1.0 });
        a2 = CVector { 0.0, 0.0, 1.0 };
    } else {
        const CVector mirrored { d.x, d.y, -d.z };
        a1 = CrossProduct(d, mirrored);
        a2 = CrossProduct(a1, d);
    }
    const double ca = std::cos(DegToRad(angle));
    const double sa = std::sin(DegToRad(angle));
    if (a1.Length() < 0.001 && std::fabs(d.z) > 0.0001) {
        axis = CVector { ca, sa, 0.0 };
        return;
    }
    axis = LocalToGlobal(CVector { ca, sa, 0.0 }, a1, a2, d);
}

void AxisAtAngleAroundHeading(double tilt, double turn, double rotation, CVector& direction, CVector& axis)
{
    if (std::fabs(tilt) <= 1e-5) {
        direction = CVector { 0.0, 0.0, -1.0 };
    } else if (std::fabs(tilt - 90.0) <= 1e-5) {
        direction = CVector { 100.0 * std::cos(DegToRad(turn)), 100.0 * std::sin(DegToRad(turn)), 0.0 };
    } else {
        const double z = tilt > 90.0 ? 100.0 : -100.0;
        const double q = std::fabs(std::tan(DegToRad(tilt)) * z);
        direction = CVector { q * std::cos(DegToRad(turn)), q * std::sin(DegToRad(turn)), z };
    }
    AxisAtAngleAroundDirection(direction, rotation, axis);
}
