#pragma once

// The SQLite side of the data library, shared by CData and its workbook reader.

#include "platform/AccessSql.h"
#include "platform/CData.h"

#include <sqlite3.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kzev::datalib {

/** Collation of every column the library declares: text compares without regard to case, Czech letters included. */
inline constexpr const char* kCollation = "KZEV_NOCASE";

/** Finalizes its statement when it goes. */
class Statement {
public:
    Statement(sqlite3* db, const std::string& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    explicit operator bool() const { return m_stmt != nullptr; }
    [[nodiscard]] sqlite3_stmt* get() const { return m_stmt; }

private:
    sqlite3_stmt* m_stmt = nullptr;
};

/** Registers the collation and the LIKE of the makers' wildcards on a connection. */
[[nodiscard]] bool registerFunctions(sqlite3* db);

/** A whole number or a number written exactly as it would be printed becomes a number; else the text. */
[[nodiscard]] DataValue canonicalValue(const std::string& text);

[[nodiscard]] bool bindValue(sqlite3_stmt* stmt, int index, const DataValue& value);

/** The value of a column of the statement's current row. */
[[nodiscard]] DataValue columnValue(sqlite3_stmt* stmt, int column);

/** A cell as the library hands it out as text: numbers as written back exactly, none for an empty cell. */
[[nodiscard]] std::optional<std::string> cellText(const DataValue& value);
[[nodiscard]] bool bindLiterals(sqlite3_stmt* stmt, const std::vector<SqlLiteral>& literals);

/** Runs statements without results; on failure the reason goes into error. */
[[nodiscard]] bool execSql(sqlite3* db, const std::string& sql, std::string& error);

/**
 * Reads a genuine Excel 97 workbook into a new in-memory database, one table
 * per sheet named with "$", the first row naming the columns. The workbook
 * library runs in the reader program (platform/xlsreader/) found beside the
 * program; a reader that crashes, hangs or answers in part marks the
 * workbook damaged. A reader that is missing or cannot be started refuses
 * the workbook, which is not called damaged. On failure db stays null and
 * the reason goes into error.
 */
[[nodiscard]] bool loadExcelWorkbook(const std::string& path, sqlite3*& db, std::string& error, bool& damaged);

/** As loadExcelWorkbook, with the reader program given (none: it was not found). */
[[nodiscard]] bool loadExcelWorkbook(const std::string& path, const std::optional<std::filesystem::path>& reader,
    sqlite3*& db, std::string& error, bool& damaged);

} // namespace kzev::datalib
