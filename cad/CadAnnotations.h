#pragma once

#include "model/CVector.h"

#include <string>
#include <vector>

class CWorkSystem;

namespace kzev {

/** The two spellings of the typed commands: "_-layer" of the AutoCAD family, "_layer" of the IntelliCAD one. */
enum class CadCommandForms { Acad, Icad };

/** Where an area's annotations land in the drawing. */
struct AnnotationPlacement {
    /** The room's corner, added to every point. */
    CVector roomOrigin { 0.0, 0.0, 0.0 };
    bool millimetres = true;
    /** DxfScale: millimetres of the drawing per unit of label size. */
    int dxfScale = 50;
    CadCommandForms forms = CadCommandForms::Acad;
};

/** Returns the command that creates the layer when needed and makes it current. */
[[nodiscard]] std::string layerCommand(const std::string& name, CadCommandForms forms);
/**
 * Returns the command of a table text of the legends and the title block: a
 * paragraph text of height 2 s at (x, y) in a box of boxWidth by boxHeight
 * units s.
 */
[[nodiscard]] std::string tableTextCommand(double x, double y, int s, int boxWidth, int boxHeight, const std::string& text);
/** Returns the command that sets the current colour ("_bylayer", "_r", "_g"). */
[[nodiscard]] std::string colourCommand(const std::string& colour, CadCommandForms forms);

/**
 * Returns the command lines that write the value of every switched-on point
 * of the area, centred on the point, on the layer "ZEV_TEXTS_<quantity>".
 */
[[nodiscard]] std::vector<std::string> valueLabelCommands(const CWorkSystem& area, const AnnotationPlacement& at);

/**
 * Returns the command lines of a UGR or GR area's glare marks on the layer
 * "ZEV_GLAREMARKS": a title with the area's limit below the area's corner,
 * and at every switched-on point one line per observer direction, green with
 * an arrow head where the point's value stays within the limit, red with a
 * cross bar where it exceeds it. Directions without a value are left out.
 */
[[nodiscard]] std::vector<std::string> glareMarkCommands(const CWorkSystem& area, const AnnotationPlacement& at);

} // namespace kzev
