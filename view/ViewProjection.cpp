#include "view/ViewProjection.h"

#include "model/CRoom.h"

#include <algorithm>
#include <cmath>

namespace kzev {

namespace {

// Below this an extent counts as zero: a layout never divides by it.
constexpr double kTinyExtent = 1e-12;

int truncToInt(double value)
{
    if (!std::isfinite(value))
        return 0;
    // Far beyond any device; keeps the conversion defined for absurd scenes.
    constexpr double kLimit = 1.0e9;
    return static_cast<int>(std::clamp(value, -kLimit, kLimit));
}

bool between(double value, double bound1, double bound2)
{
    return value >= std::min(bound1, bound2) && value <= std::max(bound1, bound2);
}

} // namespace

int scaleSize(int n, double outputScale)
{
    return n * truncToInt(outputScale);
}

void ViewProjection::setVanishingFractions(double horizontal, double vertical)
{
    m_fractionH = std::isfinite(horizontal) ? horizontal : 0.5;
    m_fractionV = std::isfinite(vertical) ? vertical : 0.5;
}

void ViewProjection::setSceneExtents(const std::array<double, 3>& minimum, const std::array<double, 3>& maximum)
{
    m_min = minimum;
    m_max = maximum;
}

void ViewProjection::ExtendSceneExtents(const CVector& p)
{
    const std::array<double, 3> c { p.x, p.y, p.z };
    for (std::size_t i = 0; i < 3; ++i) {
        if (!std::isfinite(c[i]))
            continue; // a damaged coordinate must not blow the scene up
        if (c[i] < m_min[i])
            m_min[i] = c[i];
        if (c[i] > m_max[i])
            m_max[i] = c[i];
    }
}

void ViewProjection::computeSceneExtents(const CRoom* room)
{
    m_min = { 0.0, 0.0, 0.0 };
    m_max = { 0.0, 0.0, 0.0 };
    if (!room)
        return;
    m_max = { room->m_length, room->m_width, room->m_height };
    for (std::size_t k = 0; k < 3; ++k) {
        if (!std::isfinite(m_max[k]))
            m_max[k] = 0.0;
    }
    m_min = { std::min(0.0, m_max[0]), std::min(0.0, m_max[1]), std::min(0.0, m_max[2]) };
    m_max = { std::max(0.0, m_max[0]), std::max(0.0, m_max[1]), std::max(0.0, m_max[2]) };

    for (const CXSystem& obstacles : room->m_obstacleSystems) {
        if (obstacles.m_off == 1)
            continue;
        const CVector& a = obstacles.m_edgeA;
        const CVector& b = obstacles.m_edgeB;
        const CVector& c = obstacles.m_edgeC;
        if (obstacles.m_count1 <= 0 || obstacles.m_count2 <= 0)
            continue;
        // The array is regular: its extremes lie at the obstacles of its four corners.
        for (const std::int32_t i : { 0, obstacles.m_count1 - 1 }) {
            for (const std::int32_t j : { 0, obstacles.m_count2 - 1 }) {
                const CVector p = obstacles.ObstacleCorner(i, j);
                for (const CVector& corner : { p + a, p + a + b, p + b, p, p + c, p + c + a, p + c + a + b, p + c + b })
                    ExtendSceneExtents(corner);
            }
        }
    }
    const CVector half { 0.5, 0.5, 0.5 };
    for (const CLampSystem& system : room->m_lampSystems) {
        for (const COneLampSystem& luminaire : system.m_luminaires) {
            ExtendSceneExtents(luminaire.m_position);
            ExtendSceneExtents(luminaire.m_position - half);
            ExtendSceneExtents(luminaire.m_position + half);
        }
    }
}

double ViewProjection::horizontalExtent() const
{
    const int code = m_viewCode;
    if (code == ViewCode::Wall2 || code == ViewCode::Wall4)
        return m_max[1] - m_min[1];
    return m_max[0] - m_min[0];
}

double ViewProjection::verticalExtent() const
{
    const int code = m_viewCode;
    if (code == ViewCode::Wall1 || code == ViewCode::Wall2 || code == ViewCode::Wall3 || code == ViewCode::Wall4)
        return m_max[2] - m_min[2];
    return m_max[1] - m_min[1];
}

void ViewProjection::computePlanLayout(const LayoutInput& in)
{
    const double w = horizontalExtent();
    const double h = verticalExtent();
    // A zero extent takes no part in the choice of the factor; with both zero the plan is one point.
    auto factor = [](double room, double extent) {
        return extent > kTinyExtent ? room / extent : -1.0;
    };
    auto smaller = [](double kx, double ky) {
        if (kx < 0.0 && ky < 0.0)
            return 0.0;
        if (kx < 0.0)
            return ky;
        if (ky < 0.0)
            return kx;
        return kx < ky ? kx : ky;
    };

    if (!in.print || in.printScale < 0) {
        const int margin = scaleSize(40, in.outputScale);
        const double kx = factor(in.right - in.left - margin, w);
        const double ky = factor(in.bottom - in.textHeight - in.top - margin, h);
        const double zoom = std::isfinite(in.zoom) && in.zoom > 0.0 ? in.zoom : 1.0;
        const double k = std::max(0.0, smaller(kx, ky)) * zoom;
        m_plan.left = in.left + 20;
        m_plan.right = in.left + 20 + truncToInt(k * w);
        m_plan.bottom = in.bottom - 20;
        m_plan.top = in.bottom - 20 - truncToInt(k * h);
        if (in.centre) {
            // A long road leaves most of the height free, a tall wall most of the width: half of it goes to each side.
            const int spareX = std::max(0, in.right - in.left - margin - (m_plan.right - m_plan.left)) / 2;
            const int spareY = std::max(0, in.bottom - in.textHeight - in.top - margin - (m_plan.bottom - m_plan.top)) / 2;
            m_plan.left += spareX;
            m_plan.right += spareX;
            m_plan.bottom -= spareY;
            m_plan.top -= spareY;
        }
    } else if (in.printScale > 0) {
        const double f = 10000.0 / in.printScale;
        m_plan.left = 10 * in.marginLeft;
        m_plan.right = truncToInt(f * w) + 10 * in.marginLeft;
        m_plan.top = -in.topOffset;
        m_plan.bottom = -(truncToInt(f * h) + in.topOffset);
    } else {
        const double kx = factor(in.right - in.left - 10 * (in.marginLeft + in.marginRight), w);
        const double ky = factor(in.bottom - 10 * in.marginBottom - in.top - in.topOffset, h);
        double k = 0.0;
        if (kx >= 0.0 && (ky < 0.0 || kx < ky)) {
            k = kx;
            m_plan.bottom = -(truncToInt(k * h) + in.topOffset);
        } else {
            k = std::max(0.0, ky);
            m_plan.bottom = in.gap - truncToInt(k * h) - in.topOffset;
        }
        m_plan.left = 10 * in.marginLeft;
        m_plan.top = -in.topOffset;
        m_plan.right = truncToInt(k * w) + 10 * in.marginLeft;
    }
    m_vanishing.x = m_plan.left + truncToInt((m_plan.right - m_plan.left) * m_fractionH);
    m_vanishing.y = m_plan.bottom + truncToInt((m_plan.top - m_plan.bottom) * m_fractionV);
}

ViewProjection::ViewAxes ViewProjection::axesOf(double x, double y, double z) const
{
    const double dx = m_max[0] - m_min[0];
    const double dy = m_max[1] - m_min[1];
    const double dz = m_max[2] - m_min[2];
    switch (m_viewCode) {
    case ViewCode::Ceiling: return { x - m_min[0], m_max[1] - y, z };
    case ViewCode::Wall1: return { m_max[0] - x, z - m_min[2], dy - y };
    case ViewCode::Wall2: return { m_max[1] - y, z - m_min[2], x };
    case ViewCode::Wall3: return { x - m_min[0], z - m_min[2], y };
    case ViewCode::Wall4: return { y - m_min[1], z - m_min[2], dx - x };
    default: return { x - m_min[0], y - m_min[1], dz - z };
    }
}

namespace {

// The pull towards the vanishing point: 0 without the depth effect, 1 - q with it.
double depthPull(bool depthEffect, double depth, double hx, double hy)
{
    if (!depthEffect)
        return 0.0;
    const double denominator = depth + hx + hy;
    if (std::fabs(denominator) <= kTinyExtent)
        return 0.0;
    const double ratio = (hx + hy) / denominator;
    return 1.0 - ratio * ratio;
}

} // namespace

DevicePoint ViewProjection::project(double x, double y, double z) const
{
    const ViewAxes a = axesOf(x, y, z);
    const double hx = horizontalExtent();
    const double hy = verticalExtent();
    const double spanX = m_plan.right - m_plan.left;
    const double spanY = m_plan.top - m_plan.bottom;
    const int px0 = m_plan.left + (hx > kTinyExtent ? truncToInt(a.h * spanX / hx + 0.5) : 0);
    const int py0 = m_plan.bottom + (hy > kTinyExtent ? truncToInt(a.v * spanY / hy + 0.5) : 0);
    const double pull = depthPull(m_depthEffect, a.depth, hx, hy);
    return { px0 + truncToInt((m_vanishing.x - px0) * pull + 0.5),
        py0 + truncToInt((m_vanishing.y - py0) * pull + 0.5) };
}

std::array<double, 3> ViewProjection::unproject(int px, int py, double depthCoordinate) const
{
    const double hx = horizontalExtent();
    const double hy = verticalExtent();
    // The depth of the point follows from its coordinate along the viewing direction alone.
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    switch (m_viewCode) {
    case ViewCode::Wall1:
    case ViewCode::Wall3: y = depthCoordinate; break;
    case ViewCode::Wall2:
    case ViewCode::Wall4: x = depthCoordinate; break;
    default: z = depthCoordinate; break;
    }
    const double depth = axesOf(x, y, z).depth;
    const double pull = depthPull(m_depthEffect, depth, hx, hy);
    const double keep = 1.0 - pull;
    const double px0 = std::fabs(keep) > kTinyExtent ? (px - m_vanishing.x * pull) / keep : px;
    const double py0 = std::fabs(keep) > kTinyExtent ? (py - m_vanishing.y * pull) / keep : py;
    const double spanX = m_plan.right - m_plan.left;
    const double spanY = m_plan.top - m_plan.bottom;
    const double h = spanX != 0.0 ? (px0 - m_plan.left) * hx / spanX : 0.0;
    const double v = spanY != 0.0 ? (py0 - m_plan.bottom) * hy / spanY : 0.0;
    switch (m_viewCode) {
    case ViewCode::Ceiling: return { m_min[0] + h, m_max[1] - v, depthCoordinate };
    case ViewCode::Wall1: return { m_max[0] - h, depthCoordinate, m_min[2] + v };
    case ViewCode::Wall2: return { depthCoordinate, m_max[1] - h, m_min[2] + v };
    case ViewCode::Wall3: return { m_min[0] + h, depthCoordinate, m_min[2] + v };
    case ViewCode::Wall4: return { depthCoordinate, m_min[1] + h, m_min[2] + v };
    default: return { m_min[0] + h, m_min[1] + v, depthCoordinate };
    }
}

double ViewProjection::distanceInViewPlane(double x1, double x2, double y1, double y2, double z1, double z2) const
{
    const double dx = x1 - x2;
    const double dy = y1 - y2;
    const double dz = z1 - z2;
    switch (m_viewCode) {
    case ViewCode::Floor:
    case ViewCode::Ceiling: return std::sqrt(dx * dx + dy * dy);
    case ViewCode::Wall1:
    case ViewCode::Wall3: return std::sqrt(dx * dx + dz * dz);
    case ViewCode::Wall2:
    case ViewCode::Wall4: return std::sqrt(dy * dy + dz * dz);
    default: return std::sqrt(dx * dx + dy * dy + dz * dz);
    }
}

int ViewProjection::testInViewPlaneRange(double x, double xBound1, double xBound2, double y, double yBound1,
    double yBound2, double z, double zBound1, double zBound2) const
{
    const bool inX = between(x, xBound1, xBound2);
    const bool inY = between(y, yBound1, yBound2);
    const bool inZ = between(z, zBound1, zBound2);
    switch (m_viewCode) {
    case ViewCode::Floor:
    case ViewCode::Ceiling: return inX && inY ? 1 : 0;
    case ViewCode::Wall1:
    case ViewCode::Wall3: return inX && inZ ? 1 : 0;
    case ViewCode::Wall2:
    case ViewCode::Wall4: return inY && inZ ? 1 : 0;
    default: return 1;
    }
}

} // namespace kzev
