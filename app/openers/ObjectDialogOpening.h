#pragma once

#include "app/frame/CMainFrame.h"
#include "app/tree/ProjectTreeLayout.h"

#include <QPointer>

namespace kzev {

/**
 * What follows the close of a modeless object dialog: the frame's bars come
 * back, a written object's tree item takes its name when that item is still
 * the selected one, and the view follows.
 */
void objectDialogClosed(CMainFrame& frame, TreeItemKind kind, int room, int index, bool written);

/**
 * Shows the modeless dialog of a room's object over the frame, with the
 * bars disabled until it closes; open holds it while it is open. Returns
 * null (and leaves the bars as they were) when the dialog cannot open.
 */
template <class Dialog>
Dialog* showObjectDialog(CMainFrame& frame, QPointer<Dialog>& open, Dialog* dialog, TreeItemKind kind, int room, int index)
{
    frame.EnableBars(1);
    if (!dialog->OnInitDialog()) {
        frame.EnableBars(0);
        delete dialog;
        return nullptr;
    }
    const QPointer<CMainFrame> owner(&frame);
    dialog->setClosedHandler([owner, &open, kind, room, index](bool written) {
        open = nullptr;
        if (owner)
            objectDialogClosed(*owner, kind, room, index, written);
    });
    open = dialog;
    dialog->setWindowIcon(frame.windowIcon());
    dialog->show();
    return dialog;
}

} // namespace kzev
