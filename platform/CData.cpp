#include "platform/CData.h"

#include "platform/CaseFold.h"
#include "platform/DataSqlite.h"
#include "platform/FileIo.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/SqliteFileGuard.h"
#include "platform/TextUtil.h"
#include "platform/WorkbookAnswer.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>

namespace kzev {

namespace {

// How long a call waits for another program's write to end before it gives up.
constexpr int kBusyWaitMs = 2000;

} // namespace

void reportOpenFailure(const std::string& file)
{
    services().messageBox->show(
        formatC(loadString(61446).c_str(), file.c_str()), MessageIcon::Warning, MessageButtons::Ok);
}

namespace {

constexpr int kIdCannotOpen = 61446;
constexpr int kIdDamaged = 64614;
constexpr int kIdTimedOut = 64621;
constexpr int kIdRefusedBySystem = 64622;
constexpr int kIdNotDatabase = 64623;
constexpr int kIdBusy = 64624;
constexpr int kIdForeignFile = 64625;
constexpr int kIdReaderMissing = 64626;
constexpr int kIdReaderCannotStart = 64627;
constexpr int kIdReaderNoAnswer = 64628;
constexpr int kIdReaderStopped = 64629;
constexpr int kIdBusyWrite = 64630;
constexpr int kIdChangesLost = 64631;
constexpr int kIdNoPermission = 64632;
constexpr int kIdNotAFile = 64633;
constexpr int kIdTooManyFiles = 64634;
constexpr int kIdDiskError = 64635;
constexpr int kIdNotAProgram = 64636;
constexpr int kIdNoMemory = 64637;
constexpr int kIdNoSuchFile = 64638;
constexpr int kIdSystemSays = 63595;

/** Why the system refused to open or start a file, in a sentence of the user's language. */
std::string systemCause(int error)
{
    switch (error) {
    case EACCES:
    case EPERM: return loadString(kIdNoPermission);
    case ENXIO:
    case EISDIR:
    case EINVAL: return loadString(kIdNotAFile);
    case EMFILE:
    case ENFILE: return loadString(kIdTooManyFiles);
    case EIO: return loadString(kIdDiskError);
    case ENOEXEC: return loadString(kIdNotAProgram);
    case ENOMEM:
    case EAGAIN: return loadString(kIdNoMemory);
    case ENOENT: return loadString(kIdNoSuchFile);
    default: return formatC(loadString(kIdSystemSays).c_str(), std::strerror(error));
    }
}

} // namespace

std::string openFailureText(const CData& data, const std::string& file)
{
    return failureText(data.failure(), file, data.failureFile(), data.systemError());
}

std::string failureText(DataFailure kind, const std::string& file, const std::string& about, int systemError)
{
    const char* name = file.c_str();
    const char* other = about.c_str();
    switch (kind) {
    case DataFailure::damaged: return formatC(loadString(kIdDamaged).c_str(), name);
    case DataFailure::timedOut:
        return formatC(loadString(kIdTimedOut).c_str(), name,
            static_cast<long>(std::chrono::duration_cast<std::chrono::seconds>(workbook::kReadTimeout).count()));
    case DataFailure::cannotOpen:
        return formatC(loadString(kIdRefusedBySystem).c_str(), name, systemCause(systemError).c_str());
    case DataFailure::notDatabase: return formatC(loadString(kIdNotDatabase).c_str(), name);
    case DataFailure::busy: return formatC(loadString(kIdBusy).c_str(), name);
    case DataFailure::foreignFile: return formatC(loadString(kIdForeignFile).c_str(), name, other);
    case DataFailure::readerMissing: return formatC(loadString(kIdReaderMissing).c_str(), name, workbook::kReaderName);
    case DataFailure::readerCannotStart:
        return formatC(loadString(kIdReaderCannotStart).c_str(), name, other, systemCause(systemError).c_str());
    case DataFailure::readerNoAnswer: return formatC(loadString(kIdReaderNoAnswer).c_str(), name, other);
    case DataFailure::readerStopped: return formatC(loadString(kIdReaderStopped).c_str(), name);
    case DataFailure::none:
    case DataFailure::missing:
    case DataFailure::other: break;
    }
    return formatC(loadString(kIdCannotOpen).c_str(), name);
}

std::string busyWriteText(const std::string& file)
{
    return formatC(loadString(kIdBusyWrite).c_str(), file.c_str(), kBusyWaitMs / 1000L);
}

void reportOpenFailure(const CData& data, const std::string& file)
{
    services().messageBox->show(openFailureText(data, file), MessageIcon::Warning, MessageButtons::Ok);
}

void reportTableFailure(const std::string& table, const std::string& file)
{
    services().messageBox->show(formatC(loadString(61447).c_str(), table.c_str(), file.c_str()),
        MessageIcon::Warning, MessageButtons::Ok);
}

} // namespace kzev

