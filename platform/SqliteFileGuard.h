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
 * journal, WAL or shared-memory file beside a database that belongs neither
 * to the database's owner nor to this process is never written through nor
 * read as the database's own (a rollback journal may only be looked at, to
 * tell whether it is hot). Safe to call many times; it acts before the first
 * connection is opened.
 */
void guardSqliteFileOpens();

/**
 * Returns the first journal, WAL or shared-memory file beside the database
 * that is not its owner's and that SQLite would use: a WAL or shared-memory
 * file at all, a rollback journal when its header is not zero (a hot one) or
 * cannot be read. None when there is none, or the database cannot be examined.
 */
[[nodiscard]] std::optional<std::string> foreignCompanionFile(const std::string& database);

} // namespace kzev::datalib
