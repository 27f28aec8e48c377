#include "dialogs/areas/VisualTaskSession.h"

#include "model/CKzevDoc.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "platform/TypedNumber.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace kzev {

VisualTaskSession::VisualTaskSession(CKzevDoc& doc, int room, int area)
    : m_doc(doc)
    , m_room(room)
    , m_area(area)
{
    if (room < 0 || static_cast<std::size_t>(room) >= doc.m_rooms.size())
        return;
    const CRoom& r = doc.m_rooms[static_cast<std::size_t>(room)];
    if (area < 0 || static_cast<std::size_t>(area) >= r.m_workSystems.size())
        return;
    m_working = r.m_workSystems[static_cast<std::size_t>(area)];
    m_orientation = orientationOfViewCode(m_working.m_viewCode);
    m_valid = true;
}

RoomExtents VisualTaskSession::extents() const
{
    if (!m_valid)
        return {};
    return extentsOf(m_doc.m_rooms[static_cast<std::size_t>(m_room)]);
}

void VisualTaskSession::open()
{
    if (!m_valid || m_working.m_count1 != 0)
        return;
    // The grid a new room's first area got at its making is the one laid here.
    layOutNewArea(m_working, extents());
    writeBack();
}

void VisualTaskSession::setOrientation(AreaOrientation orientation)
{
    m_orientation = orientation;
    m_working.m_viewCode = viewCodeOf(orientation);
    // Only the components along the plane's axes stay.
    switch (orientation) {
    case AreaOrientation::Horizontal:
        m_working.m_step1 = { m_working.m_step1.x, 0.0, 0.0 };
        m_working.m_step2 = { 0.0, m_working.m_step2.y, 0.0 };
        break;
    case AreaOrientation::VerticalYZ:
        m_working.m_step1 = { 0.0, m_working.m_step1.y, 0.0 };
        m_working.m_step2 = { 0.0, 0.0, m_working.m_step2.z };
        break;
    case AreaOrientation::VerticalXZ:
        m_working.m_step1 = { m_working.m_step1.x, 0.0, 0.0 };
        m_working.m_step2 = { 0.0, 0.0, m_working.m_step2.z };
        break;
    case AreaOrientation::General: break;
    }
}

void VisualTaskSession::setQuantity(std::int32_t code)
{
    m_working.m_quantityCode = code;
    applyQuantitySwitches(m_working);
}

void VisualTaskSession::setCounts(std::int32_t first, std::int32_t second)
{
    if (first == m_working.m_count1 && second == m_working.m_count2)
        return;
    if (holdsDaylightValues(m_working))
        m_daylightLoss = true;
    m_working.m_count1 = first;
    m_working.m_count2 = second;
    m_working.m_points.clear();
}

bool VisualTaskSession::takeLength(double& target, std::string_view typed) const
{
    const std::optional<double> metres = readTypedLength(typed, m_doc.m_unitMm == 1);
    if (!metres)
        return false;
    target = *metres;
    return true;
}

bool VisualTaskSession::takeCounts(std::string_view first, std::string_view second)
{
    constexpr long kMost = std::numeric_limits<std::int32_t>::max();
    const std::optional<long> n1 = readTypedWhole(first, 0, kMost);
    const std::optional<long> n2 = readTypedWhole(second, 0, kMost);
    setCounts(static_cast<std::int32_t>(n1.value_or(m_working.m_count1)),
        static_cast<std::int32_t>(n2.value_or(m_working.m_count2)));
    return n1 && n2;
}

bool VisualTaskSession::takeReflectance(std::string_view typed)
{
    const std::optional<double> value = readTypedNumber(typed, { 0.0, 1.0 });
    if (!value)
        return false;
    m_working.m_reflectance = *value;
    return true;
}

