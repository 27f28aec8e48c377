// Properties of the object selected in the project tree: the lamp-system
// sheet for a lamp system. The other kinds keep the command disabled until
// their windows are built.

#include "app/CMainFrame.h"

#include "app/CProjectTree.h"
#include "app/CommandUi.h"
#include "app/LampSheetOpener.h"
#include "model/CKzevDoc.h"

namespace {

/** The room and lamp-system indexes of the tree's selected lamp system, if that is what is selected. */
std::optional<std::pair<int, int>> selectedLampSystem(const CMainFrame& frame)
{
    const CProjectTree* tree = frame.projectTree();
    const CKzevDoc* doc = kzev::theDocument();
    QTreeWidgetItem* item = tree ? tree->selectedOrDropHighlighted() : nullptr;
    if (!doc || !item)
        return std::nullopt;
    const kzev::TreeObject object = CProjectTree::objectOf(item);
    if (object.kind != kzev::TreeItemKind::LampSystem || object.room < 0
        || static_cast<std::size_t>(object.room) >= doc->m_rooms.size())
        return std::nullopt;
    const CRoom& room = doc->m_rooms[static_cast<std::size_t>(object.room)];
    if (object.index < 0 || static_cast<std::size_t>(object.index) >= room.m_lampSystems.size())
        return std::nullopt;
    return std::pair { object.room, object.index };
}

} // namespace

void CMainFrame::OnEditProperties()
{
    // The tree's double click and Enter come here past the update handler.
    const auto target = selectedLampSystem(*this);
    if (!target || m_pLampSheet || m_document->calcRunning())
        return;
    kzev::openLampSystemSheet(*this, target->first, target->second);
}

void CMainFrame::OnUpdateEditProperties(kzev::CommandUi& ui)
{
    ui.Enable(!m_pLampSheet && !m_document->calcRunning() && selectedLampSystem(*this).has_value());
}
