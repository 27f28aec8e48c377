#include "calc/ResultShading.h"

#include "calc/IsolineGrid.h"
#include "model/CPointCalc.h"
#include "model/CWorkSystem.h"
#include "model/Quantity.h"
#include "model/ResultValues.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kzev {

namespace {

constexpr double kShadeBase = 0.64453125;  // 165 / 256
constexpr double kShadeRange = 0.3515625;  // 90 / 256

bool pointsComplete(const CWorkSystem& area)
{
    if (area.m_count1 <= 0 || area.m_count2 <= 0)
        return false;
    return area.m_points.size()
        >= static_cast<std::size_t>(area.m_count1) * static_cast<std::size_t>(area.m_count2);
}

std::uint32_t channel(std::uint32_t colour, int shift, double shade)
{
    const double scaled = static_cast<double>((colour >> shift) & 0xFF) * shade;
    return static_cast<std::uint32_t>(std::clamp(std::trunc(scaled), 0.0, 255.0)) << shift;
}

} // namespace

bool surfaceLeftOutInView(std::int32_t surfaceCode, std::int32_t viewCode)
{
    switch (surfaceCode) {
    case 0: return viewCode == 116;
    case 1: return viewCode == 117;
    case 2: return viewCode == 114;
    case 3: return viewCode == 115;
    case 4: return viewCode == 112;
    case 5: return viewCode == 113;
    default: return false;
    }
}

double pointTotalValue(const CPointCalc& point)
{
    return point.value(CPointCalc::kDirectMaintained) + point.value(CPointCalc::kReflectedMaintained);
}

std::optional<double> falseColourShade(double value, double maximum)
{
    if (!(maximum > 0.0) || !std::isfinite(maximum))
        return std::nullopt;
    const double ratio = std::isfinite(value) ? std::clamp(value / maximum, 0.0, 1.0) : 0.0;
    return ratio * kShadeRange + kShadeBase;
}

std::uint32_t shadedColour(std::uint32_t colour, double shade)
{
    return channel(colour, 0, shade) | channel(colour, 8, shade) | channel(colour, 16, shade);
}

std::vector<FalseColourCell> falseColourCells(const std::vector<CWorkSystem>& areas, std::int32_t viewCode)
{
    double maximum = -9999.0;
    for (const CWorkSystem& area : areas) {
        if (surfaceLeftOutInView(area.m_surfaceKind, viewCode) || !pointsComplete(area))
            continue;
        for (const CPointCalc& point : area.m_points)
            maximum = std::max(maximum, pointTotalValue(point) * area.m_reflectance);
    }

    std::vector<FalseColourCell> cells;
    if (!falseColourShade(0.0, maximum))
        return cells;
    for (const CWorkSystem& area : areas) {
        if (surfaceLeftOutInView(area.m_surfaceKind, viewCode) || !pointsComplete(area))
            continue;
        const CVector a = area.m_step1;
        const CVector b = area.m_step2;
        for (std::int32_t i = 0; i < area.m_count1; ++i) {
            for (std::int32_t j = 0; j < area.m_count2; ++j) {
                const std::size_t k = static_cast<std::size_t>(i) * static_cast<std::size_t>(area.m_count2)
                    + static_cast<std::size_t>(j);
                const CVector p = area.PointPosition(i, j);
                const CVector c0 = p - 0.5 * a - 0.5 * b;
                const CVector c1 = c0 + a;
                const CVector c2 = c1 + b;
                const CVector c3 = c2 - a;
                const double value = pointTotalValue(area.m_points[k]) * area.m_reflectance;
                FalseColourCell cell { { c0, c1, c2, c3 }, shadedColour(area.m_colour, *falseColourShade(value, maximum)) };
                cells.push_back(cell);
            }
        }
    }
    return cells;
}

std::pair<double, double> areaValueRange(const CWorkSystem& area)
{
    // The range of what the points show now: the stored summary was taken with the view settings of the
    // calculation and knows nothing of artificial light switched off or daylight added since.
    if (pointsComplete(area)) {
        double minimum = std::numeric_limits<double>::infinity();
        double maximum = -std::numeric_limits<double>::infinity();
        const std::size_t count = static_cast<std::size_t>(area.m_count1) * static_cast<std::size_t>(area.m_count2);
        for (std::size_t k = 0; k < count; ++k) {
            const CPointCalc& point = area.m_points[k];
            if (point.m_off == 1)
                continue;
            const double value = areaPointValue(area, point);
            minimum = std::min(minimum, value);
            maximum = std::max(maximum, value);
        }
        if (minimum <= maximum)
            return { minimum, maximum };
    }
    const std::int32_t code = area.m_quantityCode;
    const int slot = summarySlotOfQuantity(code);
    double minimum = slot < 0 ? area.m_grMin : area.m_min[static_cast<std::size_t>(slot)];
    double maximum = slot < 0 ? area.m_grMax : area.m_max[static_cast<std::size_t>(slot)];
    if (isDiffuseLuminance(code)) {
        minimum *= area.m_reflectance * kInversePi;
        maximum *= area.m_reflectance * kInversePi;
    }
    return { minimum, maximum };
}

std::vector<ValueLabel> pointValueLabels(const CWorkSystem& area)
{
    std::vector<ValueLabel> labels;
    if (!pointsComplete(area))
        return labels;
    const auto [minimum, maximum] = areaValueRange(area);
    // Compared as printed, so values that read alike are marked alike.
    const double shownMinimum = StrToDouble(FormatAdaptive(minimum));
    const double shownMaximum = StrToDouble(FormatAdaptive(maximum));
    for (std::int32_t i = 0; i < area.m_count1; ++i) {
        for (std::int32_t j = 0; j < area.m_count2; ++j) {
            const CPointCalc& point = area.m_points[static_cast<std::size_t>(i)
                    * static_cast<std::size_t>(area.m_count2) + static_cast<std::size_t>(j)];
            if (point.m_off == 1)
                continue;
            ValueLabel label { area.PointPosition(i, j), formatAreaValue(area, areaPointValue(area, point)), kLabelBlack };
            const double shown = StrToDouble(label.text);
            if (std::fabs(shown - shownMinimum) <= 0.001)
                label.colour = kLabelGreen;
            else if (std::fabs(shown - shownMaximum) <= 0.001)
                label.colour = kLabelRed;
            labels.push_back(std::move(label));
        }
    }
    return labels;
}

std::vector<ValueLabel> surfaceValueLabels(const CWorkSystem& area, bool asLuminance)
{
    std::vector<ValueLabel> labels;
    if (!pointsComplete(area))
        return labels;
    for (std::int32_t i = 0; i < area.m_count1; ++i) {
        for (std::int32_t j = 0; j < area.m_count2; ++j) {
            const CPointCalc& point = area.m_points[static_cast<std::size_t>(i)
                    * static_cast<std::size_t>(area.m_count2) + static_cast<std::size_t>(j)];
            double value = pointTotalValue(point);
            if (asLuminance)
                value *= area.m_reflectance * kInversePi;
            labels.push_back({ area.PointPosition(i, j), formatC("%1.0f", value), kLabelBlack });
        }
    }
    return labels;
}

} // namespace kzev
