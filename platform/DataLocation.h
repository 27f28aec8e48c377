#pragma once

#include <string>

namespace kzev {

/**
 * Where the makers' databases lie: the application's data folder, the prefix
 * of the data files ("ZEV-") and the database driver text handed to
 * CData::Open ("Excel 8.0"). Process-wide; the application sets it at
 * start-up from its paths, tests set it to their own folder.
 */
struct DataLocation {
    std::string folder;
    std::string prefix = "ZEV-";
    std::string driver = "Excel 8.0";
};

/** Returns the process-wide data location. */
[[nodiscard]] const DataLocation& dataLocation();
/** Replaces the process-wide data location. */
void setDataLocation(const DataLocation& location);

/** Returns the data folder (ending in a separator when not empty) followed by the prefix: "/data/ZEV-". */
[[nodiscard]] std::string dataFolderWithPrefix();

/** Returns the workbook of a maker's database number, "%s%04ld.xls": database 15 is ".../ZEV-0015.xls". */
[[nodiscard]] std::string makerWorkbookPath(long databaseNumber);

/** Restores the previous data location when it goes (for tests). */
class ScopedDataLocation {
public:
    explicit ScopedDataLocation(const DataLocation& location);
    ~ScopedDataLocation();
    ScopedDataLocation(const ScopedDataLocation&) = delete;
    ScopedDataLocation& operator=(const ScopedDataLocation&) = delete;

private:
    DataLocation m_previous;
};

} // namespace kzev
