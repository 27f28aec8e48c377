#include "platform/FileIo.h"

#include "platform/LargePages.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kzev {

namespace {

constexpr int kNoSpace = 63590;
constexpr int kReadOnly = 63591;
constexpr int kNoPermission = 63592;
constexpr int kNoFolder = 63593;
constexpr int kNotAFolder = 63594;
constexpr int kSystemSays = 63595;
constexpr int kTooLarge = 63596;
constexpr int kSavedUnflushed = 63597;

std::string reason(const char* what, int error)
{
    return std::string(what) + ": " + std::strerror(error);
}

/** Throws the failure of the operation on the file with the system's error of the moment. */
[[noreturn]] void fail(const char* what, const std::filesystem::path& path)
{
    const int error = errno;
    throw FileError(reason(what, error), path, error);
}

/** Closes the descriptor and removes the temporary file unless released. */
class TemporaryFile {
public:
    TemporaryFile(int fd, std::string name)
        : m_fd(fd)
        , m_name(std::move(name))
    {
    }
    ~TemporaryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_released)
            ::unlink(m_name.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return m_fd; }
    const std::string& name() const { return m_name; }
    int close()
    {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }
    void release() { m_released = true; }

private:
    int m_fd;
    std::string m_name;
    bool m_released = false;
};

mode_t newFileMode(const std::filesystem::path& path)
{
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0)
        return existing.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

/**
 * Returns the file a path finally names: a symbolic link is followed to its
 * target (a relative target counts from the link's folder), so that saving
 * replaces the target and the link stays a link.
 */
std::filesystem::path finalTarget(const std::filesystem::path& path)
{
    std::filesystem::path current = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, error)))
            return current;
        const std::filesystem::path target = std::filesystem::read_symlink(current, error);
        if (error)
            throw FileError(reason("cannot follow the link", error.value()), path, error.value());
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    throw FileError(reason("cannot follow the link", ELOOP), path, ELOOP);
}

/**
 * Creates a new file beside the path under a name nobody else can have
 * chosen: the open fails rather than follow a link or reuse a file that
 * stands there already.
 */
TemporaryFile createBeside(const std::filesystem::path& path)
{
    static thread_local std::mt19937_64 random { std::random_device {}() };
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::filesystem::path folder = path.parent_path();
    if (folder.empty())
        folder = ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix(8, ' ');
        for (char& c : suffix)
            c = kLetters[random() % (sizeof kLetters - 1)];
        const std::string name = (folder / ("." + path.filename().string() + "." + suffix)).string();
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0)
            return TemporaryFile(fd, name);
        if (errno != EEXIST)
            fail("cannot create a temporary file", path);
    }
    throw FileError(reason("cannot create a temporary file", EEXIST), path, EEXIST);
}

/** Flushes the folder of the path, so that a rename in it outlasts a power cut; the system's error when it cannot. */
int syncFolderOf(const std::filesystem::path& path)
{
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    // A folder the user may write into but not read cannot be opened: the rename stands, unflushed.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    const int synced = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    // A folder that cannot be flushed at all (some file systems) has nothing to flush.
    return synced != 0 && error != EINVAL && error != EROFS ? error : 0;
}

/** Writes the bytes into a new file beside the path, flushes it, renames it onto the path and flushes the folder. */
ReplacedFile replaceWith(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes, mode_t mode)
{
    TemporaryFile temporary = createBeside(path);
    // Else the saved file would silently keep the temporary file's 0600.
    if (::fchmod(temporary.fd(), mode) != 0)
        fail("cannot set the permissions of", path);
    const std::uint8_t* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(temporary.fd(), data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail("cannot write", path);
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    if (::fsync(temporary.fd()) != 0)
        fail("cannot flush", path);
    if (temporary.close() != 0)
        fail("cannot close", path);
    if (::rename(temporary.name().c_str(), path.c_str()) != 0)
        fail("cannot replace", path);
    temporary.release();
    // The file is replaced: from here on nothing undoes the save.
    return ReplacedFile { syncFolderOf(path) };
}

} // namespace

FileError::FileError(const std::string& what, std::filesystem::path path, int code)
    : std::runtime_error(what)
    , m_path(std::move(path))
    , m_code(code)
{
}

std::string writeFailureCause(int error)
{
    switch (error) {
    case 0: return {};
    case ENOSPC:
    case EDQUOT: return loadString(kNoSpace);
    case EFBIG: return loadString(kTooLarge);
    case EROFS: return loadString(kReadOnly);
    case EACCES:
    case EPERM: return loadString(kNoPermission);
    case ENOENT: return loadString(kNoFolder);
    case ENOTDIR: return loadString(kNotAFolder);
    default: return formatC(loadString(kSystemSays).c_str(), std::strerror(error));
    }
}

