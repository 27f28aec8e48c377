#pragma once

#include <string>

namespace kzev {

/**
 * Where the makers' databases lie: the application's data folder, the prefix
 * of the data files ("ZEV-") and the database driver text handed to
 * CData::Open ("Excel 8.0"). A view of the process-wide folder settings
 * (AppFolders: PathData, dataPrefix, databaseFormat), which the application
 * fills at start-up; tests point it at a folder of their own.
 */
struct DataLocation {
    std::string folder;
    std::string prefix = "ZEV-";
    std::string driver = "Excel 8.0";
};

/** Returns the process-wide data location. */
[[nodiscard]] DataLocation dataLocation();
/** Replaces the data folder, prefix and driver of the process-wide folder settings. */
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
