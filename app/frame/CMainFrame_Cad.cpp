// The frame's commands that draw into the running CAD program: the legends of
// the used luminaires and of the rooms, and the title block.

#include "app/frame/CMainFrame.h"

#include "app/frame/CommandUi.h"
#include "app/tree/CWorkspaceBar.h"
#include "cad/CadPicker.h"
#include "cad/TitleBlock.h"
#include "dialogs/grids/CRoomLegendDialog.h"
#include "dialogs/grids/CUsedLuminairesDialog.h"
#include "model/CKzevDoc.h"
#include "platform/Services.h"

void CMainFrame::OnUsedLuminaires()
{
    CKzevDoc* doc = kzev::theDocument();
    if (!doc)
        return;
    CUsedLuminairesDialog dialog(*doc, this);
    (void)dialog.exec();
}

void CMainFrame::OnUpdateUsedLuminairesLegend(kzev::CommandUi& ui)
{
    const CKzevDoc* doc = kzev::theDocument();
    ui.Enable(doc != nullptr && !doc->m_luminaires.empty() && !m_document->calcRunning());
}

void CMainFrame::OnRoomLegend()
{
    CKzevDoc* doc = kzev::theDocument();
    if (!doc)
        return;
    {
        CRoomLegendDialog dialog(*doc, this);
        (void)dialog.exec();
    }
    // Numbers and names corrected in the legend show in the tree at once.
    workspace()->FillProjectTree();
}

void CMainFrame::OnUpdateRoomLegend(kzev::CommandUi& ui)
{
    ui.Enable(kzev::theDocument() != nullptr && !m_document->calcRunning());
}

void CMainFrame::OnDrawTitleBlock()
{
    CKzevDoc* doc = kzev::theDocument();
    if (!doc)
        return;
    kzev::CadPicker picker;
    (void)kzev::drawTitleBlock(*doc, picker);
}

void CMainFrame::OnUpdateDrawTitleBlock(kzev::CommandUi& ui)
{
    CKzevDoc* doc = kzev::theDocument();
    ui.Enable(doc != nullptr && doc->DetectCadApplication() == 1);
}
