#include "calc/IsolineGrid.h"

#include "model/CPointCalc.h"
#include "model/CWorkSystem.h"
#include "model/Quantity.h"

namespace kzev {

namespace {

bool hasOwnValue(std::int32_t code)
{
    switch (code) {
    case 89: case 91: case 93: case 95: case 96: case 97: case 98:
    case 126: case 127: case 128: case 141: case 160: case 161: case 168:
        return true;
    default:
        return false;
    }
}

// Every s-th point so that at most kMaxPoints remain; s = 1 for areas that fit.
std::int32_t strideFor(std::int32_t count)
{
    return count <= IsolineGrid::kMaxPoints ? 1 : (count + IsolineGrid::kMaxPoints - 1) / IsolineGrid::kMaxPoints;
}

} // namespace

double areaPointValue(const CWorkSystem& area, const CPointCalc& point)
{
    const std::int32_t code = area.m_quantityCode;
    if (hasOwnValue(code))
        return point.value(pointValueOfQuantity(code));
    if (isDiffuseLuminance(code))
        return point.value(pointValueOfQuantity(code)) * area.m_reflectance * kInversePi;
    const CViewSettings& settings = area.m_viewSettings;
    double value = 0.0;
    if (settings.m_artificialOff != 1)
        value += point.value(CPointCalc::kHorizontal);
    if (settings.m_addDaylight == 1)
        value += point.value(CPointCalc::kDaylightFactor) * settings.m_outdoorIlluminance * 0.01;
    return value;
}

void IsolineGrid::load(const CWorkSystem& area)
{
    m_countI = 0;
    m_countJ = 0;
    m_strideI = 1;
    m_strideJ = 1;
    const std::int32_t count1 = area.m_count1;
    const std::int32_t count2 = area.m_count2;
    if (count1 <= 0 || count2 <= 0)
        return;
    const std::size_t promised = static_cast<std::size_t>(count1) * static_cast<std::size_t>(count2);
    if (area.m_points.size() < promised)
        return;

    m_strideI = strideFor(count1);
    m_strideJ = strideFor(count2);
    m_countI = (count1 - 1) / m_strideI + 1;
    m_countJ = (count2 - 1) / m_strideJ + 1;
    m_origin = area.m_origin;
    m_step1 = static_cast<double>(m_strideI) * area.m_step1;
    m_step2 = static_cast<double>(m_strideJ) * area.m_step2;

    switch (area.m_viewCode) {
    case 114:
    case 116:
        m_x0 = m_origin.x;
        m_y0 = m_origin.z;
        m_dx = m_step1.x;
        m_dy = m_step2.z;
        break;
    case 115:
    case 117:
        m_x0 = m_origin.y;
        m_y0 = m_origin.z;
        m_dx = m_step1.y;
        m_dy = m_step2.z;
        break;
    default:
        m_x0 = m_origin.x;
        m_y0 = m_origin.y;
        m_dx = m_step1.x;
        m_dy = m_step2.y;
        break;
    }

    const std::size_t size = static_cast<std::size_t>(m_countI) * static_cast<std::size_t>(m_countJ);
    m_values.resize(size);
    m_obstructed.resize(size);
    for (std::int32_t i = 0; i < m_countI; ++i) {
        for (std::int32_t j = 0; j < m_countJ; ++j) {
            const std::size_t k = static_cast<std::size_t>(i * m_strideI) * static_cast<std::size_t>(count2)
                + static_cast<std::size_t>(j * m_strideJ);
            const CPointCalc& point = area.m_points[k];
            m_values[index(i, j)] = areaPointValue(area, point);
            m_obstructed[index(i, j)] = point.m_off == 1 ? 1 : 0;
        }
    }
}

CVector IsolineGrid::roomPoint(double u, double v) const
{
    return m_origin + u * m_step1 + v * m_step2;
}

} // namespace kzev
