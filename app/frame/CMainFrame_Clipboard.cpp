// "Kopírovat soustavu" and "Vložit soustavu": a lamp system, task area or
// obstacle system of the tree's selection goes through the clipboard file of
// the user's own folder into the same or another room, also of a project
// opened later. A non-regular lamp system also goes on the system clipboard
// as a table, beside our own payload. The payload is checked before anything
// of it is used (model/ObjectClipboard.h).

#include "app/frame/CMainFrame.h"

#include "app/frame/CommandUi.h"
#include "app/frame/FrameTreeTarget.h"
#include "app/tree/CProjectTree.h"
#include "app/tree/CWorkspaceBar.h"
#include "model/CKzevDoc.h"
#include "model/ObjectClipboard.h"
#include "platform/Clipboard.h"
#include "platform/Services.h"

using kzev::ClipboardKind;
using kzev::TreeItemKind;

namespace {

/** The clipboard kind whose objects live in the folder of the item's kind (item or folder itself). */
ClipboardKind kindOfFolder(TreeItemKind kind)
{
    switch (kzev::folderOf(kzev::objectKindOf(kind))) {
    case TreeItemKind::LampFolder: return ClipboardKind::LampSystem;
    case TreeItemKind::AreaFolder: return ClipboardKind::WorkSystem;
    case TreeItemKind::ObstacleFolder: return ClipboardKind::Obstacle;
    default: return ClipboardKind::None;
    }
}

/** The whole payload: the clipboard file, else our data on the system clipboard. */
std::optional<std::vector<std::uint8_t>> clipboardPayload(const kzev::ClipboardFile& file)
{
    if (auto payload = file.read())
        return payload;
    return kzev::clipboard().data(kzev::kClipboardObjectFormat);
}

} // namespace

void CMainFrame::OnCopyLampSystem()
{
    const kzev::TreeTarget target = kzev::treeTarget(*this);
    if (!target.room || target.index < 0)
        return;
    CRoom& room = *target.room;
    const auto index = static_cast<std::size_t>(target.index);
    std::optional<kzev::ClipboardObject> object;
    switch (target.kind) {
    case TreeItemKind::LampSystem:
        if (index < room.m_lampSystems.size())
            object = room.m_lampSystems[index];
        break;
    case TreeItemKind::Area:
        if (index < room.m_workSystems.size())
            object = room.m_workSystems[index];
        break;
    case TreeItemKind::Obstacle:
        if (index < room.m_obstacleSystems.size())
            object = room.m_obstacleSystems[index];
        break;
    default: break;
    }
    if (!object)
        return;

    target.doc->m_clipboardMarker = static_cast<std::int32_t>(kzev::kindOf(*object));
    const std::vector<std::uint8_t> payload = kzev::encodeClipboardObject(*object);
    if (const auto* system = std::get_if<CLampSystem>(&*object); system && system->m_nonRegular != 0)
        PutLampSystemText(payload, kzev::lampSystemTable(*target.doc, room, target.index, *system));
    // Without a folder of the user's own the system clipboard is the only way.
    (void)m_clipboardFile.write(payload);
}

void CMainFrame::PutLampSystemText(const std::vector<std::uint8_t>& payload, const std::string& table)
{
    (void)kzev::clipboard().setData(kzev::kClipboardObjectFormat, payload, table);
}

void CMainFrame::OnUpdateCopyLampSystem(kzev::CommandUi& ui)
{
    // Only an object of a folder is copied; with nothing selected there is nothing to copy.
    const kzev::TreeTarget target = kzev::treeTarget(*this);
    ui.Enable(target.room && !kzev::isFolder(target.kind) && target.kind != TreeItemKind::Room
        && kindOfFolder(target.kind) != ClipboardKind::None);
}

void CMainFrame::OnPasteLampSystem()
{
    const kzev::TreeTarget target = kzev::treeTarget(*this);
    if (!target.room || target.kind == TreeItemKind::Room)
        return;
    const std::optional<std::vector<std::uint8_t>> payload = clipboardPayload(m_clipboardFile);
    if (!payload)
        return;
    kzev::DecodedClipboard decoded = kzev::decodeClipboardObject(*payload);
    if (!decoded.object) {
        kzev::services().messageBox->show(decoded.refusal, kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
        return;
    }
    const ClipboardKind kind = kzev::kindOf(*decoded.object);
    target.doc->m_clipboardMarker = static_cast<std::int32_t>(kind);
    if (kindOfFolder(target.kind) != kind)
        return;
    const int roomIndex = target.roomIndex;
    const std::optional<int> index = kzev::pasteClipboardObject(*target.doc, roomIndex, std::move(*decoded.object));
    if (!index)
        return;
    switch (kind) {
    case ClipboardKind::LampSystem: workspace()->AddLampSystemItem(roomIndex, *index); break;
    case ClipboardKind::WorkSystem: workspace()->AddWorkSystemItem(roomIndex, *index); break;
    default: workspace()->AddObstacleSystemItem(roomIndex, *index); break;
    }
    const TreeItemKind folder = kzev::folderOf(kzev::objectKindOf(target.kind));
    if (QTreeWidgetItem* folderItem = projectTree()->folderItem(roomIndex, folder))
        projectTree()->setItemChecked(folderItem, true);
    m_view->showScene();
    m_view->refreshView(0, 1);
}

void CMainFrame::OnUpdatePasteLampSystem(kzev::CommandUi& ui)
{
    // Asked at every update of the menus: the file is read again only when it changed.
    std::optional<std::vector<std::uint8_t>> header = m_clipboardFile.header();
    if (!header)
        header = kzev::clipboard().data(kzev::kClipboardObjectFormat);
    const kzev::TreeTarget target = kzev::treeTarget(*this);
    if (!header || !target.room || target.kind == TreeItemKind::Room) {
        ui.Enable(false);
        return;
    }
    const std::optional<ClipboardKind> kind = kzev::clipboardKind(*header);
    CKzevDoc& doc = *target.doc;
    doc.m_clipboardMarker = static_cast<std::int32_t>(kind.value_or(ClipboardKind::None));
    // A payload that is not ours stays pasteable, so that the paste can say why nothing comes of it.
    ui.Enable(!kind || *kind == kindOfFolder(target.kind));
}
