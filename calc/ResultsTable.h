#pragma once

#include <string>

class CWorkSystem;

namespace kzev {

/**
 * Returns the point values of the area as the tab-separated table the
 * results command puts on the clipboard: a header line of a tab and the x
 * coordinates of the rows (first axis) in millimetres, then one line per
 * column of the second axis from the last to the first, its y coordinate in
 * millimetres followed by the values of that column's points with one
 * decimal and a decimal comma. Every cell is followed by a tab, every line by
 * a line feed. The text is plain ASCII.
 */
[[nodiscard]] std::string resultsTableText(const CWorkSystem& area);

} // namespace kzev
