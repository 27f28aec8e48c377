#pragma once

#include <filesystem>
#include <string>

namespace kzev {

/**
 * Returns the title line of a data file: its second line with every "@$"
 * removed and without the line end, when that line begins with "@$";
 * otherwise, and for a file that cannot be opened, an empty text.
 */
[[nodiscard]] std::string ReadFileHeadLine(const std::filesystem::path& file);

} // namespace kzev
