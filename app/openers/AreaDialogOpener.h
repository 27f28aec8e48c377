#pragma once

class CMainFrame;
class CVisualTaskDialog;

namespace kzev {

/**
 * Opens the visual-task area dialog of a room's area over the frame,
 * modeless, with the frame's bars disabled until it closes; then the tree's
 * label and the view follow. Returns null when the area does not exist or a
 * dialog is open already.
 */
CVisualTaskDialog* openVisualTaskDialog(CMainFrame& frame, int room, int area);

/** The open area dialog, if any. */
[[nodiscard]] CVisualTaskDialog* openAreaDialog();

} // namespace kzev
