#include "calc/LuminaireFlux.h"

#include "calc/CalcCatalogue.h"
#include "model/CLampSystem.h"
#include "model/CRoom.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

namespace kzev {

namespace {

constexpr int kUnresolvedLampSystemId = 63901;

} // namespace

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

std::optional<std::vector<LitLampSystem>> litLampSystems(const CRoom& room, const CalcCatalogue& catalogue)
{
    std::vector<LitLampSystem> lit;
    for (const CLampSystem& system : room.m_lampSystems) {
        if (system.m_switchedOff == 1)
            continue;
        CLuminaire* luminaire = catalogue.luminaire(system.m_luminaireIndex);
        const std::optional<double> flux = luminaire ? luminaireFlux(system, *luminaire, catalogue) : std::nullopt;
        if (!luminaire || !flux) {
            services().messageBox->show(formatC(loadString(kUnresolvedLampSystemId).c_str(), system.m_name.c_str()),
                MessageIcon::Error, MessageButtons::Ok);
            return std::nullopt;
        }
        lit.push_back({ &system, luminaire, *flux });
    }
    return lit;
}

double outputInMode(const COneLampSystem& position, std::int32_t mode)
{
    if (mode < 0 || position.m_switchedOff == 1)
        return 0.0;
    const double k = position.ModeFactor(static_cast<std::size_t>(mode));
    return k > 0.001 ? k : 0.0;
}

} // namespace kzev
