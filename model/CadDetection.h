#pragma once

#include "platform/CadAutomation.h"
#include "platform/CadDesktop.h"

#include <string>
#include <string_view>

class CKzevDoc;

namespace kzev {

/** Title of the drawing window, the CAD program of our own. */
inline constexpr std::string_view kDrawingWindowTitle = "Výkres";
/** Automation program id of the drawing window. */
inline constexpr std::string_view kDrawingProgramId = "Kzev.Vykres";

/**
 * Returns the first top-level window, in Z order from the top, whose title
 * (read as at most 511 bytes) begins with the prefix, letter case ignored;
 * windows without a title are skipped; 0 when none does.
 */
[[nodiscard]] CadWindowHandle FindTopWindowByTitlePrefix(ICadDesktop& desktop, std::string_view prefix,
    std::string* title = nullptr);

/**
 * Finds the running CAD program by the titles of the top-level windows and
 * writes the document's CAD kind, icon, window, clone flag and version, and
 * the AutoCAD-type program id. Returns 1 when a program was found and a
 * channel chosen, 0 when none (or a ZwCAD whose automation object is not
 * running). A found program whose automation class is not registered on
 * this system is named in the document's CAD note.
 */
int detectCadApplication(CKzevDoc& document, ICadDesktop& desktop, ICadAutomation& automation);

} // namespace kzev
