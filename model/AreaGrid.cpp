#include "model/AreaGrid.h"

#include "model/CRoom.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace kzev {

namespace {

constexpr double kNoPitch = 0.0001;
constexpr double kWallMargin = 1.0;

/** The two axes (0 x, 1 y, 2 z) of a plane. */
std::pair<int, int> axesOf(AreaOrientation orientation)
{
    switch (orientation) {
    case AreaOrientation::VerticalYZ: return { 1, 2 };
    case AreaOrientation::VerticalXZ: return { 0, 2 };
    default: return { 0, 1 };
    }
}

double& component(CVector& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }
double component(const CVector& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }
double extent(const RoomExtents& room, int axis) { return axis == 0 ? room.x : axis == 1 ? room.y : room.z; }

CVector along(int axis, double length)
{
    CVector v { 0.0, 0.0, 0.0 };
    component(v, axis) = length;
    return v;
}

struct AxisLayout {
    std::int32_t count;
    double pitch;
    double origin;
};

/** One axis laid out by its pitch; nothing when the 1 m rule leaves no room. */
std::optional<AxisLayout> byPitch(double length, double pitch, double origin, bool fromWalls)
{
    if (!fromWalls) {
        if (pitch < kNoPitch)
            return AxisLayout { 1, 0.0, origin };
        const double n = std::floor(length / pitch);
        if (!(n >= 0.0) || n > kMaxAreaPointsPerRow)
            return std::nullopt;
        return AxisLayout { static_cast<std::int32_t>(n), pitch, (length - (n - 1.0) * pitch) * 0.5 };
    }
    const double inner = length - 2.0 * kWallMargin;
    if (!(inner > kNoPitch))
        return std::nullopt;
    double s = pitch < kNoPitch ? 1.0 : pitch;
    s = std::min(s, inner);
    const double n = std::floor(inner / s) + 1.0;
    if (n > kMaxAreaPointsPerRow)
        return std::nullopt;
    return AxisLayout { static_cast<std::int32_t>(n), inner / (n - 1.0), kWallMargin };
}

std::optional<AxisLayout> byCount(double length, std::int32_t count, bool fromWalls)
{
    if (!fromWalls) {
        if (count < 1 || !(length > 0.0))
            return std::nullopt;
        const double s = length / count;
        return AxisLayout { count, s, s * 0.5 };
    }
    const double inner = length - 2.0 * kWallMargin;
    if (count < 2 || !(inner > 0.0))
        return std::nullopt;
    return AxisLayout { count, inner / (count - 1), kWallMargin };
}

void apply(CWorkSystem& area, int axis1, int axis2, const AxisLayout& first, const AxisLayout& second)
{
    area.m_count1 = first.count;
    area.m_count2 = second.count;
    area.m_step1 = along(axis1, first.pitch);
    area.m_step2 = along(axis2, second.pitch);
    component(area.m_origin, axis1) = first.origin;
    component(area.m_origin, axis2) = second.origin;
}

bool near(double a, double b) { return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(a)); }

bool same(const RoomExtents& a, const RoomExtents& b) { return near(a.x, b.x) && near(a.y, b.y) && near(a.z, b.z); }

struct PlaneLayout {
    int axis1;
    int axis2;
    AxisLayout first;
    AxisLayout second;
};

/** Both axes of the area's plane laid out by their pitches; nothing for a general plane or where one cannot be. */
std::optional<PlaneLayout> byPitches(
    const CWorkSystem& area, AreaOrientation orientation, const RoomExtents& room, bool fromWalls)
{
    if (orientation == AreaOrientation::General)
        return std::nullopt;
    const auto [a1, a2] = axesOf(orientation);
    const auto first = byPitch(extent(room, a1), component(area.m_step1, a1), component(area.m_origin, a1), fromWalls);
    const auto second = byPitch(extent(room, a2), component(area.m_step2, a2), component(area.m_origin, a2), fromWalls);
    if (!first || !second)
        return std::nullopt;
    return PlaneLayout { a1, a2, *first, *second };
}

/** Whether the area's grid is the one its pitches lay centred over the room. */
bool laidCentredByPitch(const CWorkSystem& area, AreaOrientation orientation, const RoomExtents& room)
{
    const auto laid = byPitches(area, orientation, room, false);
    return laid && laid->first.count == area.m_count1 && laid->second.count == area.m_count2
        && near(laid->first.origin, component(area.m_origin, laid->axis1))
        && near(laid->second.origin, component(area.m_origin, laid->axis2));
}

} // namespace

RoomExtents extentsOf(const CRoom& room) { return { room.m_length, room.m_width, room.m_height }; }

