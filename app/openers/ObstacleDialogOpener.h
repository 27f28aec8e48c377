#pragma once

class CMainFrame;
class CObstacleDialog;

namespace kzev {

/**
 * Opens the obstacle system dialog of a room's obstacle system over the
 * frame, modeless, with the frame's bars disabled until it closes; then the
 * tree's label and the view follow. Returns null when the system does not
 * exist or a dialog is open already.
 */
CObstacleDialog* openObstacleSystemDialog(CMainFrame& frame, int room, int obstacle);

/** The open obstacle system dialog, if any. */
[[nodiscard]] CObstacleDialog* openObstacleDialog();

} // namespace kzev
