#include "platform/TypedNumber.h"

#include <charconv>
#include <cmath>
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

bool within(double value, NumberRange range)
{
    return std::isfinite(value) && value >= range.lowest && value <= range.highest;
}

} // namespace

std::optional<double> readTypedNumber(std::string_view text, NumberRange range)
{
    std::string copy(trimmed(text));
    for (char& c : copy) {
        if (c == ',')
            c = '.';
    }
    // A leading plus is no part of from_chars' grammar, but a person may type it.
    const char* first = copy.data();
    const char* last = first + copy.size();
    if (first != last && *first == '+')
        ++first;
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (first == last || error != std::errc() || end != last || !within(value, range))
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
    const std::string_view whole = trimmed(text);
    const char* first = whole.data();
    const char* last = first + whole.size();
    if (first != last && *first == '+')
        ++first;
    long value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (first == last || error != std::errc() || end != last || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

} // namespace kzev
