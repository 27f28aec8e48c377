#pragma once

#include <filesystem>
#include <functional>

namespace kzev {

/** Opens a file in the desktop's default program for its kind; false when nothing could open it. */
using ShellOpenFunction = std::function<bool(const std::filesystem::path&)>;

/** Returns the opener the frame's commands hand written files to; tests replace it. */
[[nodiscard]] ShellOpenFunction& shellOpen();

} // namespace kzev
