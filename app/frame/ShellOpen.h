#pragma once

#include <filesystem>
#include <functional>
#include <string>

class QUrl;

namespace kzev {

/** What became of a file handed to the desktop. */
struct ShellOpenResult {
    bool opened = false;
    /** When not opened: the program that was asked to open it; empty when no program to open it is set up. */
    std::string program;
};

/** Opens a file in the desktop's default program for its kind. */
using ShellOpenFunction = std::function<ShellOpenResult(const std::filesystem::path&)>;

/** Returns the opener the frame's commands hand written files to; tests replace it. */
[[nodiscard]] ShellOpenFunction& shellOpen();

/** Hands a URL to the desktop; false when no program took it. */
using DesktopUrlOpener = std::function<bool(const QUrl&)>;

/**
 * Returns what the shell's opener hands its file URL to (the desktop
 * services); tests replace it to see the URL.
 */
[[nodiscard]] DesktopUrlOpener& desktopUrlOpener();

/**
 * The program the desktop services start to open a file: on Linux and the
 * other free desktops xdg-open found on PATH; empty where none is there and
 * on systems where the desktop itself opens files.
 */
[[nodiscard]] std::string desktopLauncher();

} // namespace kzev
