#include "import/ImportChecks.h"

#include "import/ImportError.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <cmath>

namespace kzev {

namespace {

constexpr int kIdArrayBeyond = 65109;   // "počet %lld × %lld je mimo rozsah 0 až %lld celkem"
constexpr int kIdAtByte = 65110;        // "Soubor %s, bajt %zu: %s !"
constexpr int kIdSize = 65111;          // "rozměr místnosti %g není kladné číslo"
constexpr int kIdReflectance = 65112;   // "odraznost %g je mimo rozsah 0 až 1"
constexpr int kIdIterations = 65113;    // "počet odrazů %lld je mimo rozsah 0 až %d"

} // namespace

std::optional<std::string> arrayFault(ArrayKind kind, std::int64_t count1, std::int64_t count2)
{
    if (count1 >= 0 && count2 >= 0 && arrayWithinLimits(kind, count1, count2))
        return std::nullopt;
    return formatC(loadString(kIdArrayBeyond).c_str(), static_cast<long long>(count1), static_cast<long long>(count2),
        static_cast<long long>(arrayLimit(kind)));
}

std::optional<std::string> sizeFault(double size)
{
    if (std::isfinite(size) && size > 0.0)
        return std::nullopt;
    return formatC(loadString(kIdSize).c_str(), size);
}

std::optional<std::string> reflectanceFault(double reflectance)
{
    if (reflectance >= 0.0 && reflectance <= 1.0)
        return std::nullopt;
    return formatC(loadString(kIdReflectance).c_str(), reflectance);
}

std::optional<std::string> iterationsFault(std::int64_t iterations)
{
    if (iterations >= 0 && iterations <= kMaxReflectionIterations)
        return std::nullopt;
    return formatC(loadString(kIdIterations).c_str(), static_cast<long long>(iterations),
        static_cast<int>(kMaxReflectionIterations));
}

void refuseAtByte(const std::optional<std::string>& fault, const std::string& fileName, std::size_t offset)
{
    if (fault)
        throw ImportError(formatC(loadString(kIdAtByte).c_str(), fileName.c_str(), offset, fault->c_str()));
}

} // namespace kzev
