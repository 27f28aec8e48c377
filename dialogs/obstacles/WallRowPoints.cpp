#include "dialogs/obstacles/WallRowPoints.h"

#include "model/CRoom.h"
#include "model/WallRow.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kzev {

std::string wallRowCell(double value, std::int32_t unitMm)
{
    return unitMm == 1 ? formatC("%1.0lf", value) : formatC("%1.3lf", value);
}

std::optional<double> typedNumber(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    std::string copy(text);
    std::replace(copy.begin(), copy.end(), ',', '.');
    if (!copy.empty() && copy.front() == '+')
        copy.erase(0, 1);
    double value = 0.0;
    const char* first = copy.data();
    const char* last = copy.data() + copy.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (copy.empty() || error != std::errc() || end != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::vector<CVector> wallRowPoints(const std::vector<std::array<std::string, 3>>& rows, std::int32_t unitMm)
{
    const double scale = unitMm == 1 ? 0.001 : 1.0;
    std::vector<CVector> points;
    points.reserve(rows.size());
    for (const auto& row : rows) {
        CVector p { StrToDouble(row[0]) * scale, StrToDouble(row[1]) * scale, StrToDouble(row[2]) * scale };
        // A cell holding "inf" or "nan" is no coordinate.
        for (double* c : { &p.x, &p.y, &p.z }) {
            if (!std::isfinite(*c))
                *c = 0.0;
        }
        points.push_back(p);
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
