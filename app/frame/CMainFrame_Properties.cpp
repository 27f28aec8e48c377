// Properties of the object selected in the project tree: the room sheet for a
// room (the road dialog in a road project), the lamp-system sheet for a lamp
// system, the area dialog for a visual-task area, the obstacle dialog for an
// obstacle system; a mode has none.

#include "app/frame/CMainFrame.h"

#include "app/frame/CommandUi.h"
#include "app/frame/FrameTreeTarget.h"
#include "app/openers/AreaDialogOpener.h"
#include "app/openers/LampSheetOpener.h"
#include "app/openers/ObstacleDialogOpener.h"
#include "app/openers/RoadDialogOpener.h"
#include "app/openers/RoomSheetOpener.h"
#include "app/tree/CProjectTree.h"
#include "model/CKzevDoc.h"

namespace {

/** The room and object indexes of the tree's selected object of that kind, if that is what is selected. */
std::optional<std::pair<int, int>> selectedObject(const CMainFrame& frame, kzev::TreeItemKind kind)
{
    const CProjectTree* tree = frame.projectTree();
    const CKzevDoc* doc = kzev::theDocument();
    QTreeWidgetItem* item = tree ? tree->selectedOrDropHighlighted() : nullptr;
    if (!doc || !item)
        return std::nullopt;
    const kzev::TreeObject object = CProjectTree::objectOf(item);
    if (object.kind != kind || object.room < 0
        || static_cast<std::size_t>(object.room) >= doc->m_rooms.size())
        return std::nullopt;
    const CRoom& room = doc->m_rooms[static_cast<std::size_t>(object.room)];
    const std::size_t count = kind == kzev::TreeItemKind::LampSystem ? room.m_lampSystems.size()
        : kind == kzev::TreeItemKind::Area                           ? room.m_workSystems.size()
                                                                     : room.m_obstacleSystems.size();
    if (object.index < 0 || static_cast<std::size_t>(object.index) >= count)
        return std::nullopt;
    return std::pair { object.room, object.index };
}

/** The index of the tree's selected room item, if a room is what is selected. */
std::optional<int> selectedRoomItem(const CMainFrame& frame)
{
    const CProjectTree* tree = frame.projectTree();
    const CKzevDoc* doc = kzev::theDocument();
    QTreeWidgetItem* item = tree ? tree->selectedOrDropHighlighted() : nullptr;
    if (!doc || !item)
        return std::nullopt;
    const kzev::TreeObject object = CProjectTree::objectOf(item);
    if (object.kind != kzev::TreeItemKind::Room || object.room < 0
        || static_cast<std::size_t>(object.room) >= doc->m_rooms.size())
        return std::nullopt;
    return object.room;
}

} // namespace

void CMainFrame::OnEditProperties()
{
    // The tree's double click and Enter come here past the update handler.
    if (m_pLampSheet || kzev::openAreaDialog() || kzev::openObstacleDialog() || m_document->calcRunning())
        return;
    if (const auto room = selectedRoomItem(*this)) {
        // In a road project a room is a road, designed in its own dialog.
        const CKzevDoc* doc = kzev::theDocument();
        if (doc && doc->m_projectType == 2)
            kzev::openRoadDialog(*this, *room);
        else
            kzev::openRoomSheet(*this, *room);
    }
    else if (const auto lamps = selectedObject(*this, kzev::TreeItemKind::LampSystem))
        kzev::openLampSystemSheet(*this, lamps->first, lamps->second);
    else if (const auto area = selectedObject(*this, kzev::TreeItemKind::Area))
        kzev::openVisualTaskDialog(*this, area->first, area->second);
    else if (const auto obstacles = selectedObject(*this, kzev::TreeItemKind::Obstacle))
        kzev::openObstacleSystemDialog(*this, obstacles->first, obstacles->second);
}

void CMainFrame::OnUpdateEditProperties(kzev::CommandUi& ui)
{
    // A mode has no window of its own: the command is there and opens nothing.
    const bool mode = kzev::treeTarget(*this).isObject(kzev::TreeItemKind::Mode);
    ui.Enable(!m_pLampSheet && !kzev::openAreaDialog() && !kzev::openObstacleDialog() && !m_document->calcRunning()
        && (mode || selectedRoomItem(*this) || selectedObject(*this, kzev::TreeItemKind::LampSystem)
            || selectedObject(*this, kzev::TreeItemKind::Area) || selectedObject(*this, kzev::TreeItemKind::Obstacle)));
}
