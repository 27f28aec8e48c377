// Handlers of the frame's commands on derived lamp systems: a new derived
// system through the binding dialog, which offers each derivation with its
// axis or shift in view, and the cancelling of a binding. The document does the
// work (model/LampSystemBindings.h).

#include "app/frame/CMainFrame.h"

#include "app/frame/CommandUi.h"
#include "app/frame/FrameTreeTarget.h"
#include "app/tree/CWorkspaceBar.h"
#include "dialogs/CBindingDialog.h"
#include "model/CKzevDoc.h"
#include "model/LampSystemBindings.h"

using kzev::BindingType;
using kzev::TreeItemKind;

void CMainFrame::OnNewDerivedLampSystem()
{
    const kzev::TreeTarget target = kzev::treeTarget(*this);
    // Enter on the tree and the toolbar come here past the update handler.
    if (!target.isObject(TreeItemKind::LampSystem) || target.room->IsLampSystemLinked(target.index, 1))
        return;
    CBindingDialog dialog(kzev::bindingSettings(*target.doc), target.room->m_length, target.room->m_width,
        target.doc->m_unitMm, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const kzev::BindingSettings settings = dialog.settings();
    kzev::storeBindingSettings(*target.doc, settings);
    if (settings.bindingType >= 0 && settings.bindingType <= 3)
        deriveSelected(settings.bindingType);
}

void CMainFrame::deriveSelected(int bindingType)
{
    const kzev::TreeTarget target = kzev::treeTarget(*this);
    if (!target.isObject(TreeItemKind::LampSystem))
        return;
    const std::optional<int> index
        = kzev::deriveLampSystem(*target.doc, target.roomIndex, target.index, static_cast<BindingType>(bindingType));
    if (!index)
        return;
    workspace()->AddLampSystemItem(target.roomIndex, *index);
    workspace()->UpdateLampSystemIcons(target.roomIndex);
    m_view->showScene();
    m_view->refreshView(0, 1);
}

void CMainFrame::OnCancelBinding()
{
    const kzev::TreeTarget target = kzev::treeTarget(*this);
    if (!target.isObject(TreeItemKind::LampSystem) || !kzev::cancelBinding(*target.doc, target.roomIndex, target.index))
        return;
    workspace()->UpdateLampSystemIcons(target.roomIndex);
}

void CMainFrame::OnUpdateNewDerivedLampSystem(kzev::CommandUi& ui)
{
    const kzev::TreeTarget target = kzev::treeTarget(*this);
    ui.Enable(target.isObject(TreeItemKind::LampSystem) && !target.room->IsLampSystemLinked(target.index, 1));
}

void CMainFrame::OnUpdateCancelBinding(kzev::CommandUi& ui)
{
    const kzev::TreeTarget target = kzev::treeTarget(*this);
    ui.Enable(target.isObject(TreeItemKind::LampSystem) && target.room->IsLampSystemLinked(target.index, 1));
}
