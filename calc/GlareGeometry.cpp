#include "calc/GlareGeometry.h"

#include "model/CWorkSystem.h"

#include <cmath>

namespace kzev {

CVector viewingDirection(double azimuth, std::int32_t tilt)
{
    if (tilt == 90)
        return { 0.0, 0.0, 1.0 };
    if (tilt == -90)
        return { 0.0, 0.0, -1.0 };
    const double a = DegToRad(azimuth);
    return CVector { std::cos(a), std::sin(a), std::tan(DegToRad(tilt)) }.Normalized();
}

double directionAzimuth(const CWorkSystem& area, std::int32_t k)
{
    return static_cast<double>(area.m_firstDirection) + static_cast<double>(k) * area.m_directionStep;
}

} // namespace kzev
