#pragma once

#include <functional>

namespace kzev {

/**
 * Runs one command handler so that nothing it throws ends the program: an
 * exception (running out of memory included) becomes a message box. The
 * handlers keep the project as it was when they throw; this only reports.
 * Returns false when the handler threw.
 */
bool runCommandGuarded(const std::function<void()>& handler);

} // namespace kzev