namespace {

using kzev::DataValue;
using namespace kzev::datalib;

enum class FileKind { None, Sqlite, Excel97 };

/**
 * What the file a connection has just opened holds, told from its first bytes,
 * read through the connection's own file handle: the program never opens or
 * closes a descriptor of its own on a database, which would drop the locks
 * SQLite holds on it for another connection of this process.
 */
FileKind fileKind(sqlite3* db)
{
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file || !file->pMethods)
        return FileKind::None;
    unsigned char head[16] {};
    if (file->pMethods->xRead(file, head, sizeof head, 0) != SQLITE_OK)
        return FileKind::None; // shorter than a header, or unreadable
    if (std::memcmp(head, "SQLite format 3\0", 16) == 0)
        return FileKind::Sqlite;
    static constexpr unsigned char ole[8] = { 0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1 };
    if (std::memcmp(head, ole, 8) == 0)
        return FileKind::Excel97;
    return FileKind::None;
}

std::string declaredType(int typeCode)
{
    switch (typeCode) {
    case 1:
    case 2:
    case 3:
    case 4:
        return "INTEGER";
    case 5:
    case 6:
    case 7:
        return "REAL";
    case 10:
    case 12:
        return "TEXT";
    default:
        return {};
    }
}

bool isWorkbookName(const std::string& file)
{
    return file.size() >= 4 && kzev::foldCase(file.substr(file.size() - 4)) == ".xls";
}

struct ColumnDeclaration {
    std::string name;
    int type;
};

} // namespace

struct CData::Impl {
    sqlite3* db = nullptr;
    bool readOnly = false;
    bool workbook = false; // an *.xls file: its tables are sheets named with a trailing "$"
    bool inTransaction = false;
    bool held = false; // BeginTrans: only CommitTrans ends the transaction
    std::string file;
    std::string error;
    kzev::DataFailure failure = kzev::DataFailure::none;
    std::string failureFile;
    int systemError = 0;

    bool tableOpen = false;
    bool isQuery = false;
    std::string displayName;
    std::string qualified; // schema and quoted name of the table that holds the rows
    // A query's result is read whole into memory when it is opened; only a search in it
    // puts it into a temporary table (qualified), made from these rows.
    std::vector<std::vector<DataValue>> resultRows;
    std::optional<kzev::TranslatedSql> resultQuery;
    std::vector<std::string> columns;
    // The column names folded for a lookup by name, made at the first such lookup.
    std::vector<std::string> foldedColumns;
    std::vector<std::string> types;
    std::vector<sqlite3_int64> rowids;
    long current = -1;
    // Cells are read row by row: one statement reads a whole row, and stays on it for the
    // next cell of the same row (readerRow), so a record's cells cost one step together.
    // It reads the rows from the one asked for on, so the next row is one step further.
    sqlite3_stmt* rowReader = nullptr;
    std::optional<sqlite3_int64> readerRow;
    // Writes come cell by cell: each column's statement is prepared once per open table.
    std::map<int, sqlite3_stmt*> writers;
    sqlite3_stmt* rowInserter = nullptr;
    std::vector<ColumnDeclaration> pending;
    // The file's tables, read again at every lookup: another program may make one meanwhile.
    std::vector<std::string> tables;

    ~Impl()
    {
        const std::string name = file;
        // Writes not committed yet are kept as Close keeps them; the user hears when they are lost.
        if (!closeFile() && kzev::services().messageBox)
            kzev::services().messageBox->show(
                kzev::formatC(kzev::loadString(kzev::kIdChangesLost).c_str(), name.c_str(), error.c_str()),
                kzev::MessageIcon::Error, kzev::MessageButtons::Ok);
    }

    bool fail(std::string message)
    {
        error = std::move(message);
        failure = kzev::DataFailure::other;
        failureFile.clear();
        systemError = 0;
        return false;
    }

    bool failAs(kzev::DataFailure kind, std::string message, std::string about = {}, int cause = 0)
    {
        fail(std::move(message));
        failure = kind;
        failureFile = std::move(about);
        systemError = cause;
        return false;
    }

    bool failSql(const std::string& what)
    {
        fail(what + ": " + (db ? sqlite3_errmsg(db) : "no database"));
        blameForeignFile();
        return false;
    }

    /**
     * A write that failed beside a file of a user who may not write this one,
     * put there after the open, failed for that file: the failure names it.
     */
    void blameForeignFile()
    {
        if (!db || readOnly || file.empty())
            return;
        if (const auto foreign = kzev::datalib::foreignCompanionFile(file, true))
            failAs(kzev::DataFailure::foreignFile, error + " (a file beside it is not its owner's: " + *foreign + ")",
                *foreign);
    }

    bool exec(const std::string& sql)
    {
        std::string reason;
        if (execSql(db, sql, reason))
            return true;
        failAs(sqlite3_errcode(db) == SQLITE_BUSY ? kzev::DataFailure::busy : kzev::DataFailure::other,
            std::move(reason));
        blameForeignFile();
        return false;
    }

