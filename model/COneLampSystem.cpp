#include "model/COneLampSystem.h"

#include "platform/Archive.h"

namespace {
// Each factor is a raw double.
constexpr std::size_t kFactorBytes = 8;
constexpr std::int32_t kModeFactorsFrom = 1016;
} // namespace

void COneLampSystem::Serialize(kzev::Archive& ar)
{
    ar.io(m_switchedOff);
    if (ar.isStoring()) {
        ar.writeShortCount(static_cast<std::uint32_t>(m_modeFactors.size()));
        for (double factor : m_modeFactors)
            ar.writeDouble(factor);
    } else if (kzev::projectFileVersion() >= kModeFactorsFrom) {
        const std::uint32_t count = ar.readShortCount(kFactorBytes);
        m_modeFactors.clear();
        m_modeFactors.reserve(ar.reservable(count, sizeof(double)));
        for (std::uint32_t i = 0; i < count; ++i)
            m_modeFactors.push_back(ar.readDouble());
    }
    m_position.Serialize(ar);
    m_opticalAxis.Serialize(ar);
    m_c0Axis.Serialize(ar);
}

void COneLampSystem::FitModeFactors(std::size_t modeCount)
{
    m_modeFactors.resize(modeCount, 1.0);
}

double COneLampSystem::ModeFactor(std::size_t mode) const
{
    return mode < m_modeFactors.size() ? m_modeFactors[mode] : 0.0;
}
