#include "app/ObstacleDialogOpener.h"

#include "app/CMainFrame.h"
#include "app/CProjectTree.h"
#include "dialogs/obstacles/CObstacleDialog.h"
#include "model/CKzevDoc.h"

#include <QPointer>

namespace kzev {

namespace {

QPointer<CObstacleDialog> g_obstacleDialog;

} // namespace

CObstacleDialog* openObstacleDialog() { return g_obstacleDialog.data(); }

CObstacleDialog* openObstacleSystemDialog(CMainFrame& frame, int room, int obstacle)
{
    CKzevDoc* doc = theDocument();
    if (!doc || g_obstacleDialog)
        return nullptr;
    auto* dialog = new CObstacleDialog(*doc, room, obstacle, &frame);
    frame.EnableBars(1);
    if (!dialog->OnInitDialog()) {
        frame.EnableBars(0);
        delete dialog;
        return nullptr;
    }
    const QPointer<CMainFrame> owner(&frame);
    dialog->setClosedHandler([owner, room, obstacle](bool written) {
        g_obstacleDialog = nullptr;
        if (!owner)
            return;
        owner->EnableBars(0);
        CKzevDoc* document = theDocument();
        CProjectTree* tree = owner->projectTree();
        QTreeWidgetItem* item = tree ? tree->selectedOrDropHighlighted() : nullptr;
        if (written && document && item) {
            const TreeObject object = CProjectTree::objectOf(item);
            const CRoom& r = document->m_rooms[static_cast<std::size_t>(room)];
            if (object.kind == TreeItemKind::Obstacle && object.room == room && object.index == obstacle
                && static_cast<std::size_t>(obstacle) < r.m_obstacleSystems.size())
                item->setText(0, QString::fromStdString(r.m_obstacleSystems[static_cast<std::size_t>(obstacle)].m_name));
        }
        owner->view().refreshView(0, 1);
    });
    g_obstacleDialog = dialog;
    dialog->setWindowIcon(frame.windowIcon());
    dialog->show();
    return dialog;
}

} // namespace kzev
