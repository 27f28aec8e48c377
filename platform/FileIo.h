#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace kzev {

/** Raised when a file cannot be opened, read, written or replaced; carries the path. */
class FileError : public std::runtime_error {
public:
    /** The system's error number is 0 when the system gave none. */
    FileError(const std::string& what, std::filesystem::path path, int error = 0);
    /** Returns the file the operation failed on. */
    const std::filesystem::path& path() const { return m_path; }
    /** Returns the system's error number (errno), 0 when there was none. */
    int error() const { return m_error; }

private:
    std::filesystem::path m_path;
    int m_error;
};

/**
 * Returns a sentence for the user naming why a file could not be written,
 * from the system's error number: a full disk, a file over the size the
 * system allows, a read-only folder, missing permission, a missing folder;
 * else the system's own text.
 */
[[nodiscard]] std::string writeFailureCause(int error);

/** Returns the whole content of the file; throws FileError when it cannot be read. */
[[nodiscard]] std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& path);

/**
 * Writes the bytes to the file so that it is never left half written: they go
 * into a temporary file in the same folder, which replaces the file only once
 * it is complete and flushed to disk. A symbolic link is kept: the file it
 * points to is the one replaced. On failure the old file is untouched,
 * the temporary file is removed and FileError is thrown.
 */
void writeFileReplacing(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

} // namespace kzev
