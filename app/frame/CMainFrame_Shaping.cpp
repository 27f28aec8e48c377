// Handlers of the frame's commands that shape a room with generated objects:
// the block of an L-shaped corner, a row of walls along a polyline, and the
// split of a regular lamp system into its columns or rows. The model builds
// the objects (model/CornerObstacle.h, model/WallRow.h,
// model/LampSystemSplit.h); these ask the user and bring the tree along.

#include "app/frame/CMainFrame.h"

#include "app/frame/CommandUi.h"
#include "app/frame/FrameTreeTarget.h"
#include "app/openers/FrameInputs.h"
#include "app/tree/CProjectTree.h"
#include "app/tree/CWorkspaceBar.h"
#include "calc/ObstacleShading.h"
#include "model/CKzevDoc.h"
#include "model/CornerObstacle.h"
#include "model/LampSystemSplit.h"
#include "model/WallRow.h"
#include "platform/Services.h"

using kzev::TreeItemKind;

namespace {

void warn(const std::string& message)
{
    kzev::services().messageBox->show(message, kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
}

} // namespace

void CMainFrame::OnCornerObstacle(int corner)
{
    const kzev::TreeTarget target = kzev::treeTarget(*this);
    if (!target.room || corner < 1 || corner > 4)
        return;
    const std::optional<kzev::CornerInput> input = kzev::askCornerObstacle(this, *target.doc, *target.room);
    if (!input)
        return;
    CRoom& room = *target.room;
    if (const std::string refusal = kzev::cornerObstacleRefusal(room, input->length, input->width);
        !refusal.empty()) {
        warn(refusal);
        return;
    }
    room.m_obstacleSystems.push_back(
        kzev::cornerObstacle(room, static_cast<kzev::RoomCorner>(corner - 1), input->length, input->width));
    workspace()->AddObstacleSystemItem(target.roomIndex, static_cast<int>(room.m_obstacleSystems.size()) - 1);
    if (input->switchOffInside == 1)
        kzev::markObstructedPoints(room);
    room.InvalidateResults();
    target.doc->SetModifiedFlag();
    m_view->showScene();
    m_view->refreshView(0, 1);
}

void CMainFrame::OnWallObstacleRow()
{
    const kzev::TreeTarget target = kzev::treeTarget(*this);
    if (!target.room)
        return;
    const std::optional<kzev::WallRowInput> input = kzev::askWallRow(this, *target.doc, *target.room);
    if (input) {
        if (const std::string refusal = kzev::wallRowRefusal(input->height, input->thickness); !refusal.empty()) {
            warn(refusal);
        } else {
            CRoom& room = *target.room;
            const int first = static_cast<int>(room.m_obstacleSystems.size());
            const int added = kzev::appendWallRow(room, input->points, input->height, input->thickness);
            for (int k = 0; k < added; ++k)
                workspace()->AddObstacleSystemItem(target.roomIndex, first + k);
            if (added > 0)
                target.doc->SetModifiedFlag();
        }
    }
    m_view->showScene();
    m_view->refreshView(0, 1);
}

void CMainFrame::OnUpdateNeedsRoom(kzev::CommandUi& ui)
{
    ui.Enable(kzev::treeTarget(*this).room != nullptr);
}

void CMainFrame::OnSplitIntoColumns()
{
    splitSelected(0);
}

void CMainFrame::OnSplitIntoRows()
{
    splitSelected(1);
}

void CMainFrame::splitSelected(int rows)
{
    const kzev::TreeTarget target = kzev::treeTarget(*this);
    if (!target.isObject(TreeItemKind::LampSystem))
        return;
    const kzev::LampSystemSplit split = kzev::splitLampSystem(*target.room, target.index,
        rows == 1 ? kzev::SplitDirection::Rows : kzev::SplitDirection::Columns);
    if (!split.refusal.empty()) {
        warn(split.refusal);
        return;
    }
    if (split.parts.empty())
        return;
    CRoom& room = *target.room;
    const int first = static_cast<int>(room.m_lampSystems.size());
    room.m_lampSystems.insert(room.m_lampSystems.end(), split.parts.begin(), split.parts.end());
    for (int k = 0; k < static_cast<int>(split.parts.size()); ++k)
        workspace()->AddLampSystemItem(target.roomIndex, first + k);
    if (QTreeWidgetItem* folder = projectTree()->folderItem(target.roomIndex, TreeItemKind::LampFolder))
        projectTree()->setItemChecked(folder, true);
    room.InvalidateResults();
    // Undo steps hold the lamp systems as they were before the parts.
    target.doc->m_undo.clear();
    target.doc->SetModifiedFlag();
    m_view->refreshView(0, 1);
    // The source is still selected; the user decides whether it goes.
    OnEditDelete();
}

void CMainFrame::OnUpdateSplit(kzev::CommandUi& ui)
{
    ui.Enable(kzev::treeTarget(*this).isObject(TreeItemKind::LampSystem));
}
