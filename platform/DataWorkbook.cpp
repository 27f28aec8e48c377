#include "platform/DataSqlite.h"

#include "platform/FileIo.h"
#include "platform/HelperProgram.h"
#include "platform/IsolatedRun.h"
#include "platform/TextUtil.h"
#include "platform/WorkbookAnswer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>

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

/** A workbook's tables as one in-memory database's bytes. */
using DatabaseImage = std::vector<unsigned char>;

/**
 * The answers of the workbooks read last, kept by the bytes of the file: a
 * maker's workbook is opened once for every luminaire and lamp loaded from
 * it, and a workbook read again unchanged needs no new reader. An answer is
 * kept only when the file stood the same before and after the reader read it.
 */
class AnswerCache {
public:
    static constexpr std::size_t kEntries = 4;
    static constexpr std::uintmax_t kLargestFile = std::uintmax_t { 16 } << 20;

    /** The file's bytes when it is small enough to be kept, else none. */
    static std::optional<std::vector<std::uint8_t>> contents(const ReadableFile& file)
    {
        struct stat status {};
        if (::fstat(file.fd(), &status) != 0 || static_cast<std::uintmax_t>(status.st_size) > kLargestFile)
            return std::nullopt;
        try {
            return file.read(kLargestFile + 1);
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }

    // The answer's messages name the file, so an answer is kept for its name as well as its bytes.
    std::optional<IsolatedResult> find(const std::string& path, const std::vector<std::uint8_t>& file)
    {
        const std::lock_guard lock(m_mutex);
        if (const Entry* entry = entryFor(path, file))
            return entry->result;
        return std::nullopt;
    }

    /** The database built from the answer kept for these bytes, once one was built. */
    std::shared_ptr<const DatabaseImage> findImage(const std::string& path, const std::vector<std::uint8_t>& file)
    {
        const std::lock_guard lock(m_mutex);
        const Entry* entry = entryFor(path, file);
        return entry ? entry->image : nullptr;
    }

    /** Keeps the database built from the answer kept for these bytes, while that answer is kept. */
    void keepImage(const std::string& path, const std::vector<std::uint8_t>& file,
        std::shared_ptr<const DatabaseImage> image)
    {
        const std::lock_guard lock(m_mutex);
        if (Entry* entry = entryFor(path, file))
            entry->image = std::move(image);
    }

    /** Replaces the entry kept longest; its memory serves the new one where it is large enough. */
    void keep(const std::string& path, std::vector<std::uint8_t> file, const IsolatedResult& result)
    {
        const std::lock_guard lock(m_mutex);
        Entry& oldest = m_entries[m_next];
        m_next = (m_next + 1) % kEntries;
        oldest.path = path;
        oldest.file = std::move(file);
        oldest.result = result;
        oldest.image.reset();
    }

private:
    struct Entry {
        std::string path; ///< empty while the entry holds nothing
        std::vector<std::uint8_t> file;
        IsolatedResult result;
        std::shared_ptr<const DatabaseImage> image;
    };
    /** The entry kept for the file of that name and those bytes; the caller holds the lock. */
    Entry* entryFor(const std::string& path, const std::vector<std::uint8_t>& file)
    {
        for (Entry& entry : m_entries) {
            if (entry.path == path && entry.file == file)
                return &entry;
        }
        return nullptr;
    }

    std::mutex m_mutex;
    std::array<Entry, kEntries> m_entries;
    std::size_t m_next = 0;
};

AnswerCache& answerCache()
{
    static AnswerCache cache;
    return cache;
}

/** Whether the reader's end says something about the file (not about the machine at the time). */
bool answerOfTheFile(IsolatedStatus status)
{
    return status == IsolatedStatus::finished || status == IsolatedStatus::crashed || status == IsolatedStatus::tooLarge;
}

/** The reader's answer for the workbook, from the cache when the same bytes were read before. */
IsolatedResult readCells(const ReadableFile& checked, const std::string& path, const std::filesystem::path& reader,
    const std::optional<std::vector<std::uint8_t>>& before)
{
    if (before) {
        if (std::optional<IsolatedResult> known = answerCache().find(path, *before))
            return *known;
    }
    // The reader gets the very file checked here, whatever the name points to meanwhile. A reader kept
    // running from the workbook read before serves it; a reader is not shared by two threads at once.
    HelperPool& readers = HelperPool::instance();
    std::unique_ptr<HelperProcess> kept = readers.take({ reader, {}, { kReaderSettings } });
    IsolatedResult result = kept->ask(checked.fd(), path, kReadTimeout, kMaxCellBytes);
    readers.giveBack(std::move(kept));
    if (before && answerOfTheFile(result.status) && AnswerCache::contents(checked) == before)
        answerCache().keep(path, *before, result);
    return result;
}

/** Opens an in-memory database holding a copy of the image; false when it cannot. */
bool openImage(const DatabaseImage& image, sqlite3*& db)
{
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK
        || !registerFunctions(db))
        return false;
    auto* copy = static_cast<unsigned char*>(sqlite3_malloc64(image.size()));
    if (!copy)
        return false;
    std::memcpy(copy, image.data(), image.size());
    // The database owns the copy from here, also when it refuses it.
    const auto size = static_cast<sqlite3_int64>(image.size());
    return sqlite3_deserialize(db, "main", copy, size, size,
               SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE)
        == SQLITE_OK;
}

