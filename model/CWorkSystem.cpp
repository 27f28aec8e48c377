#include "model/CWorkSystem.h"

#include "model/ModelLimits.h"
#include "model/Quantity.h"
#include "platform/Archive.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr std::int32_t kBindingFollows = 4;

// Rounds an angle in degrees as the old files expect: + 0.5, then toward zero.
// A corrupt vector can give no angle at all; it becomes 0 instead of an undefined cast.
std::int32_t roundedDegrees(double degrees)
{
    if (!std::isfinite(degrees))
        return 0;
    return static_cast<std::int32_t>(std::trunc(degrees + 0.5));
}

// Old files kept a single viewing vector; the directions are derived from it.
void deriveDirectionsFromViewVector(CWorkSystem& area)
{
    const CVector d = area.m_viewDirection;
    const CVector h{ d.x, d.y, 0.0 };
    double tilt = AngleBetween(h, d);
    if (d.z < 0.0)
        tilt = -tilt;
    area.m_tilt = roundedDegrees(tilt);
    area.m_firstDirection = roundedDegrees(std::fabs(AngleBetween(h, CVector{ 1.0, 0.0, 0.0 })));
    area.m_directionCount = 1;
    area.m_directionStep = 0;
}

} // namespace

CWorkSystem::CWorkSystem(std::uint32_t colour)
    : m_colour(colour)
{
}

double CWorkSystem::GetPointValue(std::int32_t index) const
{
    // A negative index is treated like one beyond the end: no point, no value.
    if (index < 0 || static_cast<std::size_t>(index) >= m_points.size())
        return 0.0;
    const double value = m_points[static_cast<std::size_t>(index)].value(kzev::pointValueOfQuantity(m_quantityCode));
    if (kzev::isDiffuseLuminance(m_quantityCode))
        return value * m_reflectance * kzev::kInversePi;
    return value;
}

std::int64_t CWorkSystem::GridPointCount() const
{
    return std::int64_t { std::max(m_count1, 0) } * std::int64_t { std::max(m_count2, 0) };
}

bool CWorkSystem::HasUsableGrid() const
{
    return kzev::arrayWithinLimits(kzev::ArrayKind::gridPoints, m_count1, m_count2)
        && (m_points.empty() || static_cast<std::int64_t>(m_points.size()) == GridPointCount());
}

CVector CWorkSystem::PointPosition(std::int32_t i, std::int32_t j) const
{
    return m_origin + static_cast<double>(i) * m_step1 + static_cast<double>(j) * m_step2;
}

void CWorkSystem::Serialize(kzev::Archive& ar)
{
    const bool storing = ar.isStoring();
    const std::int32_t version = storing ? kzev::kCurrentFileVersion : kzev::projectFileVersion();

    ar.io(m_name);
    ar.io(m_count1);
    ar.io(m_count2);
    ar.io(m_reflectance);
    ar.io(m_viewCode);
    ar.io(m_excluded);
    ar.io(m_normalMode);
    if (version >= 1012) {
        ar.io(m_extra1);
        ar.io(m_markingExcluded);
    }
    if (version >= 1013) {
        ar.io(m_colour);
        ar.io(m_surfaceKind);
        ar.io(m_obstacleNumber);
    }
    if (version >= 1016) {
        ar.io(m_surfaceNumber);
        ar.io(m_maintenanceRatio);
    }
    if (version >= 1018)
        ar.io(m_secondText);
    if (version >= 1019) {
        ar.io(m_extra3);
        ar.io(m_reflectedComponent);
        ar.io(m_tiFlag);
        ar.io(m_drivingDirection);
        ar.io(m_longitudinalUniformity);
        ar.io(m_uniformity);
    }

    // The camera slot 7 is never stored; slots 12 and 13 follow the blocks.
    for (SummaryBlock* block : { &m_min, &m_max, &m_avg }) {
        for (int slot = kSlotVerticalXPlus; slot <= kSlotEleventh; ++slot) {
            if (slot != kSlotCamera)
                ar.io((*block)[static_cast<std::size_t>(slot)]);
        }
    }
    for (SummaryBlock* block : { &m_min, &m_max, &m_avg }) {
        ar.io((*block)[kSlotUgr]);
        ar.io((*block)[kSlotRoadLuminance]);
    }
    if (version >= 1007) {
        ar.io(m_quantityCode);
        // The cylindrical figures again; loading keeps these second copies.
        ar.io(m_min[kSlotCylindrical]);
        ar.io(m_avg[kSlotCylindrical]);
        ar.io(m_max[kSlotCylindrical]);
    }
    if (version >= 1010) {
        ar.io(m_min[kSlotFifteenth]);
        ar.io(m_avg[kSlotFifteenth]);
        ar.io(m_max[kSlotFifteenth]);
    }
    if (version >= 1014) {
        ar.io(m_grMin);
        ar.io(m_grValue2);
        ar.io(m_grAverage);
        ar.io(m_grValue4);
        ar.io(m_grMax);
        ar.io(m_thresholdIncrement);
    }
    if (version >= 1022) {
        for (double& value : m_furtherDoubles)
            ar.io(value);
    }
    if (version >= 1015) {
        ar.io(m_tilt);
        ar.io(m_firstDirection);
        ar.io(m_directionCount);
        ar.io(m_directionStep);
        ar.io(m_extra2);
        if (!storing && (m_directionCount < 0 || m_directionCount > kzev::kMaxViewingDirections))
            throw kzev::ArchiveError("the area " + m_name + " has " + std::to_string(m_directionCount)
                    + " viewing directions",
                ar.position());
    }
    if (version >= 1016) {
        ar.io(m_bindingKind);
        ar.io(m_boundArea);
        m_bindingOffset.Serialize(ar);
        ar.io(m_modeIndex);
    }
    if (version >= 1021)
        m_viewSettings.Serialize(ar);

    kzev::serializePoints(ar, m_points);
    // Every drawing and calculation loop trusts the grid: one point per node, or none yet.
    if (!storing && !HasUsableGrid())
        throw kzev::ArchiveError("the area " + m_name + " has " + std::to_string(m_count1) + " x "
                + std::to_string(m_count2) + " nodes and " + std::to_string(m_points.size()) + " points",
            ar.position());

    m_origin.Serialize(ar);
    m_step1.Serialize(ar);
    m_step2.Serialize(ar);
    m_viewDirection.Serialize(ar);
    m_normal.Serialize(ar);
    if (version >= 1007)
        m_cameraPosition.Serialize(ar);

    if (!storing && version < 1015)
        deriveDirectionsFromViewVector(*this);
}

namespace kzev {

void moveBoundAreas(std::vector<CWorkSystem>& areas, std::int32_t current, const CVector& reference)
{
    for (std::size_t k = 0; k < areas.size(); ++k) {
        CWorkSystem& area = areas[k];
        if (static_cast<std::int32_t>(k) == current)
            continue;
        if (area.m_bindingKind == kBindingFollows && area.m_boundArea == current)
            area.m_origin = reference + area.m_bindingOffset;
    }
}

} // namespace kzev
