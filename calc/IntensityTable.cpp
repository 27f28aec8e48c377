#include "calc/IntensityTable.h"

#include "model/CLuminaire.h"

#include <algorithm>

namespace kzev {

IntensityTable::IntensityTable(const CLuminaire& luminaire)
    : m_values(static_cast<std::size_t>(CLuminaire::kPlanes) * kGammas + 1, 0.0)
    , m_firstGamma(luminaire.m_firstGamma)
    , m_lastGamma(luminaire.m_lastGamma)
{
    const std::size_t count = std::min(luminaire.m_intensity.size(), m_values.size() - 1);
    std::copy_n(luminaire.m_intensity.begin(), count, m_values.begin());
}

double IntensityTable::value(double c, double gamma) const
{
    CLuminaire::BringIntoTable(c, gamma);
    const int ci = static_cast<int>(c);
    const int gi = static_cast<int>(gamma);
    return read(static_cast<double>(ci * kGammas + gi), c - ci, gamma - gi, gamma);
}

} // namespace kzev
