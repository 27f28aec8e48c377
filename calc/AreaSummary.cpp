#include "calc/AreaSummary.h"

#include "model/CRoom.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kzev {

namespace {

constexpr double kResetMinimum = 1e10;
constexpr int kSummedSlots = 14; // slot 14 is never written here

// The point value each summary slot takes; slot 5 is the horizontal value h.
constexpr std::array<int, kSummedSlots> kSlotValues { CPointCalc::kVerticalXPlus, CPointCalc::kVerticalXMinus,
    CPointCalc::kVerticalYPlus, CPointCalc::kVerticalYMinus, CPointCalc::kHorizontalZPlus, CPointCalc::kHorizontal,
    CPointCalc::kCylindrical, CPointCalc::kCamera, CPointCalc::kSpherical, CPointCalc::kNormalPlus,
    CPointCalc::kNormalMinus, CPointCalc::kEleventh, CPointCalc::kUgr, CPointCalc::kRoadLuminance };

constexpr std::int32_t kRoadLuminanceCode = 141;

// The horizontal value with the area's daylight options applied.
double horizontalValue(const CWorkSystem& area, const CPointCalc& point)
{
    const CViewSettings& view = area.m_viewSettings;
    double h = view.m_artificialOff == 0 ? point.value(CPointCalc::kHorizontal) : 0.0;
    if (view.m_addDaylight == 1)
        h += point.value(CPointCalc::kDaylightFactor) * view.m_outdoorIlluminance * 0.01;
    return h;
}

void resetSummary(CWorkSystem& area)
{
    for (int k = 0; k < kSummedSlots; ++k) {
        area.m_min[static_cast<std::size_t>(k)] = kResetMinimum;
        area.m_max[static_cast<std::size_t>(k)] = 0.0;
        area.m_avg[static_cast<std::size_t>(k)] = 0.0;
    }
    area.m_grMin = kResetMinimum;
    area.m_grAverage = 0.0;
    area.m_grMax = 0.0;
}

// Least road luminance over the second point of every row, divided by the
// mean of those values; 0 when the field has no second column or no light.
double longitudinalUniformity(const CWorkSystem& area)
{
    if (area.m_count1 < 1 || area.m_count2 < 2)
        return 0.0;
    double least = kResetMinimum;
    double sum = 0.0;
    std::int32_t rows = 0;
    for (std::int32_t i = 0; i < area.m_count1; ++i) {
        const std::size_t index = static_cast<std::size_t>(i) * static_cast<std::size_t>(area.m_count2) + 1;
        if (index >= area.m_points.size())
            break;
        const double v = area.m_points[index].value(CPointCalc::kRoadLuminance);
        least = std::min(least, v);
        sum += v;
        ++rows;
    }
    if (rows == 0)
        return 0.0;
    const double mean = sum / rows;
    return mean > 0.0 ? least / mean : 0.0;
}

} // namespace

std::vector<std::pair<std::size_t, std::size_t>> roadLanePairs(const CRoom& room)
{
    std::vector<std::pair<std::size_t, std::size_t>> pairs;
    const std::size_t count = room.m_workSystems.size();
    const std::int32_t n1 = room.m_roadLanes1;
    const std::int32_t n2 = room.m_roadLanes2;
    const auto add = [&](std::int64_t source, std::size_t target) {
        if (source >= 0 && static_cast<std::size_t>(source) < count && target < count)
            pairs.emplace_back(static_cast<std::size_t>(source), target);
    };
    const std::int64_t firstLane = n2 > 0 ? 2 : 1;
    for (std::int32_t i = 0; i < n1; ++i)
        add(firstLane + i, 0);
    const std::int64_t secondLane = n1 > 0 ? std::int64_t { n1 } + 2 : 1;
    const std::size_t secondTarget = n1 > 0 ? 1 : 0;
    for (std::int32_t i = 0; i < n2; ++i)
        add(secondLane + i, secondTarget);
    return pairs;
}

void mergeRoadLanes(CRoom& room)
{
    for (const auto& [sourceIndex, targetIndex] : roadLanePairs(room)) {
        // A lane without figures of the lighting as it is gives the carriageway nothing.
        if (sourceIndex == targetIndex || room.m_workSystems[sourceIndex].m_resultsStale == 1)
            continue;
        const CWorkSystem& source = room.m_workSystems[sourceIndex];
        CWorkSystem& target = room.m_workSystems[targetIndex];
        const std::size_t n = std::min(source.m_points.size(), target.m_points.size());
        for (std::size_t p = 0; p < n; ++p) {
            const double lane = source.m_points[p].value(CPointCalc::kRoadLuminance);
            double& carriageway = target.m_points[p].value(CPointCalc::kRoadLuminance);
            if (lane < carriageway)
                carriageway = lane;
        }
    }
}

