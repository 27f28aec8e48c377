#pragma once

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace kzev {

/** Raised when a file cannot be opened, read, written or replaced; carries the path. */
class FileError : public std::runtime_error {
public:
    FileError(const std::string& what, std::filesystem::path path, int code = 0);
    /** Returns the file the operation failed on. */
    const std::filesystem::path& path() const { return m_path; }
    /** Returns true when nothing at all stands at the path. */
    bool isMissing() const { return m_code == ENOENT; }
    /** Returns the system's error number (errno), 0 when there was none. */
    int error() const { return m_code; }

private:
    std::filesystem::path m_path;
    int m_code;
};

/**
 * A file opened for reading that its open descriptor shows to be a regular
 * file. The open never waits: a named pipe, a device, a socket or a folder
 * put where a file was expected is refused at once with FileError, and what
 * was checked is what is read (no second open by name in between).
 */
class ReadableFile {
public:
    /** Whether a symbolic link at the path itself is followed or refused. */
    enum class Links { follow, refuse };

    explicit ReadableFile(const std::filesystem::path& path, Links links = Links::follow);
    ~ReadableFile();
    ReadableFile(ReadableFile&& other) noexcept;
    ReadableFile& operator=(ReadableFile&& other) noexcept;
    ReadableFile(const ReadableFile&) = delete;
    ReadableFile& operator=(const ReadableFile&) = delete;

    [[nodiscard]] int fd() const { return m_fd; }
    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }
    /** Returns true when the path names this very file still (same device and inode, a regular file). */
    [[nodiscard]] bool isStillAt(const std::filesystem::path& path) const;
    /**
     * Returns the name under which a library that opens files by name itself
     * reaches this same open file, however the path changes meanwhile.
     */
    [[nodiscard]] std::string descriptorPath() const;
    /** Returns the bytes from the start, at most `limit` of them; throws FileError on a read error. */
    [[nodiscard]] std::vector<std::uint8_t> read(std::size_t limit = SIZE_MAX) const;
    /** Gives the descriptor away (for a stream that closes it); the object no longer closes it. */
    [[nodiscard]] int release();

private:
    std::filesystem::path m_path;
    int m_fd = -1;
};

/**
 * Returns a sentence for the user naming why a file could not be written,
 * from the system's error number: a full disk, a file over the size the
 * system allows, a read-only folder, missing permission, a missing folder;
 * else the system's own text.
 */
[[nodiscard]] std::string writeFailureCause(int error);

/** Returns the whole content of the file; throws FileError when it is not a regular file that can be read. */
[[nodiscard]] std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& path);

/** Returns the whole content of the file as text; throws FileError like readWholeFile. */
[[nodiscard]] std::string readWholeText(const std::filesystem::path& path);

/**
 * Returns a stream over the whole file, for readers that take their input
 * line by line; the stream is in the failed state when the file is not a
 * regular file that can be read.
 */
[[nodiscard]] std::istringstream readableStream(const std::filesystem::path& path);

/** What tells one state of a file from another without reading it. */
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    // A rewrite can set the modification time back; the change time it cannot.
    std::int64_t changedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

/** The stamp of a file whose status was read. */
[[nodiscard]] FileStamp stampOf(const struct stat& status);

/** Returns the stamp of the regular file at the path, a link not followed; none for anything else. */
[[nodiscard]] std::optional<FileStamp> regularFileStamp(const std::filesystem::path& path);

/** What a replacing write could not make sure of once the file stood replaced. */
struct ReplacedFile {
    /** The system's error when the folder could not be flushed (the new file may not outlast a power cut), else 0. */
    int folderNotFlushed = 0;
};

/**
 * Writes the bytes to the file so that it is never left half written: they go
 * into a temporary file in the same folder, which replaces the file only once
 * it is complete and flushed to disk; then the folder is flushed. A symbolic
 * link is kept: the file it points to is the one replaced. On failure the old
 * file is untouched, the temporary file is removed and FileError is thrown.
 * A folder that cannot be flushed after the file was replaced is no failure
 * of the save: the result says so.
 */
[[nodiscard]] ReplacedFile writeFileReplacing(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

/**
 * Returns the warning that the file is saved but its folder could not be
 * flushed, with the system's cause; empty when all was made sure.
 */
[[nodiscard]] std::string unflushedFolderWarning(const std::filesystem::path& path, const ReplacedFile& replaced);

/** Shows unflushedFolderWarning (exclamation icon) when there is one. */
void warnIfFolderUnflushed(const std::filesystem::path& path, const ReplacedFile& replaced);

/**
 * Writes a file of the program's own in a folder of the user's own, readable
 * by the user alone. Like writeFileReplacing, but a symbolic link at the
 * name is never followed: the link itself is replaced by the new file.
 */
void writePrivateFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

} // namespace kzev
