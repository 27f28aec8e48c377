#include "platform/DataSqlite.h"

#include "platform/TextUtil.h"

#include <freexl.h>

#include <algorithm>

namespace kzev::datalib {

namespace {

/** A cell of a genuine workbook as a value; texts that are plain numbers become numbers. */
DataValue cellValue(const FreeXL_CellValue& cell)
{
    switch (cell.type) {
    case FREEXL_CELL_INT:
        return static_cast<std::int64_t>(cell.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return cell.value.double_value;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        return canonicalValue(cell.value.text_value ? cell.value.text_value : "");
    default:
        return std::monostate {};
    }
}

std::string cellText(const DataValue& value)
{
    if (const auto* whole = std::get_if<std::int64_t>(&value))
        return std::to_string(*whole);
    if (const auto* number = std::get_if<double>(&value))
        return formatC("%.15g", *number);
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    return {};
}

/** Closes a freexl handle when it goes. */
struct WorkbookHandle {
    const void* handle = nullptr;
    ~WorkbookHandle()
    {
        if (handle)
            freexl_close(handle);
    }
};

} // namespace

bool loadExcelWorkbook(const std::string& path, sqlite3*& db, std::string& error)
{
    const auto fail = [&](std::string message) {
        error = std::move(message);
        return false;
    };
    const auto exec = [&](const std::string& sql) { return execSql(db, sql, error); };
    WorkbookHandle workbook;
    if (freexl_open(path.c_str(), &workbook.handle) != FREEXL_OK)
        return fail("not a readable Excel 97 workbook: " + path);
    unsigned int protection = 0;
    if (freexl_get_info(workbook.handle, FREEXL_BIFF_PASSWORD, &protection) == FREEXL_OK
        && protection == FREEXL_BIFF_OBFUSCATED)
        return fail("the workbook is protected by a password: " + path);
    unsigned int sheetCount = 0;
    if (freexl_get_info(workbook.handle, FREEXL_BIFF_SHEET_COUNT, &sheetCount) != FREEXL_OK)
        return fail("cannot count the sheets of " + path);

    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK
        || !registerFunctions(db)) {
        sqlite3_close_v2(db);
        db = nullptr;
        return fail("cannot hold the workbook in memory");
    }
    if (!exec("BEGIN")) {
        sqlite3_close_v2(db);
        db = nullptr;
        return false;
    }
    for (unsigned int sheet = 0; sheet < sheetCount; ++sheet) {
        const char* sheetName = nullptr;
        unsigned int rows = 0;
        unsigned short cols = 0;
        if (freexl_get_worksheet_name(workbook.handle, static_cast<unsigned short>(sheet), &sheetName) != FREEXL_OK
            || freexl_select_active_worksheet(workbook.handle, static_cast<unsigned short>(sheet)) != FREEXL_OK
            || freexl_worksheet_dimensions(workbook.handle, &rows, &cols) != FREEXL_OK)
            continue;
        const auto cell = [&](unsigned int r, unsigned short c) {
            FreeXL_CellValue value {};
            if (freexl_get_cell_value(workbook.handle, r, c, &value) != FREEXL_OK)
                return DataValue(std::monostate {});
            return cellValue(value);
        };
        // The first row names the columns; a nameless column is called F1, F2, ... by its position.
        std::vector<std::string> names;
        for (unsigned short c = 0; c < std::max<unsigned short>(cols, 1); ++c) {
            std::string name = rows > 0 ? cellText(cell(0, c)) : std::string();
            if (name.empty())
                name = "F" + std::to_string(c + 1);
            std::string unique = name;
            for (int n = 1; std::find(names.begin(), names.end(), unique) != names.end(); ++n)
                unique = name + std::to_string(n);
            names.push_back(unique);
        }
        const std::string table = std::string(sheetName ? sheetName : "") + "$";
        std::string create = "CREATE TABLE main." + quoteName(table) + " (";
        std::string insert = "INSERT INTO main." + quoteName(table) + " VALUES (";
        for (std::size_t c = 0; c < names.size(); ++c) {
            create += (c ? ", " : "") + quoteName(names[c]) + " COLLATE " + kCollation;
            insert += c ? ", ?" : "?";
        }
        if (!exec(create + ")"))
            continue; // a sheet whose name repeats another's
        Statement stmt(db, insert + ")");
        if (!stmt)
            continue;
        // Trailing rows without any value are formatting only.
        unsigned int lastRow = 0;
        std::vector<std::vector<DataValue>> values;
        for (unsigned int r = 1; r < rows; ++r) {
            std::vector<DataValue> row;
            bool any = false;
            for (unsigned short c = 0; c < names.size(); ++c) {
                row.push_back(c < cols ? cell(r, c) : DataValue(std::monostate {}));
                any = any || !std::holds_alternative<std::monostate>(row.back());
            }
            values.push_back(std::move(row));
            if (any)
                lastRow = r;
        }
        for (unsigned int r = 1; r <= lastRow; ++r) {
            sqlite3_reset(stmt.get());
            for (std::size_t c = 0; c < names.size(); ++c)
                (void)bindValue(stmt.get(), static_cast<int>(c + 1), values[r - 1][c]);
            sqlite3_step(stmt.get());
        }
    }
    if (!exec("COMMIT")) {
        sqlite3_close_v2(db);
        db = nullptr;
        return false;
    }
    return true;
}

} // namespace kzev::datalib
