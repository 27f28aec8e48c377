#pragma once

#include "platform/DrawSurface.h"

#include <optional>

class CLampSystem;
class CRoom;
class CWorkSystem;

namespace kzev {

class PlanView;

// Hit tests of the plan. The click is a plan position (client point plus
// scroll position); it becomes a room point at the depth of each object
// searched, and the nearest candidate in the two axes of the view wins, the
// first in array order on equal distances. Nothing lies too far to be picked.

/** The calculation point of the area nearest to the click, as an index into its points; -1 without points. */
[[nodiscard]] int nearestAreaPoint(const PlanView& plan, const CWorkSystem& area, DevicePoint click);

/** The luminaire of the system nearest to the click in the view's plane; -1 without luminaires. */
[[nodiscard]] int nearestLuminaireInView(const PlanView& plan, const CLampSystem& system, DevicePoint click);

/** The luminaire of the system nearest to the click point in space (at the system's depth); -1 without luminaires. */
[[nodiscard]] int nearestLuminaireInSpace(const PlanView& plan, const CLampSystem& system, DevicePoint click);

/** The obstacle system holding the obstacle nearest to the click. */
[[nodiscard]] std::optional<int> pickObstacleSystem(const PlanView& plan, const CRoom& room, DevicePoint click);

/** The visual-task area holding the calculation point nearest to the click. */
[[nodiscard]] std::optional<int> pickArea(const PlanView& plan, const CRoom& room, DevicePoint click);

/** The lamp system with the place of its regular grid (rows and columns) nearest to the click. */
[[nodiscard]] std::optional<int> pickLampSystem(const PlanView& plan, const CRoom& room, DevicePoint click);

/** The project-tree folder the selected item lies in (the folder item itself or an object under it). */
enum class PickFolder { Obstacles, Areas, Other };
enum class PickKind { Obstacles, Area, LampSystem };

struct TreePick {
    PickKind kind = PickKind::LampSystem;
    int index = -1;
    bool operator==(const TreePick&) const = default;
};

/**
 * The object a double click picks in the room when no dialog has handed one
 * to the view: with an obstacle item selected the nearest obstacle system,
 * with an area item selected (or an obstacle item and no obstacle) the
 * nearest area, else the nearest lamp system; nothing in an empty room.
 */
[[nodiscard]] std::optional<TreePick> pickForTree(const PlanView& plan, const CRoom& room, PickFolder folder,
    DevicePoint click);

} // namespace kzev
