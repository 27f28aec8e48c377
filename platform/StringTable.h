#pragma once

#include <string>

namespace kzev {

/**
 * Returns the Czech text (UTF-8) of a string-table id, or an empty text when
 * the id is not in the table.
 */
[[nodiscard]] std::string loadString(int id);

/** Returns whether the string table holds the id. */
[[nodiscard]] bool hasString(int id);

} // namespace kzev
