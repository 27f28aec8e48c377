#pragma once

#include <limits>
#include <optional>
#include <string_view>

namespace kzev {

/** The values a field takes, both ends included. */
struct NumberRange {
    double lowest = -std::numeric_limits<double>::max();
    double highest = std::numeric_limits<double>::max();
};

/** No layout reaches a thousand kilometres; beyond that a typed length (in metres) is a slip of the keyboard. */
inline constexpr double kLongestTypedLength = 1.0e6;
inline constexpr NumberRange kAnyFinite {};
inline constexpr NumberRange kAnyLength { -kLongestTypedLength, kLongestTypedLength };

/**
 * Reads a number typed by the user: blanks around it, a decimal comma as good
 * as a point, nothing else in the text. Returns nothing for a text that is no
 * number, for an endless one ("1e999", "inf", "nan") and for one outside the
 * range, so that the caller keeps the previous value or says why.
 */
[[nodiscard]] std::optional<double> readTypedNumber(std::string_view text, NumberRange range = kAnyFinite);

/** The typed number, or the kept value when the text does not read. */
[[nodiscard]] double typedNumberOr(std::string_view text, double kept, NumberRange range = kAnyFinite);

/**
 * Reads a typed length in metres: the text in millimetres when the document
 * works in them; the range is in metres.
 */
[[nodiscard]] std::optional<double> readTypedLength(std::string_view text, bool millimetres,
    NumberRange metres = kAnyLength);

/** Reads a typed whole number (no decimals) within the range. */
[[nodiscard]] std::optional<long> readTypedWhole(std::string_view text, long lowest, long highest);

} // namespace kzev
