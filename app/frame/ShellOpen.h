#pragma once

#include <filesystem>
#include <functional>

class QUrl;

namespace kzev {

/** Opens a file in the desktop's default program for its kind; false when nothing could open it. */
using ShellOpenFunction = std::function<bool(const std::filesystem::path&)>;

/** Returns the opener the frame's commands hand written files to; tests replace it. */
[[nodiscard]] ShellOpenFunction& shellOpen();

/** Hands a URL to the desktop; false when no program took it. */
using DesktopUrlOpener = std::function<bool(const QUrl&)>;

/**
 * Returns what the shell's opener hands its file URL to (the desktop
 * services); tests replace it to see the URL.
 */
[[nodiscard]] DesktopUrlOpener& desktopUrlOpener();

} // namespace kzev
