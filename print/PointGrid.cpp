#include "print/PointGrid.h"

#include "model/CWorkSystem.h"
#include "model/ResultSummary.h"
#include "model/ResultValues.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cmath>

namespace kzev {

namespace {

constexpr double kZeroComponent = 1e-12;
constexpr int kDash = 61767;
constexpr int kValueFormat = 61493;

} // namespace

std::optional<int> pitchAxis(const CVector& pitch)
{
    std::optional<int> axis;
    const double components[] = { pitch.x, pitch.y, pitch.z };
    for (int k = 0; k < 3; ++k) {
        if (!(std::fabs(components[k]) > kZeroComponent))
            continue;
        if (axis)
            return std::nullopt;
        axis = k;
    }
    return axis;
}

std::optional<PointGridAxes> pointGridAxes(const CWorkSystem& area)
{
    PointGridAxes grid;
    grid.columns = static_cast<std::size_t>(std::max(area.m_count1, 0));
    grid.rows = static_cast<std::size_t>(std::max(area.m_count2, 0));
    if (grid.columns == 0 || grid.rows == 0 || grid.columns * grid.rows != area.m_points.size())
        return std::nullopt;
    const std::optional<int> columnAxis = pitchAxis(area.m_step1);
    const std::optional<int> rowAxis = pitchAxis(area.m_step2);
    if (!columnAxis || !rowAxis)
        return std::nullopt;
    grid.columnAxis = *columnAxis;
    grid.rowAxis = *rowAxis;
    return grid;
}

std::string PointGridAxes::cornerLabel() const
{
    return formatC("%c\\%c", axisLetter(rowAxis), axisLetter(columnAxis));
}

char axisLetter(int axis)
{
    return axis == 0 ? 'X' : axis == 1 ? 'Y' : 'Z';
}

double axisComponent(const CVector& v, int axis)
{
    return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

double pointValue(const CWorkSystem& area, std::size_t index)
{
    if (index >= area.m_points.size())
        return 0.0;
    if (keepsStoredFigures(area.m_quantityCode))
        return area.GetPointValue(static_cast<std::int32_t>(index));
    const CPointCalc& point = area.m_points[index];
    const CViewSettings& settings = area.m_viewSettings;
    double value = 0.0;
    if (settings.m_artificialOff != 1)
        value += point.value(CPointCalc::kHorizontal);
    if (settings.m_addDaylight == 1)
        value += settings.m_outdoorIlluminance * point.value(CPointCalc::kDaylightFactor) * 0.01;
    return value;
}

std::string pointValueText(const CWorkSystem& area, std::size_t index)
{
    if (index >= area.m_points.size() || area.m_points[index].m_off == 1)
        return loadString(kDash);
    const double value = pointValue(area, index);
    if (isNotComputedValue(area, value))
        return formatAreaValue(area, value);
    return formatC(loadString(kValueFormat).c_str(), value);
}

} // namespace kzev
