#pragma once

namespace kzev {

/**
 * Returns whether a frame command may run while a calculation runs. The
 * calculation holds the room it computes and the luminaire lists while it
 * lets window events through; only commands that look at the project (the
 * view, the bars, help, stop) are let in then. Everything else, and so every
 * command that changes or replaces the project, reorders rooms or closes the
 * window, is disabled and refused, its shortcut included.
 */
[[nodiscard]] bool availableWhileCalculating(int commandId);

} // namespace kzev
