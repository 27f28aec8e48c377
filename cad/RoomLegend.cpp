#include "cad/RoomLegend.h"

#include "cad/CadCommandRun.h"
#include "cad/CadPicker.h"
#include "cad/drawing/CadCommandProcessor.h"
#include "calc/AreaSummary.h"
#include "model/CKzevDoc.h"
#include "model/ResultValues.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <cmath>

namespace kzev {

namespace {

constexpr int kNumberHeader = 62007;
constexpr int kStandardHeader = 62008;
constexpr int kNameHeader = 61923;
constexpr int kUniformityHeader = 61889;
constexpr int kLayerName = 61863;
constexpr int kUgr = 89;
constexpr int kGr = 161;

// Text offset and box width of each column, in drawing units S; a column's rule lies 2 S left of its text.
constexpr std::array<int, kRoomLegendColumns> kOffset { 0, 17, 34, 76, 98, 122, 137 };
constexpr std::array<int, kRoomLegendColumns> kBox { 15, 15, 40, 20, 20, 15, 15 };
constexpr std::array<int, 6> kRules { 15, 32, 74, 96, 120, 135 };
constexpr int kTableWidth = 157;

RoomLegendRow areaRow(std::int32_t roomIndex, std::int32_t areaIndex, const CWorkSystem& area)
{
    RoomLegendRow row;
    row.room = roomIndex;
    row.area = areaIndex;
    row.cells[2] = area.m_name;
    const std::string shown = formatResultValue(area);
    if (area.m_quantityCode == kUgr || area.m_quantityCode == kGr) {
        row.cells[6] = shown;
        return row;
    }
    row.cells[3] = shown;
    // The uniformity divides by the mean as it is shown, not by the stored one.
    const double mean = cadNumber(shown).value_or(0.0);
    if (std::fabs(mean) > 0.0001)
        row.cells[4] = FormatAdaptive(resultValue(area) / mean);
    if (area.m_maintenanceRatio > 0.0001)
        row.cells[5] = FormatAdaptive(area.m_maintenanceRatio);
    return row;
}


} // namespace

RoomLegendCells roomLegendHeaders()
{
    return { loadString(kNumberHeader), loadString(kStandardHeader), loadString(kNameHeader), "Em [lx]",
        loadString(kUniformityHeader), "Z", "UGR/GR" };
}

std::vector<RoomLegendRow> roomLegendRows(CKzevDoc& doc)
{
    const auto type = static_cast<ProjectType>(doc.m_projectType);
    std::vector<RoomLegendRow> rows;
    for (std::size_t r = 0; r < doc.m_rooms.size(); ++r) {
        CRoom& stored = doc.m_rooms[r];
        CRoom copy;
        if (type == ProjectType::Roads)
            copy = stored;
        CRoom& room = type == ProjectType::Roads ? copy : stored;
        computeIlluminance(room, type);
        if (room.m_roomFlag == 1)
            continue;
        const auto roomIndex = static_cast<std::int32_t>(r);
        RoomLegendRow head;
        head.room = roomIndex;
        head.cells[0] = room.m_number;
        head.cells[1] = room.m_requirement;
        head.cells[2] = room.m_name;
        rows.push_back(std::move(head));
        if (room.m_resultsValid == 0)
            continue;
        for (std::size_t a = 0; a < room.m_workSystems.size(); ++a) {
            const CWorkSystem& area = room.m_workSystems[a];
            if (area.m_excluded == 1 || area.m_resultsStale == 1)
                continue;
            rows.push_back(areaRow(roomIndex, static_cast<std::int32_t>(a), area));
        }
    }
    return rows;
}

void applyRoomLegendEdit(CKzevDoc& doc, std::int32_t room, std::int32_t area, int column, const std::string& text)
{
    if (room < 0 || static_cast<std::size_t>(room) >= doc.m_rooms.size())
        return;
    CRoom& target = doc.m_rooms[static_cast<std::size_t>(room)];
    if (area < 0) {
        if (column == 0)
            target.m_number = text;
        else if (column == 1)
            target.m_requirement = text;
        else if (column == 2)
            target.m_name = text;
        else
            return;
    } else {
        if (column != 2 || static_cast<std::size_t>(area) >= target.m_workSystems.size())
            return;
        target.m_workSystems[static_cast<std::size_t>(area)].m_name = text;
    }
    doc.SetModifiedFlag();
}

std::string roomLegendCopyText(const RoomLegendCells& headers, const std::vector<RoomLegendCells>& rows)
{
    std::string text;
    for (int c = 0; c < kRoomLegendColumns; ++c) {
        text += headers[static_cast<std::size_t>(c)];
        text += c + 1 < kRoomLegendColumns ? "\t" : "\n";
    }
    for (const RoomLegendCells& row : rows) {
        for (int c = 0; c < kRoomLegendColumns; ++c) {
            std::string cell = row[static_cast<std::size_t>(c)];
            if (c >= 2) {
                for (char& ch : cell) {
                    if (ch == '.')
                        ch = ',';
                }
            }
            text += cell;
            text += '\t';
        }
        text += '\n';
    }
    return text;
}

bool drawRoomLegend(const CKzevDoc& doc, CadPicker& picker, const RoomLegendCells& headers,
    const std::vector<RoomLegendCells>& rows)
{
    const std::optional<std::array<double, 2>> corner = pickUpperLeftCorner(picker);
    if (!corner)
        return false;
    const CadSendChannel channel = cadSendChannel(doc.m_cadKind, doc.m_acadClone);
    return sendCadLines(channel, picker.m_channel,
        roomLegendCommands(headers, rows, (*corner)[0], (*corner)[1], doc.m_dxfScale, cadCommandForms(channel)), false);
}

std::vector<std::string> roomLegendCommands(const RoomLegendCells& headers, const std::vector<RoomLegendCells>& rows,
    double x, double y, int s, CadCommandForms form)
{
    std::vector<std::string> lines;
    lines.push_back(layerCommand(loadString(kLayerName), form));
    for (std::size_t c = 0; c < headers.size(); ++c)
        lines.push_back(tableTextCommand(x + kOffset[c] * s, y - 2.0 * s - 3.0, s, kBox[c], 8, headers[c]));
    const double rowCount = static_cast<double>(rows.size() + 1); // the header row included
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const double rowY = y - 9.0 * s * static_cast<double>(r + 1);
        lines.push_back(formatC("_line %1.0lf,%1.0lf @%1.0lf,%1.0lf\n\n", x - 2.0 * s, rowY + 10.0 * s,
            static_cast<double>(kTableWidth * s), 0.0));
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            if (!rows[r][c].empty())
                lines.push_back(tableTextCommand(x + kOffset[c] * s, rowY - 3.0, s, kBox[c], 8, rows[r][c]));
        }
    }
    const double height = 9.0 * s * rowCount;
    lines.push_back(formatC("_line %1.0lf,%1.0lf @%1.0lf,%1.0lf @%1.0lf,%1.0lf @%1.0lf,%1.0lf _c\n", x - 2.0 * s,
        y + 9.0 * s, static_cast<double>(kTableWidth * s), 0.0, 0.0, -height, -static_cast<double>(kTableWidth * s),
        0.0));
    for (const int rule : kRules)
        lines.push_back(formatC("_line %1.0lf,%1.0lf @%1.0lf,%1.0lf\n\n", x + rule * s, y + 9.0 * s, 0.0, -height));
    return lines;
}

} // namespace kzev
