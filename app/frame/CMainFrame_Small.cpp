// The frame's remaining commands: the project dialog, named views, the folder
// settings, sorting the rooms and calculating every ticked room.

#include "app/frame/CMainFrame.h"

#include "app/frame/CommandUi.h"
#include "app/frame/FrameTreeTarget.h"
#include "app/tree/CProjectTree.h"
#include "app/tree/CWorkspaceBar.h"
#include "dialogs/project/CProjectDialog.h"
#include "dialogs/settings/CFolderSettingsDialog.h"
#include "model/CKzevDoc.h"
#include "model/ProjectProperties.h"
#include "platform/AppFolders.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "platform/qt/FileFilter.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {

constexpr int kNamedViewFilter = 62006;
constexpr int kCannotLoadView = 63545;
constexpr int kCannotSaveView = 63546;

QString namedViewStart(const std::string& name)
{
    const std::string folder = kzev::namedViewFolder(kzev::appFolders().PathData);
    return QString::fromStdString(folder + name);
}

/** The room of the tree's selection whose view settings a named view stores or replaces. */
CRoom* namedViewRoom(const CMainFrame& frame)
{
    const kzev::TreeTarget target = kzev::treeTarget(frame);
    return target.roomIndex >= 0 ? target.room : nullptr;
}

} // namespace

void CMainFrame::OnProjectProperties()
{
    CKzevDoc* doc = kzev::theDocument();
    if (!doc)
        return;
    CProjectDialog dialog(this);
    dialog.setFields(kzev::projectDialogFields(*doc, doc->m_now()));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int typeBefore = doc->m_projectType;
    const kzev::TreeTarget target = kzev::treeTarget(*this);
    kzev::applyProjectDialogFields(*doc, dialog.fields(), target.room);
    if (target.room && doc->m_projectType != typeBefore) {
        // An outdoor area is renamed, and every kind changes what the room computes.
        if (QTreeWidgetItem* item = projectTree()->roomItem(target.roomIndex))
            projectTree()->setItemText(item, target.room->GetLabel());
        m_view->refreshView(0, 1);
    }
}

void CMainFrame::OnUpdateProjectProperties(kzev::CommandUi& ui)
{
    const kzev::TreeTarget target = kzev::treeTarget(*this);
    ui.Enable(target.item != nullptr && CProjectTree::GetRootItem(target.item) != nullptr);
}

void CMainFrame::OnSaveNamedView()
{
    CRoom* room = namedViewRoom(*this);
    if (!room)
        return;
    QString path = QFileDialog::getSaveFileName(this, QString(), namedViewStart(room->m_viewSettings.m_title),
        kzev::qtFileFilter(kzev::loadString(kNamedViewFilter)));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".kzw");
    const kzev::WaitCursorGuard wait;
    try {
        (void)CKzevDoc::StoreObjectToFile(path.toStdString(), room->m_viewSettings);
    } catch (const std::exception&) {
        kzev::services().messageBox->show(kzev::formatC(kzev::loadString(kCannotSaveView).c_str(),
                                              path.toStdString().c_str()),
            kzev::MessageIcon::Error, kzev::MessageButtons::Ok);
    }
}

void CMainFrame::OnLoadNamedView()
{
    CRoom* room = namedViewRoom(*this);
    if (!room)
        return;
    const QString path = QFileDialog::getOpenFileName(this, QString(), namedViewStart(std::string()),
        kzev::qtFileFilter(kzev::loadString(kNamedViewFilter)));
    if (path.isEmpty())
        return;
    const kzev::WaitCursorGuard wait;
    CViewSettings loaded;
    try {
        (void)CKzevDoc::LoadObjectFromFile(path.toStdString(), loaded);
    } catch (const std::exception&) {
        kzev::services().messageBox->show(kzev::formatC(kzev::loadString(kCannotLoadView).c_str(),
                                              path.toStdString().c_str()),
            kzev::MessageIcon::Error, kzev::MessageButtons::Ok);
        return;
    }
    room->m_viewSettings = std::move(loaded);
    // The room's display is part of the project file: leaving without saving would lose it.
    kzev::theDocument()->SetModifiedFlag();
    m_view->refreshView(1, 1);
}

void CMainFrame::OnFolderSettings()
{
    CFolderSettingsDialog dialog(kzev::currentFolderSettings(), this);
    if (dialog.exec() == QDialog::Accepted)
        kzev::applyFolderSettings(dialog.folders());
}

void CMainFrame::OnSortRooms()
{
    CKzevDoc* doc = kzev::theDocument();
    if (!doc || doc->m_rooms.empty())
        return;
    const kzev::WaitCursorGuard wait;
    doc->SortRooms();
    // The order of the rooms is saved with the project.
    doc->SetModifiedFlag();
    workspace()->FillProjectTree();
    m_view->showScene();
    m_view->refreshView(0, 1);
}

void CMainFrame::OnUpdateSortRooms(kzev::CommandUi& ui)
{
    const CKzevDoc* doc = kzev::theDocument();
    ui.Enable(doc && !doc->m_rooms.empty());
}

void CMainFrame::OnRecalculateRooms()
{
    CProjectTree* tree = projectTree();
    if (!tree)
        return;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* room = tree->topLevelItem(i);
        tree->setCurrentItem(room);
        if (room->checkState(0) != Qt::Checked)
            continue;
        OnCalcStart();
        // "Přerušit výpočet" ends the whole round, not only the room being calculated.
        if (kzev::stopRequested())
            break;
        tree = projectTree();
    }
}
