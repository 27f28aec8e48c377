// Handlers of the frame's commands that build a road as a room and the
// surroundings band of a task area. The model builds them
// (model/RoadSetup.h, model/TaskSurroundings.h); these ask the user and bring
// the tree and the view along.

#include "app/frame/CMainFrame.h"

#include "app/frame/CommandUi.h"
#include "app/frame/FrameTreeTarget.h"
#include "app/openers/FrameInputs.h"
#include "app/tree/CProjectTree.h"
#include "app/tree/CWorkspaceBar.h"
#include "model/CKzevDoc.h"
#include "model/RoadSetup.h"
#include "model/TaskSurroundings.h"
#include "platform/Services.h"

using kzev::TreeItemKind;

namespace {

void warn(const std::string& message)
{
    kzev::services().messageBox->show(message, kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
}

} // namespace

void CMainFrame::OnNewRoadway()
{
    CKzevDoc* doc = kzev::theDocument();
    if (!doc)
        return;
    // A new road project asks for its road while the document fills the tree afterwards; the set-up
    // happens once, and every later road gets its tree item here.
    const bool projectSetUp = doc->m_roadSetup == 0;
    doc->m_roadSetup = 1;
    const std::optional<kzev::RoadDesign> design = kzev::askRoadDesign(this, *doc, kzev::RoadDesign {});
    if (!design)
        return;
    if (const std::string refusal = kzev::roadDesignRefusal(*design); !refusal.empty()) {
        warn(refusal);
        return;
    }
    doc->m_rooms.push_back(kzev::makeRoadRoom(*design));
    m_view->setTreeSelection(-1, -1, -1);
    if (projectSetUp) {
        m_view->showScene();
        return;
    }
    doc->SetModifiedFlag();
    // The room is the last of the document, and so is its item in the tree.
    QTreeWidgetItem* item = workspace()->AddRoomItem(static_cast<int>(doc->m_rooms.size()) - 1);
    if (!item) {
        m_view->showScene();
        return;
    }
    projectTree()->setCurrentItem(item);
    // The user names the new road in place.
    projectTree()->editItem(item);
    m_view->showScene();
}

void CMainFrame::OnNewTaskSurroundings()
{
    const kzev::TreeTarget target = kzev::treeTarget(*this);
    if (!target.room)
        return;
    if (target.isObject(TreeItemKind::Area)) {
        // An area without points is refused before its band is asked for.
        if (const std::string refusal = kzev::taskSurroundingsRefusal(target.room->m_workSystems[target.index], 0.0);
            !refusal.empty()) {
            warn(refusal);
            return;
        }
        const std::optional<double> band
            = kzev::askSurroundingsWidth(this, *target.doc, target.room->m_workSystems[target.index]);
        if (!band)
            return;
        CRoom& room = *target.room;
        const CWorkSystem& task = room.m_workSystems[target.index];
        if (const std::string refusal = kzev::taskSurroundingsRefusal(task, *band); !refusal.empty()) {
            warn(refusal);
            return;
        }
        room.m_workSystems.push_back(kzev::taskSurroundings(task, target.index, *band));
        const int index = static_cast<int>(room.m_workSystems.size()) - 1;
        room.m_resultsValid = 0;
        target.doc->SetModifiedFlag();
        workspace()->AddWorkSystemItem(target.roomIndex, index);
        if (QTreeWidgetItem* folder = projectTree()->folderItem(target.roomIndex, TreeItemKind::AreaFolder)) {
            projectTree()->setItemChecked(folder, true);
            if (index < folder->childCount())
                projectTree()->setCurrentItem(folder->child(index));
        }
    }
    m_view->showScene();
    m_view->refreshView(0, 1);
}

void CMainFrame::OnUpdateNewTaskSurroundings(kzev::CommandUi& ui)
{
    ui.Enable(kzev::treeTarget(*this).isObject(TreeItemKind::Area));
}
