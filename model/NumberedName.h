#pragma once

#include <string>

namespace kzev {

/**
 * Returns the string-table text id formatted with one whole number, for the
 * numbered default names ("Soustava překážek %ld", "Pojmenovaný pohled %d").
 * The number is passed as long or int to match the text's conversion.
 */
[[nodiscard]] std::string numberedName(int stringId, long number);

} // namespace kzev
