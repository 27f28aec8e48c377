#include "platform/FileIo.h"

#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <cerrno>
#include <cstring>
#include <fstream>

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

} // namespace

FileError::FileError(const std::string& what, std::filesystem::path path, int error)
    : std::runtime_error(what)
    , m_path(std::move(path))
    , m_error(error)
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

std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& path)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        throw FileError("is a folder", path);
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        throw FileError(reason("cannot open", errno), path);
    // One buffer of the file's own size: the bytes are held once, never grown by doubling.
    const std::streamoff size = in.tellg();
    if (size < 0)
        throw FileError("cannot read", path);
    in.seekg(0);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), size);
    if (in.bad() || in.gcount() != size)
        throw FileError("cannot read", path);
    return bytes;
}

void writeFileReplacing(const std::filesystem::path& given, const std::vector<std::uint8_t>& bytes)
{
    const std::filesystem::path path = finalTarget(given);
    std::filesystem::path folder = path.parent_path();
    if (folder.empty())
        folder = ".";
    std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        fail("cannot create a temporary file", path);
    TemporaryFile temporary(fd, pattern);

    ::fchmod(temporary.fd(), newFileMode(path));
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
}

} // namespace kzev
