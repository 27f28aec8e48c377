// Handlers of the frame's commands that create and delete the objects
// of the project selected in the project tree: rooms, lamp systems,
// visual-task areas, obstacle systems, rasters and modes. The document does
// the work (model/ProjectObjects.h, model/ProjectDeletion.h); these ask the
// user and bring the tree and the view along.

#include "app/frame/CMainFrame.h"

#include "app/frame/CommandUi.h"
#include "app/frame/FrameTreeTarget.h"
#include "app/tree/CProjectTree.h"
#include "app/tree/CWorkspaceBar.h"
#include "model/CKzevDoc.h"
#include "model/ProjectDeletion.h"
#include "model/ProjectObjects.h"
#include "platform/Services.h"

using kzev::TreeItemKind;

namespace {

constexpr int kDeleteQuestion = 61941; // "Odstranit položku ?"

/** The copied object: the selected item's index when it is an object of the kind, else none. */
std::optional<int> copiedObject(const kzev::TreeTarget& target, TreeItemKind kind)
{
    return target.kind == kind ? std::optional<int>(target.index) : std::nullopt;
}

/** Whether Delete applies to the target, as its update handler decides. */
bool deletable(const kzev::TreeTarget& target)
{
    if (!target.room || kzev::isFolder(target.kind))
        return false;
    switch (target.kind) {
    case TreeItemKind::Mode: return kzev::canDeleteMode(*target.room, target.index);
    case TreeItemKind::LampSystem: return kzev::canDeleteLampSystem(*target.room, target.index);
    default: return true;
    }
}

} // namespace

void CMainFrame::OnNewRoom()
{
    m_view->setTreeSelection(-1, -1, -1);
    const kzev::TreeTarget target = kzev::treeTarget(*this);
    // With no room left to select the command still makes one: a default room.
    const bool noRoomToTakeFrom = target.doc && !target.item && target.doc->m_rooms.empty();
    if (!target.room && !noRoomToTakeFrom)
        return;
    const std::optional<int> room = noRoomToTakeFrom
        ? kzev::newRoom(*target.doc, -1, false)
        : kzev::newRoom(*target.doc, target.roomIndex, target.kind == TreeItemKind::Room);
    if (!room)
        return;
    QTreeWidgetItem* item = workspace()->AddRoomItem(*room);
    if (!item)
        return;
    projectTree()->setCurrentItem(item);
    // The user names the new room in place.
    projectTree()->editItem(item);
    m_view->showScene();
}

void CMainFrame::OnNewLampSystem()
{
    createObject(kzev::newLampSystem, TreeItemKind::LampSystem);
}

void CMainFrame::OnNewWorkSystem()
{
    createObject(kzev::newWorkSystem, TreeItemKind::Area);
}

void CMainFrame::OnNewObstacleSystem()
{
    createObject(kzev::newObstacleSystem, TreeItemKind::Obstacle);
}

void CMainFrame::OnNewRaster()
{
    createObject(kzev::newRaster, TreeItemKind::Obstacle);
}

void CMainFrame::createObject(ObjectCreator create, TreeItemKind kind)
{
    const kzev::TreeTarget target = kzev::treeTarget(*this);
    if (!target.room)
        return;
    const std::optional<int> index = create(*target.doc, target.roomIndex, copiedObject(target, kind));
    if (!index)
        return;
    switch (kind) {
    case TreeItemKind::LampSystem: workspace()->AddLampSystemItem(target.roomIndex, *index); break;
    case TreeItemKind::Area: workspace()->AddWorkSystemItem(target.roomIndex, *index); break;
    case TreeItemKind::Obstacle: workspace()->AddObstacleSystemItem(target.roomIndex, *index); break;
    default: workspace()->AddModeItem(target.roomIndex, *index); break;
    }
    m_view->refreshView(0, 1);
}

void CMainFrame::OnNewMode()
{
    createObject(kzev::newMode, TreeItemKind::Mode);
}

void CMainFrame::OnUpdateNewObject(kzev::CommandUi& ui)
{
    const CProjectTree* tree = projectTree();
    ui.Enable(tree && tree->selectedOrDropHighlighted() != nullptr);
}

void CMainFrame::OnEditDelete()
{
    const kzev::TreeTarget target = kzev::treeTarget(*this);
    // The Delete key of the tree comes here past the update handler.
    if (!deletable(target))
        return;
    if (kzev::messageBoxId(kDeleteQuestion, kzev::MessageIcon::Question, kzev::MessageButtons::YesNo)
        != kzev::MessageAnswer::Yes)
        return;

    CKzevDoc& doc = *target.doc;
    kzev::DeleteResult result;
    switch (target.kind) {
    case TreeItemKind::Room: result = kzev::deleteRoom(doc, target.roomIndex); break;
    case TreeItemKind::LampSystem: result = kzev::deleteLampSystem(doc, target.roomIndex, target.index); break;
    case TreeItemKind::Area: result = kzev::deleteWorkSystem(doc, target.roomIndex, target.index); break;
    case TreeItemKind::Obstacle: result = kzev::deleteObstacleSystem(doc, target.roomIndex, target.index); break;
    case TreeItemKind::Mode: result = kzev::deleteMode(doc, target.roomIndex, target.index); break;
    default: return;
    }
    if (!result.refusal.empty())
        kzev::services().messageBox->show(result.refusal, kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
    if (!result.deleted)
        return;

    projectTree()->removeItem(target.item);
    if (target.kind == TreeItemKind::LampSystem)
        workspace()->UpdateLampSystemIcons(target.roomIndex);
    // Without a room the size of the deleted one must not stay in the status bar.
    if (doc.m_rooms.empty())
        clearRoomSize();
    m_view->refreshView(0, 1);
}

void CMainFrame::OnUpdateEditDelete(kzev::CommandUi& ui)
{
    ui.Enable(deletable(kzev::treeTarget(*this)));
}
