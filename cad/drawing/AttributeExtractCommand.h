#pragma once

#include "cad/drawing/CadCommandProcessor.h"

#include <memory>
#include <string>
#include <vector>

namespace kzev {

/**
 * Returns the lines of a fixed-column attribute extraction of the block
 * references with the ids, by a template of "name code" lines (code: C or N,
 * three digits of width, three of decimals; names "BL:X", "BL:Y", "BL:Z",
 * "BL:ORIENT", "BL:NAME" or an attribute tag). A block that carries none of
 * the template's attribute tags is not listed.
 */
[[nodiscard]] std::vector<std::string> extractAttributes(const CadDrawing& drawing,
    const std::vector<std::int64_t>& ids, const std::string& templateText);

/** Makes the "_-attext" command: object selection, the SDF form, a template file and the output file. */
[[nodiscard]] std::unique_ptr<CadCommand> makeAttributeExtractCommand();

} // namespace kzev
