#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace kzev {

/**
 * Returns the full name of the program's helper program of that name: beside
 * the running executable, else in the installed place relative to it
 * (../libexec/kzev); none when neither holds a file of that name. An
 * executable one is preferred; one that is there but not executable is
 * returned too, so that starting it tells why it cannot run.
 * No other folder is searched: a helper is only ever one installed with the
 * program.
 */
[[nodiscard]] std::optional<std::filesystem::path> findHelperProgram(std::string_view name);

} // namespace kzev
