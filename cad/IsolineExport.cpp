#include "cad/IsolineExport.h"

#include "calc/IsolineGrid.h"
#include "calc/IsolineTracer.h"
#include "model/CWorkSystem.h"

#include <cmath>

namespace kzev {

namespace {

struct DrawingPoint {
    double x;
    double y;
};

void writeLabel(const DrawingPoint& a, const DrawingPoint& b, double size, const std::string& text,
    IIsolineWriter& writer)
{
    const double dx = b.x - a.x;
    const double alpha = std::fabs(dx) >= 1e-12 ? std::atan((b.y - a.y) / dx) : 1.570796;
    const double degrees = alpha * 57.29579143313326;
    const double beta = (degrees + 90.0) * 0.01745328888888889;
    writer.label(0.5 * (a.x + b.x) + size * std::cos(beta), 0.5 * (a.y + b.y) + size * std::sin(beta), 2.0 * size,
        degrees, text);
}

} // namespace

void writeIsolines(const CWorkSystem& area, const IsolineGrid& grid, const IsolinePlacement& placement,
    IIsolineWriter& writer)
{
    if (grid.empty())
        return;
    auto toDrawing = [&](const IsolinePoint& p) {
        const CVector room = grid.roomPoint(p.u, p.v);
        return DrawingPoint { (room.x + placement.origin.x) * placement.unitFactor,
            (room.y + placement.origin.y) * placement.unitFactor };
    };
    int segments = 0;
    for (const std::string& levelText : isolineLevelsOf(area).texts) {
        const double level = isolineLevelValue(levelText);
        const std::string text = isolineLabel(level);
        for (const Isoline& line : traceIsolines(grid, level)) {
            for (std::size_t n = 1; n < line.points.size(); ++n) {
                const DrawingPoint from = toDrawing(line.points[n - 1]);
                const DrawingPoint to = toDrawing(line.points[n]);
                writer.segment(from.x, from.y, to.x, to.y);
                if (++segments == 5) {
                    segments = 0;
                    writeLabel(from, to, placement.labelSize, text, writer);
                }
            }
        }
    }
}

} // namespace kzev
