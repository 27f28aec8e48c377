#include "cad/drawing/DxfOcs.h"

#include <cmath>

namespace kzev {

namespace {

DrawingPoint cross(const DrawingPoint& a, const DrawingPoint& b)
{
    return { a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x };
}

double dot(const DrawingPoint& a, const DrawingPoint& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

DrawingPoint unit(const DrawingPoint& a)
{
    const double length = std::sqrt(dot(a, a));
    return { a.x / length, a.y / length, a.z / length };
}

} // namespace

DxfOcs::DxfOcs(const DrawingPoint& extrusion)
{
    const double length = std::sqrt(dot(extrusion, extrusion));
    // A zero or broken direction means none: the world's own system.
    if (!std::isfinite(length) || length <= 0.0)
        return;
    m_az = unit(extrusion);
    if (m_az.x == 0.0 && m_az.y == 0.0 && m_az.z > 0.0)
        return;
    m_world = false;
    constexpr double kNearZ = 1.0 / 64.0;
    const bool nearZ = std::fabs(m_az.x) < kNearZ && std::fabs(m_az.y) < kNearZ;
    m_ax = unit(cross(nearZ ? DrawingPoint { 0.0, 1.0, 0.0 } : DrawingPoint { 0.0, 0.0, 1.0 }, m_az));
    m_ay = unit(cross(m_az, m_ax));
}

DrawingPoint DxfOcs::toWorld(const DrawingPoint& p) const
{
    if (m_world)
        return p;
    return { p.x * m_ax.x + p.y * m_ay.x + p.z * m_az.x, p.x * m_ax.y + p.y * m_ay.y + p.z * m_az.y,
        p.x * m_ax.z + p.y * m_ay.z + p.z * m_az.z };
}

DrawingPoint DxfOcs::fromWorld(const DrawingPoint& p) const
{
    if (m_world)
        return p;
    return { dot(p, m_ax), dot(p, m_ay), dot(p, m_az) };
}

} // namespace kzev
