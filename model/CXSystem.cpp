#include "model/CXSystem.h"

#include "model/ModelLimits.h"
#include "model/NumberedName.h"
#include "platform/Archive.h"

#include <string>

namespace {

constexpr int kIdsObstacleSystemName = 61455; // "Soustava překážek %ld"

} // namespace

CXSystem::CXSystem(std::uint32_t colour)
    : m_name(kzev::numberedName(kIdsObstacleSystemName, 1))
    , m_colour(colour)
{
}

std::int64_t CXSystem::ObstacleCount() const
{
    if (m_count1 <= 0 || m_count2 <= 0)
        return 0;
    return static_cast<std::int64_t>(m_count1) * m_count2;
}

bool CXSystem::IsWithinLimits() const
{
    return kzev::arrayWithinLimits(kzev::ArrayKind::obstacles, m_count1, m_count2);
}

CVector CXSystem::ObstacleCorner(std::int32_t i, std::int32_t j) const
{
    return m_origin + static_cast<double>(i) * m_spacing1 + static_cast<double>(j) * m_spacing2;
}

void CXSystem::Serialize(kzev::Archive& ar)
{
    const std::int32_t version = ar.isStoring() ? kzev::kCurrentFileVersion : kzev::projectFileVersion();

    ar.io(m_name);
    ar.io(m_count1);
    ar.io(m_count2);
    ar.io(m_reflectance);
    ar.io(m_transmittance);
    ar.io(m_extra1);
    ar.io(m_rectangular);
    if (version >= 1010)
        ar.io(m_off);
    if (version >= 1013)
        ar.io(m_colour);
    // The flags of 1019 stand before the fields of 1016 in the file.
    if (version >= 1019) {
        ar.io(m_drawingFlag);
        ar.io(m_shadingFlag);
    }
    if (version >= 1016) {
        ar.io(m_noRay);
        ar.io(m_generalPitch);
        ar.io(m_extra4);
        m_seventhVector.Serialize(ar);
    }
    for (CVector* vector : { &m_origin, &m_edgeA, &m_edgeB, &m_edgeC, &m_spacing1, &m_spacing2 })
        vector->Serialize(ar);
    if (ar.isLoading() && !IsWithinLimits())
        throw kzev::ArchiveError("the obstacle system " + m_name + " has " + std::to_string(m_count1) + " x "
                + std::to_string(m_count2) + " obstacles",
            ar.position());
}
