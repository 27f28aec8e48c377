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
    FileError(const std::string& what, std::filesystem::path path);
    /** Returns the file the operation failed on. */
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

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
