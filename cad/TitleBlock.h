#pragma once

#include <string>
#include <vector>

class CKzevDoc;

namespace kzev {

enum class CadCommandForms;
class CadPicker;

/**
 * Returns the command lines of the title block with its upper-left corner at
 * (x, y): the layer "ZEV_LUMINAIRES", six rows of label and value (the
 * program's credit, the project file, building, project, company and
 * designer; an empty value is left out, its label stays), the frame, the rule
 * under the first row and the divider between labels and values. Every
 * length is a multiple of the document's DxfScale.
 */
[[nodiscard]] std::vector<std::string> titleBlockCommands(const CKzevDoc& doc, double x, double y, CadCommandForms form);

/**
 * The command "Vykreslení razítka": finds the CAD program, lets the user
 * pick the block's corner there and draws the block over the channel of the
 * CAD kind. Returns whether it was drawn; nothing is drawn when no CAD
 * program runs or the pick was cancelled.
 */
bool drawTitleBlock(CKzevDoc& doc, CadPicker& picker);

} // namespace kzev
