#pragma once

#include <optional>
#include <string>

namespace kzev::datalib {

/**
 * Makes every file SQLite opens by name in this process pass the rule of the
 * program's own reads: it is opened without blocking and refused unless it is
 * a regular file (or a folder SQLite syncs, or its source of random numbers).
 * A named pipe put in a database's or journal's place between the program's
 * check and SQLite's own open can then no longer hold the program. A
 * journal, WAL or shared-memory file beside a database whose owner may
 * write the database (its owner, a member of its group when it is
 * group-writable, anyone when it is world-writable) or that this process
 * made is SQLite's own; one of anyone else is never written through nor read
 * as the database's own (a rollback journal may only be looked at, to tell
 * whether it is hot) nor deleted. Safe to call many times; it acts before the first
 * connection is opened.
 */
void guardSqliteFileOpens();

/**
 * Returns the first journal, WAL or shared-memory file beside the database
 * of a user who may not write the database (see guardSqliteFileOpens). To
 * read, only one SQLite would use counts: a WAL or shared-memory file at
 * all, a rollback journal when its header is not zero (a hot one) or cannot
 * be read; to write, every one does, for the write would need its place.
 * None when there is none, or the database cannot be examined.
 */
[[nodiscard]] std::optional<std::string> foreignCompanionFile(const std::string& database, bool toWrite);

} // namespace kzev::datalib
