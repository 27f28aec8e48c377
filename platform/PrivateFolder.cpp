#include "platform/PrivateFolder.h"

#include <cerrno>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kzev {

namespace {

/** Returns true when the path is a folder, not a link, owned by this user and open to nobody else. */
bool isOwnFolder(const std::filesystem::path& path)
{
    // Examined through the opened folder itself, so that what is checked is what stands there.
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status {};
    const bool own = ::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == ::geteuid()
        && (status.st_mode & 0777) == 0700;
    ::close(fd);
    return own;
}

std::optional<std::filesystem::path> absoluteVariable(const char* name)
{
    const char* value = std::getenv(name);
    if (!value || !*value)
        return std::nullopt;
    std::filesystem::path path(value);
    if (!path.is_absolute())
        return std::nullopt; // a relative one is to be ignored, as the base folders are defined
    return path;
}

std::optional<std::filesystem::path> cacheBase()
{
    if (auto cache = absoluteVariable("XDG_CACHE_HOME"))
        return cache;
    if (auto home = absoluteVariable("HOME"))
        return *home / ".cache";
    if (const passwd* user = ::getpwuid(::geteuid()); user && user->pw_dir && *user->pw_dir)
        return std::filesystem::path(user->pw_dir) / ".cache";
    return std::nullopt;
}

/** Makes the missing folders of the path, each readable by the user alone. */
bool makeFolders(const std::filesystem::path& path)
{
    std::filesystem::path partial;
    for (const std::filesystem::path& part : path) {
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

} // namespace

std::optional<std::filesystem::path> userPrivateFolder(bool create)
{
    if (auto runtime = absoluteVariable("XDG_RUNTIME_DIR"); runtime && isOwnFolder(*runtime))
        return runtime;
    const std::optional<std::filesystem::path> base = cacheBase();
    if (!base)
        return std::nullopt;
    const std::filesystem::path folder = *base / "kzev";
    struct stat status {};
    if (create && ::lstat(folder.c_str(), &status) != 0 && errno == ENOENT) {
        if (!makeFolders(*base))
            return std::nullopt;
        if (::mkdir(folder.c_str(), 0700) == 0)
            ::chmod(folder.c_str(), 0700); // whatever the umask
        else if (errno != EEXIST)
            return std::nullopt;
    }
    if (!isOwnFolder(folder))
        return std::nullopt;
    return folder;
}

std::filesystem::path cadExchangeFolder()
{
    if (std::optional<std::filesystem::path> own = userPrivateFolder(true))
        return *own;
    // Made once per run; mkdtemp neither follows nor reuses what stands there.
    static const std::filesystem::path made = [] {
        std::error_code error;
        std::string pattern = (std::filesystem::temp_directory_path(error) / "kzev-XXXXXX").string();
        if (error || !::mkdtemp(pattern.data()))
            return std::filesystem::path();
        return std::filesystem::path(pattern);
    }();
    return made;
}

} // namespace kzev
