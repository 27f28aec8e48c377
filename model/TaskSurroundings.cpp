#include "model/TaskSurroundings.h"

#include "model/RoadSetup.h"
#include "platform/StringTable.h"

#include <cstddef>

namespace kzev {

namespace {

constexpr int kSurroundingsWord = 61964; // "okolí"
constexpr int kNoPoints = 63538;
constexpr int kNegativeBand = 63539;
constexpr int kTooManyPoints = 63540;

} // namespace

std::string taskSurroundingsRefusal(const CWorkSystem& task, double bandWidth)
{
    // The new steps divide by the counts.
    if (task.m_count1 < 1 || task.m_count2 < 1)
        return loadString(kNoPoints);
    if (!(bandWidth >= 0.0))
        return loadString(kNegativeBand);
    const std::int64_t points = (std::int64_t { task.m_count1 } + 1) * (std::int64_t { task.m_count2 } + 1);
    if (points > CWorkSystem::kMaxPoints)
        return loadString(kTooManyPoints);
    return {};
}

CWorkSystem taskSurroundings(const CWorkSystem& task, int taskIndex, double bandWidth)
{
    CWorkSystem band = task;
    band.m_name = task.m_name + " - " + loadString(kSurroundingsWord);

    const CVector u = task.m_step1.Normalized();
    const CVector v = task.m_step2.Normalized();
    const double half = bandWidth / 2.0;
    const std::int32_t c1 = task.m_count1;
    const std::int32_t c2 = task.m_count2;
    band.m_origin = task.m_origin - half * u - half * v;
    band.m_count1 = c1 + 1;
    band.m_step1 = (1.0 / c1) * (static_cast<double>(c1 - 1) * task.m_step1 + bandWidth * u);
    band.m_count2 = c2 + 1;
    band.m_step2 = (1.0 / c2) * (static_cast<double>(c2 - 1) * task.m_step2 + bandWidth * v);

    // Only the ring around the task area is calculated.
    band.m_points.assign(static_cast<std::size_t>(band.m_count1) * static_cast<std::size_t>(band.m_count2),
        CPointCalc {});
    for (std::int32_t i = 0; i < band.m_count1; ++i) {
        for (std::int32_t j = 0; j < band.m_count2; ++j) {
            const bool border = i == 0 || j == 0 || i == band.m_count1 - 1 || j == band.m_count2 - 1;
            band.m_points[static_cast<std::size_t>(i) * band.m_count2 + j].m_off = border ? 0 : 1;
        }
    }

    band.m_bindingKind = kSurroundingsKind;
    band.m_boundArea = taskIndex;
    // Moving the task area moves its surroundings by this offset.
    band.m_bindingOffset = band.m_origin - task.m_origin;
    // The obstacle test would switch the inner points on again.
    band.m_markingExcluded = 1;
    band.m_extra3 = 1;
    band.m_reflectedComponent = 1;
    showOwnQuantity(band.m_viewSettings, band.m_quantityCode);
    return band;
}

} // namespace kzev
