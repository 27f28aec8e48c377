#include "app/tree/ProjectTreeEdits.h"

#include "model/CRoom.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cstddef>

namespace kzev {

namespace {

// An area of this binding kind refers to another area of the room by index.
constexpr int kBoundAreaKind = 4;

std::size_t at(int index)
{
    return static_cast<std::size_t>(index);
}

template <typename T>
bool validIndex(const std::vector<T>& items, int index)
{
    return index >= 0 && at(index) < items.size();
}

CRoom* roomOf(std::vector<CRoom>& rooms, int index)
{
    return validIndex(rooms, index) ? &rooms[at(index)] : nullptr;
}

std::int32_t offFlag(bool wasChecked)
{
    // Ticked before the click means switched off now.
    return wasChecked ? 1 : 0;
}

void invalidateResults(CRoom& room)
{
    room.m_surfacesUpToDate = 0;
    room.m_resultsValid = 0;
}

template <typename T>
bool moveBehind(std::vector<T>& items, int source, int target)
{
    if (!validIndex(items, source) || !validIndex(items, target) || source == target)
        return false;
    const auto first = items.begin();
    if (source < target)
        std::rotate(first + source, first + source + 1, first + target + 1);
    else
        std::rotate(first + target + 1, first + source, first + source + 1);
    return true;
}

} // namespace

CheckOutcome applyCheckToggle(std::vector<CRoom>& rooms, const TreeObject& object, bool wasChecked)
{
    CheckOutcome outcome;
    CRoom* room = roomOf(rooms, object.room);
    if (!room)
        return outcome;
    const int i = object.index;
    switch (object.kind) {
    case TreeItemKind::Room:
        room->m_roomFlag = offFlag(wasChecked);
        outcome.modelChanged = true;
        break;
    case TreeItemKind::LampFolder:
    case TreeItemKind::ModeFolder:
    case TreeItemKind::AreaFolder:
    case TreeItemKind::ObstacleFolder:
        outcome.keepTicked = true;
        break;
    case TreeItemKind::LampSystem:
        outcome.selectItem = true;
        if (validIndex(room->m_lampSystems, i)) {
            invalidateResults(*room);
            room->m_lampSystems[at(i)].m_switchedOff = offFlag(wasChecked);
            outcome.modelChanged = true;
        }
        break;
    case TreeItemKind::Mode:
        // A mode is chosen by selecting it, never switched off.
        outcome.selectItem = true;
        outcome.keepTicked = true;
        break;
    case TreeItemKind::Area:
        outcome.selectItem = true;
        if (validIndex(room->m_workSystems, i)) {
            room->m_workSystems[at(i)].m_excluded = offFlag(wasChecked);
            outcome.modelChanged = true;
        }
        break;
    case TreeItemKind::Obstacle:
        outcome.selectItem = true;
        if (validIndex(room->m_obstacleSystems, i)) {
            invalidateResults(*room);
            room->m_obstacleSystems[at(i)].m_off = offFlag(wasChecked);
            outcome.modelChanged = true;
        }
        break;
    }
    return outcome;
}

bool canRename(TreeItemKind kind)
{
    return !isFolder(kind);
}

std::optional<std::string> applyLabelEdit(std::vector<CRoom>& rooms, const TreeObject& object, const std::string& text)
{
    CRoom* room = roomOf(rooms, object.room);
    if (!room)
        return std::nullopt;
    const int i = object.index;
    switch (object.kind) {
    case TreeItemKind::Room:
        room->SetLabel(text);
        return room->GetLabel();
    case TreeItemKind::LampSystem:
        if (!validIndex(room->m_lampSystems, i))
            return std::nullopt;
        room->m_lampSystems[at(i)].m_name = text;
        return text;
    case TreeItemKind::Mode:
        if (!validIndex(room->m_modes, i))
            return std::nullopt;
        room->m_modes[at(i)].m_name = text;
        return text;
    case TreeItemKind::Area:
        if (!validIndex(room->m_workSystems, i))
            return std::nullopt;
        room->m_workSystems[at(i)].m_name = text;
        return text;
    case TreeItemKind::Obstacle:
        if (!validIndex(room->m_obstacleSystems, i))
            return std::nullopt;
        room->m_obstacleSystems[at(i)].m_name = text;
        return text;
    default:
        return std::nullopt;
    }
}

bool canDrag(const std::vector<CRoom>& rooms, const TreeObject& object)
{
    if (!validIndex(rooms, object.room))
        return false;
    switch (object.kind) {
    case TreeItemKind::Room:
    case TreeItemKind::Area:
    case TreeItemKind::Obstacle:
        return true;
    case TreeItemKind::LampSystem:
        // Moving a bound system would need its binding re-derived; it stays put.
        return !rooms[at(object.room)].IsLampSystemLinked(object.index, 0);
    default:
        return false;
    }
}

int reorderedIndex(int index, int source, int target)
{
    if (index == source)
        return source < target ? target : target + 1;
    if (source < target && index > source && index <= target)
        return index - 1;
    if (source > target && index > target && index < source)
        return index + 1;
    return index;
}

bool reorderModel(std::vector<CRoom>& rooms, const TreeObject& object, int source, int target)
{
    if (object.kind == TreeItemKind::Room)
        return moveBehind(rooms, source, target);

    CRoom* room = roomOf(rooms, object.room);
    if (!room)
        return false;
    switch (object.kind) {
    case TreeItemKind::LampSystem:
        if (!moveBehind(room->m_lampSystems, source, target))
            return false;
        for (CLampSystem& system : room->m_lampSystems) {
            if (system.m_sourceSystem >= 0)
                system.m_sourceSystem = reorderedIndex(system.m_sourceSystem, source, target);
        }
        return true;
    case TreeItemKind::Area:
        if (!moveBehind(room->m_workSystems, source, target))
            return false;
        // Task surroundings name their task area by index; they keep naming the same area.
        for (CWorkSystem& area : room->m_workSystems) {
            if (area.m_bindingKind == kBoundAreaKind && area.m_boundArea >= 0)
                area.m_boundArea = reorderedIndex(area.m_boundArea, source, target);
        }
        return true;
    case TreeItemKind::Obstacle:
        if (!moveBehind(room->m_obstacleSystems, source, target))
            return false;
        // The calculation surfaces of obstacle faces carry obstacle numbers: build them anew.
        room->m_surfacesUpToDate = 0;
        return true;
    default:
        return false;
    }
}

ViewTreeSelection applyTreeSelection(CRoom& room, TreeItemKind kind, int index)
{
    ViewTreeSelection selection;
    switch (kind) {
    case TreeItemKind::Room:
        room.UseOwnViewSettings();
        break;
    case TreeItemKind::LampSystem:
        if (validIndex(room.m_lampSystems, index))
            selection.lampSystem = index;
        break;
    case TreeItemKind::Area:
        if (validIndex(room.m_workSystems, index)) {
            room.UseAreaViewSettings(index);
            selection.area = index;
            // The plan and the summary line show one mode: the chosen area's, as if its mode were chosen.
            const int mode = room.m_workSystems[static_cast<std::size_t>(index)].m_modeIndex;
            if (mode != room.m_currentMode && validIndex(room.m_modes, mode))
                selectMode(room, mode);
        }
        break;
    case TreeItemKind::Obstacle:
        if (validIndex(room.m_obstacleSystems, index))
            selection.obstacle = index;
        break;
    case TreeItemKind::Mode:
        if (validIndex(room.m_modes, index))
            selectMode(room, index);
        break;
    default:
        break;
    }
    return selection;
}

void selectMode(CRoom& room, int mode)
{
    room.m_currentMode = mode;
    for (CWorkSystem& area : room.m_workSystems)
        area.m_excluded = area.m_modeIndex != mode ? 1 : 0;
}

std::string roomSizeText(const CRoom& room, int unitMm)
{
    if (unitMm == 0)
        return formatC("%1.3lfx%1.3lfx%1.3lf", room.m_length, room.m_width, room.m_height);
    return formatC("%1.0lfx%1.0lfx%1.0lf", room.m_length * 1000.0, room.m_width * 1000.0, room.m_height * 1000.0);
}

} // namespace kzev
