#pragma once

class CDialogLamps;
class CMainFrame;

namespace kzev {

/**
 * Opens the lamp-system sheet of a room's lamp system over the frame,
 * modeless. The frame keeps it as its open sheet and its bars are disabled
 * while it is open, so that nothing removes the lamp system under it; when
 * it closes the bars come back and the tree and the view follow. Returns
 * null when the lamp system does not exist.
 */
CDialogLamps* openLampSystemSheet(CMainFrame& frame, int room, int lampSystem);

} // namespace kzev
