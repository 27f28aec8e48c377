#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kzev {

/**
 * The lines of a block of cell text as the clipboard and drops bring it: split at line
 * feeds, a carriage return before a line feed dropped. An empty line (also after a final
 * line feed) is a line of its own: it writes nothing but takes a row.
 */
[[nodiscard]] std::vector<std::string_view> textBlockLines(std::string_view text);

/**
 * The fields of one line, split at tabs and trimmed of blanks. A comma never splits: it is
 * the decimal comma of the numbers the grids show, so a copied block pastes back unchanged.
 * An empty line has no fields.
 */
[[nodiscard]] std::vector<std::string_view> textBlockFields(std::string_view line);

/**
 * A cell's text as it goes on the clipboard: a number written with a decimal point gets the
 * decimal comma, so that every number the program puts on the clipboard follows one rule and
 * pastes back into the grids (which read a comma as a point) and into a Czech spreadsheet.
 * Any other text stays as it is.
 */
[[nodiscard]] std::string clipboardCellText(std::string_view text);

} // namespace kzev