/** The bytes of the database, or none when SQLite cannot give them. */
std::shared_ptr<const DatabaseImage> imageOf(sqlite3* db)
{
    sqlite3_int64 size = 0;
    unsigned char* bytes = sqlite3_serialize(db, "main", &size, 0);
    if (!bytes)
        return nullptr;
    auto image = std::make_shared<DatabaseImage>(bytes, bytes + size);
    sqlite3_free(bytes);
    return image;
}

} // namespace

bool loadExcelWorkbook(const std::string& path, sqlite3*& db, std::string& error, bool& damaged)
{
    return loadExcelWorkbook(path, findHelperProgram(kReaderName), db, error, damaged);
}

bool loadExcelWorkbook(const std::string& path, const std::optional<std::filesystem::path>& reader, sqlite3*& db,
    std::string& error, bool& damaged)
{
    damaged = false;
    const auto fail = [&](std::string message, bool isDamaged) {
        if (db)
            sqlite3_close_v2(db);
        db = nullptr;
        error = std::move(message);
        damaged = isDamaged;
        return false;
    };
    std::optional<ReadableFile> checked;
    try {
        checked.emplace(path);
    } catch (const FileError& refused) {
        return fail("cannot open " + path + ": " + refused.what(), false);
    }
    if (!reader)
        return fail(std::string("cannot read ") + path + ": the workbook reader " + kReaderName
                + " is not installed beside the program",
            false);
    std::optional<std::vector<std::uint8_t>> contents = AnswerCache::contents(*checked);
    // A workbook opened again unchanged (a maker's, once for every luminaire and lamp loaded from
    // it) gets a copy of the tables built the first time, not the answer built into tables again.
    if (contents) {
        if (const auto image = answerCache().findImage(path, *contents)) {
            if (openImage(*image, db))
                return true;
            return fail("cannot hold the workbook in memory", false);
        }
    }
    const IsolatedResult result = readCells(*checked, path, *reader, contents);
    // The file is not at fault when its reader could not start.
    if (result.status == IsolatedStatus::notStarted)
        return fail("cannot read " + path + ": the workbook reader " + reader->string()
                + " cannot be started: " + std::strerror(result.startError),
            false);
    if (result.status != IsolatedStatus::finished)
        return fail("the workbook is damaged: " + path, true);
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK
        || !registerFunctions(db) || !execSql(db, "BEGIN", error))
        return fail("cannot hold the workbook in memory", false);
    std::string failure;
    if (!readAnswer(result.output, db, failure))
        return fail("the workbook is damaged: " + path, true);
    if (!failure.empty())
        return fail(failure, false);
    if (!execSql(db, "COMMIT", error))
        return fail(error, false);
    if (contents) {
        if (auto image = imageOf(db))
            answerCache().keepImage(path, *contents, std::move(image));
    }
    return true;
}

} // namespace kzev::datalib
