#include "calc/LuminaireFlux.h"

#include "calc/CalcCatalogue.h"
#include "model/CLampSystem.h"

namespace kzev {

std::optional<double> luminaireFlux(const CLampSystem& system, const CLuminaire& luminaire,
    const CalcCatalogue& catalogue)
{
    if (system.m_ownFlux == 1)
        return luminaire.m_numberOfLamps * system.m_lampFlux;
    const CLamp* lamp = catalogue.lamp(system.m_lampIndex);
    if (!lamp)
        return std::nullopt;
    return luminaire.m_numberOfLamps * lamp->m_luminousFlux;
}

} // namespace kzev
