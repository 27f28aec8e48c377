// "Import svítidel z AutoCADu": the luminaire blocks of the selected room's
// window in the drawing of the CAD program found become its lamp systems.

#include "app/frame/CMainFrame.h"

#include "app/frame/CCadImportReportDialog.h"
#include "app/frame/CommandUi.h"
#include "app/tree/CProjectTree.h"
#include "app/tree/CWorkspaceBar.h"
#include "cad/LuminaireBlockImport.h"
#include "model/CKzevDoc.h"
#include "platform/Services.h"

void CMainFrame::OnImportCadBlocks()
{
    CKzevDoc* doc = kzev::theDocument();
    if (!doc || m_document->calcRunning())
        return;
    const std::optional<int> roomIndex = kzev::services().view->selectedRoom();
    if (!roomIndex || *roomIndex < 0 || static_cast<std::size_t>(*roomIndex) >= doc->m_rooms.size())
        return;
    const auto index = static_cast<std::size_t>(*roomIndex);
    kzev::LuminaireImportReport report;
    int imported = 0;
    {
        kzev::WaitCursorGuard wait;
        imported = doc->ImportCadBlocks(doc->m_rooms[index], &report);
    }
    kzev::services().view->fillProjectTree();
    if (CWorkspaceBar* bar = workspace())
        if (QTreeWidgetItem* item = bar->projectTree()->roomItem(*roomIndex)) {
            bar->projectTree()->setCurrentItem(item);
            item->setExpanded(true);
        }
    kzev::services().view->refreshView(0, 1);
    if (imported != 1)
        return;
    const CRoom& room = doc->m_rooms[index];
    CCadImportReportDialog dialog(report, room.m_lampSystems, room.m_name, this);
    dialog.exec();
}

void CMainFrame::OnUpdateImportCadBlocks(kzev::CommandUi& ui)
{
    CKzevDoc* doc = kzev::theDocument();
    ui.Enable(doc && !m_document->calcRunning() && doc->DetectCadApplication() == 1);
}
