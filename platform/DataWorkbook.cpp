#include "platform/DataSqlite.h"

#include "platform/FileIo.h"
#include "platform/HelperProgram.h"
#include "platform/IsolatedRun.h"
#include "platform/TextUtil.h"
#include "platform/WorkbookAnswer.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#include <sys/stat.h>

namespace kzev::datalib {

namespace {

// The library that reads genuine workbooks trusts their inner lengths: a
// damaged file can crash it or make it loop. It therefore runs in a program
// of its own, the reader, that hands back the non-empty cells, and the
// program keeps only an answer that came back whole.
constexpr std::size_t kMaxCellBytes = std::size_t { 256 } << 20;

using namespace workbook;

/** Reads the reader's answer; every length is checked against what is left. */
class AnswerReader {
public:
    explicit AnswerReader(const std::vector<std::uint8_t>& bytes)
        : m_bytes(bytes)
    {
    }
    template <typename T>
    std::optional<T> value()
    {
        if (m_bytes.size() - m_pos < sizeof(T))
            return std::nullopt;
        T v;
        std::memcpy(&v, m_bytes.data() + m_pos, sizeof v);
        m_pos += sizeof v;
        return v;
    }
    std::optional<std::string> text()
    {
        const auto size = value<std::uint32_t>();
        if (!size || m_bytes.size() - m_pos < *size)
            return std::nullopt;
        std::string s(reinterpret_cast<const char*>(m_bytes.data() + m_pos), *size);
        m_pos += *size;
        return s;
    }

private:
    const std::vector<std::uint8_t>& m_bytes;
    std::size_t m_pos = 0;
};

/**
 * Builds the tables of the sheets as the cells arrive, row by row: the first
 * row names the columns (a nameless column is F1, F2, ... by its position);
 * rows after the last one holding a value are formatting only.
 */
class SheetBuilder {
public:
    explicit SheetBuilder(sqlite3* db)
        : m_db(db)
    {
    }

    void begin(std::string name, std::uint32_t cols)
    {
        finish();
        m_name = std::move(name);
        m_cols = std::max<std::uint32_t>(cols, 1);
        m_row.assign(m_cols, DataValue {});
        m_rowIndex = 0;
        m_written = 0;
        m_open = true;
    }

    void cell(std::uint32_t row, std::uint32_t col, DataValue value)
    {
        if (row != m_rowIndex) {
            flushRow();
            m_rowIndex = row;
        }
        m_row[col] = std::move(value);
    }

    void finish()
    {
        if (!m_open)
            return;
        flushRow();
        if (!m_insert)
            createTable(); // a sheet of headings only
        m_insert.reset();
        m_open = false;
    }

private:
    void flushRow()
    {
        if (m_rowIndex == 0) {
            if (!m_insert)
                createTable();
        } else if (m_insert) {
            // The rows between stay empty, as in the sheet.
            for (++m_written; m_written < m_rowIndex; ++m_written)
                insertEmpty();
            insert(m_row);
        }
        m_row.assign(m_cols, DataValue {});
    }

    void createTable()
    {
        std::vector<std::string> names;
        for (std::uint32_t c = 0; c < m_cols; ++c) {
            std::string name = m_rowIndex == 0 ? cellText(m_row[c]).value_or("") : std::string();
            if (name.empty())
                name = "F" + std::to_string(c + 1);
            std::string unique = name;
            for (int n = 1; std::find(names.begin(), names.end(), unique) != names.end(); ++n)
                unique = name + std::to_string(n);
            names.push_back(unique);
        }
        const std::string table = m_name + "$";
        std::string create = "CREATE TABLE main." + quoteName(table) + " (";
        std::string insert = "INSERT INTO main." + quoteName(table) + " VALUES (";
        for (std::size_t c = 0; c < names.size(); ++c) {
            create += (c ? ", " : "") + quoteName(names[c]) + " COLLATE " + kCollation;
            insert += c ? ", ?" : "?";
        }
        std::string ignored;
        if (!execSql(m_db, create + ")", ignored))
            return; // a sheet whose name repeats another's: its rows go nowhere
        m_insert = std::make_unique<Statement>(m_db, insert + ")");
        if (!*m_insert)
            m_insert.reset();
    }

    void insertEmpty()
    {
        sqlite3_reset(m_insert->get());
        sqlite3_clear_bindings(m_insert->get());
        sqlite3_step(m_insert->get());
    }

