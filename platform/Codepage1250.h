#pragma once

#include <string>
#include <string_view>

namespace kzev {

/**
 * Converts UTF-8 text to code page 1250 (Central European). A character the
 * code page cannot hold, and a malformed UTF-8 sequence, become "?".
 */
[[nodiscard]] std::string utf8ToCp1250(std::string_view utf8);

/** Converts code page 1250 bytes to UTF-8; the five unassigned bytes become "?". */
[[nodiscard]] std::string cp1250ToUtf8(std::string_view cp1250);

} // namespace kzev
