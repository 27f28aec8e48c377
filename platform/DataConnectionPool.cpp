#include "platform/DataConnectionPool.h"

#include <sys/stat.h>
#include <time.h>

#include <deque>
#include <mutex>

namespace kzev::datalib {

namespace {

// A maker's workbook, the makers' and groups' names and the reference database are read in turn.
constexpr std::size_t kKept = 8;

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
};

class Pool {
public:
    sqlite3* take(const std::string& path, const FileState& state, bool& readOnly)
    {
        sqlite3* stale = nullptr;
        {
            const std::lock_guard lock(m_mutex);
            for (auto it = m_kept.begin(); it != m_kept.end(); ++it) {
                if (it->path != path)
                    continue;
                const Kept found = *it;
                m_kept.erase(it);
                if (found.state == state) {
                    readOnly = found.readOnly;
                    return found.db;
                }
                stale = found.db;
                break;
            }
        }
        sqlite3_close_v2(stale);
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
        // File times advance in ticks: a file written in the tick that is still running could be
        // written again within it, in place and to the same size, and look unchanged.
        timespec now {};
        ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
        const std::int64_t nowNs = static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
        if (state.device != device || state.inode != inode || nowNs <= state.modifiedNs || nowNs <= state.changedNs) {
            sqlite3_close_v2(db);
            return;
        }
        sqlite3* evicted = nullptr;
        {
            const std::lock_guard lock(m_mutex);
            m_kept.push_front({ path, state, db, readOnly });
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

sqlite3* takeConnection(const std::string& path, const FileState& state, bool& readOnly)
{
    return pool().take(path, state, readOnly);
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
