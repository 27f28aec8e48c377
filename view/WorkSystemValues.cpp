#include "view/WorkSystemValues.h"

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

} // namespace

double gridPointValue(const CWorkSystem& area, const CPointCalc& point)
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

double areaMaximum(const CWorkSystem& area)
{
    const std::int32_t code = area.m_quantityCode;
    const int slot = summarySlotOfQuantity(code);
    double maximum = slot < 0 ? area.m_grMax : area.m_max[static_cast<std::size_t>(slot)];
    if (isDiffuseLuminance(code))
        maximum *= area.m_reflectance * kInversePi;
    return maximum;
}

} // namespace kzev
