#include "platform/SqliteFileGuard.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
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

/** Whether the user belongs to the group, as its primary group or as one of its others. */
bool inGroup(uid_t user, gid_t group)
{
    std::vector<char> text(16384);
    passwd entry {};
    passwd* found = nullptr;
    if (::getpwuid_r(user, &entry, text.data(), text.size(), &found) != 0 || !found)
        return false;
    if (found->pw_gid == group)
        return true;
    std::vector<gid_t> groups(64);
    for (int tries = 0; tries < 4; ++tries) {
        int count = static_cast<int>(groups.size());
        if (::getgrouplist(found->pw_name, found->pw_gid, groups.data(), &count) >= 0)
            return std::find(groups.begin(), groups.begin() + count, group) != groups.begin() + count;
        if (count <= static_cast<int>(groups.size()) || count > 65536)
            return false;
        groups.resize(static_cast<std::size_t>(count));
    }
    return false;
}

/**
 * Whether a companion file of that owner is SQLite's own business: one of
 * this process, or of a user who may write the database (its owner, a
 * member of its group when it is group-writable, anyone when it is
 * world-writable), as a colleague's write in a team folder.
 */
bool ownerMayWrite(uid_t owner, const struct stat& database)
{
    if (owner == ::geteuid() || owner == database.st_uid || (database.st_mode & S_IWOTH) != 0)
        return true;
    return (database.st_mode & S_IWGRP) != 0 && inGroup(owner, database.st_gid);
}

/**
 * Whether SQLite may use a companion file of that owner. A rollback journal
 * of a user who may not write the database may be opened to read its
 * header, never to write or play back.
 */
bool companionAllowed(std::string_view path, std::string_view suffix, uid_t owner, int flags)
{
    struct stat database {};
    const std::string databasePath(path.substr(0, path.size() - suffix.size()));
    if (::stat(databasePath.c_str(), &database) != 0)
        return owner == ::geteuid();
    if (ownerMayWrite(owner, database))
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

// The signature of the unlink the unix file layer of SQLite calls: a write that failed on a companion
// file it may not use would delete it on its way back, and with it what names the failure's cause.
int guardedUnlink(const char* path)
{
    struct stat status {};
    if (const std::string_view suffix = companionSuffix(path); !suffix.empty() && ::lstat(path, &status) == 0
        && !companionAllowed(path, suffix, status.st_uid, O_RDWR)) {
        errno = EACCES;
        return -1;
    }
    return ::unlink(path);
}

// The signature of the fchown the unix file layer of SQLite calls. Run by the superuser it gives a
// journal it opened the database's owner; a file of another user it only looked into stays theirs.
int guardedFchown(int fd, uid_t user, gid_t group)
{
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return -1;
    if (status.st_uid != ::geteuid())
        return 0;
    return ::fchown(fd, user, group);
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
        if (unixFiles && unixFiles->iVersion >= 3 && unixFiles->xSetSystemCall) {
            unixFiles->xSetSystemCall(unixFiles, "open", reinterpret_cast<sqlite3_syscall_ptr>(&guardedOpen));
            unixFiles->xSetSystemCall(unixFiles, "unlink", reinterpret_cast<sqlite3_syscall_ptr>(&guardedUnlink));
            unixFiles->xSetSystemCall(unixFiles, "fchown", reinterpret_cast<sqlite3_syscall_ptr>(&guardedFchown));
        }
    });
}

std::optional<std::string> foreignCompanionFile(const std::string& database, bool toWrite)
{
    // By name, never by a descriptor of the program's own: closing one would drop SQLite's locks.
    struct stat owner {};
    if (::stat(database.c_str(), &owner) != 0)
        return std::nullopt;
    for (const std::string_view suffix : kCompanions) {
        const std::string companion = database + std::string(suffix);
        struct stat status {};
        if (::lstat(companion.c_str(), &status) != 0 || ownerMayWrite(status.st_uid, owner))
            continue;
        // A write would have to make its own journal where that one lies.
        if (toWrite || suffix != "-journal" || looksHot(companion))
            return companion;
    }
    return std::nullopt;
}

} // namespace kzev::datalib
