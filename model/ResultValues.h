#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CWorkSystem;

/** Returns the number with 2 decimals below 2.0, 1 decimal below 20.0, else none. */
[[nodiscard]] std::string FormatAdaptive(double value);

namespace kzev {

// The document's result and length services, as free functions of what they
// need: CKzevDoc forwards its GetResultValue, FormatResultValue, FormatLength,
// FormatPropertyLength, FormatCount and ParseLength here with its own
// length-unit flag (1 = millimetres, anything else metres).

/** Returns the area's minimum summary for its quantity code (CKzevDoc::GetResultValue). */
[[nodiscard]] double resultValue(const CWorkSystem& area);

/** Returns the summary the area shows for its quantity code: mean, or the largest UGR or GR. */
[[nodiscard]] double shownResultValue(const CWorkSystem& area);

/** Returns whether a value of the area's quantity is a glare value (UGR, GR) that was not computed. */
[[nodiscard]] bool isNotComputedValue(const CWorkSystem& area, double value);

/**
 * Returns a value of the area's quantity as shown: by FormatAdaptive, or "–"
 * for a glare value (UGR, GR) that was not computed.
 */
[[nodiscard]] std::string formatAreaValue(const CWorkSystem& area, double value);

/** Returns shownResultValue formatted by formatAreaValue (CKzevDoc::FormatResultValue). */
[[nodiscard]] std::string formatResultValue(const CWorkSystem& area);

/** Returns a length in metres as text in the user's unit: whole millimetres or metres with 3 decimals. */
[[nodiscard]] std::string formatLength(double metres, std::int32_t lengthUnitFlag);

/** The same rule as formatLength with the property sheets' own format texts. */
[[nodiscard]] std::string formatPropertyLength(double metres, std::int32_t lengthUnitFlag);

/** Returns the whole number as text. */
[[nodiscard]] std::string formatCount(std::int32_t count);

/**
 * Returns the leading number of the text as metres: the text is read like
 * atof in the C locale after a decimal comma is taken for the point
 * (leading blanks skipped, anything after the number ignored, "2,5" gives 2.5) and multiplied by 0.001 in millimetre mode. Text
 * without a leading number, and numbers that are not finite, give 0.0.
 */
[[nodiscard]] double parseLength(std::string_view text, std::int32_t lengthUnitFlag);

} // namespace kzev
