#include "platform/DataConnectionPool.h"

#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <deque>
#include <mutex>
#include <vector>

namespace kzev::datalib {

namespace {

// A maker's workbook, the makers' and groups' names and the reference database are read in turn.
constexpr std::size_t kKept = 8;
// A file written in the tick still running is kept only with a copy of its bytes, up to this size.
constexpr std::int64_t kLargestCopied = 1 << 20;

FileState stateOf(const struct stat& status)
{
    return { static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
        static_cast<std::int64_t>(status.st_size),
        static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec,
        static_cast<std::int64_t>(status.st_ctim.tv_sec) * 1'000'000'000 + status.st_ctim.tv_nsec };
}

struct Kept {
    std::string path;
    FileState state;
    sqlite3* db;
    bool readOnly;
    // For a file written in the tick it was kept in: its bytes then, which it must still hold.
    std::optional<std::vector<unsigned char>> content;
};

/** The bytes of the connection's main file, read through its own handle (no descriptor of ours to close). */
std::optional<std::vector<unsigned char>> contentThrough(sqlite3* db, std::int64_t size)
{
    sqlite3_file* file = nullptr;
    if (size < 0 || size > kLargestCopied || sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK
        || !file || !file->pMethods)
        return std::nullopt;
    sqlite3_int64 actual = 0;
    if (file->pMethods->xFileSize(file, &actual) != SQLITE_OK || actual != size)
        return std::nullopt;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
    if (size > 0 && file->pMethods->xRead(file, bytes.data(), static_cast<int>(size), 0) != SQLITE_OK)
        return std::nullopt;
    return bytes;
}

/** Whether the file open at the descriptor holds exactly these bytes. */
bool holds(int fd, const std::vector<unsigned char>& expected)
{
    std::vector<unsigned char> now(expected.size() + 1);
    std::size_t got = 0;
    while (got < now.size()) {
        const ssize_t n = ::pread(fd, now.data() + got, now.size() - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return got == expected.size() && std::equal(expected.begin(), expected.end(), now.begin());
}

class Pool {
public:
    sqlite3* take(const std::string& path, const FileState& state, int fd, bool& readOnly)
    {
        std::optional<Kept> found;
        {
            const std::lock_guard lock(m_mutex);
            for (auto it = m_kept.begin(); it != m_kept.end(); ++it) {
                if (it->path == path) {
                    found = std::move(*it);
                    m_kept.erase(it);
                    break;
                }
            }
        }
        if (!found)
            return nullptr;
        if (found->state == state && (!found->content || holds(fd, *found->content))) {
            readOnly = found->readOnly;
            return found->db;
        }
        sqlite3_close_v2(found->db);
        return nullptr;
    }

    void keep(const std::string& path, sqlite3* db, bool readOnly, std::uint64_t device, std::uint64_t inode)
    {
        // Only a connection with nothing under way, to the file the path still names, is worth keeping.
        // The file is examined by its name: a descriptor opened and closed here would drop the locks
        // that other connections of the program hold on it.
        struct stat status {};
        const bool idle = sqlite3_get_autocommit(db) != 0 && sqlite3_next_stmt(db, nullptr) == nullptr;
        if (!idle || ::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
            sqlite3_close_v2(db);
            return;
        }
        const FileState state = stateOf(status);
        if (state.device != device || state.inode != inode) {
            sqlite3_close_v2(db);
            return;
        }
        // File times advance in ticks: a file written in the tick that is still running could be
        // written again within it, in place and to the same size, and look unchanged. Such a file
        // is kept with its bytes, and taken again only while it holds them.
        timespec now {};
        ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
        const std::int64_t nowNs = static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
        std::optional<std::vector<unsigned char>> content;
        if (nowNs <= state.modifiedNs || nowNs <= state.changedNs) {
            content = contentThrough(db, state.size);
            struct stat after {};
            if (!content || ::stat(path.c_str(), &after) != 0 || stateOf(after) != state) {
                sqlite3_close_v2(db);
                return;
            }
        }
        sqlite3* evicted = nullptr;
        {
            const std::lock_guard lock(m_mutex);
            m_kept.push_front({ path, state, db, readOnly, std::move(content) });
            if (m_kept.size() > kKept) {
                evicted = m_kept.back().db;
                m_kept.pop_back();
            }
        }
        sqlite3_close_v2(evicted);
    }

    void closeAll()
    {
        std::deque<Kept> kept;
        {
            const std::lock_guard lock(m_mutex);
            kept.swap(m_kept);
        }
        for (const Kept& entry : kept)
            sqlite3_close_v2(entry.db);
    }

private:
    std::mutex m_mutex;
    std::deque<Kept> m_kept;
};

Pool& pool()
{
    // Never destroyed: a data object may close its file while the program's statics go.
    static Pool* const instance = new Pool;
    return *instance;
}

} // namespace

std::optional<FileState> descriptorState(int fd)
{
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return stateOf(status);
}

sqlite3* takeConnection(const std::string& path, const FileState& state, int fd, bool& readOnly)
{
    return pool().take(path, state, fd, readOnly);
}

void keepConnection(const std::string& path, sqlite3* db, bool readOnly, std::uint64_t device, std::uint64_t inode)
{
    pool().keep(path, db, readOnly, device, inode);
}

void closeKeptConnections()
{
    pool().closeAll();
}

} // namespace kzev::datalib
