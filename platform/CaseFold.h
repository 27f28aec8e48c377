#pragma once

#include <string>
#include <string_view>

namespace kzev {

/**
 * Returns the UTF-8 text with every letter of ASCII, Latin-1 and Latin
 * Extended-A (all Czech and Slovak letters among them) in lower case, so that
 * "ČÍSLO" and "číslo" fold to the same text. Other characters pass unchanged,
 * and so do bytes that are not valid UTF-8.
 */
[[nodiscard]] std::string foldCase(std::string_view text);

/** Returns the UTF-8 text in upper case over the same letters as foldCase. */
[[nodiscard]] std::string upperCase(std::string_view text);

/**
 * Matches the text against a pattern with the wildcards of the makers'
 * database queries: "*" any run of characters, "?" one character, "#" one
 * digit, "[abc]" / "[!abc]" / "[a-z]" a character of (not of) a set. Case is
 * ignored as by foldCase.
 */
[[nodiscard]] bool matchLikePattern(std::string_view pattern, std::string_view text);

} // namespace kzev
