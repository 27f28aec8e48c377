#pragma once

#include "cad/CadAnnotations.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CKzevDoc;

namespace kzev {

class CadPicker;

/** The seven columns of the rooms legend. */
inline constexpr int kRoomLegendColumns = 7;
using RoomLegendCells = std::array<std::string, kRoomLegendColumns>;

/** One data row of the rooms legend and the model objects it shows. */
struct RoomLegendRow {
    RoomLegendCells cells;
    std::int32_t room = -1; ///< index in the document's rooms
    std::int32_t area = -1; ///< index in the room's areas; -1 on a room row
};

/** Returns the header texts: "M.č.", "Norma", "Název", "Em [lx]", "Rovnoměrnost", "Z", "UGR/GR". */
[[nodiscard]] RoomLegendCells roomLegendHeaders();

/**
 * Refreshes the summaries of every room's areas and returns the legend's
 * rows: each listed room (rooms switched off in the tree are left out) with
 * its number, standard and name, and below it, once it holds results, its
 * switched-on areas with mean, uniformity (minimum over the mean as shown),
 * Z, or the glare value of a UGR or GR area. A road project's summaries are
 * refreshed on copies, so that its stored threshold increments stay.
 */
[[nodiscard]] std::vector<RoomLegendRow> roomLegendRows(CKzevDoc& doc);

/**
 * Writes a legend cell edited by the user into the model: the room's number
 * (column 0) or standard (column 1) on a room row, the room's or area's name
 * (column 2). Other cells stay in the legend only. Indexes out of range
 * change nothing.
 */
void applyRoomLegendEdit(CKzevDoc& doc, std::int32_t room, std::int32_t area, int column, const std::string& text);

/**
 * Returns the legend as tab-separated text: the headers joined by tabs, then
 * each row with a tab after every cell and decimal commas in columns 2 to 6.
 */
[[nodiscard]] std::string roomLegendCopyText(const RoomLegendCells& headers, const std::vector<RoomLegendCells>& rows);

/**
 * Returns the command lines that draw the legend in CAD with its upper-left
 * corner at (x, y): the layer "ZEV_LUMINAIRES", the header texts, each row's
 * rule and texts, the frame and the column rules; every length a multiple
 * of the drawing unit s (DxfScale).
 */
[[nodiscard]] std::vector<std::string> roomLegendCommands(const RoomLegendCells& headers,
    const std::vector<RoomLegendCells>& rows, double x, double y, int s, CadCommandForms form);

/**
 * Lets the user pick the legend's corner in the CAD program and draws the
 * legend there over the channel of the document's CAD kind; false when the
 * pick was cancelled or the CAD program could not be reached.
 */
bool drawRoomLegend(const CKzevDoc& doc, CadPicker& picker, const RoomLegendCells& headers,
    const std::vector<RoomLegendCells>& rows);

} // namespace kzev