    void insert(const std::vector<DataValue>& values)
    {
        sqlite3_reset(m_insert->get());
        for (std::size_t c = 0; c < values.size(); ++c)
            (void)bindValue(m_insert->get(), static_cast<int>(c + 1), values[c]);
        sqlite3_step(m_insert->get());
    }

    sqlite3* m_db;
    std::string m_name;
    std::uint32_t m_cols = 1;
    std::vector<DataValue> m_row;
    std::uint32_t m_rowIndex = 0;
    std::uint32_t m_written = 0;
    bool m_open = false;
    std::unique_ptr<Statement> m_insert;
};

/** Reads the reader's answer into the tables; false when it is not whole. */
bool readAnswer(const std::vector<std::uint8_t>& bytes, sqlite3* db, std::string& failure)
{
    AnswerReader in(bytes);
    SheetBuilder builder(db);
    std::uint32_t rows = 0;
    std::uint32_t cols = 0;
    bool inSheet = false;
    std::uint64_t lastCell = 0;
    for (;;) {
        const auto tag = in.value<std::uint8_t>();
        if (!tag)
            return false;
        switch (*tag) {
        case kTagEnd:
            builder.finish();
            return true;
        case kTagFailure: {
            const auto message = in.text();
            failure = message ? *message : "unreadable workbook";
            return true;
        }
        case kTagSheet: {
            auto name = in.text();
            const auto r = in.value<std::uint32_t>();
            const auto c = in.value<std::uint32_t>();
            if (!name || !r || !c || *r > kMaxRows || *c > kMaxColumns)
                return false;
            rows = *r;
            cols = *c;
            inSheet = true;
            lastCell = 0;
            builder.begin(std::move(*name), cols);
            break;
        }
        case kTagCell: {
            const auto row = in.value<std::uint32_t>();
            const auto col = in.value<std::uint32_t>();
            const auto kind = in.value<std::uint8_t>();
            if (!inSheet || !row || !col || !kind || *row >= rows || *col >= cols)
                return false;
            // Cells come row by row, left to right.
            const std::uint64_t position = std::uint64_t { *row } * kMaxColumns + *col + 1;
            if (position <= lastCell)
                return false;
            lastCell = position;
            DataValue value;
            if (*kind == kWhole) {
                const auto v = in.value<std::int64_t>();
                if (!v)
                    return false;
                value = *v;
            } else if (*kind == kNumber) {
                const auto v = in.value<double>();
                if (!v)
                    return false;
                value = *v;
            } else if (*kind == kText) {
                const auto v = in.text();
                if (!v)
                    return false;
                value = canonicalValue(*v);
            } else {
                return false;
            }
            builder.cell(*row, *col, std::move(value));
            break;
        }
        default:
            return false;
        }
    }
}

/** The reader's answer for the workbook, read from the very file checked here, whatever the name points to meanwhile. */
IsolatedResult readCells(const ReadableFile& checked, const std::string& path, const WorkbookReader& reader)
{
    const IsolatedProgram program { *reader.program, { path } };
    IsolatedResult result = runIsolated(program, checked.fd(), reader.timeout, kMaxCellBytes);
    // A reader ended from outside (a user's kill, the system's out-of-memory killer) says nothing of the
    // workbook: a new one reads it once more.
    if (result.status == IsolatedStatus::stopped)
        result = runIsolated(program, checked.fd(), reader.timeout, kMaxCellBytes);
    return result;
}

/**
 * The workbooks refused as damaged or timed out in this run, each by the
 * state of its file: reading one again would only take as long again. Only
 * the refusal is kept, never anything of a workbook's content.
 */
class Verdicts {
public:
    std::optional<DataFailure> find(const FileStamp& stamp)
    {
        const std::lock_guard lock(m_mutex);
        for (const auto& [known, kind] : m_refused) {
            if (known == stamp)
                return kind;
        }
        return std::nullopt;
    }

