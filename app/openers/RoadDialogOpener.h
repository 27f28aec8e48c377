#pragma once

class CMainFrame;

namespace kzev {

/**
 * Runs the road design dialog of a road's room over the frame, modally, and
 * on OK rebuilds the road from it (size, markings, calculation fields, the
 * row of luminaires); the project tree is filled anew and the view follows.
 * Returns whether the road was rebuilt.
 */
bool openRoadDialog(CMainFrame& frame, int room);

} // namespace kzev