    bool beginWrite()
    {
        if (!inTransaction) {
            // The write lock first: what the transaction reads then stays as read until it commits,
            // and a writer of another program is waited for instead of failing the write at once.
            if (!exec("BEGIN IMMEDIATE"))
                return false;
            inTransaction = true;
        }
        return true;
    }

    /** Ends the transaction of the writes since the last one; false with the reason when they are not kept. */
    bool commit()
    {
        if (!inTransaction || held)
            return true;
        inTransaction = false;
        return commitNow();
    }

    /** Commits; a failed commit is undone and its own reason kept (a full disk), not the undoing's. */
    bool commitNow()
    {
        if (exec("COMMIT"))
            return true;
        const kzev::DataFailure kind = failure;
        std::string about = failureFile;
        std::string reason = "the writes were not kept: " + error;
        // SQLite's "disk I/O error" says where, the system's error why (a file grown beyond its limit).
        int cause = 0;
        if (sqlite3_file_control(db, "main", SQLITE_FCNTL_LAST_ERRNO, &cause) != SQLITE_OK || cause == 0)
            cause = sqlite3_system_errno(db);
        if (cause != 0)
            reason += std::string(" (") + std::strerror(cause) + ")";
        undo();
        failAs(kind, std::move(reason), std::move(about), cause);
        return false;
    }

    void forgetReadRow()
    {
        if (rowReader)
            sqlite3_reset(rowReader);
        readerRow.reset();
    }

    /** Closes the open table; false when the writes it commits are not kept. */
    bool closeTable()
    {
        sqlite3_finalize(rowReader);
        rowReader = nullptr;
        readerRow.reset();
        for (auto& [index, stmt] : writers)
            sqlite3_finalize(stmt);
        writers.clear();
        sqlite3_finalize(rowInserter);
        rowInserter = nullptr;
        bool dropped = true;
        std::string dropFailure;
        if (tableOpen && isQuery && db && !qualified.empty() && !exec("DROP TABLE IF EXISTS " + qualified)) {
            dropped = false;
            dropFailure = "the search table of the query stays: " + error;
        }
        resultRows.clear();
        resultQuery.reset();
        const bool committed = commit();
        if (committed && !dropped)
            fail(dropFailure);
        const bool kept = committed && dropped;
        tableOpen = false;
        isQuery = false;
        displayName.clear();
        qualified.clear();
        columns.clear();
        foldedColumns.clear();
        types.clear();
        rowids.clear();
        current = -1;
        return kept;
    }

    void rollback()
    {
        closeTable();
        if (inTransaction && db)
            undo();
        inTransaction = false;
        held = false;
    }

    /** Rolls the transaction back, unless SQLite has already; the tables it made are gone again. */
    void undo()
    {
        if (sqlite3_get_autocommit(db) == 0)
            exec("ROLLBACK");
    }

    /** Closes the file; false when the writes it commits are not kept. */
    bool closeFile()
    {
        if (held)
            rollback();
        bool kept = closeTable();
        pending.clear();
        if (db) {
            kept = commit() && kept;
            sqlite3_close_v2(db);
            db = nullptr;
        }
        tables.clear();
        readOnly = false;
        workbook = false;
        file.clear();
        return kept;
    }

    /**
     * Returns the stored name of a table of the main schema, found without
     * regard to case. In a workbook a sheet made as "Tab1" is the table
     * "Tab1$", and the bare name finds it too, as in a spreadsheet.
     */
    std::optional<std::string> findTable(const std::string& name)
    {
        auto found = findStoredTable(name);
        if (!found && workbook && !name.empty() && name.back() != '$')
            found = findStoredTable(name + "$");
        return found;
    }

    std::optional<std::string> findStoredTable(const std::string& name)
    {
        // Asked of the file itself: the tables read at the open may have changed since.
        if (!db || !readTableNames())
            return std::nullopt;
        const std::string folded = kzev::foldCase(name);
        for (const std::string& table : tables) {
            if (kzev::foldCase(table) == folded)
                return table;
        }
        return std::nullopt;
    }

    std::vector<std::string> tableNames()
    {
        std::vector<std::string> names;
        if (!readTableNames())
            return names;
        for (const std::string& table : tables) {
            if (table.compare(0, 7, "sqlite_") != 0)
                names.push_back(table);
        }
        return names;
    }

