#pragma once

#include "cad/CadAnnotations.h"
#include "cad/CadCommandRun.h"

#include <array>
#include <string>
#include <vector>

class CKzevDoc;

namespace kzev {

class CadPicker;

/** The seven columns of the used-luminaires legend: designation, type, name, maker, protection, lamp, count. */
inline constexpr int kUsedLuminaireColumns = 7;
using UsedLuminaireCells = std::array<std::string, kUsedLuminaireColumns>;

/**
 * Returns the command lines that draw the legend of the used luminaires in
 * CAD with its upper-left corner at (x, y): the layer "ZEV_LUMINAIRES", the
 * headings, one line of texts per row (empty cells left out), the frame, the
 * rule under the headings and the six column rules; every length a multiple
 * of the drawing unit h (DxfScale).
 */
[[nodiscard]] std::vector<std::string> usedLuminairesLegendCommands(
    const std::vector<UsedLuminaireCells>& rows, double x, double y, int h, CadCommandForms form);

/** Returns the channel the legend goes by: the text window, the IntelliCAD-type model, or, when the project prefers it, the AutoCAD-type model. */
[[nodiscard]] CadSendChannel usedLuminairesLegendChannel(const CKzevDoc& doc);

/**
 * Lets the user pick the legend's corner in the CAD program and draws the
 * legend there; false when the pick was cancelled or the CAD program could
 * not be reached.
 */
bool drawUsedLuminairesLegend(const CKzevDoc& doc, CadPicker& picker, const std::vector<UsedLuminaireCells>& rows);

} // namespace kzev
