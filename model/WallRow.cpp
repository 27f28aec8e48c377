#include "model/WallRow.h"

#include "model/CRoom.h"
#include "model/NumberedName.h"
#include "platform/StringTable.h"

namespace kzev {

namespace {

constexpr int kWallName = 61950; // "Stěna %d"
constexpr int kFlatWalls = 63541;
constexpr std::size_t kObstacleColour = 3;
// A doubled point of the polyline makes no wall of zero length.
constexpr double kShortestWall = 0.0001;

} // namespace

std::string wallRowRefusal(double height, double thickness)
{
    // Negated so that values that are not numbers are refused too.
    if (!(height > 0.0 && thickness > 0.0))
        return loadString(kFlatWalls);
    return {};
}

std::vector<CXSystem> wallRow(const std::vector<CVector>& points, double height, double thickness,
    std::uint32_t colour, int firstNumber)
{
    std::vector<CXSystem> walls;
    if (points.size() < 2)
        return walls;
    const CVector up { 0.0, 0.0, height };
    CVector start = points.front();
    for (std::size_t k = 1; k < points.size(); ++k) {
        const CVector along = points[k] - start;
        if (along.Length() < kShortestWall)
            continue;
        CXSystem wall(colour);
        wall.m_name = numberedName(kWallName, firstNumber + static_cast<long>(walls.size()));
        wall.m_origin = start;
        wall.m_edgeA = along;
        // The thickness lies to the right of the walking direction.
        wall.m_edgeB = thickness * CrossProduct(along, up).Normalized();
        wall.m_edgeC = up;
        wall.m_count1 = 1;
        wall.m_count2 = 1;
        walls.push_back(wall);
        start = start + along;
    }
    return walls;
}

int appendWallRow(CRoom& room, const std::vector<CVector>& points, double height, double thickness)
{
    const std::vector<CXSystem> walls = wallRow(points, height, thickness,
        room.m_viewSettings.m_colors[kObstacleColour], static_cast<int>(room.m_obstacleSystems.size()) + 1);
    room.m_obstacleSystems.insert(room.m_obstacleSystems.end(), walls.begin(), walls.end());
    if (!walls.empty())
        room.InvalidateResults();
    return static_cast<int>(walls.size());
}

} // namespace kzev
