#include "dialogs/lamps/LampSheetSession.h"

#include "model/CKzevDoc.h"

namespace kzev {

LampSheetSession::LampSheetSession(CKzevDoc& doc, int room, int lampSystem)
    : m_doc(doc)
    , m_room(room)
    , m_lampSystem(lampSystem)
{
}

CRoom* LampSheetSession::roomOfDocument() const
{
    if (m_room < 0 || static_cast<std::size_t>(m_room) >= m_doc.m_rooms.size())
        return nullptr;
    return &m_doc.m_rooms[static_cast<std::size_t>(m_room)];
}

CLampSystem* LampSheetSession::systemOfDocument() const
{
    CRoom* room = roomOfDocument();
    if (!room || m_lampSystem < 0 || static_cast<std::size_t>(m_lampSystem) >= room->m_lampSystems.size())
        return nullptr;
    return &room->m_lampSystems[static_cast<std::size_t>(m_lampSystem)];
}

bool LampSheetSession::Begin()
{
    const CLampSystem* system = systemOfDocument();
    if (!system)
        return false;
    const CRoom& room = *roomOfDocument();
    m_doc.m_lampSystemSnapshot = room.m_lampSystems;
    m_openedResults = { room.m_resultsValid, room.m_surfacesUpToDate };
    m_working = *system;
    m_begun = true;
    return true;
}

void LampSheetSession::Push()
{
    CLampSystem* system = systemOfDocument();
    // A running calculation reads the room's lamp systems: the working copy
    // keeps the edit, and the next push after the run takes it over.
    if (!m_begun || !system || m_doc.m_calcRunning == 1)
        return;
    *system = m_working;
    CRoom* room = roomOfDocument();
    room->m_resultsValid = 0;
    room->m_surfacesUpToDate = 0;
    m_pushed = true;
}

void LampSheetSession::Ok(int activePage)
{
    if (!m_begun || !systemOfDocument())
        return;
    m_working.m_pageState = activePage;
    Push();
    m_doc.SetModifiedFlag();
}

void LampSheetSession::Cancel()
{
    CRoom* room = roomOfDocument();
    if (!m_begun || !room)
        return;
    room->m_lampSystems = m_doc.m_lampSystemSnapshot;
    // The lamp systems are those the results were computed with again, so the results hold as they did.
    room->m_resultsValid = m_openedResults.resultsValid;
    room->m_surfacesUpToDate = m_openedResults.surfacesUpToDate;
}

void LampSheetSession::Escape()
{
    if (m_begun && m_pushed)
        m_doc.SetModifiedFlag();
}

} // namespace kzev
