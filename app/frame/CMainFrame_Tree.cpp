// The frame's side of the project tree: the tree sends numbered commands and
// these handlers apply the selection to the view, show the room's size, store
// edited names and pass Properties and Delete on; also the view's display
// switch and the enabling of printing.

#include "app/frame/CMainFrame.h"

#include "app/bars/CProgressStatusBar.h"
#include "app/frame/CommandUi.h"
#include "app/tree/CProjectTree.h"
#include "app/tree/CWorkspaceBar.h"
#include "app/tree/ProjectTreeEdits.h"
#include "model/CKzevDoc.h"

using kzev::TreeItemKind;

namespace {

constexpr int kRoomSizePane = 4501;
constexpr int kPropertiesCommand = 32822;
constexpr int kDeleteCommand = 32823;

/** The document and the room of the tree's selected (else drop-highlighted) item. */
struct TreeContext {
    CKzevDoc* doc = nullptr;
    QTreeWidgetItem* item = nullptr;
    kzev::TreeObject object;
    CRoom* room = nullptr;
};

TreeContext selectedContext(const CMainFrame& frame)
{
    TreeContext context;
    CProjectTree* tree = frame.projectTree();
    context.doc = kzev::theDocument();
    context.item = tree ? tree->selectedOrDropHighlighted() : nullptr;
    if (!context.doc || !context.item)
        return context;
    context.object = CProjectTree::objectOf(context.item);
    const int room = context.object.room;
    if (room >= 0 && static_cast<std::size_t>(room) < context.doc->m_rooms.size())
        context.room = &context.doc->m_rooms[static_cast<std::size_t>(room)];
    return context;
}

/** The view settings the view uses: those of the selected room (or of its chosen task area). */
CViewSettings* viewSettingsInUse(const CMainFrame& frame)
{
    const TreeContext context = selectedContext(frame);
    return context.room ? &context.room->CurrentViewSettings() : nullptr;
}

} // namespace

CWorkspaceBar* CMainFrame::workspace() const
{
    return qobject_cast<CWorkspaceBar*>(m_workspaceBar);
}

CProjectTree* CMainFrame::projectTree() const
{
    CWorkspaceBar* bar = workspace();
    return bar ? bar->projectTree() : nullptr;
}

void CMainFrame::OnTreeSelChanged()
{
    m_view->setTreeSelection(-1, -1, -1);
    const TreeContext context = selectedContext(*this);
    if (!context.item || !context.doc) {
        m_view->refreshView(0, 1);
        return;
    }
    context.doc->m_undo.clear();
    if (context.room) {
        if (context.object.kind == TreeItemKind::Room)
            OnTreeShowRoomSize();
        const kzev::ViewTreeSelection selection
            = kzev::applyTreeSelection(*context.room, context.object.kind, context.object.index);
        if (context.object.kind == TreeItemKind::Mode || context.object.kind == TreeItemKind::Area)
            projectTree()->refreshAreaChecks(context.object.room);
        m_view->setTreeSelection(selection.lampSystem, selection.area, selection.obstacle);
    }
    m_view->refreshView(0, 1);
}

void CMainFrame::OnTreeProperties()
{
    const CProjectTree* tree = projectTree();
    if (!tree || !tree->isEditingLabel())
        sendCommand(kPropertiesCommand);
}

void CMainFrame::OnTreeShowRoomSize()
{
    const TreeContext context = selectedContext(*this);
    if (!context.room)
        return;
    const int pane = m_statusBar->CommandToIndex(kRoomSizePane);
    if (pane >= 0)
        m_statusBar->SetPaneTextNow(kzev::roomSizeText(*context.room, context.doc->m_unitMm), pane);
}

void CMainFrame::clearRoomSize()
{
    const int pane = m_statusBar->CommandToIndex(kRoomSizePane);
    if (pane >= 0)
        m_statusBar->SetPaneTextNow(std::string(), pane);
}

void CMainFrame::OnTreeLabelEdited()
{
    const TreeContext context = selectedContext(*this);
    if (!context.room)
        return;
    const std::optional<std::string> shown
        = kzev::applyLabelEdit(context.doc->m_rooms, context.object, context.item->text(0).toStdString());
    if (!shown)
        return;
    if (context.object.kind == TreeItemKind::Room)
        projectTree()->setItemText(context.item, *shown);
    context.doc->SetModifiedFlag();
}

void CMainFrame::OnTreeDelete()
{
    sendCommand(kDeleteCommand);
}

void CMainFrame::OnToggleViewSwitch()
{
    CViewSettings* settings = viewSettingsInUse(*this);
    if (!settings)
        return;
    settings->m_draw3D = settings->m_draw3D == 1 ? 0 : 1;
    m_view->refreshView(0, 1);
}

void CMainFrame::OnUpdateToggleViewSwitch(kzev::CommandUi& ui)
{
    ui.Enable(m_view->sceneShown());
    if (const CViewSettings* settings = viewSettingsInUse(*this))
        ui.SetCheck(settings->m_draw3D == 1 ? 1 : 0);
}

void CMainFrame::OnUpdatePrint(kzev::CommandUi& ui)
{
    ui.Enable(m_view->sceneShown() || m_view->catalogueSheetShown());
}
