#pragma once

class CMainFrame;

namespace kzev {

/**
 * Runs the room property sheet of a room over the frame, modally; after an
 * accepted OK the room's tree label and the view follow. Returns whether
 * the room was written.
 */
bool openRoomSheet(CMainFrame& frame, int room);

} // namespace kzev
