#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kzev {

/**
 * How the makers' database editor is started; the defaults start real
 * programs, tests replace them.
 */
struct DatabaseEditorHooks {
    /** The full path of an installed program, empty when it is not installed. */
    std::function<std::string(const std::string& program)> findProgram;
    /** Starts a program detached from this one; false when it cannot be started. */
    std::function<bool(const std::string& program, const std::vector<std::string>& arguments)> startProgram;
    /** Opens a file in the desktop's default program for its kind; false when nothing opens it. */
    std::function<bool(const std::string& file)> openWithDesktop;
};

/** Returns the process-wide hooks (the real ones until a test replaces them). */
[[nodiscard]] DatabaseEditorHooks& databaseEditorHooks();

/** The profile value (section "Settings") holding the editor's command line; the workbook is appended. */
inline constexpr const char* kDatabaseEditorSetting = "DatabaseEditor";
/** The editor used when none is set: DB Browser for SQLite, since the workbooks are SQLite files. */
inline constexpr const char* kDefaultDatabaseEditor = "sqlitebrowser";

/**
 * Opens a maker's workbook in the database editor, on the given sheet when
 * one is named ("Lamps$"). The editor is the command set in the settings,
 * else sqlitebrowser when it is installed; a genuine Excel workbook opens in
 * the desktop's program for .xls files. When nothing can be started the user
 * is told why and what to install, and the result is false.
 */
bool startDatabaseEditor(const std::string& workbook, const std::string& sheet = {});

} // namespace kzev
