#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>
#include <string_view>

namespace kzev {

/**
 * Formats like printf, always in the C locale (a decimal point, whatever the
 * user's locale), so "%1.3lf" gives "2.500" on every machine.
 */
[[nodiscard]] std::string formatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

/** The va_list form of formatC. */
[[nodiscard]] std::string vformatC(const char* format, va_list args);

/**
 * Replaces every "," by "." and converts the leading number in the C locale;
 * an empty or unparsable text gives 0, trailing characters are ignored.
 */
[[nodiscard]] double StrToDouble(std::string_view text);

/** Converts the leading integer like atol; an unparsable text gives 0. */
[[nodiscard]] long StrToLong(std::string_view text);

/**
 * Converts the leading integer like StrToLong for a 32-bit field: a number
 * beyond the 32-bit range gives the nearest end of it, never a wrapped value.
 */
[[nodiscard]] std::int32_t StrToInt32(std::string_view text);

/**
 * Returns field number index (from 0) of the source split at the separator.
 * With no separator in the source, index 0 gives the whole source. When the
 * field does not exist, returns an empty text and empties the separator, which
 * callers use to end their loop over the fields.
 */
[[nodiscard]] std::string GetToken(std::string_view source, int index, std::string& separator);

/** The text cut to at most `bytes` bytes, never inside a UTF-8 character. */
[[nodiscard]] std::string utf8Prefix(std::string text, std::size_t bytes);

} // namespace kzev
