#pragma once

#include "platform/CadAutomation.h"
#include "platform/CadDesktop.h"

namespace kzev {

/**
 * The two seams through which the CAD link reaches a CAD program. The
 * application installs the drawing window's at start-up; tests install the
 * recording fake. With none installed the desktop shows no CAD program and
 * no automation class is registered.
 */
struct CadLink {
    ICadDesktop* desktop = nullptr;
    ICadAutomation* automation = nullptr;
};

/** Returns the installed seams; members are never null. */
[[nodiscard]] CadLink& cadLink();

/** Installs seams for the rest of the process (null members keep the current ones). */
void installCadLink(const CadLink& replacement);

/** Installs seams for its lifetime and restores the previous ones. */
class ScopedCadLink {
public:
    explicit ScopedCadLink(const CadLink& replacement);
    ~ScopedCadLink();
    ScopedCadLink(const ScopedCadLink&) = delete;
    ScopedCadLink& operator=(const ScopedCadLink&) = delete;

private:
    CadLink m_previous;
};

} // namespace kzev
