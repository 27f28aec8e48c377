#pragma once

#include <filesystem>
#include <optional>

namespace kzev {

/**
 * Returns a folder that belongs to the user alone (owned by the user, mode
 * 0700, not a link), for the files the program keeps between its runs and
 * nobody else may read, replace or plant: the session's runtime folder
 * ($XDG_RUNTIME_DIR) when it is such a folder, else "kzev" in the user's
 * cache folder ($XDG_CACHE_HOME or ~/.cache). With `create` a missing cache
 * folder is made with mode 0700. Returns none when there is no such folder:
 * an existing one that is not the user's own is never used.
 */
[[nodiscard]] std::optional<std::filesystem::path> userPrivateFolder(bool create);

/**
 * Returns the folder for the files handed between the program and the CAD
 * program (the extraction template and output, the picked line): the
 * user's private folder, else a new folder of this process's own in the
 * temporary folder (made by mkdtemp, mode 0700), so nobody else can plant
 * or read them. Empty when neither can be had.
 */
[[nodiscard]] std::filesystem::path cadExchangeFolder();

} // namespace kzev
