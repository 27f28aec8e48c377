#include "view/gl/GLCamera.h"

#include <algorithm>
#include <cmath>

namespace kzev {

std::optional<GLEyeTarget> GLCamera::eyeTarget(int viewCode, const std::array<double, 3>& sceneMinimum,
    const std::array<double, 3>& sceneMaximum, const CVector& roomPosition, double distanceOffset)
{
    const CVector a { sceneMinimum[0] + roomPosition.x, sceneMinimum[1] + roomPosition.y,
        sceneMinimum[2] + roomPosition.z };
    const CVector b { sceneMaximum[0] + roomPosition.x, sceneMaximum[1] + roomPosition.y,
        sceneMaximum[2] + roomPosition.z };
    const double d = distanceOffset * 0.1;
    const CVector c { (a.x + b.x) / 2.0, (a.y + b.y) / 2.0, (a.z + b.z) / 2.0 };
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double dz = b.z - a.z;
    auto larger = [](double first, double second) { return second > first ? second : first; };
    GLEyeTarget result;
    switch (viewCode) {
    case 112:
    case 113: {
        const double distance = (dx + dy) / 2.0 + d;
        result.eye = viewCode == 112 ? CVector { c.x, c.y, b.z + distance } : CVector { c.x, c.y, a.z - distance };
        result.target = viewCode == 112 ? CVector { c.x, c.y, a.z } : CVector { c.x, c.y, b.z };
        result.sceneSize = larger(dx, dy);
        break;
    }
    case 114:
    case 116: {
        const double distance = (dx + dz) / 2.0 + d;
        result.eye = viewCode == 114 ? CVector { c.x, b.y + distance, c.z } : CVector { c.x, a.y - distance, c.z };
        result.target = viewCode == 114 ? CVector { c.x, a.y, c.z } : CVector { c.x, b.y, c.z };
        result.sceneSize = larger(dx, dz);
        break;
    }
    case 115:
    case 117: {
        const double distance = (dy + dz) / 2.0 + d;
        result.eye = viewCode == 115 ? CVector { a.x - distance, c.y, c.z } : CVector { b.x + distance, c.y, c.z };
        result.target = viewCode == 115 ? CVector { b.x, c.y, c.z } : CVector { a.x, c.y, c.z };
        result.sceneSize = larger(dy, dz);
        break;
    }
    default:
        return std::nullopt;
    }
    return result;
}

CVector GLCamera::up(int viewCode)
{
    return viewCode == 112 || viewCode == 113 ? CVector { 0.0, 1.0, 0.0 } : CVector { 0.0, 0.0, 1.0 };
}

CVector GLCamera::wheelEye(int viewCode, const CVector& eye, const CVector& target, double wheelStep, int delta)
{
    const double s = delta > 0 ? -wheelStep : wheelStep;
    CVector moved = eye;
    switch (viewCode) {
    case 112: moved.z += s; break;
    case 113: moved.z -= s; break;
    case 114: moved.y += s; break;
    case 115: moved.x -= s; break;
    case 116: moved.y -= s; break;
    case 117: moved.x += s; break;
    default: break;
    }
    // Which axis the view looks along, and on which side of the target the eye stands.
    int axis = -1;
    double side = 1.0;
    switch (viewCode) {
    case 112: axis = 2; side = 1.0; break;
    case 113: axis = 2; side = -1.0; break;
    case 114: axis = 1; side = 1.0; break;
    case 115: axis = 0; side = -1.0; break;
    case 116: axis = 1; side = -1.0; break;
    case 117: axis = 0; side = 1.0; break;
    default: return moved;
    }
    const auto along = [axis](const CVector& v) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; };
    const double before = side * (along(eye) - along(target));
    const double after = side * (along(moved) - along(target));
    // An eye that already stands nearer (a camera stored so) is only held, never pushed through.
    const double nearest = std::min(before, kNearestEye);
    if (after < nearest) {
        const double held = along(target) + side * nearest;
        (axis == 0 ? moved.x : axis == 1 ? moved.y : moved.z) = held;
    }
    return moved;
}

CVector GLCamera::dragStep(int viewCode, const CVector& point, int dx, int dy)
{
    const double a = static_cast<double>(0.05F);
    const double h = a * dx;
    const double v = a * dy;
    CVector moved = point;
    switch (viewCode) {
    case 112: moved.x -= h; moved.y += v; break;
    case 113: moved.x += h; moved.y += v; break;
    case 114: moved.x += h; moved.z += v; break;
    case 115: moved.y += h; moved.z += v; break;
    case 116: moved.x -= h; moved.z += v; break;
    case 117: moved.y -= h; moved.z += v; break;
    default: break;
    }
    return moved;
}

double GLBrightnessFromValue(double value, double maximum, double reflectance)
{
    const double ratio = 10.0 * value / maximum * reflectance;
    // No light (or no maximum) is black rather than the logarithm of nothing.
    if (!std::isfinite(ratio) || ratio <= 0.0)
        return 0.0;
    return 0.5 * (1.0 + std::log10(ratio));
}

int roundBodyStep(double angleIncrement)
{
    const double whole = std::trunc(angleIncrement + 1e-12);
    if (!std::isfinite(whole) || whole < 1.0)
        return 1;
    return whole > 360.0 ? 360 : static_cast<int>(whole);
}

} // namespace kzev
