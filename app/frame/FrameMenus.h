#pragma once

#include <span>

namespace kzev {

/** One line of a menu resource. */
struct MenuItemDef {
    enum class Kind {
        Command,    ///< the command id's action
        Separator,
        Popup,      ///< starts a submenu named by text
        EndPopup,
        RecentFiles, ///< the recent-file list of the application
        ToolbarMenu, ///< the submenu "Nástrojové panely", rebuilt from menu 131 when it opens
    };
    Kind kind;
    int id;
    const char* text;
};

/** The main menu 128. */
[[nodiscard]] std::span<const MenuItemDef> mainMenu();
/** The project context menu 88. */
[[nodiscard]] std::span<const MenuItemDef> projectMenu();
/** The view context menu 92. */
[[nodiscard]] std::span<const MenuItemDef> viewMenu();
/** Submenu 0 of the toolbar menu 131. */
[[nodiscard]] std::span<const MenuItemDef> toolbarMenu();

/** Returns the buttons of a toolbar (0 = separator). */
[[nodiscard]] std::span<const int> toolbarButtons(int resourceId);

} // namespace kzev
