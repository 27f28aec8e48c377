#pragma once

#include <string>
#include <vector>

namespace kzev {

/** The makers' numbers and names; number i (decimal text) belongs to name i. */
struct ManufacturerNames {
    std::vector<std::string> numbers;
    std::vector<std::string> names;
};

/**
 * Reads the makers' names from the data folder's workbook VYROBCI.xls (with
 * the data-file prefix): its first sheet, the number in the column "Kód" and
 * the name in the second column. Rows without both are skipped. A missing or
 * unreadable workbook gives empty lists, so names fall back to numbers;
 * nothing is reported.
 */
[[nodiscard]] ManufacturerNames loadManufacturerNames();

} // namespace kzev