    /**
     * Reads the names of the file's tables, in the order they were made; this
     * also reads the schema, so a file that is no usable database fails here.
     */
    bool readTableNames()
    {
        tables.clear();
        Statement stmt(db, "SELECT name FROM main.sqlite_master WHERE type = 'table' ORDER BY rowid");
        if (!stmt)
            return false;
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
            const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0));
            tables.emplace_back(name ? name : "");
        }
        return rc == SQLITE_DONE;
    }

    /** Prepares the statement that reads a row of the open table, once per open table. */
    bool prepareRowReader()
    {
        if (rowReader)
            return true;
        // The row's own number comes first, before the table's columns.
        const std::string sql = "SELECT rowid, * FROM " + qualified + " WHERE rowid >= ? ORDER BY rowid";
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &rowReader, nullptr) == SQLITE_OK)
            return true;
        sqlite3_finalize(rowReader);
        rowReader = nullptr;
        return false;
    }

    /** Whether the reader stands on the row of that number now. */
    bool readerOn(sqlite3_int64 rowid)
    {
        if (sqlite3_step(rowReader) == SQLITE_ROW && sqlite3_column_int64(rowReader, 0) == rowid) {
            readerRow = rowid;
            return true;
        }
        forgetReadRow();
        return false;
    }

    /** Moves the reader from the row before the one at the index to it, in one step. */
    bool stepToRow(long index)
    {
        if (!readerRow || index < 1 || rowids[static_cast<std::size_t>(index - 1)] != *readerRow)
            return false;
        return readerOn(rowids[static_cast<std::size_t>(index)]);
    }

    /** Puts the reader on the row of that number; false when there is none. */
    bool seekRow(sqlite3_int64 rowid)
    {
        forgetReadRow();
        sqlite3_bind_int64(rowReader, 1, rowid);
        return readerOn(rowid);
    }

    /** Runs a query and keeps its rows, numbered from 1 as the rows of a table are. */
    bool readResult(kzev::TranslatedSql query, const std::string& shownName)
    {
        Statement stmt(db, query.text);
        if (!stmt || !bindLiterals(stmt.get(), query.literals))
            return failSql(shownName);
        const int count = sqlite3_column_count(stmt.get());
        if (count < 1)
            return fail("a query without columns: " + shownName);
        for (int c = 0; c < count; ++c) {
            const char* name = sqlite3_column_name(stmt.get(), c);
            columns.emplace_back(name ? name : "");
            types.emplace_back();
        }
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
            std::vector<DataValue>& row = resultRows.emplace_back();
            row.reserve(static_cast<std::size_t>(count));
            for (int c = 0; c < count; ++c)
                row.push_back(columnValue(stmt.get(), c));
            rowids.push_back(static_cast<sqlite3_int64>(resultRows.size()));
        }
        if (rc != SQLITE_DONE)
            return failSql(shownName);
        resultQuery = std::move(query);
        tableOpen = true;
        isQuery = true;
        displayName = shownName;
        current = rowids.empty() ? -1 : 0;
        return true;
    }

    /**
     * Puts the rows of the query result into a temporary table of the columns
     * the query gives, each row under its number, for a search in them.
     */
    bool materializeResult()
    {
        if (!qualified.empty())
            return true;
        // Numbered across the program: a connection kept open serves one data object after another.
        static std::atomic<long> resultCounter { 0 };
        const std::string name = kzev::quoteName("kzev_result_" + std::to_string(++resultCounter));
        {
            Statement create(db, "CREATE TEMP TABLE " + name + " AS SELECT * FROM (" + resultQuery->text + ") LIMIT 0");
            if (!create || !bindLiterals(create.get(), resultQuery->literals) || sqlite3_step(create.get()) != SQLITE_DONE)
                return failSql("searching a query result");
        }
        const std::string table = "temp." + name;
        if (!insertResultRows(table)) {
            const std::string reason = error;
            exec("DROP TABLE IF EXISTS " + table);
            return fail(reason);
        }
        qualified = table;
        return true;
    }

    bool insertResultRows(const std::string& table)
    {
        std::string sql = "INSERT INTO " + table + " VALUES (?";
        for (std::size_t c = 1; c < columns.size(); ++c)
            sql += ", ?";
        sql += ")";
        Statement insert(db, sql);
        if (!insert)
            return failSql("searching a query result");
        for (const auto& row : resultRows) {
            sqlite3_reset(insert.get());
            for (std::size_t c = 0; c < row.size(); ++c) {
                if (!bindValue(insert.get(), static_cast<int>(c) + 1, row[c]))
                    return failSql("searching a query result");
            }
            if (sqlite3_step(insert.get()) != SQLITE_DONE)
                return failSql("searching a query result");
        }
        return true;
    }

    bool loadTable(const std::string& name, const std::string& shownName)
    {
        qualified = "main." + kzev::quoteName(name);
        columns.clear();
        foldedColumns.clear();
        types.clear();
        // The statement that reads the cells names the columns and their declared types.
        if (!prepareRowReader())
            return failSql("no such table: " + name);
        for (int c = 1; c < sqlite3_column_count(rowReader); ++c) {
            const char* column = sqlite3_column_name(rowReader, c);
            const char* type = sqlite3_column_decltype(rowReader, c);
            columns.emplace_back(column ? column : "");
            types.emplace_back(type ? type : "");
        }
        if (columns.empty())
            return fail("no such table: " + name);
        rowids.clear();
        Statement rows(db, "SELECT rowid FROM " + qualified + " ORDER BY rowid");
        if (!rows)
            return failSql("reading rows");
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(rows.get())) == SQLITE_ROW)
            rowids.push_back(sqlite3_column_int64(rows.get(), 0));
        if (rc != SQLITE_DONE)
            return failSql("reading rows");
        tableOpen = true;
        displayName = shownName;
        current = rowids.empty() ? -1 : 0;
        return true;
    }

    int columnIndex(const std::string& name)
    {
        if (foldedColumns.size() != columns.size()) {
            foldedColumns.clear();
            for (const std::string& column : columns)
                foldedColumns.push_back(kzev::foldCase(column));
        }
        const std::string folded = kzev::foldCase(name);
        for (std::size_t i = 0; i < foldedColumns.size(); ++i) {
            if (foldedColumns[i] == folded)
                return static_cast<int>(i);
        }
        return -1;
    }

    /** Writes the cell of the column at the index in the row (-1 = the current record). */
    bool writeCell(int index, const DataValue& value, long row)
    {
        const long r = resolveRow(row);
        if (r < 0)
            return fail("no current record");
        DataValue stored = value;
        // A general column keeps numbers as numbers, the way a spreadsheet cell does.
        if (types[static_cast<std::size_t>(index)].empty())
            if (const auto* text = std::get_if<std::string>(&value))
                stored = canonicalValue(*text);
        if (!beginWrite())
            return false;
        // The row read last is read again after a write.
        forgetReadRow();
        sqlite3_stmt*& stmt = writers[index];
        if (!stmt) {
            const std::string sql = "UPDATE " + qualified + " SET "
                + kzev::quoteName(columns[static_cast<std::size_t>(index)]) + " = ? WHERE rowid = ?";
            if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
                sqlite3_finalize(stmt);
                stmt = nullptr;
                writers.erase(index);
                return failSql("writing a cell");
            }
        }
        const bool written = bindValue(stmt, 1, stored)
            && sqlite3_bind_int64(stmt, 2, rowids[static_cast<std::size_t>(r)]) == SQLITE_OK
            && sqlite3_step(stmt) == SQLITE_DONE;
        if (!written)
            failSql("writing a cell");
        sqlite3_reset(stmt);
        return written && sqlite3_changes(db) == 1;
    }

    /** Returns the row index for a row argument (-1 = the current record), or -1 when there is no such row. */
    long resolveRow(long row) const
    {
        if (!tableOpen)
            return -1;
        if (row == -1)
            return current;
        if (row < 0 || row >= static_cast<long>(rowids.size()))
            return -1;
        return row;
    }

    bool writable()
    {
        if (!db || !tableOpen)
            return fail("no table is open");
        if (readOnly)
            return fail("the file is read-only");
        if (isQuery)
            return fail("a query result cannot be written");
        return true;
    }

    /** Closes the connection just opened or taken, and fails with the reason. */
    bool dropConnection(std::string reason)
    {
        sqlite3_close_v2(db);
        db = nullptr;
        readOnly = false;
        return fail(std::move(reason));
    }

    /** Opens a connection to the file, read-only or read-write; false with the cause when the system refuses. */
    bool connect(const std::string& path, int flags)
    {
        if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) == SQLITE_OK)
            return true;
        const int cause = sqlite3_system_errno(db);
        sqlite3_close_v2(db);
        db = nullptr;
        std::string reason = "cannot open " + path;
        if (cause != 0)
            reason += std::string(": ") + std::strerror(cause);
        return failAs(cause == ENOENT ? kzev::DataFailure::missing : kzev::DataFailure::cannotOpen, std::move(reason),
            {}, cause);
    }

    /**
     * Opens the file through SQLite, read-only unless it is to be written
     * (then read-write where it may), and tells what it holds. SQLite's own
     * open refuses anything but a regular file at once; nothing is read
     * through SQLite before the files beside it are checked.
     */
    FileKind openFile(const std::string& path, bool toWrite)
    {
        if (toWrite && !connect(path, SQLITE_OPEN_READWRITE) && failure != kzev::DataFailure::cannotOpen)
            return FileKind::None;
        if (!db) {
            if (!connect(path, SQLITE_OPEN_READONLY))
                return FileKind::None;
            readOnly = true;
            failure = kzev::DataFailure::none;
        }
        const FileKind kind = fileKind(db);
        if (kind != FileKind::Sqlite) {
            dropConnection("neither a database nor an Excel 97 workbook: " + path);
            if (kind == FileKind::None)
                failure = kzev::DataFailure::notDatabase;
            return kind;
        }
        // The journal of a user who may not write the file would be rolled into it by the first read,
        // and one lying where a write puts its own would fail that write.
        if (const auto foreign = kzev::datalib::foreignCompanionFile(path, toWrite && !readOnly)) {
            dropConnection({});
            failAs(kzev::DataFailure::foreignFile, "a file beside it is not its owner's: " + *foreign, *foreign);
            return FileKind::None;
        }
        return kind;
    }

    bool openSqlite(const std::string& path, bool toWrite)
    {
        sqlite3_busy_timeout(db, kzev::kBusyWaitMs);
        if (!registerFunctions(db))
            return dropConnection(std::string("not a usable database: ") + sqlite3_errmsg(db) + ": " + path);
        // Read once: a busy file has been waited for already, and is not waited for twice.
        bool read = readTableNames();
        if (!read && sqlite3_extended_errcode(db) == SQLITE_READONLY_ROLLBACK && !toWrite) {
            // The owner's own journal of a write cut short: SQLite puts it back as it always has,
            // on a connection that may write, and the file is read as it was before that write.
            sqlite3_close_v2(db);
            db = nullptr;
            readOnly = false;
            if (!connect(path, SQLITE_OPEN_READWRITE))
                return false;
            sqlite3_busy_timeout(db, kzev::kBusyWaitMs);
            const bool restored = readTableNames();
            sqlite3_close_v2(db);
            db = nullptr;
            if (!restored || !connect(path, SQLITE_OPEN_READONLY))
                return restored ? false : failAs(kzev::DataFailure::other, "cannot restore " + path);
            readOnly = true;
            sqlite3_busy_timeout(db, kzev::kBusyWaitMs);
            if (!registerFunctions(db))
                return dropConnection(std::string("not a usable database: ") + sqlite3_errmsg(db) + ": " + path);
            read = readTableNames();
        }
        if (!read) {
            const bool busy = sqlite3_errcode(db) == SQLITE_BUSY;
            dropConnection(std::string("not a usable database: ") + sqlite3_errmsg(db) + ": " + path);
            failure = busy ? kzev::DataFailure::busy : kzev::DataFailure::notDatabase;
            return false;
        }
        if (!readOnly && sqlite3_db_readonly(db, "main") == 1)
            readOnly = true;
        return true;
    }

    bool openWorkbook(const std::string& path)
    {
        kzev::datalib::WorkbookRefusal refusal;
        if (!kzev::datalib::loadExcelWorkbook(path, db, error, refusal))
            return failAs(refusal.kind, error, refusal.file, refusal.systemError);
        readOnly = true; // a genuine workbook is only ever read
        if (!readTableNames())
            return failSql("reading the sheets of " + path);
        return true;
    }
};

