#include "app/openers/RoadDialogOpener.h"

#include "app/frame/CMainFrame.h"
#include "app/openers/FrameInputs.h"
#include "app/tree/CWorkspaceBar.h"
#include "model/CKzevDoc.h"
#include "model/RoadSetup.h"
#include "platform/Services.h"

namespace kzev {

bool openRoadDialog(CMainFrame& frame, int room)
{
    CKzevDoc* doc = theDocument();
    if (!doc || room < 0 || static_cast<std::size_t>(room) >= doc->m_rooms.size())
        return false;
    const std::size_t obstacles = doc->m_rooms[static_cast<std::size_t>(room)].m_obstacleSystems.size();
    const std::optional<RoadDesign> design
        = askRoadDesign(&frame, *doc, roadDesignOf(doc->m_rooms[static_cast<std::size_t>(room)]), room);
    if (!design) {
        // The road's room sheet ("Údržba") may have added walls of an outline.
        if (doc->m_rooms[static_cast<std::size_t>(room)].m_obstacleSystems.size() != obstacles) {
            if (CWorkspaceBar* workspace = frame.workspace())
                workspace->FillProjectTree();
        }
        return false;
    }
    if (const std::string refusal = roadDesignRefusal(*design); !refusal.empty()) {
        services().messageBox->show(refusal, MessageIcon::Warning, MessageButtons::Ok);
        return false;
    }
    applyRoadDesign(doc->m_rooms[static_cast<std::size_t>(room)], *design);
    doc->SetModifiedFlag();
    if (CWorkspaceBar* workspace = frame.workspace())
        workspace->FillProjectTree();
    frame.view().showScene();
    frame.view().refreshView(0, 1);
    return true;
}

} // namespace kzev
