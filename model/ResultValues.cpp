#include "model/ResultValues.h"

#include "model/CWorkSystem.h"
#include "model/Quantity.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr int kIdsPropertyMillimetres = 61460; // "%1.0lf"
constexpr int kIdsPropertyMetres = 61461;      // "%1.3lf"
constexpr int kIdsLengthMillimetres = 61463;   // "%1.0lf"
constexpr int kIdsCount = 61464;               // "%ld"
constexpr int kIdsLengthMetres = 61465;        // "%1.3lf"

constexpr std::int32_t kMillimetres = 1;
constexpr const char* kNotComputedText = "\u2013"; // en dash

// Reads a block's slot for the code; the diffuse luminances scale the normal illuminance.
double fromBlock(const CWorkSystem& area, const CWorkSystem::SummaryBlock& block)
{
    const int slot = kzev::summarySlotOfQuantity(area.m_quantityCode);
    const double value = block[static_cast<std::size_t>(slot)];
    if (kzev::isDiffuseLuminance(area.m_quantityCode))
        return value * area.m_reflectance * kzev::kInversePi;
    return value;
}

std::string formatWith(int stringId, double value)
{
    return kzev::formatC(kzev::loadString(stringId).c_str(), value);
}

std::string formatLengthWith(double metres, std::int32_t lengthUnitFlag, int millimetresId, int metresId)
{
    if (lengthUnitFlag == kMillimetres)
        return formatWith(millimetresId, metres * 1000.0);
    return formatWith(metresId, metres);
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

std::string FormatAdaptive(double value)
{
    if (value < 2.0)
        return kzev::formatC("%1.2lf", value);
    if (value < 20.0)
        return kzev::formatC("%1.1lf", value);
    return kzev::formatC("%1.0lf", value);
}

namespace kzev {

double resultValue(const CWorkSystem& area)
{
    if (area.m_quantityCode == quantityCode(Quantity::Gr))
        return area.m_grMin;
    return fromBlock(area, area.m_min);
}

double shownResultValue(const CWorkSystem& area)
{
    if (area.m_quantityCode == quantityCode(Quantity::Gr))
        return area.m_grMax;
    if (area.m_quantityCode == quantityCode(Quantity::Ugr))
        return area.m_max[CWorkSystem::kSlotUgr];
    return fromBlock(area, area.m_avg);
}

bool isNotComputedValue(const CWorkSystem& area, double value)
{
    const bool glare
        = area.m_quantityCode == quantityCode(Quantity::Ugr) || area.m_quantityCode == quantityCode(Quantity::Gr);
    return glare && CPointCalc::IsNotComputed(value);
}

std::string formatAreaValue(const CWorkSystem& area, double value)
{
    if (isNotComputedValue(area, value))
        return kNotComputedText;
    return FormatAdaptive(value);
}

std::string formatResultValue(const CWorkSystem& area)
{
    return formatAreaValue(area, shownResultValue(area));
}

std::string formatLength(double metres, std::int32_t lengthUnitFlag)
{
    return formatLengthWith(metres, lengthUnitFlag, kIdsLengthMillimetres, kIdsLengthMetres);
}

std::string formatPropertyLength(double metres, std::int32_t lengthUnitFlag)
{
    return formatLengthWith(metres, lengthUnitFlag, kIdsPropertyMillimetres, kIdsPropertyMetres);
}

std::string formatCount(std::int32_t count)
{
    return formatC(loadString(kIdsCount).c_str(), static_cast<long>(count));
}

double parseLength(std::string_view typed, std::int32_t lengthUnitFlag)
{
    // A decimal comma, as the Czech user types it and the clipboard carries it, reads as the point.
    std::string text(typed);
    std::replace(text.begin(), text.end(), ',', '.');
    std::size_t start = 0;
    while (start < text.size() && isBlank(text[start]))
        ++start;
    if (start < text.size() && text[start] == '+') {
        ++start;
        if (start < text.size() && text[start] == '-')
            return 0.0; // "+-5" is no number for atof either
    }
    double value = 0.0;
    const char* first = text.data() + start;
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), value);
    // A text without a number, an overflow, inf or nan gives no length.
    if (error != std::errc() || end == first || !std::isfinite(value))
        return 0.0;
    return lengthUnitFlag == kMillimetres ? value * 0.001 : value;
}

} // namespace kzev
