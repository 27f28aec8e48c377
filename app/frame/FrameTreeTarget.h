#pragma once

#include "app/tree/ProjectTreeLayout.h"

class CKzevDoc;
class CMainFrame;
class CRoom;
class QTreeWidgetItem;

namespace kzev {

/**
 * What a tree-driven command of the frame acts on: the project tree's
 * selected item (else its drop-highlighted one), the room it belongs to, and
 * the item's kind and item data. The room is null when the document has no
 * room of that index.
 */
struct TreeTarget {
    CKzevDoc* doc = nullptr;
    QTreeWidgetItem* item = nullptr;
    int roomIndex = -1;
    CRoom* room = nullptr;
    TreeItemKind kind = TreeItemKind::Room;
    int index = -1;

    /** Returns whether the item is an object of the kind inside its room's folder. */
    [[nodiscard]] bool isObject(TreeItemKind object) const { return room && kind == object; }
};

/** Returns the target of the frame's tree-driven commands. */
[[nodiscard]] TreeTarget treeTarget(const CMainFrame& frame);

} // namespace kzev
