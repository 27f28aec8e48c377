// The maintenance figures the room sheet shows: those the calculation will take.

#include "dialogs/rooms/RoomSheet.h"

#include "model/CKzevDoc.h"
#include "platform/AppFolders.h"

namespace kzev {

RoomMaintenanceFigures RoomSheet::maintenancePreview() const
{
    if (!m_valid)
        return {};
    // The pages' values on a copy: the room changes only with OK.
    CRoom room = m_doc.m_rooms[static_cast<std::size_t>(m_room)];
    store(room);
    for (CLampSystem& system : room.m_lampSystems) {
        // Quietly: a system without its luminaire is only shown without a factor.
        if (system.m_switchedOff != 1) {
            m_doc.ResolveLuminaire(system, 0);
            m_doc.ResolveLamp(system, 0);
        }
    }
    return roomMaintenanceFigures(room, m_doc.m_luminaires, m_doc.m_lamps, appFolders().PathData,
        static_cast<ProjectType>(m_doc.m_projectType));
}

} // namespace kzev
