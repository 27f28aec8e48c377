#include "app/openers/ObjectDialogOpening.h"

#include "app/tree/CProjectTree.h"
#include "model/CKzevDoc.h"

namespace kzev {

namespace {

/** The name of the room's object of the kind, if it exists. */
const std::string* objectName(const CRoom& room, TreeItemKind kind, int index)
{
    if (index < 0)
        return nullptr;
    const auto i = static_cast<std::size_t>(index);
    if (kind == TreeItemKind::Area && i < room.m_workSystems.size())
        return &room.m_workSystems[i].m_name;
    if (kind == TreeItemKind::Obstacle && i < room.m_obstacleSystems.size())
        return &room.m_obstacleSystems[i].m_name;
    return nullptr;
}

} // namespace

void objectDialogClosed(CMainFrame& frame, TreeItemKind kind, int room, int index, bool written)
{
    // The bars come back however the dialog ended, with or without a tree selection.
    frame.EnableBars(0);
    const CKzevDoc* document = theDocument();
    CProjectTree* tree = frame.projectTree();
    QTreeWidgetItem* item = tree ? tree->selectedOrDropHighlighted() : nullptr;
    if (written && document && item && room >= 0 && static_cast<std::size_t>(room) < document->m_rooms.size()) {
        const TreeObject object = CProjectTree::objectOf(item);
        const std::string* name = objectName(document->m_rooms[static_cast<std::size_t>(room)], kind, index);
        if (name && object.kind == kind && object.room == room && object.index == index)
            item->setText(0, QString::fromStdString(*name));
    }
    frame.view().refreshView(0, 1);
}

} // namespace kzev
