#include "app/openers/ObstacleDialogOpener.h"

#include "app/openers/ObjectDialogOpening.h"
#include "dialogs/obstacles/CObstacleDialog.h"
#include "model/CKzevDoc.h"

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
    return showObjectDialog(frame, g_obstacleDialog, new CObstacleDialog(*doc, room, obstacle, &frame),
        TreeItemKind::Obstacle, room, obstacle);
}

} // namespace kzev
