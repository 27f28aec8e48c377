#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kzev {

/** The standard's requirement workbooks: interiors, and outdoor work places. */
inline constexpr const char* kIndoorRequirements = "ZEV-N12464-1";
inline constexpr const char* kOutdoorRequirements = "ZEV-N12464-2";

/** What a row of the requirement table hands to the room: its name, illuminance and glare limit. */
struct StandardRequirement {
    std::string name;
    /** Maintained illuminance, lux (column 4). */
    double illuminance = 0.0;
    /** UGR limit indoors, GR limit outdoors (column 5). */
    double glareLimit = 0.0;
};

/** The first sheet of a requirement workbook as text: the column names and the rows of cells. */
struct RequirementTable {
    std::vector<std::string> headings;
    std::vector<std::vector<std::string>> rows;
    /** Empty when the workbook was read; else the Czech message that says why not. */
    std::string error;
};

/** Returns the workbook's file: the data folder, the name and ".xls". */
[[nodiscard]] std::string requirementWorkbookPath(const std::string& workbookName);

/**
 * Reads the first sheet of the requirement workbook of that name in the data
 * folder. A workbook that cannot be opened, or has no sheet, gives an empty
 * table with its message; a cell without a value reads as an empty text.
 */
[[nodiscard]] RequirementTable readRequirementTable(const std::string& workbookName);

/** Returns the requirement of a row: column 0 the name, column 4 and 5 the two values. */
[[nodiscard]] StandardRequirement requirementOfRow(const std::vector<std::string>& row);

/** A cell of the table, rows counted from 0 as in RequirementTable::rows. */
struct TableHit {
    std::size_t row = 0;
    std::size_t column = 0;
    bool operator==(const TableHit&) const = default;
};

/**
 * Finds the first cell, from row firstRow on and within a row from the first
 * column, that contains the text; without matchCase, letters compare in upper
 * case (Czech ones too).
 */
[[nodiscard]] std::optional<TableHit> findInTable(
    const RequirementTable& table, const std::string& text, bool matchCase, std::size_t firstRow);

} // namespace kzev
