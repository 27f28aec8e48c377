#pragma once

#include "platform/CadAutomation.h"

#include <filesystem>

namespace kzev {

/**
 * Opens a drawing file in the CAD program of the chosen object model: the
 * AutoCAD type found by the CAD detection, or the IntelliCAD type; where that
 * program is not registered but the drawing window is, in the drawing window,
 * the CAD program of this system. A running program is used, else one is
 * started. An unregistered program is told by
 * message 61856, a program that cannot open the file by 63555 with the reason
 * it gives (61858 where it gives none), and a program started only for the
 * drawing is ended again; all return false so that the caller can try the
 * other model.
 */
[[nodiscard]] bool openDrawingInCad(ICadAutomation& automation, bool autocadType, const std::filesystem::path& drawing);

/**
 * "Otevřít" of the project's properties: opens the drawing in the preferred
 * object model's program, and in the other model's when that does not
 * succeed, unless both reach the same program (the drawing window here),
 * which would only fail again. True when the drawing was opened.
 */
bool openProjectDrawing(ICadAutomation& automation, bool preferAutocad, const std::filesystem::path& drawing);

} // namespace kzev
