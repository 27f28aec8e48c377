#pragma once

// Connections of the data library to database files, kept open after a Close
// for the next Open of the same unchanged file: a maker's workbook is opened
// once for every luminaire and lamp loaded from it, and each open would read
// its schema anew.

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>

namespace kzev::datalib {

/** The file a connection reads, and what any write to it changes. */
struct FileState {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;

    bool operator==(const FileState&) const = default;
};

/** The state of the file open at the descriptor; none when it cannot be examined. */
[[nodiscard]] std::optional<FileState> descriptorState(int fd);

/**
 * Returns a kept connection to the file at the path when the file, open at
 * the descriptor, is the one it was kept for and unchanged since (else closes
 * it), or null. readOnly is how the connection was opened.
 */
[[nodiscard]] sqlite3* takeConnection(const std::string& path, const FileState& state, int fd, bool& readOnly);

/**
 * Keeps an idle connection to the file at the path, opened on the file of
 * that device and inode; it is closed instead when the path names another
 * file now or the connection is not idle. A file written within the current
 * tick of the file clock (a second write in the same tick would leave its
 * times unchanged) is kept only when small, with a copy of its bytes that it
 * must still hold when taken. The oldest kept connections are closed beyond
 * a few.
 */
void keepConnection(const std::string& path, sqlite3* db, bool readOnly, std::uint64_t device, std::uint64_t inode);

/** Closes every kept connection (a program's data folder given up, or a test's files gone). */
void closeKeptConnections();

} // namespace kzev::datalib
