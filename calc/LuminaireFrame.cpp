#include "calc/LuminaireFrame.h"

#include "model/COneLampSystem.h"

namespace kzev {

LuminaireFrame::LuminaireFrame(const COneLampSystem& luminaire)
    : m_reference(luminaire.m_c0Axis.Normalized())
    , m_optical(luminaire.m_opticalAxis.Normalized())
    , m_length(CrossProduct(m_reference, m_optical).Normalized())
    , m_c0(CrossProduct(m_optical, m_length))
    , m_opticalLength(m_optical.Length())
{
}

} // namespace kzev