CData::CData()
    : m_impl(std::make_unique<Impl>())
{
}

CData::~CData() = default;

int CData::Open(const std::string& file, const std::string&, int mode, int)
{
    // The writes of the file open before are kept first; a failure is this call's.
    if (!Close())
        return 0;
    kzev::datalib::guardSqliteFileOpens();
    auto& d = *m_impl;
    d.error.clear();
    d.failure = kzev::DataFailure::none;
    d.failureFile.clear();
    d.systemError = 0;
    const bool toWrite = mode == kzev::kOpenToWrite;
    bool ok = false;
    switch (d.openFile(file, toWrite)) {
    case FileKind::Sqlite:
        ok = d.openSqlite(file, toWrite);
        break;
    case FileKind::Excel97:
        // Read by the workbook reader; SQLite holds no lock on a file that is no database.
        d.error.clear();
        ok = d.openWorkbook(file);
        break;
    case FileKind::None:
        break;
    }
    if (!ok) {
        const std::string reason = d.error;
        const kzev::DataFailure kind = d.failure;
        const std::string about = d.failureFile;
        const int cause = d.systemError;
        d.closeFile();
        d.failAs(kind, reason, about, cause);
        return 0;
    }
    d.file = file;
    d.workbook = isWorkbookName(file);
    return 1;
}

