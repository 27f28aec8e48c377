#include "app/openers/LampSheetOpener.h"

#include "app/frame/CMainFrame.h"
#include "app/tree/CWorkspaceBar.h"
#include "dialogs/lamps/CDialogLamps.h"
#include "model/CKzevDoc.h"

#include <QPointer>

namespace kzev {

CDialogLamps* openLampSystemSheet(CMainFrame& frame, int room, int lampSystem)
{
    CKzevDoc* doc = theDocument();
    if (!doc)
        return nullptr;
    auto* sheet = new CDialogLamps(*doc, room, lampSystem, &frame);
    if (!sheet->OnInitDialog()) {
        delete sheet;
        return nullptr;
    }
    const QPointer<CMainFrame> owner(&frame);
    sheet->setClosedHandler([owner, room](bool) {
        if (!owner)
            return;
        owner->m_pLampSheet = nullptr;
        owner->EnableBars(0);
        if (CWorkspaceBar* bar = owner->workspace())
            bar->UpdateLampSystemIcons(room);
        owner->view().refreshView(0, 1);
    });
    frame.m_pLampSheet = sheet;
    sheet->setWindowIcon(frame.windowIcon());
    sheet->show();
    frame.EnableBars(1);
    return sheet;
}

} // namespace kzev
