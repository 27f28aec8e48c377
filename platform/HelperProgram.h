#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace kzev {

/**
 * Returns the full name of the program's helper program of that name: beside
 * the running executable, else in the build folder the helpers were built in
 * (tests and fuzz targets run from other folders of the build); none when
 * neither holds an executable file of that name.
 */
[[nodiscard]] std::optional<std::filesystem::path> findHelperProgram(std::string_view name);

} // namespace kzev
