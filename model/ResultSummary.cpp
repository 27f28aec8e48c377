#include "model/ResultSummary.h"

#include "model/CPointCalc.h"
#include "model/CRoom.h"
#include "model/CWorkSystem.h"
#include "model/Quantity.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <limits>

namespace kzev {

namespace {

constexpr double kLineThreshold = 0.00001;
constexpr std::int32_t kOutdoorSpaces = 1;

constexpr int kLineIlluminance = 61940;
constexpr int kLineGiven = 61961;
constexpr int kLineUgr = 61967;
constexpr int kLineGr = 61989;
constexpr int kLineRoad = 62015;
constexpr int kLineOutdoor = 62027;
constexpr int kLineDiffuse = 62035;

struct QuantityName {
    std::int32_t code;
    int stringId;
};

constexpr QuantityName kNames[] = {
    { 89, 61981 }, { 91, 61836 }, { 93, 61837 }, { 95, 61841 }, { 96, 61842 }, { 97, 61839 }, { 98, 61840 },
    { 126, 61833 }, { 127, 61834 }, { 128, 61835 }, { 141, 61843 }, { 160, 61949 }, { 161, 61988 },
    { 166, 62033 }, { 167, 62034 }, { 168, 62037 },
};
constexpr int kHorizontalName = 61838;

// A glare line (limit, then minimum, mean, maximum): a glare figure that could not be computed shows as "–".
std::string glareLine(int stringId, double limit, const SummaryFigures& f)
{
    std::string pattern = loadString(stringId);
    if (!CPointCalc::IsNotComputed(f.maximum))
        return formatC(pattern.c_str(), limit, f.minimum, f.mean, f.maximum);
    const std::string figure = "%1.1lf";
    std::size_t at = pattern.find('%');
    at = at == std::string::npos ? at : pattern.find('f', at);
    while (at != std::string::npos && (at = pattern.find(figure, at)) != std::string::npos) {
        pattern.replace(at, figure.size(), "\u2013");
        at += 3;
    }
    return formatC(pattern.c_str(), limit);
}

// The pattern with its conversion number `index` (from 0, "%%" not counted) written as "–".
std::string withDash(std::string pattern, int index)
{
    for (std::size_t at = pattern.find('%'); at != std::string::npos; at = pattern.find('%', at)) {
        if (at + 1 < pattern.size() && pattern[at + 1] == '%') {
            at += 2;
            continue;
        }
        const std::size_t end = pattern.find_first_of("diouxXeEfFgGaAcsp", at + 1);
        if (end == std::string::npos)
            break;
        if (index-- == 0) {
            pattern.replace(at, end + 1 - at, "\u2013");
            break;
        }
        at = end + 1;
    }
    return pattern;
}

// The road line; a threshold increment nothing computed (a lane, an area without the flag) shows as "–".
std::string roadLine(const SummaryFigures& f, const CWorkSystem& area, double z)
{
    const std::string pattern = loadString(kLineRoad);
    if (!CPointCalc::IsNotComputed(area.m_thresholdIncrement))
        return formatC(pattern.c_str(), f.minimum, f.mean, f.maximum, area.m_uniformity,
            area.m_longitudinalUniformity, area.m_thresholdIncrement, z);
    constexpr int kThresholdIncrementField = 5;
    return formatC(withDash(pattern, kThresholdIncrementField).c_str(), f.minimum, f.mean, f.maximum,
        area.m_uniformity, area.m_longitudinalUniformity, z);
}

// The display switch of the area's own view settings for its quantity.
bool quantityShown(const CWorkSystem& area)
{
    const CViewSettings& settings = area.m_viewSettings;
    switch (area.m_quantityCode) {
    case 89: return settings.m_showUgr == 1;
    case 141: return settings.m_showRoadLuminance == 1;
    case 161: return settings.m_showGr == 1;
    default: return settings.m_showIlluminance == 1;
    }
}

double ratio(double numerator, double denominator)
{
    return numerator / denominator;
}

} // namespace

bool keepsStoredFigures(std::int32_t code)
{
    switch (code) {
    case 89: case 91: case 93: case 95: case 96: case 97: case 98: case 126: case 127: case 128:
    case 141: case 160: case 161: case 166: case 167: case 168:
        return true;
    default:
        return false;
    }
}

ResultKind resultKindOf(std::int32_t code)
{
    switch (code) {
    case 141: return ResultKind::RoadLuminance;
    case 89: return ResultKind::Ugr;
    case 161: return ResultKind::Gr;
    default: return ResultKind::Illuminance;
    }
}

std::string GetQuantityName(std::int32_t code)
{
    for (const QuantityName& name : kNames) {
        if (name.code == code)
            return loadString(name.stringId);
    }
    return loadString(kHorizontalName);
}

SummaryFigures storedSummaryFigures(const CWorkSystem& area)
{
    const std::int32_t code = area.m_quantityCode;
    if (code == quantityCode(Quantity::Gr))
        return { area.m_grMin, area.m_grAverage, area.m_grMax };
    const auto slot = static_cast<std::size_t>(summarySlotOfQuantity(code));
    SummaryFigures figures { area.m_min[slot], area.m_avg[slot], area.m_max[slot] };
    if (isDiffuseLuminance(code)) {
        const double factor = area.m_reflectance * kInversePi;
        figures = { figures.minimum * factor, figures.mean * factor, figures.maximum * factor };
    }
    return figures;
}

SummaryFigures summaryFigures(const CWorkSystem& area)
{
    if (keepsStoredFigures(area.m_quantityCode))
        return storedSummaryFigures(area);
    const CViewSettings& settings = area.m_viewSettings;
    double minimum = 1e12;
    double maximum = 0.0;
    double sum = 0.0;
    std::size_t count = 0;
    for (const CPointCalc& point : area.m_points) {
        if (point.m_off == 1)
            continue;
        double value = settings.m_artificialOff == 1 ? 0.0 : point.value(CPointCalc::kHorizontal);
        if (settings.m_addDaylight == 1)
            value += settings.m_outdoorIlluminance * point.value(CPointCalc::kDaylightFactor) * 0.01;
        if (value < minimum)
            minimum = value;
        if (value > maximum)
            maximum = value;
        sum += value;
        ++count;
    }
    const double mean = count > 0 ? sum / static_cast<double>(count) : std::numeric_limits<double>::quiet_NaN();
    return { minimum, mean, maximum };
}

const CWorkSystem* summaryArea(const CRoom& room, int selectedArea, int mode)
{
    const auto& areas = room.m_workSystems;
    if (areas.empty())
        return nullptr;
    if (selectedArea >= 0)
        return static_cast<std::size_t>(selectedArea) < areas.size() ? &areas[static_cast<std::size_t>(selectedArea)]
                                                                      : nullptr;
    for (const CWorkSystem& area : areas) {
        const bool inMode = room.m_modes.size() == 1 ? area.m_excluded != 1 : area.m_modeIndex == mode;
        if (inMode && quantityShown(area))
            return &area;
    }
    return &areas.back();
}

bool areaResultsCurrent(const CRoom& room, const CWorkSystem& area)
{
    return room.m_resultsValid == 1 && area.m_resultsStale != 1;
}

std::string resultSummaryLine(const CWorkSystem& area, const CRoom& room, std::int32_t projectType)
{
    if (area.m_resultsStale == 1)
        return {};
    const SummaryFigures f = summaryFigures(area);
    const double z = area.m_maintenanceRatio;
    const CViewSettings& settings = area.m_viewSettings;
    switch (area.m_quantityCode) {
    case 89:
        if (!(f.maximum > kLineThreshold) && !CPointCalc::IsNotComputed(f.maximum))
            return {};
        return glareLine(kLineUgr, settings.m_ugrLimit, f);
    case 141:
        return roadLine(f, area, z);
    case 161:
        if (!(f.maximum > kLineThreshold) && !CPointCalc::IsNotComputed(f.maximum))
            return {};
        return glareLine(kLineGr, settings.m_grLimit, f);
    case 166:
    case 167:
        if (!(f.mean > kLineThreshold))
            return {};
        return formatC(loadString(kLineDiffuse).c_str(), f.minimum, f.mean, f.maximum, ratio(f.minimum, f.mean), z);
    case 168:
        if (!(f.maximum > kLineThreshold))
            return {};
        return formatC(loadString(kLineGiven).c_str(), f.minimum, f.mean, f.maximum, ratio(f.minimum, f.maximum));
    default:
        break;
    }
    if (settings.m_addDaylight == 1) {
        if (!(f.maximum > kLineThreshold))
            return {};
        return formatC(loadString(kLineGiven).c_str(), f.minimum, f.mean, f.maximum, ratio(f.minimum, f.maximum));
    }
    if (!(f.mean > kLineThreshold))
        return {};
    if (projectType == kOutdoorSpaces)
        return formatC(loadString(kLineOutdoor).c_str(), f.minimum, f.mean, f.maximum, ratio(f.minimum, f.mean), z,
            room.m_upwardFluxShare * 100.0);
    return formatC(loadString(kLineIlluminance).c_str(), f.minimum, f.mean, f.maximum, ratio(f.minimum, f.mean), z);
}

} // namespace kzev
