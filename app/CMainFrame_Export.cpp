// The frame's file exports of the room shown: DXF drawing and CAD script.

#include "app/CMainFrame.h"

#include "app/CommandUi.h"
#include "platform/Services.h"
#include "view/CKzevView.h"

namespace {

constexpr int kExportDone = 61832; // "Export proveden"

} // namespace

void CMainFrame::OnExportDxf()
{
    if (m_kzevView && m_kzevView->ExportDxf() == 1)
        kzev::messageBoxId(kExportDone, kzev::MessageIcon::Warning);
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
