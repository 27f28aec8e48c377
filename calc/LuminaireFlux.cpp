#include "calc/LuminaireFlux.h"

#include "calc/CalcCatalogue.h"
#include "model/CLampSystem.h"

namespace kzev {

std::optional<double> luminaireFlux(const CLampSystem& system, const CalcLuminaire& luminaire,
    const CalcCatalogue& catalogue)
{
    if (system.m_ownFlux == 1)
        return luminaire.lampCount * system.m_lampFlux;
    const CalcLamp* lamp = catalogue.lamp(system.m_lampIndex);
    if (!lamp)
        return std::nullopt;
    return luminaire.lampCount * lamp->flux;
}

} // namespace kzev