    void keep(const FileStamp& stamp, DataFailure kind)
    {
        const std::lock_guard lock(m_mutex);
        if (m_refused.size() >= kKept)
            m_refused.erase(m_refused.begin());
        m_refused.emplace_back(stamp, kind);
    }

private:
    static constexpr std::size_t kKept = 256;
    std::mutex m_mutex;
    std::vector<std::pair<FileStamp, DataFailure>> m_refused;
};

Verdicts& verdicts()
{
    static Verdicts kept;
    return kept;
}

/** The state of the opened file; none when it cannot be examined. */
std::optional<FileStamp> stampOf(const ReadableFile& file)
{
    struct stat status {};
    if (::fstat(file.fd(), &status) != 0)
        return std::nullopt;
    return kzev::stampOf(status);
}

std::string damagedReason(DataFailure kind, const std::string& path)
{
    return kind == DataFailure::timedOut ? "the workbook reader did not answer in time: " + path
                                         : "the workbook is damaged: " + path;
}

} // namespace

bool loadExcelWorkbook(const std::string& path, sqlite3*& db, std::string& error, WorkbookRefusal& refusal)
{
    return loadExcelWorkbook(path, WorkbookReader { findHelperProgram(kReaderName) }, db, error, refusal);
}

bool loadExcelWorkbook(const std::string& path, const WorkbookReader& reader, sqlite3*& db, std::string& error,
    WorkbookRefusal& refusal)
{
    refusal = {};
    const auto fail = [&](std::string message, DataFailure kind, std::string file = {}, int cause = 0) {
        if (db)
            sqlite3_close_v2(db);
        db = nullptr;
        error = std::move(message);
        refusal = { kind, std::move(file), cause };
        return false;
    };
    std::optional<ReadableFile> checked;
    try {
        checked.emplace(path);
    } catch (const FileError& refused) {
        return fail("cannot open " + path + ": " + refused.what(),
            refused.isMissing() ? DataFailure::missing : DataFailure::cannotOpen, {}, refused.error());
    }
    const std::optional<FileStamp> stamp = stampOf(*checked);
    if (stamp) {
        if (const auto known = verdicts().find(*stamp))
            return fail(damagedReason(*known, path) + " (refused before, unchanged since)", *known);
    }
    if (!reader.program)
        return fail(std::string("cannot read ") + path + ": the workbook reader " + kReaderName
                + " is not installed beside the program",
            DataFailure::readerMissing);
    const std::string program = reader.program->string();
    const IsolatedResult result = readCells(*checked, path, reader);
    // The file is not at fault when its reader could not start, was ended from outside or could not be watched.
    switch (result.status) {
    case IsolatedStatus::notStarted:
        return fail("cannot read " + path + ": the workbook reader " + program
                + " cannot be started: " + std::strerror(result.startError),
            DataFailure::readerCannotStart, program, result.startError);
    case IsolatedStatus::stopped:
        return fail("cannot read " + path + ": the workbook reader was ended from outside, twice",
            DataFailure::readerStopped);
    case IsolatedStatus::unwatched:
        return fail("cannot read " + path + ": the workbook reader " + program + " could not be waited for",
            DataFailure::readerNoAnswer, program);
    case IsolatedStatus::timedOut:
    case IsolatedStatus::crashed:
    case IsolatedStatus::tooLarge: {
        const DataFailure kind = result.status == IsolatedStatus::timedOut ? DataFailure::timedOut : DataFailure::damaged;
        if (stamp)
            verdicts().keep(*stamp, kind);
        return fail(damagedReason(kind, path), kind);
    }
    case IsolatedStatus::finished:
    case IsolatedStatus::endedUnseen:
        break;
    }
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK
        || !registerFunctions(db) || !execSql(db, "BEGIN", error))
        return fail("cannot hold the workbook in memory", DataFailure::other);
    std::string failure;
    if (!readAnswer(result.output, db, failure)) {
        // A reader that ended well wrote a whole answer, or a failure, for any workbook: one that
        // does not read is the reader's fault. One reaped unseen may have crashed on the workbook or
        // been killed from outside: its answer cut short refuses the workbook now, but is no verdict
        // to remember.
        if (result.status == IsolatedStatus::finished)
            return fail("cannot read " + path + ": the workbook reader " + program + " gave no usable answer",
                DataFailure::readerNoAnswer, program);
        return fail(damagedReason(DataFailure::damaged, path), DataFailure::damaged);
    }
    if (!failure.empty())
        return fail(failure, DataFailure::notDatabase);
    if (!execSql(db, "COMMIT", error))
        return fail(error, DataFailure::other);
    return true;
}

} // namespace kzev::datalib