int CData::Create(const std::string& file, const std::string&)
{
    if (!Close())
        return 0;
    kzev::datalib::guardSqliteFileOpens();
    auto& d = *m_impl;
    std::error_code ignored;
    if (std::filesystem::exists(std::filesystem::symlink_status(file, ignored)))
        return d.fail("the file exists already: " + file), 0;
    if (sqlite3_open_v2(file.c_str(), &d.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK
        || !registerFunctions(d.db)
        // Writing the header makes the file a database at once, even while it holds no table.
        || !d.exec("PRAGMA application_id = 1263945046")) {
        d.failSql("cannot create " + file);
        d.closeFile();
        std::remove(file.c_str());
        return 0;
    }
    d.file = file;
    d.workbook = isWorkbookName(file);
    return 1;
}

int CData::Close()
{
    return m_impl->closeFile() ? 1 : 0;
}

int CData::CloseTable()
{
    return m_impl->closeTable() ? 1 : 0;
}

int CData::OpenTable(const std::string& nameOrQuery, const std::string&, int)
{
    auto& d = *m_impl;
    // The writes to the table before are committed first; a failure is this call's.
    if (!d.closeTable())
        return 0;
    if (!d.db)
        return d.fail("no file is open"), 0;
    const auto first = nameOrQuery.find_first_not_of(" \t\r\n");
    const bool query = first != std::string::npos && nameOrQuery.size() - first >= 6
        && kzev::upperCase(nameOrQuery.substr(first, 6)) == "SELECT"
        && (nameOrQuery.size() - first == 6 || !std::isalnum(static_cast<unsigned char>(nameOrQuery[first + 6])));
    if (!query) {
        const auto table = d.findTable(nameOrQuery);
        if (!table)
            return d.fail("no such table: " + nameOrQuery), 0;
        if (!d.loadTable(*table, nameOrQuery)) {
            d.closeTable();
            return 0;
        }
        return 1;
    }
    auto translated = kzev::translateQuery(nameOrQuery);
    if (!translated)
        return d.fail("not a query the data library runs: " + nameOrQuery), 0;
    if (!d.readResult(std::move(*translated), nameOrQuery)) {
        d.closeTable();
        return 0;
    }
    return 1;
}

int CData::OpenTable(int index, const std::string&, int)
{
    auto& d = *m_impl;
    // The writes to the table before are committed first; a failure is this call's.
    if (!d.closeTable())
        return 0;
    if (!d.db)
        return d.fail("no file is open"), 0;
    const auto names = d.tableNames();
    if (index < 0 || index >= static_cast<int>(names.size()))
        return d.fail("no table at position " + std::to_string(index)), 0;
    if (!d.loadTable(names[static_cast<std::size_t>(index)], names[static_cast<std::size_t>(index)])) {
        d.closeTable();
        return 0;
    }
    return 1;
}

int CData::GetStringValue(const std::string& column, std::string& value, long row, int, int)
{
    const int index = m_impl->columnIndex(column);
    if (index < 0)
        return m_impl->fail("no such column: " + column), 0;
    return GetStringValue(index, value, row);
}

int CData::GetStringValue(int column, std::string& value, long row, int, int)
{
    auto& d = *m_impl;
    const long r = d.resolveRow(row);
    if (r < 0 || column < 0 || column >= static_cast<int>(d.columns.size()))
        return 0;
    std::optional<std::string> text;
    if (d.isQuery) {
        text = cellText(d.resultRows[static_cast<std::size_t>(r)][static_cast<std::size_t>(column)]);
    } else {
        if (!d.prepareRowReader())
            return d.failSql("reading a cell"), 0;
        const sqlite3_int64 rowid = d.rowids[static_cast<std::size_t>(r)];
        if (d.readerRow != rowid && !d.stepToRow(r) && !d.seekRow(rowid))
            return 0;
        if (column + 1 >= sqlite3_column_count(d.rowReader))
            return 0;
        text = cellText(columnValue(d.rowReader, column + 1));
    }
    if (!text)
        return 0;
    value = std::move(*text);
    return 1;
}

int CData::Find(int, const std::string& criterion, int)
{
    return FindFirst(criterion);
}

int CData::FindFirst(const std::string& criterion)
{
    auto& d = *m_impl;
    if (!d.tableOpen)
        return d.fail("no table is open"), 0;
    const auto translated = kzev::translateCriterion(criterion);
    if (!translated)
        return d.fail("not a criterion the data library reads: " + criterion), 0;
    if (d.isQuery && !d.materializeResult())
        return 0;
    Statement stmt(d.db, "SELECT rowid FROM " + d.qualified + " WHERE (" + translated->text + ") ORDER BY rowid LIMIT 1");
    if (!stmt || !bindLiterals(stmt.get(), translated->literals))
        return d.failSql(criterion), 0;
    if (sqlite3_step(stmt.get()) != SQLITE_ROW)
        return 0;
    const sqlite3_int64 rowid = sqlite3_column_int64(stmt.get(), 0);
    const auto it = std::lower_bound(d.rowids.begin(), d.rowids.end(), rowid);
    if (it == d.rowids.end() || *it != rowid)
        return 0;
    d.current = static_cast<long>(it - d.rowids.begin());
    return 1;
}

int CData::IsTable(const std::string& name)
{
    return m_impl->findTable(name) ? 1 : 0;
}

int CData::AddColBeforeCreateTable(const std::string& column, int type, int, int)
{
    if (column.empty())
        return m_impl->fail("a column needs a name"), 0;
    m_impl->pending.push_back({ column, type });
    return 1;
}

int CData::CreateTable(const std::string& name)
{
    auto& d = *m_impl;
    auto columns = std::move(d.pending);
    d.pending.clear();
    if (!d.closeTable())
        return 0;
    if (!d.db)
        return d.fail("no file is open"), 0;
    if (d.readOnly)
        return d.fail("the file is read-only"), 0;
    if (columns.empty() || name.empty())
        return d.fail("a table needs a name and columns"), 0;
    // A new sheet of a workbook is the table of its name with "$", which is how it is opened afterwards.
    const std::string stored = d.workbook && name.back() != '$' ? name + "$" : name;
    if (d.findStoredTable(stored))
        return d.fail("the table exists already: " + stored), 0;
    std::string sql = "CREATE TABLE main." + kzev::quoteName(stored) + " (";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const std::string type = declaredType(columns[i].type);
        sql += (i ? ", " : "") + kzev::quoteName(columns[i].name) + (type.empty() ? "" : " " + type) + " COLLATE "
            + kCollation;
    }
    sql += ")";
    if (!d.beginWrite() || !d.exec(sql))
        return 0;
    // The new table has the columns just declared and no rows: nothing to read back.
    d.qualified = "main." + kzev::quoteName(stored);
    for (const ColumnDeclaration& column : columns) {
        d.columns.push_back(column.name);
        d.types.push_back(declaredType(column.type));
    }
    d.tableOpen = true;
    d.displayName = name;
    return 1;
}