ReadableFile::ReadableFile(const std::filesystem::path& path, Links links)
    : m_path(path)
{
    // Non-blocking, so that opening a named pipe without a writer returns at once.
    int flags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    if (links == Links::refuse)
        flags |= O_NOFOLLOW;
    m_fd = ::open(path.c_str(), flags);
    if (m_fd < 0) {
        const int error = errno;
        throw FileError(reason("cannot open", error), path, error);
    }
    struct stat status {};
    if (::fstat(m_fd, &status) != 0) {
        const int error = errno;
        ::close(m_fd);
        throw FileError(reason("cannot examine", error), path, error);
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(m_fd);
        throw FileError(S_ISDIR(status.st_mode) ? "is a folder" : "is not a regular file", path, EINVAL);
    }
    // A regular file reads the same either way; the libraries that get the descriptor expect blocking reads.
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) & ~O_NONBLOCK);
}

ReadableFile::~ReadableFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

ReadableFile::ReadableFile(ReadableFile&& other) noexcept
    : m_path(std::move(other.m_path))
    , m_fd(std::exchange(other.m_fd, -1))
{
}

ReadableFile& ReadableFile::operator=(ReadableFile&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_path = std::move(other.m_path);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

bool ReadableFile::isStillAt(const std::filesystem::path& path) const
{
    struct stat mine {};
    struct stat named {};
    return m_fd >= 0 && ::fstat(m_fd, &mine) == 0 && ::stat(path.c_str(), &named) == 0 && S_ISREG(named.st_mode)
        && mine.st_dev == named.st_dev && mine.st_ino == named.st_ino;
}

std::string ReadableFile::descriptorPath() const
{
    return "/proc/self/fd/" + std::to_string(m_fd);
}

std::vector<std::uint8_t> ReadableFile::read(std::size_t limit) const
{
    struct stat status {};
    if (::fstat(m_fd, &status) != 0)
        throw FileError(reason("cannot examine", errno), m_path, errno);
    // One buffer of the file's own size: the bytes are held once, never grown by doubling.
    const std::size_t size = std::min(static_cast<std::size_t>(status.st_size), limit);
    std::vector<std::uint8_t> bytes;
    reserveLarge(bytes, size);
    bytes.resize(size);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(m_fd, bytes.data() + done, size - done, static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(reason("cannot read", errno), m_path, errno);
        }
        if (n == 0)
            break; // the file was shortened meanwhile: what is there is what it holds
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

int ReadableFile::release()
{
    return std::exchange(m_fd, -1);
}

std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& path)
{
    return ReadableFile(path).read();
}

std::string readWholeText(const std::filesystem::path& path)
{
    const std::vector<std::uint8_t> bytes = readWholeFile(path);
    return { bytes.begin(), bytes.end() };
}

std::istringstream readableStream(const std::filesystem::path& path)
{
    std::istringstream in;
    try {
        in.str(readWholeText(path));
    } catch (const FileError&) {
        in.setstate(std::ios::failbit);
    }
    return in;
}

FileStamp stampOf(const struct stat& status)
{
    FileStamp stamp;
    stamp.device = static_cast<std::uint64_t>(status.st_dev);
    stamp.inode = static_cast<std::uint64_t>(status.st_ino);
    stamp.size = static_cast<std::uint64_t>(status.st_size);
    stamp.modifiedNs = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    stamp.changedNs = static_cast<std::int64_t>(status.st_ctim.tv_sec) * 1000000000 + status.st_ctim.tv_nsec;
    return stamp;
}

std::optional<FileStamp> regularFileStamp(const std::filesystem::path& path)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return stampOf(status);
}

ReplacedFile writeFileReplacing(const std::filesystem::path& given, const std::vector<std::uint8_t>& bytes)
{
    const std::filesystem::path path = finalTarget(given);
    return replaceWith(path, bytes, newFileMode(path));
}

std::string unflushedFolderWarning(const std::filesystem::path& path, const ReplacedFile& replaced)
{
    if (replaced.folderNotFlushed == 0)
        return {};
    return formatC(loadString(kSavedUnflushed).c_str(), path.string().c_str(),
        writeFailureCause(replaced.folderNotFlushed).c_str());
}

void warnIfFolderUnflushed(const std::filesystem::path& path, const ReplacedFile& replaced)
{
    if (const std::string warning = unflushedFolderWarning(path, replaced); !warning.empty())
        services().messageBox->show(warning, MessageIcon::Warning, MessageButtons::Ok);
}

void writePrivateFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    // The rename replaces whatever stands at the name, a link included, and never writes through it.
    // The program's own exchange files are written again when needed: an unflushed folder costs nothing.
    (void)replaceWith(path, bytes, 0600);
}

} // namespace kzev
