#pragma once

#include "platform/CData.h"
#include "support/WorkbookFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace kzev::test {

/**
 * A maker's workbook ZEV-0015.xls in the folder, holding one catalogue row
 * numbered 7 and one lamp (record 3: "T5 28W/840", 28 W, 2600 lm, 20000 h).
 */
inline std::string makerWorkbook(const TempFolder& folder, bool withCatalogue = true)
{
    const std::string file = folder.file("ZEV-0015.xls");
    SheetFixture luminaires;
    luminaires.name = "Luminaires$";
    for (const char* text : {"Typ", "Název", "Datum", "RozmCelkové", "RozmSvítící", "Table", "ImportLamp", "ImportFile",
             "Zdroj"})
        luminaires.columns.push_back({text, kDataTypeText});
    for (const char* number : {"Věta", "Skupina", "Podskupina", "Výkon", "Zdrojů", "Symetrie", "Účinnost", "KatÚdržby"})
        luminaires.columns.push_back({number, kDataTypeLong});
    std::vector<DataValue> row(luminaires.columns.size());
    row[0] = std::string("OLD");
    row[9] = std::int64_t {7};
    luminaires.rows.push_back(row);
    SheetFixture lamps { "Lamps$",
        { { "Věta", kDataTypeLong }, { "Název", kDataTypeText }, { "Výkon", kDataTypeLong }, { "SvTok", kDataTypeText },
            { "Život", kDataTypeLong }, { "Gama", kDataTypeDouble }, { "Tau", kDataTypeDouble }, { "Typ", kDataTypeText } },
        { { std::int64_t {3}, std::string("T5 28W/840"), std::int64_t {28}, std::string("2600"), std::int64_t {20000},
            0.8, 15000.0, std::string("T5") } } };
    std::string failure;
    EXPECT_TRUE(writeWorkbook(file, withCatalogue ? std::vector { luminaires, lamps } : std::vector { lamps }, &failure))
        << failure;
    return file;
}

/** Sets a cell of the last row of a sheet. */
inline void setLastRowCell(const std::string& file, const std::string& sheet, const std::string& column,
    const std::string& text)
{
    CData data;
    ASSERT_TRUE(data.Open(file, "Excel 8.0", kOpenToWrite, 0));
    ASSERT_TRUE(data.OpenTable(sheet, "", 0));
    ASSERT_TRUE(data.SetStringValue(column, text, data.rowCount() - 1, 0));
    data.Close();
}

inline std::string writeFile(const TempFolder& folder, const std::string& name, const std::string& text)
{
    const std::string path = folder.file(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

/** The cells of the last row of a sheet, by column name, in column order. */
inline std::vector<std::pair<std::string, std::string>> lastRow(const std::string& file, const std::string& sheet)
{
    CData data;
    std::vector<std::pair<std::string, std::string>> cells;
    if (!data.Open(file, "Excel 8.0", 0, 0) || !data.OpenTable(sheet, "", 0)) {
        ADD_FAILURE() << "cannot open " << sheet;
        return cells;
    }
    for (const auto& column : data.columnNames()) {
        std::string value;
        data.GetStringValue(column, value, data.rowCount() - 1, -1, 0);
        cells.emplace_back(column, value);
    }
    data.Close();
    return cells;
}

inline std::string cell(const std::vector<std::pair<std::string, std::string>>& row, const std::string& column)
{
    for (const auto& c : row)
        if (c.first == column)
            return c.second;
    return "<none>";
}

} // namespace kzev::test