void summarizeArea(CWorkSystem& area)
{
    resetSummary(area);
    double maintainedSum = 0.0;
    double initialSum = 0.0;
    std::size_t counted = 0;
    bool ugrMissing = false;
    bool grMissing = false;
    for (const CPointCalc& point : area.m_points) {
        if (point.m_off == 1)
            continue;
        ugrMissing = ugrMissing || CPointCalc::IsNotComputed(point.value(CPointCalc::kUgr));
        grMissing = grMissing || CPointCalc::IsNotComputed(point.value(CPointCalc::kGr));
        for (int k = 0; k < kSummedSlots; ++k) {
            const std::size_t slot = static_cast<std::size_t>(k);
            const double v = k == CWorkSystem::kSlotHorizontal ? horizontalValue(area, point)
                                                                : point.value(kSlotValues[slot]);
            if (v < area.m_min[slot])
                area.m_min[slot] = v;
            if (v > area.m_max[slot])
                area.m_max[slot] = v;
            area.m_avg[slot] += v;
        }
        const double gr = point.value(CPointCalc::kGr);
        area.m_grMin = std::min(area.m_grMin, gr);
        area.m_grMax = std::max(area.m_grMax, gr);
        area.m_grAverage += gr;
        maintainedSum += point.value(CPointCalc::kDirectMaintained) + point.value(CPointCalc::kReflectedMaintained);
        initialSum += point.value(CPointCalc::kDirectInitial) + point.value(CPointCalc::kReflectedInitial);
        ++counted;
    }
    if (counted == 0) {
        // Nothing to summarise: no uniformity of an earlier calculation is left standing.
        area.m_uniformity = 0.0;
        area.m_longitudinalUniformity = 0.0;
        return;
    }

    const double n = static_cast<double>(counted);
    for (int k = 0; k < kSummedSlots; ++k)
        area.m_avg[static_cast<std::size_t>(k)] /= n;
    area.m_grAverage /= n;
    // A glare figure over points of which one has none is no figure at all.
    if (ugrMissing) {
        area.m_min[CWorkSystem::kSlotUgr] = CPointCalc::kNotComputed;
        area.m_max[CWorkSystem::kSlotUgr] = CPointCalc::kNotComputed;
        area.m_avg[CWorkSystem::kSlotUgr] = CPointCalc::kNotComputed;
    }
    if (grMissing) {
        area.m_grMin = CPointCalc::kNotComputed;
        area.m_grMax = CPointCalc::kNotComputed;
        area.m_grAverage = CPointCalc::kNotComputed;
    }

    area.m_maintenanceRatio = initialSum > 0.0001 ? maintainedSum / initialSum : 0.0;

    // A dark area has no uniformity; 0 rather than the figure of an earlier calculation.
    const double meanHorizontal = area.m_avg[CWorkSystem::kSlotHorizontal];
    area.m_uniformity = std::fabs(meanHorizontal) > 0.001 ? area.m_min[CWorkSystem::kSlotHorizontal] / meanHorizontal
                                                          : 0.0;

    if (area.m_quantityCode == kRoadLuminanceCode) {
        const double meanLuminance = area.m_avg[CWorkSystem::kSlotRoadLuminance];
        if (std::fabs(meanLuminance) > 0.001)
            area.m_uniformity = area.m_min[CWorkSystem::kSlotRoadLuminance] / meanLuminance;
        area.m_longitudinalUniformity = longitudinalUniformity(area);
    }
}

void computeIlluminance(CRoom& room, ProjectType projectType, const ThresholdIncrementPass& thresholdIncrement)
{
    const bool roads = projectType == ProjectType::Roads;
    if (roads)
        mergeRoadLanes(room);

    for (CWorkSystem& area : room.m_workSystems)
        summarizeArea(area);

    if (!roads)
        return;
    // A field the pass does not reach (a lane, an area without the flag, no basis) shows that TI was not computed.
    for (CWorkSystem& area : room.m_workSystems) {
        area.m_thresholdIncrement = CPointCalc::kNotComputed;
        if (area.m_tiFlag != 0 && thresholdIncrement)
            thresholdIncrement(room, area);
    }
    for (const auto& [sourceIndex, targetIndex] : roadLanePairs(room)) {
        if (sourceIndex == targetIndex)
            continue;
        const CWorkSystem& source = room.m_workSystems[sourceIndex];
        CWorkSystem& target = room.m_workSystems[targetIndex];
        target.m_longitudinalUniformity = std::min(target.m_longitudinalUniformity, source.m_longitudinalUniformity);
        target.m_uniformity = std::min(target.m_uniformity, source.m_uniformity);
        target.m_thresholdIncrement = std::max(target.m_thresholdIncrement, source.m_thresholdIncrement);
    }
}

} // namespace kzev
