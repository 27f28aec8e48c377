#include "calc/LuminaireFrame.h"

#include "model/COneLampSystem.h"

namespace kzev {

LuminaireFrame::LuminaireFrame(const COneLampSystem& luminaire)
    : m_reference(luminaire.m_c0Axis.Normalized())
    , m_optical(luminaire.m_opticalAxis.Normalized())
    , m_length(CrossProduct(m_reference, m_optical).Normalized())
{
}

PhotometricAngles LuminaireFrame::anglesTowards(const CVector& direction) const
{
    PhotometricAngles angles;
    angles.gamma = AngleBetween(direction, m_optical);
    const CVector k = CrossProduct(direction, m_optical);
    angles.c = AngleBetween(m_length, k);
    if (DotProduct(CrossProduct(m_length, k), m_optical) > 0.0)
        angles.c = 360.0 - angles.c;
    return angles;
}

} // namespace kzev
