#include "platform/TypedNumber.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace kzev {

namespace {

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return locale;
}

bool within(double value, NumberRange range)
{
    return std::isfinite(value) && value >= range.lowest && value <= range.highest;
}

} // namespace

std::optional<double> readTypedNumber(std::string_view text, NumberRange range)
{
    std::string copy(trimmed(text));
    if (copy.empty())
        return std::nullopt;
    for (char& c : copy) {
        if (c == ',')
            c = '.';
    }
    char* end = nullptr;
    const double value = strtod_l(copy.c_str(), &end, cLocale());
    if (end != copy.c_str() + copy.size() || !within(value, range))
        return std::nullopt;
    return value;
}

double typedNumberOr(std::string_view text, double kept, NumberRange range)
{
    return readTypedNumber(text, range).value_or(kept);
}

std::optional<double> readTypedLength(std::string_view text, bool millimetres, NumberRange metres)
{
    const std::optional<double> typed = readTypedNumber(text);
    if (!typed)
        return std::nullopt;
    const double value = millimetres ? *typed * 0.001 : *typed;
    if (!within(value, metres))
        return std::nullopt;
    return value;
}

std::optional<long> readTypedWhole(std::string_view text, long lowest, long highest)
{
    const std::string copy(trimmed(text));
    if (copy.empty())
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long value = strtol_l(copy.c_str(), &end, 10, cLocale());
    if (errno == ERANGE || end != copy.c_str() + copy.size() || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

} // namespace kzev
