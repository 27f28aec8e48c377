// The four commands that open the view property sheet on one of its pages,
// for the view settings of the tree's selected visual-task area or else of
// its room. The view draws with the sheet's copy while the sheet is open.

#include "app/frame/CMainFrame.h"

#include "app/frame/CommandUi.h"
#include "app/tree/CProjectTree.h"
#include "model/CKzevDoc.h"
#include "dialogs/settings/CViewSheet.h"
#include "view/CKzevView.h"

namespace {

/** Where the edited view settings live: the room's own, or those of one of its task areas. */
struct SheetSource {
    int room = -1;
    int area = -1;
};

CViewSettings* settingsOf(CKzevDoc& doc, const SheetSource& source)
{
    if (source.room < 0 || static_cast<std::size_t>(source.room) >= doc.m_rooms.size())
        return nullptr;
    CRoom& room = doc.m_rooms[static_cast<std::size_t>(source.room)];
    if (source.area < 0)
        return &room.m_viewSettings;
    if (static_cast<std::size_t>(source.area) >= room.m_workSystems.size())
        return nullptr;
    return &room.m_workSystems[static_cast<std::size_t>(source.area)].m_viewSettings;
}

} // namespace

void CMainFrame::OpenViewSheet(int startPage, int resetProjection, int resetCamera)
{
    CKzevDoc* doc = kzev::theDocument();
    CProjectTree* tree = projectTree();
    QTreeWidgetItem* item = tree ? tree->selectedOrDropHighlighted() : nullptr;
    if (!doc || !item || m_document->calcRunning())
        return;
    const kzev::TreeObject object = CProjectTree::objectOf(item);
    SheetSource source { object.room, object.kind == kzev::TreeItemKind::Area ? object.index : -1 };
    CViewSettings* stored = settingsOf(*doc, source);
    if (!stored)
        return;

    CViewSheet sheet(*doc, *stored, source.area < 0 ? 1 : 0, m_view->sceneShown(), startPage, this);
    if (m_kzevView)
        m_kzevView->plan().setViewSettingsOverride(&sheet.working());
    const int result = sheet.DoModal();
    if (m_kzevView)
        m_kzevView->plan().setViewSettingsOverride(nullptr);
    // Found again: the pages may not remove anything, but nothing is held by address across the run.
    if (result == QDialog::Accepted) {
        if (CViewSettings* target = settingsOf(*doc, source))
            *target = sheet.working();
    }
    m_view->refreshView(resetProjection, resetCamera);
}

void CMainFrame::OnUpdateViewSheet(kzev::CommandUi& ui)
{
    ui.Enable(!m_document->calcRunning() && !m_pLampSheet);
}

void CMainFrame::OnUpdateViewDataProperties(kzev::CommandUi& ui)
{
    ui.Enable(!m_document->calcRunning() && !m_pLampSheet && m_view->sceneShown());
}
