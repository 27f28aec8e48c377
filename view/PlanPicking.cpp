#include "view/PlanPicking.h"

#include "model/CRoom.h"
#include "view/PlanView.h"

namespace kzev {

namespace {

// Every search starts here and only a strictly smaller distance replaces it.
constexpr double kFarAway = 1000000.0;

struct Nearest {
    double distance = kFarAway;
    int index = -1;
    void offer(double d, int i)
    {
        if (d < distance) {
            distance = d;
            index = i;
        }
    }
};

CVector clickAt(const PlanView& plan, DevicePoint click, const CVector& reference)
{
    return plan.ScreenToRoom(click.x, click.y, plan.DepthInView(reference));
}

double inView(const PlanView& plan, const CVector& a, const CVector& b)
{
    return plan.DistanceInViewPlane(a.x, b.x, a.y, b.y, a.z, b.z);
}

// The nearest point of an area in the view's plane, its distance kept.
Nearest nearestPoint(const PlanView& plan, const CWorkSystem& area, DevicePoint click)
{
    Nearest nearest;
    const CVector q = clickAt(plan, click, area.m_origin);
    const std::size_t points = area.m_points.size();
    for (std::int32_t i = 0; i < area.m_count1; ++i) {
        for (std::int32_t j = 0; j < area.m_count2; ++j) {
            const std::size_t k = static_cast<std::size_t>(i) * static_cast<std::size_t>(area.m_count2)
                + static_cast<std::size_t>(j);
            // A damaged file may promise more points than it holds.
            if (k >= points)
                return nearest;
            nearest.offer(inView(plan, area.PointPosition(i, j), q), static_cast<int>(k));
        }
    }
    return nearest;
}

} // namespace

int nearestAreaPoint(const PlanView& plan, const CWorkSystem& area, DevicePoint click)
{
    return nearestPoint(plan, area, click).index;
}

int nearestLuminaireInView(const PlanView& plan, const CLampSystem& system, DevicePoint click)
{
    Nearest nearest;
    const CVector q = clickAt(plan, click, system.m_origin);
    for (std::size_t k = 0; k < system.m_luminaires.size(); ++k)
        nearest.offer(inView(plan, system.m_luminaires[k].m_position, q), static_cast<int>(k));
    return nearest.index;
}

int nearestLuminaireInSpace(const PlanView& plan, const CLampSystem& system, DevicePoint click)
{
    Nearest nearest;
    const CVector q = clickAt(plan, click, system.m_origin);
    for (std::size_t k = 0; k < system.m_luminaires.size(); ++k)
        nearest.offer((system.m_luminaires[k].m_position - q).Length(), static_cast<int>(k));
    return nearest.index;
}

std::optional<int> pickObstacleSystem(const PlanView& plan, const CRoom& room, DevicePoint click)
{
    Nearest nearest;
    for (std::size_t s = 0; s < room.m_obstacleSystems.size(); ++s) {
        const CXSystem& obstacles = room.m_obstacleSystems[s];
        const CVector q = clickAt(plan, click, obstacles.m_origin);
        for (std::int32_t i = 0; i < obstacles.m_count1; ++i) {
            for (std::int32_t j = 0; j < obstacles.m_count2; ++j)
                nearest.offer(inView(plan, obstacles.ObstacleCorner(i, j), q), static_cast<int>(s));
        }
    }
    return nearest.index < 0 ? std::nullopt : std::optional<int>(nearest.index);
}

std::optional<int> pickArea(const PlanView& plan, const CRoom& room, DevicePoint click)
{
    Nearest nearest;
    for (std::size_t s = 0; s < room.m_workSystems.size(); ++s) {
        const Nearest inArea = nearestPoint(plan, room.m_workSystems[s], click);
        if (inArea.index >= 0)
            nearest.offer(inArea.distance, static_cast<int>(s));
    }
    return nearest.index < 0 ? std::nullopt : std::optional<int>(nearest.index);
}

std::optional<int> pickLampSystem(const PlanView& plan, const CRoom& room, DevicePoint click)
{
    Nearest nearest;
    for (std::size_t s = 0; s < room.m_lampSystems.size(); ++s) {
        const CLampSystem& system = room.m_lampSystems[s];
        const CVector q = clickAt(plan, click, system.m_origin);
        for (std::int32_t i = 0; i < system.m_count1; ++i) {
            for (std::int32_t j = 0; j < system.m_count2; ++j) {
                const CVector place = system.m_origin + static_cast<double>(i) * system.m_pitch1
                    + static_cast<double>(j) * system.m_pitch2;
                nearest.offer(inView(plan, place, q), static_cast<int>(s));
            }
        }
    }
    return nearest.index < 0 ? std::nullopt : std::optional<int>(nearest.index);
}

std::optional<TreePick> pickForTree(const PlanView& plan, const CRoom& room, PickFolder folder, DevicePoint click)
{
    if (folder == PickFolder::Obstacles) {
        if (const auto found = pickObstacleSystem(plan, room, click))
            return TreePick { PickKind::Obstacles, *found };
    }
    // An obstacle item with no obstacle to pick falls through to the areas, then to the lamp systems.
    if (folder != PickFolder::Other) {
        if (const auto found = pickArea(plan, room, click))
            return TreePick { PickKind::Area, *found };
    }
    if (const auto found = pickLampSystem(plan, room, click))
        return TreePick { PickKind::LampSystem, *found };
    return std::nullopt;
}

} // namespace kzev
