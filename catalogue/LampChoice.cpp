#include "catalogue/LampChoice.h"

#include "model/CKzevDoc.h"

#include <cmath>

namespace kzev {

bool applyLampChoice(CKzevDoc& doc, CLampSystem& system, const LampChoice& choice)
{
    if (choice.hasLuminaire) {
        system.m_luminaireRecord = static_cast<std::int32_t>(choice.luminaireRecord);
        system.m_luminaireDatabase = static_cast<std::int32_t>(choice.luminaireMaker);
    }
    if (choice.hasLamp) {
        system.m_lampRecord = static_cast<std::int32_t>(choice.lampRecord);
        system.m_lampDatabase = static_cast<std::int32_t>(choice.lampMaker);
        system.m_catalogueGroup = static_cast<std::int32_t>(choice.lampSubgroup);
    }
    system.m_ownFlux = choice.ownFlux != 0 ? 1 : 0;
    // A flux typed beyond range (infinity, not a number) is not taken: the system keeps the flux it had.
    const bool fluxUsable = std::isfinite(choice.flux);
    if (fluxUsable)
        system.m_lampFlux = choice.flux;
    // The indexes are found again by identity; an entry is only ever appended, never rewritten.
    system.m_luminaireIndex = -1;
    system.m_lampIndex = -1;
    const bool luminaire = doc.ResolveLuminaire(system, 0) != 0;
    const bool lamp = doc.ResolveLamp(system, 0) != 0;
    if (system.m_ownFlux != 0 && fluxUsable)
        system.m_lampFlux = choice.flux;
    return luminaire && lamp;
}

} // namespace kzev
