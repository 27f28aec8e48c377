// The frame's file exports of the room shown: DXF drawing and CAD script.

#include "app/frame/CMainFrame.h"

#include "app/frame/CommandUi.h"
#include "cad/ui/DrawingWindow.h"
#include "model/CKzevDoc.h"
#include "platform/Services.h"
#include "view/CKzevView.h"

namespace {

constexpr int kExportDone = 61832; // "Export proveden"

} // namespace

void CMainFrame::OnExportDxf()
{
    if (m_kzevView && m_kzevView->ExportDxf() == 1)
        kzev::messageBoxId(kExportDone, kzev::MessageIcon::Information); // a success, not a warning
}

void CMainFrame::OnExportScript()
{
    if (m_kzevView)
        (void)m_kzevView->ExportScript();
}

void CMainFrame::OnUpdateNeedsScene(kzev::CommandUi& ui)
{
    ui.Enable(m_view->sceneShown());
}

void CMainFrame::OnDrawInCad(int mode)
{
    CKzevDoc* doc = kzev::theDocument();
    if (!m_kzevView || !doc || !m_view->sceneShown())
        return;
    doc->BuildLuminaireLegend();
    m_kzevView->DrawInCad(mode);
}

void CMainFrame::OnUpdateDrawInCad(kzev::CommandUi& ui)
{
    CKzevDoc* doc = kzev::theDocument();
    ui.Enable(m_view->sceneShown() && doc && doc->m_calcRunning == 0 && doc->DetectCadApplication() == 1);
}

void CMainFrame::OnShowDrawingWindow() { (void)kzev::DrawingWindow::instance(true); }