AreaOrientation orientationOfViewCode(std::int32_t viewCode)
{
    switch (viewCode) {
    case 112:
    case 113: return AreaOrientation::Horizontal;
    case 114:
    case 116: return AreaOrientation::VerticalXZ;
    case 115:
    case 117: return AreaOrientation::VerticalYZ;
    default: return AreaOrientation::General;
    }
}

std::int32_t viewCodeOf(AreaOrientation orientation)
{
    switch (orientation) {
    case AreaOrientation::Horizontal: return 112;
    case AreaOrientation::VerticalYZ: return 115;
    case AreaOrientation::VerticalXZ: return 114;
    default: return 0;
    }
}

bool layOutByPitch(CWorkSystem& area, AreaOrientation orientation, const RoomExtents& room, bool fromWalls)
{
    const auto laid = byPitches(area, orientation, room, fromWalls);
    if (!laid)
        return false;
    apply(area, laid->axis1, laid->axis2, laid->first, laid->second);
    rebuildPoints(area);
    return true;
}

bool layOutByCount(CWorkSystem& area, AreaOrientation orientation, const RoomExtents& room, bool fromWalls)
{
    if (orientation == AreaOrientation::General || !countsAllowed(area))
        return false;
    const auto [a1, a2] = axesOf(orientation);
    const auto first = byCount(extent(room, a1), area.m_count1, fromWalls);
    const auto second = byCount(extent(room, a2), area.m_count2, fromWalls);
    if (!first || !second)
        return false;
    apply(area, a1, a2, *first, *second);
    return true;
}

void centreArea(CWorkSystem& area, const RoomExtents& room)
{
    const double n1 = std::max(area.m_count1 - 1, 0);
    const double n2 = std::max(area.m_count2 - 1, 0);
    area.m_origin.x = (room.x - (n2 * area.m_step2.x + n1 * area.m_step1.x)) * 0.5;
    area.m_origin.y = (room.y - (n2 * area.m_step2.y + n1 * area.m_step1.y)) * 0.5;
}

bool countsAllowed(const CWorkSystem& area)
{
    return area.m_count1 >= 0 && area.m_count2 >= 0 && area.m_count1 <= kMaxAreaPointsPerRow
        && area.m_count2 <= kMaxAreaPointsPerRow;
}

void rebuildPoints(CWorkSystem& area)
{
    area.m_points.clear();
    if (countsAllowed(area))
        area.m_points.resize(static_cast<std::size_t>(area.m_count1) * static_cast<std::size_t>(area.m_count2));
}

void applyQuantitySwitches(CWorkSystem& area)
{
    CViewSettings& v = area.m_viewSettings;
    v.m_showIlluminance = v.m_showRoadLuminance = v.m_showUgr = v.m_showGr = v.m_glareMarks = 0;
    switch (area.m_quantityCode) {
    case 89:
        v.m_showUgr = 1;
        v.m_glareMarks = 1;
        area.m_reflectedComponent = 1;
        break;
    case 161:
        v.m_showGr = 1;
        v.m_glareMarks = 1;
        break;
    case 141: v.m_showRoadLuminance = 1; break;
    default: v.m_showIlluminance = 1; break;
    }
}

void layOutNewArea(CWorkSystem& area, const RoomExtents& room)
{
    if (area.m_count1 != 0)
        return;
    if (room.x > 100.0 || room.y > 100.0) {
        area.m_step1 = 10.0 * area.m_step1;
        area.m_step2 = 10.0 * area.m_step2;
    }
    (void)layOutByPitch(area, orientationOfViewCode(area.m_viewCode), room, false);
    // A new area shows its values with isolines, not the relief or false colours.
    CViewSettings& v = area.m_viewSettings;
    v.m_isolines = 1;
    v.m_pointLabels = 1;
    v.m_relief = 0;
    v.m_fillSurfaces = 0;
    applyQuantitySwitches(area);
}

void layOutFirstArea(CRoom& room)
{
    if (!room.m_workSystems.empty())
        layOutNewArea(room.m_workSystems.front(), extentsOf(room));
}

void followRoomSize(CRoom& room, const RoomExtents& before)
{
    const RoomExtents after = extentsOf(room);
    if (same(before, after))
        return;
    for (CWorkSystem& area : room.m_workSystems) {
        const AreaOrientation orientation = orientationOfViewCode(area.m_viewCode);
        if (area.m_count1 > 0 && laidCentredByPitch(area, orientation, before))
            (void)layOutByPitch(area, orientation, after, false);
    }
}

} // namespace kzev
