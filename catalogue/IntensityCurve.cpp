#include "catalogue/IntensityCurve.h"

#include "model/CLuminaire.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cmath>

namespace kzev {

namespace {

constexpr double kDegree = 0.01745328888888889;

int offset(double value)
{
    return static_cast<int>(value); // truncates toward zero, like the diagram always has
}

/** One plane of the diagram over gamma 0..180 in 5-degree steps; side +1 right, -1 left. */
void drawPlane(IDrawSurface& surface, const CLuminaire& luminaire, int plane, int side, int cx, int cy, int radius)
{
    if (luminaire.m_intensity.size() < static_cast<std::size_t>(CLuminaire::kPlanes) * CLuminaire::kGammas)
        return;
    for (int gamma = 0; gamma <= 180; gamma += 5) {
        const double r = static_cast<double>(radius) * luminaire.at(plane, gamma) / luminaire.m_maxIntensity;
        const int x = cx + side * offset(r * std::sin(gamma * kDegree));
        const int y = cy + offset(r * std::cos(gamma * kDegree));
        if (gamma == 0)
            surface.moveTo(x, y);
        else
            surface.lineTo(x, y);
    }
}

} // namespace

void DrawIntensityCurve(IDrawSurface& surface, int left, int top, int width, int height, const CLuminaire& luminaire)
{
    const int cx = left + width / 2;
    const int cy = top + height / 2;
    const int radius = std::min(width / 2, height / 2) * 95 / 100;
    if (radius <= 0)
        return;
    const Pen gridPen = surface.pen();
    const auto at = [&](double r, int angle) {
        return DevicePoint { cx + offset(r * std::sin(angle * kDegree)), cy + offset(r * std::cos(angle * kDegree)) };
    };

    surface.moveTo(cx, cy + radius);
    for (int a = 0; a <= 360; a += 5) {
        const DevicePoint p = at(radius, a);
        surface.lineTo(p.x, p.y);
    }
    for (int a = 0; a <= 360; a += 5) {
        const DevicePoint p = at(0.5 * radius, a);
        surface.lineTo(p.x, p.y);
    }
    for (int a = 0; a <= 360; a += 30) {
        const DevicePoint p = at(radius, a);
        surface.moveTo(cx, cy);
        surface.lineTo(p.x, p.y);
    }

    if (luminaire.m_maxIntensity > 0) {
        // The outer circle stands for the largest intensity; the planes are told apart by colour.
        if (width >= 120 && height >= 120) {
            const unsigned align = surface.textAlign();
            surface.setTextAlign(TextAlign::Left | TextAlign::Top);
            const int line = surface.textExtent("C0").cy;
            surface.setTextColour(kCurvePenC0.colour);
            surface.textOut(left + 2, top + 2, "C0-C180");
            surface.setTextColour(kCurvePenC90.colour);
            surface.textOut(left + 2, top + 2 + line, "C90-C270");
            surface.setTextColour(gridPen.colour);
            surface.setTextAlign(TextAlign::Left | TextAlign::Bottom);
            surface.textOut(left + 2, top + height - 2, formatC("%ld cd/klm", static_cast<long>(luminaire.m_maxIntensity)));
            surface.setTextAlign(align);
        }
        surface.selectPen(kCurvePenC0);
        drawPlane(surface, luminaire, 0, 1, cx, cy, radius);
        surface.selectPen(kCurvePenC90);
        drawPlane(surface, luminaire, 90, 1, cx, cy, radius);
        surface.selectPen(kCurvePenC0);
        drawPlane(surface, luminaire, 180, -1, cx, cy, radius);
        surface.selectPen(kCurvePenC90);
        drawPlane(surface, luminaire, 270, -1, cx, cy, radius);
    }
    surface.selectPen(gridPen);
}

} // namespace kzev
