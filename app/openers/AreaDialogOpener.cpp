#include "app/openers/AreaDialogOpener.h"

#include "app/openers/ObjectDialogOpening.h"
#include "dialogs/areas/CVisualTaskDialog.h"
#include "model/CKzevDoc.h"

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
    return showObjectDialog(
        frame, g_areaDialog, new CVisualTaskDialog(*doc, room, area, &frame), TreeItemKind::Area, room, area);
}

} // namespace kzev
