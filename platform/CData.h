#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace kzev {

/** A cell value handed to CData::SetValue: nothing (empty cell), a whole number, a number or a text. */
using DataValue = std::variant<std::monostate, std::int64_t, double, std::string>;

/** Column type codes of CData::AddColBeforeCreateTable. */
inline constexpr int kDataTypeGeneral = 0; ///< a column like a spreadsheet's: numbers stay numbers, texts texts
inline constexpr int kDataTypeLong = 4;
inline constexpr int kDataTypeDouble = 7;
inline constexpr int kDataTypeText = 10;
inline constexpr int kDataTypeMemo = 12;

/** Shows "Nelze otevřít soubor %s ! (existuje ?)" with the file (exclamation icon). */
void reportOpenFailure(const std::string& file);
/** Shows "Nelze otevřít tabulku %s souboru %s !" with the table and the file (exclamation icon). */
void reportTableFailure(const std::string& table, const std::string& file);

} // namespace kzev

/**
 * The data library: one object stands for one open database file and at most
 * one open table or query result.
 *
 * Every workbook or database is an SQLite file, one table per sheet under the
 * sheet's own name ("Luminaires$", "Tab1_300_50$"). A genuine Excel 97
 * workbook is read through libfreexl, in a small reader program of its own so
 * that a damaged file cannot end the program, into memory and stays read-only:
 * every write returns 0. A file that is neither gives 0 from Open.
 *
 * Queries in the makers' dialect run as written: bracketed names, literals in
 * double quotes, Like with "*" and "?", and comparisons of text that ignore
 * case (Czech letters included). Literals are always bound, never pasted.
 * Rows count from 0; after OpenTable the first row (if any) is the current
 * record, which row -1 stands for in the cell calls. All calls return
 * non-zero on success and 0 on failure; none throws.
 */
class CData {
public:
    CData();
    ~CData();
    CData(const CData&) = delete;
    CData& operator=(const CData&) = delete;

    /** Opens an existing workbook or database; the type text ("Excel 8.0" or empty) is not needed to tell them apart. */
    int Open(const std::string& file, const std::string& type = {}, int = 0, int = 0);
    /** Creates a new empty database file (0 when the file exists already) and keeps it open. */
    int Create(const std::string& file, const std::string& type = {});
    /**
     * Closes the open table and the file; writes made since opening are
     * committed first, unless held by BeginTrans. 0 when those writes could
     * not be kept (lastError says why, a full disk for one); the file is
     * closed either way.
     */
    int Close();
    /** Closes only the open table or query result, committing its writes as Close does; 0 when they are not kept. */
    int CloseTable();

    /** Opens a table by name ("Luminaires$") or runs a query ("SELECT ..."); the open table is closed first, as CloseTable does. */
    int OpenTable(const std::string& nameOrQuery, const std::string& second = {}, int = 0);
    /** Opens the table at that position in the file (0 = the first sheet). */
    int OpenTable(int index, const std::string& second = {}, int = 0);

    /** Reads one cell as text; row -1 = the current record; 0 when the cell is empty or absent. */
    int GetStringValue(const std::string& column, std::string& value, long row = -1, int = -1, int = 0);
    int GetStringValue(int column, std::string& value, long row = -1, int = -1, int = 0);

    /** Makes the first row matching the criterion ("Věta=15") the current record; 1 when found. */
    int Find(int mode, const std::string& criterion, int = 0);
    /** The same search under the recordset's name. */
    int FindFirst(const std::string& criterion);

    /** Whether the file has that table ("Lamps$"); names compare without regard to case. */
    int IsTable(const std::string& name);

    /** Declares a column of the next CreateTable: type codes 4 long, 7 double, 10 text, 12 memo, 0 general. */
    int AddColBeforeCreateTable(const std::string& column, int type, int size, int = -2);
    /** Creates the table of the declared columns and leaves it open. */
    int CreateTable(const std::string& name);

    /**
     * Holds every write from now on in one transaction, across tables, until
     * CommitTrans; Rollback or a Close before it undoes them all.
     */
    int BeginTrans();
    /** Makes the writes held since BeginTrans lasting. */
    int CommitTrans();
    /** Undoes the writes held since BeginTrans and closes the open table. */
    void Rollback();

    /** Appends an empty row to the open table and makes it the current record. */
    int AddRow();
    /** Writes a cell of the current record (row -1) or of a given row. */
    int SetStringValue(const std::string& column, const std::string& text, long row = -1, int = 0);
    int SetStringValue(int column, const std::string& text, long row = -1, int = 0);
    int SetValue(const std::string& column, const kzev::DataValue& value, long row = -1, int = 0);

    /** Number of rows of the open table or query result (0 when none is open). */
    [[nodiscard]] long rowCount() const;
    /** Number of columns and their names, in column order. */
    [[nodiscard]] int columnCount() const;
    [[nodiscard]] const std::vector<std::string>& columnNames() const;
    /** The current record, -1 when there is none. */
    [[nodiscard]] long currentRow() const;
    /** Name of the open table, or the query text. */
    [[nodiscard]] const std::string& tableName() const;
    [[nodiscard]] bool isOpen() const;
    [[nodiscard]] bool isReadOnly() const;
    /** Whether the last Open met a damaged workbook: its reader crashed, hung or answered in part. */
    [[nodiscard]] bool isDamaged() const;
    /** The reason of the last failure, for logs and tests. */
    [[nodiscard]] const std::string& lastError() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

namespace kzev {

/**
 * Returns the message for a file that Open refused: the damaged-workbook text
 * when its reader crashed, hung or answered in part, else "Nelze otevřít
 * soubor %s ! (existuje ?)"; both name the file.
 */
[[nodiscard]] std::string openFailureText(const CData& data, const std::string& file);
/** Shows openFailureText with the exclamation icon. */
void reportOpenFailure(const CData& data, const std::string& file);

} // namespace kzev
