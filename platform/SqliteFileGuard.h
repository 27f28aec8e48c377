#pragma once

namespace kzev::datalib {

/**
 * Makes every file SQLite opens by name in this process pass the rule of the
 * program's own reads: it is opened without blocking and refused unless it is
 * a regular file (or a folder SQLite syncs, or its source of random numbers).
 * A named pipe put in a database's or journal's place between the program's
 * check and SQLite's own open can then no longer hold the program. Safe to
 * call many times; it acts before the first connection is opened.
 */
void guardSqliteFileOpens();

} // namespace kzev::datalib
