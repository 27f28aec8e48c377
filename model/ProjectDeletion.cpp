#include "model/ProjectDeletion.h"

#include "model/ArrayIndex.h"
#include "model/CKzevDoc.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <cstddef>

namespace kzev {

namespace {

constexpr int kModeInUse = 62001; // "Režim nelze odstranit\nje přiřazen místu úkolu %s"

// An area of this binding kind refers to another area of the room by index.
constexpr int kBoundAreaKind = 4;

template <typename T>
void eraseAt(std::vector<T>& items, int index)
{
    items.erase(items.begin() + index);
}

DeleteResult deleted()
{
    return { true, {} };
}

} // namespace

bool canDeleteLampSystem(const CRoom& room, int index)
{
    return validIndex(room.m_lampSystems, index) && !room.IsLampSystemLinked(index, 0);
}

bool canDeleteMode(const CRoom& room, int index)
{
    return validIndex(room.m_modes, index) && room.m_modes.size() > 1;
}

DeleteResult deleteRoom(CKzevDoc& doc, int room)
{
    if (!validIndex(doc.m_rooms, room))
        return {};
    eraseAt(doc.m_rooms, room);
    doc.m_undo.clear();
    doc.SetModifiedFlag();
    return deleted();
}

DeleteResult deleteLampSystem(CKzevDoc& doc, int room, int index)
{
    CRoom* target = elementAt(doc.m_rooms, room);
    if (!target || !canDeleteLampSystem(*target, index))
        return {};
    eraseAt(target->m_lampSystems, index);
    // Every bound system names its source by index, wherever it stands itself.
    for (CLampSystem& system : target->m_lampSystems) {
        if (system.m_sourceSystem > index)
            --system.m_sourceSystem;
    }
    target->m_surfacesUpToDate = 0;
    target->m_resultsValid = 0;
    // Undo steps hold the whole array as it was before.
    doc.m_undo.clear();
    doc.SetModifiedFlag();
    return deleted();
}

DeleteResult deleteWorkSystem(CKzevDoc& doc, int room, int index)
{
    CRoom* target = elementAt(doc.m_rooms, room);
    if (!target || !validIndex(target->m_workSystems, index))
        return {};
    eraseAt(target->m_workSystems, index);
    for (CWorkSystem& area : target->m_workSystems) {
        if (area.m_bindingKind != kBoundAreaKind)
            continue;
        if (area.m_boundArea == index)
            area.m_bindingKind = 0;
        else if (area.m_boundArea > index)
            --area.m_boundArea;
    }
    // The view settings in use may have been the deleted area's.
    target->UseOwnViewSettings();
    target->m_resultsValid = 0;
    doc.SetModifiedFlag();
    return deleted();
}

DeleteResult deleteObstacleSystem(CKzevDoc& doc, int room, int index)
{
    CRoom* target = elementAt(doc.m_rooms, room);
    if (!target || !validIndex(target->m_obstacleSystems, index))
        return {};
    eraseAt(target->m_obstacleSystems, index);
    target->m_surfacesUpToDate = 0;
    target->m_resultsValid = 0;
    doc.SetModifiedFlag();
    return deleted();
}

DeleteResult deleteMode(CKzevDoc& doc, int room, int index)
{
    CRoom* target = elementAt(doc.m_rooms, room);
    if (!target || !canDeleteMode(*target, index))
        return {};
    for (const CWorkSystem& area : target->m_workSystems) {
        if (area.m_modeIndex == index)
            return { false, formatC(loadString(kModeInUse).c_str(), area.m_name.c_str()) };
    }

    for (CLampSystem& system : target->m_lampSystems) {
        for (COneLampSystem& luminaire : system.m_luminaires) {
            // A shorter list never had this mode's factor.
            if (static_cast<std::size_t>(index) < luminaire.m_modeFactors.size())
                eraseAt(luminaire.m_modeFactors, index);
        }
    }
    eraseAt(target->m_modes, index);
    // Areas of later modes stay with their mode, which now stands one place lower.
    for (CWorkSystem& area : target->m_workSystems) {
        if (area.m_modeIndex > index)
            --area.m_modeIndex;
    }
    if (target->m_currentMode > index)
        --target->m_currentMode;
    else if (target->m_currentMode == index)
        target->m_currentMode = 0;
    target->m_surfacesUpToDate = 0;
    target->m_resultsValid = 0;
    doc.m_undo.clear();
    doc.SetModifiedFlag();
    return deleted();
}

} // namespace kzev
