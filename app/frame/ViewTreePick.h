#pragma once

#include "view/PlanMouse.h"

class CMainFrame;

namespace kzev {

/**
 * The project tree as the view's double click picks in it: the folder of the
 * selected (else drop-highlighted) item, and the selection of the picked
 * object's item followed by the frame's Properties command. An object whose
 * item is missing is not opened.
 */
[[nodiscard]] TreePickHooks treePickHooks(CMainFrame& frame);

} // namespace kzev