int CData::BeginTrans()
{
    auto& d = *m_impl;
    if (!d.db)
        return d.fail("no file is open"), 0;
    if (d.held)
        return d.fail("a transaction is held already"), 0;
    if (d.readOnly)
        return d.fail("the file is read-only"), 0;
    if (!d.beginWrite())
        return 0;
    d.held = true;
    return 1;
}

int CData::CommitTrans()
{
    auto& d = *m_impl;
    if (!d.held)
        return d.fail("no transaction is held"), 0;
    d.held = false;
    if (!d.inTransaction)
        return 1;
    d.inTransaction = false;
    return d.commitNow() ? 1 : 0;
}

void CData::Rollback()
{
    m_impl->rollback();
}

int CData::AddRow()
{
    auto& d = *m_impl;
    if (!d.writable() || !d.beginWrite())
        return 0;
    d.forgetReadRow();
    if (!d.rowInserter) {
        const std::string sql = "INSERT INTO " + d.qualified + " DEFAULT VALUES";
        if (sqlite3_prepare_v2(d.db, sql.c_str(), -1, &d.rowInserter, nullptr) != SQLITE_OK) {
            sqlite3_finalize(d.rowInserter);
            d.rowInserter = nullptr;
            return d.failSql("adding a row"), 0;
        }
    }
    const bool added = sqlite3_step(d.rowInserter) == SQLITE_DONE;
    if (!added)
        d.failSql("adding a row");
    sqlite3_reset(d.rowInserter);
    if (!added)
        return 0;
    d.rowids.push_back(sqlite3_last_insert_rowid(d.db));
    d.current = static_cast<long>(d.rowids.size()) - 1;
    return 1;
}

