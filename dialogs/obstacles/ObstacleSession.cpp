#include "dialogs/obstacles/ObstacleSession.h"

#include "model/CKzevDoc.h"
#include "platform/TextUtil.h"
#include "platform/TypedNumber.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kzev {

namespace {

/** A count taken from a quotient, truncated toward zero and kept within 32 bits. */
std::int32_t truncatedCount(double quotient)
{
    constexpr double low = std::numeric_limits<std::int32_t>::min();
    constexpr double high = std::numeric_limits<std::int32_t>::max();
    if (std::isnan(quotient))
        return 0;
    return static_cast<std::int32_t>(std::trunc(std::clamp(quotient, low, high)));
}

bool offAxis(double a, double b) { return a != 0.0 || b != 0.0; }

} // namespace

ObstacleSession::ObstacleSession(CKzevDoc& doc, int room, int obstacle)
    : m_doc(doc)
    , m_room(room)
    , m_obstacle(obstacle)
{
    const CRoom* r = this->room();
    if (!r || obstacle < 0 || static_cast<std::size_t>(obstacle) >= r->m_obstacleSystems.size())
        return;
    m_working = r->m_obstacleSystems[static_cast<std::size_t>(obstacle)];
    // Imported and generated systems (walls along a polyline, racks pitched along Y) need not
    // carry flags that fit their vectors; every component that holds a value stays editable.
    const CXSystem& x = m_working;
    if (offAxis(x.m_edgeA.y, x.m_edgeA.z) || offAxis(x.m_edgeB.x, x.m_edgeB.z) || offAxis(x.m_edgeC.x, x.m_edgeC.y))
        m_working.m_rectangular = 0;
    if (offAxis(x.m_spacing1.y, x.m_spacing1.z) || offAxis(x.m_spacing2.x, x.m_spacing2.z))
        m_working.m_generalPitch = 1;
    m_valid = true;
}

CRoom* ObstacleSession::room()
{
    if (m_room < 0 || static_cast<std::size_t>(m_room) >= m_doc.m_rooms.size())
        return nullptr;
    return &m_doc.m_rooms[static_cast<std::size_t>(m_room)];
}

void ObstacleSession::endOpening()
{
    if (const CRoom* r = room()) {
        m_openedResults = r->m_resultsValid;
        m_openedSurfaces = r->m_surfacesUpToDate;
    }
    m_suppress = false;
}

void ObstacleSession::markModified()
{
    if (m_suppress || !m_valid)
        return;
    m_modified = true;
    room()->InvalidateResults();
}

std::string ObstacleSession::lengthText(double metres) const { return m_doc.FormatPropertyLength(metres); }

std::optional<double> ObstacleSession::lengthOf(const std::string& text) const
{
    return readTypedLength(text, m_doc.m_unitMm == 1);
}

void ObstacleSession::takeCadPoints(CadPick pick, const CVector& first, const CVector& second)
{
    const CRoom* r = room();
    if (!r)
        return;
    const double unit = m_doc.m_unitMm == 1 ? 0.001 : 1.0;
    const CVector d = unit * (second - first);
    CXSystem& x = m_working;
    switch (pick) {
    case CadPick::Box: {
        // Whichever corner the user took first, the box is the one they span.
        const CVector low { std::min(first.x, second.x), std::min(first.y, second.y), first.z };
        x.m_origin = unit * low - r->m_origin;
        x.m_edgeA = { std::abs(d.x), 0.0, 0.0 };
        x.m_edgeB = { 0.0, std::abs(d.y), 0.0 };
        x.m_edgeC = { 0.0, 0.0, second.z - first.z <= 0.00001 ? r->m_height : d.z };
        break;
    }
    case CadPick::Length: x.m_edgeA = d; break;
    case CadPick::Width: x.m_edgeB = d; break;
    case CadPick::Height: x.m_edgeC = d; break;
    case CadPick::Pitch1: x.m_spacing1 = d; break;
    case CadPick::Pitch2: x.m_spacing2 = d; break;
    }
    markModified();
}

void ObstacleSession::step(int dx, int dy)
{
    m_working.m_origin.x += dx * m_doc.m_dimIncrement;
    m_working.m_origin.y += dy * m_doc.m_dimIncrement;
    markModified();
}

bool ObstacleSession::countsFromPitches()
{
    if (!m_valid || (m_working.m_spacing1.Length() < 0.001 && m_working.m_spacing2.Length() < 0.001))
        return false;
    const CRoom& r = *room();
    if (m_working.m_spacing1.x != 0.0)
        m_working.m_count1 = truncatedCount(r.m_length / m_working.m_spacing1.x);
    if (m_working.m_spacing2.y != 0.0)
        m_working.m_count2 = truncatedCount(r.m_width / m_working.m_spacing2.y);
    markModified();
    return true;
}

void ObstacleSession::centre()
{
    if (!m_valid)
        return;
    const CXSystem& x = m_working;
    CVector far = x.m_origin + static_cast<double>(x.m_count1 - 1) * x.m_spacing1
        + static_cast<double>(x.m_count2 - 1) * x.m_spacing2 + x.m_edgeA + x.m_edgeB + x.m_edgeC;
    if (x.m_extra1 == 1)
        far = far + x.m_spacing1 + x.m_spacing2;
    const CRoom& r = *room();
    const double newX = (r.m_length - std::fabs(far.x - x.m_origin.x)) / 2.0;
    const double newY = (r.m_width - std::fabs(far.y - x.m_origin.y)) / 2.0;
    m_working.m_origin.x = newX;
    m_working.m_origin.y = newY;
    markModified();
}

void ObstacleSession::setColour(std::uint32_t colour)
{
    m_working.m_colour = colour;
    CRoom* r = room();
    if (!r)
        return;
    for (CLampState& mode : r->m_modes) {
        for (CWorkSystem& area : mode.m_surfaces) {
            if (area.m_obstacleNumber == m_obstacle)
                area.m_colour = colour;
        }
    }
}

void ObstacleSession::ok()
{
    CRoom* r = room();
    // The system may have left the room while the dialog was open.
    if (!m_valid || !r || static_cast<std::size_t>(m_obstacle) >= r->m_obstacleSystems.size())
        return;
    CXSystem& target = r->m_obstacleSystems[static_cast<std::size_t>(m_obstacle)];
    // The tree's check box may have switched the system while the dialog was open.
    const std::int32_t off = target.m_off;
    target = m_working;
    target.m_off = off;
    if (m_modified)
        m_doc.SetModifiedFlag();
}

void ObstacleSession::cancel()
{
    CRoom* r = room();
    if (!m_valid || !r || m_suppress)
        return;
    r->m_resultsValid = m_openedResults;
    r->m_surfacesUpToDate = m_openedSurfaces;
}

} // namespace kzev
