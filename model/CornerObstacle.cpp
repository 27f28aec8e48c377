#include "model/CornerObstacle.h"

#include "model/CRoom.h"
#include "platform/StringTable.h"

namespace kzev {

namespace {

constexpr int kCornerName = 61886;    // "Roh místnosti tvaru L"
constexpr int kCornerRefusal = 63530;
constexpr std::size_t kObstacleColour = 3;

} // namespace

std::string cornerObstacleRefusal(const CRoom& room, double length, double width)
{
    // Negated so that a size that is not a number is refused too.
    if (!(length > 0.0 && width > 0.0 && length <= room.m_length && width <= room.m_width))
        return loadString(kCornerRefusal);
    return {};
}

CXSystem cornerObstacle(const CRoom& room, RoomCorner corner, double length, double width)
{
    CXSystem box(room.m_viewSettings.m_colors[kObstacleColour]);
    box.m_name = loadString(kCornerName);
    box.m_edgeA = { length, 0.0, 0.0 };
    box.m_edgeB = { 0.0, width, 0.0 };
    box.m_edgeC = { 0.0, 0.0, room.m_height };
    box.m_count1 = 1;
    box.m_count2 = 1;
    box.m_reflectance = room.m_wallReflectances[0];
    const double farX = room.m_length - length;
    const double farY = room.m_width - width;
    switch (corner) {
    case RoomCorner::L1: box.m_origin = { 0.0, 0.0, 0.0 }; break;
    case RoomCorner::L2: box.m_origin = { farX, 0.0, 0.0 }; break;
    case RoomCorner::L3: box.m_origin = { farX, farY, 0.0 }; break;
    case RoomCorner::L4: box.m_origin = { 0.0, farY, 0.0 }; break;
    }
    return box;
}

} // namespace kzev
