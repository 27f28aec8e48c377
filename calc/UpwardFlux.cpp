#include "calc/UpwardFlux.h"

#include "calc/CalcCatalogue.h"
#include "calc/LuminaireFlux.h"
#include "model/CRoom.h"

#include <cmath>

namespace kzev {

double lampSystemZonalIntensity(const CLampSystem& system, std::int32_t startElevation,
    const CalcCatalogue& catalogue)
{
    if (system.m_switchedOff == 1)
        return 0.0;
    const CLuminaire* luminaire = catalogue.luminaire(system.m_luminaireIndex);
    if (!luminaire)
        return 0.0;
    const std::optional<double> flux = luminaireFlux(system, *luminaire, catalogue);
    if (!flux)
        return 0.0;
    const double k = *flux;

    double sum = 0.0;
    for (const COneLampSystem& position : system.m_luminaires) {
        if (position.m_switchedOff == 1)
            continue;
        const CVector u = position.m_opticalAxis.Normalized();
        const CVector w = position.m_c0Axis.Normalized();
        const CVector n = CrossProduct(w, u).Normalized();
        for (std::int32_t e = startElevation; e <= 89; e += 2) {
            const double elevation = DegToRad(e);
            const double horizontal = std::fabs(std::cos(elevation));
            const double vertical = std::sin(elevation);
            for (std::int32_t a = 1; a <= 359; a += 2) {
                const double azimuth = DegToRad(a);
                const CVector d = 10.0 * CVector { std::cos(azimuth) * horizontal, std::sin(azimuth) * horizontal, vertical };
                const double gamma = AngleBetween(d, u);
                const CVector plane = CrossProduct(d, u);
                double c = AngleBetween(n, plane);
                if (DotProduct(CrossProduct(n, plane), u) > 0.0)
                    c = 360.0 - c;
                sum += luminaire->GetIntensity(c, gamma) * horizontal * k * 0.001;
            }
        }
    }
    return sum;
}

double sumZonalIntensity(const CRoom& room, std::int32_t startElevation, const CalcCatalogue& catalogue)
{
    double sum = 0.0;
    for (const CLampSystem& system : room.m_lampSystems)
        sum += lampSystemZonalIntensity(system, startElevation, catalogue);
    return sum;
}

double upwardFluxShare(const CRoom& room, const CalcCatalogue& catalogue)
{
    const double all = sumZonalIntensity(room, -89, catalogue);
    if (!(all > 0.0))
        return 0.0;
    return sumZonalIntensity(room, 1, catalogue) / all;
}

} // namespace kzev
