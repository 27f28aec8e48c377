#pragma once

class QIcon;

namespace kzev {

/**
 * Returns picture n (0 to 11) of the project tree: room, the four folders,
 * lamp system (plain, derived, source of others), visual-task area, task
 * surroundings, obstacle system and mode. A null icon for other numbers.
 */
[[nodiscard]] QIcon treeIcon(int number);

/** Returns picture n (0 "Projekt", 1 "Databáze") of the workspace bar's tabs. */
[[nodiscard]] QIcon workspaceTabIcon(int number);

} // namespace kzev
