#pragma once

#include "platform/FileIo.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace kzev {

/**
 * The file through which copied objects travel between projects and runs of
 * the program: "ZEV-Clipboard.kzv" in a folder of the user's own, so that no
 * other user can plant a link or a pipe at its name. It is never followed
 * through a link, only a regular file is read, and a copy replaces it whole.
 */
class ClipboardFile {
public:
    /** Returns the file's path; none without a folder of the user's own (made when `create`). */
    [[nodiscard]] static std::optional<std::filesystem::path> path(bool create);

    /** Replaces the file by the payload; false when no file could be written. */
    bool write(const std::vector<std::uint8_t>& payload);

    /** Returns the whole payload; none without a regular file that can be read. */
    [[nodiscard]] std::optional<std::vector<std::uint8_t>> read() const;

    /**
     * Returns the first bytes of the file, enough for the payload's header;
     * none without a regular file. Reads the file only when its size or time
     * changed since the last call, so that it may be asked at every update
     * of the menus.
     */
    [[nodiscard]] std::optional<std::vector<std::uint8_t>> header();

private:
    std::optional<std::filesystem::path> m_headerPath;
    std::optional<FileStamp> m_headerStamp;
    std::optional<std::vector<std::uint8_t>> m_header;
};

} // namespace kzev
