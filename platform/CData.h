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

/** What CData::Open opens a file for (its third argument): only to read it, or to write into it as well. */
inline constexpr int kOpenToRead = 0;
inline constexpr int kOpenToWrite = 1;

/** Why the last failed call of a CData failed, where the user is told more than that it failed. */
enum class DataFailure {
    none,
    missing,           ///< nothing stands at the path
    cannotOpen,        ///< the system refused to open it (systemError says why)
    notDatabase,       ///< neither a database nor an Excel 97 workbook
    busy,              ///< another program writes it for longer than the library waits
    foreignFile,       ///< a journal, WAL or shared-memory file beside it is not its owner's (failureFile)
    damaged,           ///< its reader crashed, ran away or answered in part
    timedOut,          ///< its reader did not answer in time
    readerMissing,     ///< no workbook reader is installed
    readerCannotStart, ///< the workbook reader (failureFile) cannot be started (systemError says why)
    readerNoAnswer,    ///< the workbook reader (failureFile) ended without a usable answer
    readerStopped,     ///< the workbook reader was ended from outside, twice
    other,             ///< lastError says why
};

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

    /**
     * Opens an existing workbook or database; the type text ("Excel 8.0" or
     * empty) is not needed to tell them apart. A file opened to read
     * (kOpenToRead) is opened read-only: reading never writes into it. A
     * journal, WAL or shared-memory file beside it that is not the file's
     * owner's refuses the file (DataFailure::foreignFile). Writes of a file
     * opened before that were not committed yet are committed first; 0 with
     * their cause when they are not kept.
     */
    int Open(const std::string& file, const std::string& type = {}, int mode = kzev::kOpenToRead, int = 0);
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

    /** Whether the file has that table ("Lamps$") now; names compare without regard to case. */
    int IsTable(const std::string& name);

    /** Declares a column of the next CreateTable: type codes 4 long, 7 double, 10 text, 12 memo, 0 general. */
    int AddColBeforeCreateTable(const std::string& column, int type, int size, int = -2);
    /** Creates the table of the declared columns and leaves it open. */
    int CreateTable(const std::string& name);

    /**
     * Takes the file's write lock and holds every write from now on in one
     * transaction, across tables, until CommitTrans; Rollback or a Close
     * before it undoes them all. What is read after it cannot change under
     * the writes: another program's writer waits, or this call waits for it
     * (2 s at most, else 0 with DataFailure::busy).
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
    /** Why the last failed call failed. */
    [[nodiscard]] kzev::DataFailure failure() const;
    /** The file the failure is about when it is not the opened one (a foreign journal, the reader). */
    [[nodiscard]] const std::string& failureFile() const;
    /** The system's error number behind the failure, 0 when there is none. */
    [[nodiscard]] int systemError() const;
    /** The reason of the last failure, for logs and tests. */
    [[nodiscard]] const std::string& lastError() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

namespace kzev {

/**
 * Returns the message for a file that Open refused, naming the file and the
 * cause: "Nelze otevřít soubor %s ! (existuje ?)" for a missing file, the
 * damaged-workbook text when its reader crashed, hung or answered in part,
 * and a text of its own for every other cause (another program writing it,
 * a foreign journal, a reader that cannot start or gives no answer).
 */
[[nodiscard]] std::string openFailureText(const CData& data, const std::string& file);
/** The text of openFailureText for a failure of that kind, about that other file, with that system error. */
[[nodiscard]] std::string failureText(DataFailure kind, const std::string& file, const std::string& about = {},
    int systemError = 0);
/** Shows openFailureText with the exclamation icon. */
void reportOpenFailure(const CData& data, const std::string& file);
/**
 * Whether the file is one of the program's SQLite databases, told from its
 * first bytes read through SQLite, as Open reads them: a descriptor of the
 * program's own, once closed, would drop the locks SQLite holds on the file
 * for an open CData of this process.
 */
[[nodiscard]] bool isDatabaseFile(const std::string& file);

/** Returns the message that a write into the file waited in vain for another program's write to end. */
[[nodiscard]] std::string busyWriteText(const std::string& file);

} // namespace kzev
