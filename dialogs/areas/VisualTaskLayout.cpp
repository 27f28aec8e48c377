#include "dialogs/areas/VisualTaskLayout.h"

#include "platform/StringTable.h"

#include <algorithm>
#include <cmath>

namespace kzev {

bool layOutByCadCorners(CWorkSystem& area, const CadCorners& corners, const CVector& roomOrigin, bool millimetres)
{
    const double pitch1 = area.m_step1.Length();
    const double pitch2 = area.m_step2.Length();
    if (pitch1 < 0.0001 || pitch2 < 0.0001)
        return false;
    const double unit = millimetres ? 0.001 : 1.0;
    // Whichever corner the user took first, the grid runs from the lower left one.
    const double dx = std::abs(corners.x2 - corners.x1) * unit;
    const double dy = std::abs(corners.y2 - corners.y1) * unit;
    // A count past the limit stays just past it, so that OK names the limit.
    const auto count = [](double span, double pitch) {
        return static_cast<std::int32_t>(std::min(span / pitch + 0.5, kMaxAreaPointsPerRow + 1.0));
    };
    area.m_count1 = count(dx, pitch1);
    area.m_count2 = count(dy, pitch2);
    area.m_origin.x = std::min(corners.x1, corners.x2) * unit + (area.m_step1.x + area.m_step2.x) * 0.5 - roomOrigin.x;
    area.m_origin.y = std::min(corners.y1, corners.y2) * unit + (area.m_step1.y + area.m_step2.y) * 0.5 - roomOrigin.y;
    return true;
}

std::vector<std::pair<std::string, std::int32_t>> quantityChoices()
{
    std::vector<std::pair<std::string, std::int32_t>> choices;
    const std::string illuminance = loadString(61980);
    const auto named = [&](int id, std::int32_t code) {
        std::string name = loadString(id);
        if (!name.empty() && name[0] >= 'A' && name[0] <= 'Z')
            name[0] = static_cast<char>(name[0] - 'A' + 'a');
        choices.emplace_back(illuminance + " " + name, code);
    };
    const std::pair<int, std::int32_t> planes[] = { { 61833, 126 }, { 61834, 127 }, { 61835, 128 }, { 61836, 91 },
        { 61837, 93 }, { 61838, 94 }, { 61839, 97 }, { 61840, 98 }, { 61841, 95 }, { 61842, 96 }, { 61949, 160 } };
    for (const auto& [id, code] : planes)
        named(id, code);
    const std::pair<int, std::int32_t> others[] = { { 61843, 141 }, { 61981, 89 }, { 61988, 161 }, { 62033, 166 },
        { 62034, 167 }, { 62037, 168 } };
    for (const auto& [id, code] : others)
        choices.emplace_back(loadString(id), code);
    return choices;
}

QuantityControls controlsFor(std::int32_t quantityCode)
{
    switch (quantityCode) {
    case 89: return { true, false, true, false };
    case 161: return { true, false, false, false };
    case 160:
    case 141: return { false, true, false, false };
    default: return { false, false, false, quantityCode == 168 };
    }
}

bool holdsDaylightValues(const CWorkSystem& area)
{
    if (area.m_viewSettings.m_addDaylight != 1)
        return false;
    return std::any_of(area.m_points.begin(), area.m_points.end(),
        [](const CPointCalc& p) { return p.value(CPointCalc::kDaylightFactor) != 0.0; });
}

} // namespace kzev
