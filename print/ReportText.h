#pragma once

#include <optional>
#include <string>
#include <utility>

namespace kzev {

/**
 * Splits a luminaire's lamp description for two printed lines: the text before
 * its second comma and the text after it (the comma dropped, a blank after it
 * kept). Nothing when the text has fewer than two commas.
 */
[[nodiscard]] std::optional<std::pair<std::string, std::string>> SplitAtSecondComma(const std::string& text);

} // namespace kzev
