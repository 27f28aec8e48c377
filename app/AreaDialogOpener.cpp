#include "app/AreaDialogOpener.h"

#include "app/CMainFrame.h"
#include "app/CProjectTree.h"
#include "dialogs/areas/CVisualTaskDialog.h"
#include "model/CKzevDoc.h"

#include <QPointer>

namespace kzev {

namespace {

QPointer<CVisualTaskDialog> g_areaDialog;

} // namespace

CVisualTaskDialog* openAreaDialog() { return g_areaDialog.data(); }

CVisualTaskDialog* openVisualTaskDialog(CMainFrame& frame, int room, int area)
{
    CKzevDoc* doc = theDocument();
    if (!doc || g_areaDialog)
        return nullptr;
    auto* dialog = new CVisualTaskDialog(*doc, room, area, &frame);
    frame.EnableBars(1);
    if (!dialog->OnInitDialog()) {
        frame.EnableBars(0);
        delete dialog;
        return nullptr;
    }
    const QPointer<CMainFrame> owner(&frame);
    dialog->setClosedHandler([owner, room, area](bool written) {
        g_areaDialog = nullptr;
        if (!owner)
            return;
        // The bars come back however the dialog ended, with or without a tree selection.
        owner->EnableBars(0);
        CKzevDoc* document = theDocument();
        CProjectTree* tree = owner->projectTree();
        QTreeWidgetItem* item = tree ? tree->selectedOrDropHighlighted() : nullptr;
        if (written && document && item) {
            const TreeObject object = CProjectTree::objectOf(item);
            const CRoom& r = document->m_rooms[static_cast<std::size_t>(room)];
            if (object.kind == TreeItemKind::Area && object.room == room && object.index == area
                && static_cast<std::size_t>(area) < r.m_workSystems.size())
                item->setText(0, QString::fromStdString(r.m_workSystems[static_cast<std::size_t>(area)].m_name));
        }
        owner->view().refreshView(0, 1);
    });
    g_areaDialog = dialog;
    dialog->setWindowIcon(frame.windowIcon());
    dialog->show();
    return dialog;
}

} // namespace kzev
