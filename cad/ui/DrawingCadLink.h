#pragma once

#include "platform/CadAutomation.h"
#include "platform/CadDesktop.h"

namespace kzev {

/**
 * The desktop as the CAD link finds it on this system: the drawing window,
 * while it is open, is the one CAD program. Its main window carries the title
 * "Výkres - ...", its command line is a text window with the command-line and
 * history children that the text-window channel looks for, and the copy-data
 * message types into its command line. Waits serve the program's own events
 * and end early when the user presses Esc.
 */
class DrawingDesktop final : public ICadDesktop {
public:
    std::vector<CadWindowInfo> topLevelWindows() override;
    std::vector<CadWindowInfo> childWindows(CadWindowHandle window) override;
    std::string windowText(CadWindowHandle window) override;
    bool windowExists(CadWindowHandle window) override;
    bool copyData(CadWindowHandle window, std::uint32_t tag, const std::vector<std::uint8_t>& data) override;
    void setFocus(CadWindowHandle window) override;
    void setForeground(CadWindowHandle window) override;
    void restoreOwnWindow() override;
    bool pause(std::chrono::milliseconds duration) override;
    std::chrono::steady_clock::time_point now() override;
    std::filesystem::path temporaryFolder() override;

    /** Handles of the drawing window's windows. */
    static constexpr CadWindowHandle kMain = 1;
    static constexpr CadWindowHandle kTextWindow = 2;
    static constexpr CadWindowHandle kFrame = 3;
    static constexpr CadWindowHandle kPane = 4;
    static constexpr CadWindowHandle kHistory = 5;
    static constexpr CadWindowHandle kCommandLine = 6;
};

/**
 * Automation on this system: the one registered program id is the drawing
 * window's; the Windows programs' ids are not registered here.
 */
class DrawingAutomationRegistry final : public ICadAutomation {
public:
    bool isRegistered(const std::string& programId) override;
    std::unique_ptr<ICadApplication> activeObject(const std::string& programId) override;
    std::unique_ptr<ICadApplication> createInstance(const std::string& programId) override;
};

/** Installs the drawing window's seams as the CAD link of the program. */
void installDrawingCadLink();

} // namespace kzev
