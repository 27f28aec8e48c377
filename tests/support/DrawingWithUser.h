#pragma once

#include "cad/CadTextChannel.h"
#include "cad/drawing/CadCommandProcessor.h"
#include "cad/drawing/CadDrawing.h"
#include "cad/drawing/DrawingAutomation.h"
#include "cad/drawing/DrawingDxf.h"
#include "model/CadDetection.h"
#include "platform/CadLink.h"
#include "platform/Codepage1250.h"

#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>
#include <variant>

namespace kzev::test {

/** What the user at the drawing does next: click a point, press Enter, or press Esc. */
struct UserClick {
    double x = 0.0;
    double y = 0.0;
};
struct UserEnter { };
struct UserEscape { };
using UserAction = std::variant<UserClick, UserEnter, UserEscape>;

/**
 * The drawing window headless, with a user at its mouse: its drawing and
 * command line reached through both CAD seams (the automation object, and
 * the desktop with the window "Výkres", its text window and command line).
 * Whenever the CAD link waits, the user does the next of the queued actions;
 * an automation point prompt takes the next click, and cancels when the next
 * action is Esc or none is left. The command "_dxfout" writes through dxflib
 * into the test's own temporary folder.
 */
class DrawingWithUser final : public ICadAutomation, public ICadDesktop, public IDrawingHost {
public:
    static constexpr CadWindowHandle kMain = 1;
    static constexpr CadWindowHandle kText = 2;
    static constexpr CadWindowHandle kCommandLine = 5;

    DrawingWithUser()
        : folder(std::filesystem::temp_directory_path() / ("kzev-drawing-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(folder);
        processor.writeDxf = [this](const std::vector<std::int64_t>& ids, const std::filesystem::path& path) {
            return writeDrawingDxf(drawing, path, &ids);
        };
    }
    ~DrawingWithUser() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    DrawingWithUser(const DrawingWithUser&) = delete;
    DrawingWithUser& operator=(const DrawingWithUser&) = delete;

    [[nodiscard]] CadLink link() { return { this, this }; }

    CadDrawing drawing;
    CadCommandProcessor processor { drawing };
    std::deque<UserAction> user;
    std::filesystem::path folder;
    std::chrono::steady_clock::time_point clock {};

    // ---- ICadAutomation ----------------------------------------------------
    bool isRegistered(const std::string& programId) override { return programId == kDrawingProgramId; }
    std::unique_ptr<ICadApplication> activeObject(const std::string& programId) override
    {
        return isRegistered(programId) ? makeDrawingApplication(DrawingParts { drawing, processor, *this }) : nullptr;
    }
    std::unique_ptr<ICadApplication> createInstance(const std::string& programId) override
    {
        return activeObject(programId);
    }

    // ---- IDrawingHost --------------------------------------------------------
    std::optional<DrawingPoint> pickPoint(const std::string&, const std::optional<DrawingPoint>&) override
    {
        if (user.empty() || !std::holds_alternative<UserClick>(user.front())) {
            if (!user.empty())
                user.pop_front();
            return std::nullopt;
        }
        const UserClick click = std::get<UserClick>(user.front());
        user.pop_front();
        return DrawingPoint { click.x, click.y, 0.0 };
    }
    void workBriefly() override { act(); }
    void showWindow() override { }
    void closeWindow() override { }
    void drawingChanged() override { }
    bool openDrawing(const std::filesystem::path&, std::string&) override { return false; }

    // ---- ICadDesktop ---------------------------------------------------------
    std::vector<CadWindowInfo> topLevelWindows() override
    {
        return { { kMain, std::string(kDrawingWindowTitle) }, { kText, std::string(kDrawingTextWindowTitle) } };
    }
    std::vector<CadWindowInfo> childWindows(CadWindowHandle window) override
    {
        if (window >= kText && window < kCommandLine)
            return { { window + 1, window + 1 == kCommandLine ? "Headlands" : "" } };
        return {};
    }
    std::string windowText(CadWindowHandle window) override
    {
        return window == kCommandLine ? processor.commandLineText() : std::string();
    }
    bool windowExists(CadWindowHandle window) override { return window >= kMain && window <= kCommandLine; }
    bool copyData(CadWindowHandle window, std::uint32_t, const std::vector<std::uint8_t>& data) override
    {
        if (window != kMain || data.empty())
            return false;
        processor.type(cp1250ToUtf8(std::string(data.begin(), data.end() - 1)));
        return true;
    }
    void setFocus(CadWindowHandle) override { }
    void setForeground(CadWindowHandle) override { }
    void restoreOwnWindow() override { }
    bool pause(std::chrono::milliseconds duration) override
    {
        clock += duration;
        act();
        return true;
    }
    std::chrono::steady_clock::time_point now() override { return clock; }
    std::filesystem::path temporaryFolder() override { return folder; }

private:
    // The user does one thing while a command waits for them.
    void act()
    {
        if (!processor.busy() || user.empty())
            return;
        const UserAction action = user.front();
        user.pop_front();
        if (const auto* click = std::get_if<UserClick>(&action))
            (void)processor.pick({ click->x, click->y, 0.0 });
        else if (std::holds_alternative<UserEnter>(action))
            processor.type("\n");
        else
            processor.cancel();
    }
};

} // namespace kzev::test
