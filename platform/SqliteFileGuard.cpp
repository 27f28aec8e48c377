#include "platform/SqliteFileGuard.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kzev::datalib {

namespace {

bool acceptable(const char* path, const struct stat& status)
{
    if (S_ISREG(status.st_mode) || S_ISDIR(status.st_mode))
        return true;
    return S_ISCHR(status.st_mode) && std::strcmp(path, "/dev/urandom") == 0;
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
    if ((flags & O_NONBLOCK) == 0) {
        const int now = ::fcntl(fd, F_GETFL);
        if (now < 0 || ::fcntl(fd, F_SETFL, now & ~O_NONBLOCK) != 0) {
            ::close(fd);
            return -1;
        }
    }
    return fd;
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

} // namespace kzev::datalib