bool VisualTaskSession::takeWhole(std::int32_t& target, std::string_view typed)
{
    // A whole number past the field's width stays the nearest end of it, for the range checks of OK to name.
    const std::optional<long> value
        = readTypedWhole(typed, std::numeric_limits<long>::min(), std::numeric_limits<long>::max());
    if (!value)
        return false;
    target = static_cast<std::int32_t>(std::clamp<long>(
        *value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
    return true;
}

bool VisualTaskSession::layOutByPitch()
{
    if (holdsDaylightValues(m_working))
        m_daylightLoss = true;
    return kzev::layOutByPitch(m_working, m_orientation, extents(), fromWalls);
}

bool VisualTaskSession::layOutByCadCorners(const CadCorners& corners)
{
    if (!m_valid)
        return false;
    CWorkSystem fitted = m_working;
    const CRoom& room = m_doc.m_rooms[static_cast<std::size_t>(m_room)];
    if (!kzev::layOutByCadCorners(fitted, corners, room.m_origin, m_doc.m_unitMm == 1))
        return false;
    setCounts(fitted.m_count1, fitted.m_count2);
    m_working.m_origin = fitted.m_origin;
    return true;
}

bool VisualTaskSession::layOutByCount()
{
    const std::size_t points = m_working.m_points.size();
    if (!kzev::layOutByCount(m_working, m_orientation, extents(), fromWalls))
        return false;
    if (points != static_cast<std::size_t>(m_working.m_count1) * static_cast<std::size_t>(m_working.m_count2))
        m_working.m_points.clear();
    return true;
}

void VisualTaskSession::centre() { centreArea(m_working, extents()); }

void VisualTaskSession::move(int dx, int dy)
{
    m_working.m_origin.x += dx * m_doc.m_dimIncrement;
    m_working.m_origin.y += dy * m_doc.m_dimIncrement;
}

VisualTaskSession::OkResult VisualTaskSession::ok(const std::function<bool()>& acceptDaylightLoss)
{
    if (m_working.m_directionCount < 0 || m_working.m_directionCount > kMaxViewingDirections)
        return OkResult::DirectionsOutOfRange;
    if (m_daylightLoss) {
        if (!acceptDaylightLoss())
            return OkResult::DaylightDeclined;
        for (CPointCalc& point : m_working.m_points)
            point.value(CPointCalc::kDaylightFactor) = 0.0;
        m_daylightLoss = false;
    }
    if (!countsAllowed(m_working))
        return OkResult::CountTooLarge;
    // The points are made here, once, for the grid the user settled on.
    if (m_working.m_points.size()
        != static_cast<std::size_t>(m_working.m_count1) * static_cast<std::size_t>(m_working.m_count2))
        rebuildPoints(m_working);
    writeBack();
    return OkResult::Written;
}

void VisualTaskSession::writeBack()
{
    if (!m_valid)
        return;
    CRoom& room = m_doc.m_rooms[static_cast<std::size_t>(m_room)];
    room.m_workSystems[static_cast<std::size_t>(m_area)] = m_working;
    // Given values are an input like any other: the room's results are out of date.
    room.InvalidateResults();
    m_doc.SetModifiedFlag();
}

std::vector<std::vector<std::string>> valueTableCells(const CWorkSystem& area)
{
    if (area.m_count1 <= 0 || area.m_count2 <= 0 || !countsAllowed(area))
        return {};
    const std::size_t columns = static_cast<std::size_t>(area.m_count1) + 1;
    const std::size_t rows = static_cast<std::size_t>(area.m_count2) + 1;
    std::vector<std::vector<std::string>> cells(rows, std::vector<std::string>(columns));
    cells[0][0] = "Y \\ X";
    const std::string mm = loadString(61463);
    const std::string value = loadString(61462);
    for (std::int32_t i = 0; i < area.m_count1; ++i)
        cells[0][static_cast<std::size_t>(i) + 1]
            = formatC(mm.c_str(), (area.m_origin.x + i * area.m_step1.x) * 1000.0);
    for (std::int32_t j = 0; j < area.m_count2; ++j) {
        const std::size_t row = static_cast<std::size_t>(area.m_count2 - j);
        cells[row][0] = formatC(mm.c_str(), (area.m_origin.y + j * area.m_step2.y) * 1000.0);
        for (std::int32_t i = 0; i < area.m_count1; ++i) {
            const std::size_t k = static_cast<std::size_t>(i) * static_cast<std::size_t>(area.m_count2)
                + static_cast<std::size_t>(j);
            const double given = k < area.m_points.size() ? area.m_points[k].value(CPointCalc::kGiven) : 0.0;
            cells[row][static_cast<std::size_t>(i) + 1] = formatC(value.c_str(), given);
        }
    }
    return cells;
}

void storeValueTable(CWorkSystem& area, const std::function<std::string(int row, int column)>& cell)
{
    if (area.m_count1 <= 0 || area.m_count2 <= 0 || !countsAllowed(area))
        return;
    for (std::int32_t i = 0; i < area.m_count1; ++i) {
        for (std::int32_t j = 0; j < area.m_count2; ++j) {
            const std::size_t k = static_cast<std::size_t>(i) * static_cast<std::size_t>(area.m_count2)
                + static_cast<std::size_t>(j);
            if (k < area.m_points.size()) {
                double& given = area.m_points[k].value(CPointCalc::kGiven);
                given = typedNumberOr(cell(area.m_count2 - j, i + 1), given);
            }
        }
    }
}

} // namespace kzev
