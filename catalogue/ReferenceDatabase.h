#pragma once

#include <string>
#include <vector>

namespace kzev {

/** A maker's workbook in the data folder and the maker's number taken from its name. */
struct MakerWorkbook {
    std::string path;
    long number = 0;
};

/**
 * The makers' workbooks of the data folder: the data prefix, a maker's
 * number above 0 and ".xls" ("ZEV-1001.xls", "ZEV-0015.xls"), in the order
 * of their numbers. The makers' list, the groups and the standard's
 * requirement workbooks ("ZEV-N12464-1.xls") are not makers.
 */
[[nodiscard]] std::vector<MakerWorkbook> findMakerWorkbooks();

/** The reference database of the data folder: ".../ZEV-Odkazy.mdb". */
[[nodiscard]] std::string referenceDatabasePath();
/** Where the rebuild writes before it replaces the database: ".../ZEV-Odkazy$.mdb". */
[[nodiscard]] std::string referenceDatabaseTempPath();
/** Where the previous database is kept: ".../ZEV-Odkazy.mdb.bak". */
[[nodiscard]] std::string referenceDatabaseBackupPath();

/**
 * Rebuilds the reference database from the makers' workbooks: which groups,
 * subgroups and sections of luminaires and lamps each maker holds, with the
 * sections' names. The new database is written whole into a temporary file,
 * which then replaces the old one; the old one is kept as the backup.
 * Progress goes to the calculation log. Any failure (no workbook, a workbook
 * that cannot be read, a write that fails) is shown, leaves the old database
 * untouched and returns false.
 */
bool rebuildReferenceDatabase();

/**
 * Brings what the reference database says of one maker's workbook up to
 * date (after luminaires and lamps were added to it): the database is
 * written anew with the rows of the other makers as they were and this
 * maker's read again from the workbook, and replaces the old one as the
 * rebuild does. Without a database the whole of it is rebuilt. A failure is
 * shown, leaves the old database untouched and returns false.
 */
bool updateReferenceDatabase(const MakerWorkbook& workbook);

} // namespace kzev
