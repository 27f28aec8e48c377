#include "app/openers/RoomSheetOpener.h"

#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "app/tree/CWorkspaceBar.h"
#include "dialogs/rooms/CDialogRoom.h"
#include "model/CKzevDoc.h"

namespace kzev {

bool openRoomSheet(CMainFrame& frame, int room)
{
    CKzevDoc* doc = theDocument();
    if (!doc || room < 0 || static_cast<std::size_t>(room) >= doc->m_rooms.size())
        return false;
    CDialogRoom dialog(*doc, room, &frame);
    dialog.setWindowIcon(frame.windowIcon());
    // The walls of an irregular outline stay whatever closes the sheet.
    dialog.setObstaclesAddedHandler([&frame, room](int first, int count) {
        if (CWorkspaceBar* workspace = frame.workspace()) {
            for (int k = 0; k < count; ++k)
                workspace->AddObstacleSystemItem(room, first + k);
        }
    });
    if (dialog.DoModal() != QDialog::Accepted)
        return false;
    if (CProjectTree* tree = frame.projectTree()) {
        if (QTreeWidgetItem* item = tree->roomItem(room))
            item->setText(0, QString::fromStdString(doc->m_rooms[static_cast<std::size_t>(room)].GetLabel()));
    }
    // The room just described is what the user wants to see: the start picture gives way to it.
    frame.OnTreeShowRoomSize();
    frame.view().showScene();
    frame.view().refreshView(1, 1);
    return true;
}

} // namespace kzev
