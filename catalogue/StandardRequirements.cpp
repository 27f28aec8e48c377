#include "catalogue/StandardRequirements.h"

#include "platform/CData.h"
#include "platform/CaseFold.h"
#include "platform/DataLocation.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

namespace kzev {

namespace {

constexpr int kCannotOpenTable = 61447;

} // namespace

std::string requirementWorkbookPath(const std::string& workbookName)
{
    std::string folder = dataLocation().folder;
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
        folder.push_back('/');
    return folder + workbookName + ".xls";
}

RequirementTable readRequirementTable(const std::string& workbookName)
{
    RequirementTable table;
    const std::string file = requirementWorkbookPath(workbookName);
    CData data;
    if (!data.Open(file, dataLocation().driver)) {
        table.error = openFailureText(data, file);
        data.Close();
        return table;
    }
    if (!data.OpenTable(0)) {
        data.Close();
        table.error = formatC(loadString(kCannotOpenTable).c_str(), "0", file.c_str());
        return table;
    }
    table.headings = data.columnNames();
    const int columns = static_cast<int>(table.headings.size());
    const long rows = data.rowCount();
    table.rows.reserve(static_cast<std::size_t>(rows > 0 ? rows : 0));
    for (long row = 0; row < rows; ++row) {
        std::vector<std::string> cells(static_cast<std::size_t>(columns));
        for (int column = 0; column < columns; ++column) {
            std::string value;
            if (data.GetStringValue(column, value, row))
                cells[static_cast<std::size_t>(column)] = value;
        }
        table.rows.push_back(std::move(cells));
    }
    data.Close();
    return table;
}

StandardRequirement requirementOfRow(const std::vector<std::string>& row)
{
    StandardRequirement requirement;
    if (!row.empty())
        requirement.name = row[0];
    if (row.size() > 4)
        requirement.illuminance = StrToDouble(row[4]);
    if (row.size() > 5)
        requirement.glareLimit = StrToDouble(row[5]);
    return requirement;
}

std::optional<TableHit> findInTable(
    const RequirementTable& table, const std::string& text, bool matchCase, std::size_t firstRow)
{
    if (text.empty())
        return std::nullopt;
    const std::string wanted = matchCase ? text : upperCase(text);
    for (std::size_t row = firstRow; row < table.rows.size(); ++row) {
        const std::vector<std::string>& cells = table.rows[row];
        for (std::size_t column = 0; column < cells.size(); ++column) {
            const std::string cell = matchCase ? cells[column] : upperCase(cells[column]);
            if (cell.find(wanted) != std::string::npos)
                return TableHit { row, column };
        }
    }
    return std::nullopt;
}

} // namespace kzev
