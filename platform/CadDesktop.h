#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kzev {

/** A window of the desktop as the CAD link knows it; 0 is no window. */
using CadWindowHandle = std::uint64_t;

/** A window and the name it is listed by (the title of a top-level window). */
struct CadWindowInfo {
    CadWindowHandle handle = 0;
    std::string text;
};

/**
 * The desktop as the CAD link sees it: the top-level windows by which a
 * running CAD program is found, the child windows of its text window, and the
 * message that hands it a command line. Time passes only through pause(), so
 * the drawing window of our own process keeps working while the link waits,
 * and a test's clock runs as fast as it likes.
 */
class ICadDesktop {
public:
    virtual ~ICadDesktop() = default;

    /** Returns the top-level windows in Z order, topmost first. */
    [[nodiscard]] virtual std::vector<CadWindowInfo> topLevelWindows() = 0;
    /** Returns the direct children of a window, first child first; none for a vanished window. */
    [[nodiscard]] virtual std::vector<CadWindowInfo> childWindows(CadWindowHandle window) = 0;
    /** Returns what the window shows now (a command line its current line); empty for a vanished or null window. */
    [[nodiscard]] virtual std::string windowText(CadWindowHandle window) = 0;
    /** Returns whether the window still exists. */
    [[nodiscard]] virtual bool windowExists(CadWindowHandle window) = 0;

    /**
     * Hands data to a window as the copy-data message does (synchronously);
     * the CAD program runs a command line given with tag 1. The data holds
     * the terminating zero. Returns false when the window is gone.
     */
    virtual bool copyData(CadWindowHandle window, std::uint32_t tag, const std::vector<std::uint8_t>& data) = 0;
    /** Gives the window the keyboard focus message. */
    virtual void setFocus(CadWindowHandle window) = 0;
    /** Brings a window to the foreground. */
    virtual void setForeground(CadWindowHandle window) = 0;
    /** Brings the program's own active top-level window back to the foreground. */
    virtual void restoreOwnWindow() = 0;

    /**
     * Lets the given time pass while the CAD program works; the program's own
     * windows keep being served. Returns false when the user asked to cancel
     * the wait (the pause then ends early).
     */
    [[nodiscard]] virtual bool pause(std::chrono::milliseconds duration) = 0;
    /** Returns the clock that bounds the waits. */
    [[nodiscard]] virtual std::chrono::steady_clock::time_point now() = 0;

    /** Returns the user's temporary folder, where the CAD program writes the files it is asked for. */
    [[nodiscard]] virtual std::filesystem::path temporaryFolder() = 0;
};

} // namespace kzev
