#pragma once

// The SQLite side of the data library, shared by CData and its workbook reader.

#include "platform/AccessSql.h"
#include "platform/CData.h"
#include "platform/WorkbookAnswer.h"

#include <sqlite3.h>

#include <chrono>
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

/** Why a genuine workbook was not read: the kind, the reader's name where it is at fault, the system's error. */
struct WorkbookRefusal {
    DataFailure kind = DataFailure::none;
    std::string file;
    int systemError = 0;
};

/** The reader program that reads genuine workbooks (none: it was not found), and the longest it may take. */
struct WorkbookReader {
    std::optional<std::filesystem::path> program;
    std::chrono::milliseconds timeout = workbook::kReadTimeout;
};

/**
 * Reads a genuine Excel 97 workbook into a new in-memory database, one table
 * per sheet named with "$", the first row naming the columns. The workbook
 * library runs in the reader program (platform/xlsreader/) found beside the
 * program; a reader that crashes, hangs or answers in part marks the
 * workbook damaged (or timed out), and that refusal is kept for the rest of
 * the run: the same file, unchanged (device, inode, size, modification
 * time), is refused again at once. A reader that is missing, cannot be
 * started, is ended from outside or ends without a usable answer refuses
 * the workbook without a verdict on it. On failure db stays null and the
 * reason goes into error and refusal.
 */
[[nodiscard]] bool loadExcelWorkbook(const std::string& path, sqlite3*& db, std::string& error, WorkbookRefusal& refusal);

/** As loadExcelWorkbook, with the reader given. */
[[nodiscard]] bool loadExcelWorkbook(const std::string& path, const WorkbookReader& reader, sqlite3*& db,
    std::string& error, WorkbookRefusal& refusal);

} // namespace kzev::datalib
