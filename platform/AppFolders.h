#pragma once

#include <string>

namespace kzev {

/**
 * The program's folders and database settings that every subsystem uses to
 * find its files. The application fills them at start-up from the profile
 * section "Main"; in memory each folder ends with "/".
 */
struct AppFolders {
    std::string PathData;
    std::string PathExe;
    std::string PathDoc;
    std::string PathPict;
    /** Prefix of the makers' workbooks in the data folder. */
    std::string dataPrefix = "ZEV-";
    /** Format name handed to the data library when workbooks are opened. */
    std::string databaseFormat = "Excel 8.0";
};

/** Returns the process-wide folder settings. */
[[nodiscard]] AppFolders& appFolders();

} // namespace kzev