int CData::SetStringValue(const std::string& column, const std::string& text, long row, int)
{
    return SetValue(column, text, row);
}

int CData::SetStringValue(int column, const std::string& text, long row, int)
{
    auto& d = *m_impl;
    if (!d.writable())
        return 0;
    // By its position, not its name: a sheet may hold "Č" and "č" side by side.
    if (column < 0 || column >= static_cast<int>(d.columns.size()))
        return d.fail("no column at position " + std::to_string(column)), 0;
    return d.writeCell(column, text, row) ? 1 : 0;
}

int CData::SetValue(const std::string& column, const kzev::DataValue& value, long row, int)
{
    auto& d = *m_impl;
    if (!d.writable())
        return 0;
    const int index = d.columnIndex(column);
    if (index < 0)
        return d.fail("no such column: " + column), 0;
    return d.writeCell(index, value, row) ? 1 : 0;
}

long CData::rowCount() const
{
    return static_cast<long>(m_impl->rowids.size());
}

int CData::columnCount() const
{
    return static_cast<int>(m_impl->columns.size());
}

const std::vector<std::string>& CData::columnNames() const
{
    return m_impl->columns;
}

long CData::currentRow() const
{
    return m_impl->current;
}

const std::string& CData::tableName() const
{
    return m_impl->displayName;
}

bool CData::isOpen() const
{
    return m_impl->db != nullptr;
}

bool CData::isReadOnly() const
{
    return m_impl->readOnly;
}

bool CData::isDamaged() const
{
    return m_impl->failure == kzev::DataFailure::damaged || m_impl->failure == kzev::DataFailure::timedOut;
}

kzev::DataFailure CData::failure() const
{
    return m_impl->failure;
}

const std::string& CData::failureFile() const
{
    return m_impl->failureFile;
}

int CData::systemError() const
{
    return m_impl->systemError;
}

const std::string& CData::lastError() const
{
    return m_impl->error;
}

bool kzev::isDatabaseFile(const std::string& file)
{
    kzev::datalib::guardSqliteFileOpens();
    sqlite3* db = nullptr;
    const bool opened = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK;
    const bool database = opened && fileKind(db) == FileKind::Sqlite;
    sqlite3_close_v2(db);
    return database;
}
