#include "dialogs/obstacles/WallRowPoints.h"

#include "model/CRoom.h"
#include "model/WallRow.h"
#include "platform/TextUtil.h"
#include "platform/TypedNumber.h"

#include <algorithm>
#include <cmath>

namespace kzev {

std::string wallRowCell(double value, std::int32_t unitMm)
{
    return unitMm == 1 ? formatC("%1.0lf", value) : formatC("%1.3lf", value);
}

std::vector<CVector> wallRowPoints(const std::vector<std::array<std::string, 3>>& rows, std::int32_t unitMm)
{
    const double scale = unitMm == 1 ? 0.001 : 1.0;
    std::vector<CVector> points;
    points.reserve(rows.size());
    for (const auto& row : rows) {
        // A cell that is no number ("x", "inf", "nan") is no coordinate: it counts as 0.
        const auto cell = [scale](const std::string& text) { return readTypedNumber(text).value_or(0.0) * scale; };
        points.push_back(CVector { cell(row[0]), cell(row[1]), cell(row[2]) });
    }
    return points;
}

std::optional<RoomOutline> buildIrregularOutline(
    CRoom& room, const std::vector<CVector>& points, double height, double thickness)
{
    if (points.empty())
        return std::nullopt;
    CVector low { 1e100, 1e100, 1e100 };
    CVector high { -1e100, -1e100, -1e100 };
    for (const CVector& p : points) {
        low = { std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z) };
        high = { std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z) };
    }
    std::vector<CVector> relative;
    relative.reserve(points.size());
    for (const CVector& p : points)
        relative.push_back(p - low);
    RoomOutline outline;
    outline.low = low;
    outline.length = high.x - low.x;
    outline.width = high.y - low.y;
    outline.walls = appendWallRow(room, relative, height, thickness);
    return outline;
}

} // namespace kzev
