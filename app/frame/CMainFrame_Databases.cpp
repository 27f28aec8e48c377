// The frame's command on the makers' databases: the rebuild of the reference database.

#include "app/frame/CMainFrame.h"

#include "app/frame/CommandUi.h"
#include "app/tree/CWorkspaceBar.h"
#include "catalogue/ReferenceDatabase.h"
#include "catalogue/ui/CDatabaseTree.h"
#include "model/CKzevDoc.h"

void CMainFrame::OnRecognizeDatabases()
{
    if (!kzev::rebuildReferenceDatabase())
        return;
    // The tree lists the makers the new database names.
    if (auto* bar = qobject_cast<CWorkspaceBar*>(m_workspaceBar))
        bar->databaseTree()->FillTree();
}

void CMainFrame::OnUpdateRecognizeDatabases(kzev::CommandUi& ui)
{
    ui.Enable(!m_document->calcRunning());
}
