#include "app/frame/FrameTreeTarget.h"

#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "model/CKzevDoc.h"

namespace kzev {

TreeTarget treeTarget(const CMainFrame& frame)
{
    TreeTarget target;
    CProjectTree* tree = frame.projectTree();
    target.doc = theDocument();
    target.item = tree ? tree->selectedOrDropHighlighted() : nullptr;
    if (!target.doc || !target.item)
        return target;
    const TreeObject object = CProjectTree::objectOf(target.item);
    target.roomIndex = object.room;
    target.kind = object.kind;
    target.index = object.index;
    if (object.room >= 0 && static_cast<std::size_t>(object.room) < target.doc->m_rooms.size())
        target.room = &target.doc->m_rooms[static_cast<std::size_t>(object.room)];
    return target;
}

} // namespace kzev
