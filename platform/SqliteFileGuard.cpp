#include "platform/SqliteFileGuard.h"

#include <sqlite3.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kzev::datalib {

namespace {

constexpr std::array<std::string_view, 3> kCompanions { "-journal", "-wal", "-shm" };

bool acceptable(const char* path, const struct stat& status)
{
    if (S_ISREG(status.st_mode) || S_ISDIR(status.st_mode))
        return true;
    return S_ISCHR(status.st_mode) && std::strcmp(path, "/dev/urandom") == 0;
}

/** The companion suffix the path ends in, else empty. */
std::string_view companionSuffix(std::string_view path)
{
    for (const std::string_view suffix : kCompanions) {
        if (path.size() > suffix.size() && path.substr(path.size() - suffix.size()) == suffix)
            return suffix;
    }
    return {};
}

/**
 * Whether SQLite may use a companion file of that owner: the database's
 * owner's, or one this process made itself. A rollback journal of anyone
 * else may be opened to read its header, never to write or play back.
 */
bool companionAllowed(std::string_view path, std::string_view suffix, uid_t owner, int flags)
{
    struct stat database {};
    const std::string databasePath(path.substr(0, path.size() - suffix.size()));
    if (::stat(databasePath.c_str(), &database) != 0)
        return owner == ::geteuid();
    if (owner == database.st_uid || owner == ::geteuid())
        return true;
    return suffix == "-journal" && (flags & O_ACCMODE) == O_RDONLY;
}

// The signature of the open the unix file layer of SQLite calls.
int guardedOpen(const char* path, int flags, int mode)
{
    const int fd = ::open(path, flags | O_NONBLOCK, mode);
    if (fd < 0)
        return fd;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !acceptable(path, status)) {
        ::close(fd);
        errno = ENXIO;
        return -1;
    }
    if (const std::string_view suffix = companionSuffix(path); !suffix.empty()
        && !companionAllowed(path, suffix, status.st_uid, flags)) {
        ::close(fd);
        errno = EACCES;
        return -1;
    }
    if ((flags & O_NONBLOCK) == 0) {
        const int now = ::fcntl(fd, F_GETFL);
        if (now < 0 || ::fcntl(fd, F_SETFL, now & ~O_NONBLOCK) != 0) {
            ::close(fd);
            return -1;
        }
    }
    return fd;
}

/** Whether a rollback journal would be played back: its header is not all zeros, or cannot be read. */
bool looksHot(const std::string& journal)
{
    const int fd = ::open(journal.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return true;
    struct stat status {};
    unsigned char header[28] {};
    const bool regular = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    const ssize_t got = regular ? ::pread(fd, header, sizeof header, 0) : -1;
    ::close(fd);
    if (got < 0)
        return true;
    for (ssize_t i = 0; i < got; ++i) {
        if (header[i] != 0)
            return true;
    }
    return false;
}

} // namespace

void guardSqliteFileOpens()
{
    static std::once_flag once;
    std::call_once(once, [] {
        sqlite3_vfs* unixFiles = sqlite3_vfs_find("unix");
        if (unixFiles && unixFiles->iVersion >= 3 && unixFiles->xSetSystemCall)
            unixFiles->xSetSystemCall(unixFiles, "open", reinterpret_cast<sqlite3_syscall_ptr>(&guardedOpen));
    });
}

std::optional<std::string> foreignCompanionFile(const std::string& database)
{
    // By name, never by a descriptor of the program's own: closing one would drop SQLite's locks.
    struct stat owner {};
    if (::stat(database.c_str(), &owner) != 0)
        return std::nullopt;
    for (const std::string_view suffix : kCompanions) {
        const std::string companion = database + std::string(suffix);
        struct stat status {};
        if (::lstat(companion.c_str(), &status) != 0 || status.st_uid == owner.st_uid)
            continue;
        if (suffix != "-journal" || looksHot(companion))
            return companion;
    }
    return std::nullopt;
}

} // namespace kzev::datalib
