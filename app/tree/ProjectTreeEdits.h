#pragma once

#include "app/tree/ProjectTreeLayout.h"

#include <optional>
#include <string>
#include <vector>

class CRoom;

namespace kzev {

// What the project tree's check boxes, renaming, drag and drop and selection
// do to the document, apart from the widget.

/**
 * The object an item of the tree stands for: the room (the item data of its
 * root item), the item's own kind, and its item data (the index in the
 * room's array for objects).
 */
struct TreeObject {
    int room = -1;
    TreeItemKind kind = TreeItemKind::Room;
    int index = 0;
};

/** What the tree does after a check box was clicked. */
struct CheckOutcome {
    /** The box is ticked again: folders and modes cannot be switched off. */
    bool keepTicked = false;
    /** The item is selected, so that the frame follows the switched object. */
    bool selectItem = false;
    /** The document changed. */
    bool modelChanged = false;
};

/** Applies a click on the item's check box, whose mark before the click was wasChecked. */
CheckOutcome applyCheckToggle(std::vector<CRoom>& rooms, const TreeObject& object, bool wasChecked);

/** Returns whether items of the kind can be renamed (not the four folders). */
[[nodiscard]] bool canRename(TreeItemKind kind);

/**
 * Stores an edited name in the model. Returns the text the item shows
 * afterwards (a room shows its normalised label), or none when nothing was
 * renamed (a folder, or an object that no longer exists).
 */
std::optional<std::string> applyLabelEdit(std::vector<CRoom>& rooms, const TreeObject& object, const std::string& text);

/** Returns whether the item may be dragged: not folders, not modes, not linked lamp systems. */
[[nodiscard]] bool canDrag(const std::vector<CRoom>& rooms, const TreeObject& object);

/** Returns where element index lies after element source moved directly behind element target. */
[[nodiscard]] int reorderedIndex(int index, int source, int target);

/**
 * Moves room, lamp system, visual-task area or obstacle system source
 * directly behind target within the same array (object.kind names the array,
 * object.room the room) and keeps the indexes that point into the array
 * right. Returns false, changing nothing, when an index is out of range or
 * the kind cannot be reordered.
 */
bool reorderModel(std::vector<CRoom>& rooms, const TreeObject& object, int source, int target);

/** The view's tree selection: lamp system, visual-task area and obstacle system, -1 for none. */
struct ViewTreeSelection {
    int lampSystem = -1;
    int area = -1;
    int obstacle = -1;
    bool operator==(const ViewTreeSelection&) const = default;
};

/**
 * Applies the selection of an item of the room: the room's current view
 * settings, its current mode (a task area of another mode makes its own mode
 * current), and what the view shows as selected.
 */
ViewTreeSelection applyTreeSelection(CRoom& room, TreeItemKind kind, int index);

/** Makes the mode current: the areas of other modes are hidden, those of this mode shown. */
void selectMode(CRoom& room, int mode);

/** Returns the room's length, width and height as the status bar shows them. */
[[nodiscard]] std::string roomSizeText(const CRoom& room, int unitMm);

} // namespace kzev
