#include "model/ManufacturerNames.h"

#include "platform/CData.h"
#include "platform/DataLocation.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

namespace kzev {

namespace {

constexpr int kMakersWorkbook = 61675; // "VYROBCI.xls"
constexpr int kCodeColumn = 61688;     // "Kód"
constexpr int kNameColumn = 1;

} // namespace

ManufacturerNames loadManufacturerNames()
{
    ManufacturerNames result;
    CData data;
    const std::string file = dataFolderWithPrefix() + loadString(kMakersWorkbook);
    if (!data.Open(file, dataLocation().driver, 0, 0) || !data.OpenTable(0, "", 0)) {
        // The names are only a courtesy of the tree; a damaged workbook is said in the log, not in a box at every project.
        if (data.isDamaged())
            services().log->addLine(openFailureText(data, file));
        data.Close();
        return result;
    }
    const std::string code = loadString(kCodeColumn);
    for (long row = 0; row < data.rowCount(); ++row) {
        std::string number;
        std::string name;
        if (!data.GetStringValue(code, number, row) || !data.GetStringValue(kNameColumn, name, row))
            continue;
        // Numbers are compared as whole numbers later; "1001.0" from a spreadsheet reads alike.
        result.numbers.push_back(formatC("%ld", StrToLong(number)));
        result.names.push_back(name);
    }
    data.Close();
    return result;
}

} // namespace kzev
