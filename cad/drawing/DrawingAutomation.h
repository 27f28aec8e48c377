#pragma once

#include "cad/drawing/CadCommandProcessor.h"
#include "cad/drawing/CadDrawing.h"
#include "platform/CadAutomation.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace kzev {

/** What the drawing's automation asks of the window that shows the drawing. */
class IDrawingHost {
public:
    virtual ~IDrawingHost() = default;
    /** Asks the user for a point, with a rubber band from the base when one is given; none when cancelled. */
    [[nodiscard]] virtual std::optional<DrawingPoint> pickPoint(const std::string& prompt,
        const std::optional<DrawingPoint>& base)
        = 0;
    /** Lets the window serve the user a moment while a command waits for input. */
    virtual void workBriefly() = 0;
    /** Shows the window. */
    virtual void showWindow() = 0;
    /** Closes the window, as the user does. */
    virtual void closeWindow() = 0;
    /** Repaints after a change made through automation. */
    virtual void drawingChanged() = 0;
    /** Opens a drawing file in the window; false (with the reason in error) when it cannot. */
    virtual bool openDrawing(const std::filesystem::path& path, std::string& error) = 0;
};

/** The parts of the drawing window its automation works on. */
struct DrawingParts {
    CadDrawing& drawing;
    CadCommandProcessor& processor;
    IDrawingHost& host;
};

/**
 * Returns the automation object of the drawing window: the AutoCAD-type
 * object model over the window's drawing, its command line and its mouse
 * (points and distances picked by the user, a cancelled pick raising the
 * server error of a cancelled prompt).
 */
[[nodiscard]] std::unique_ptr<ICadApplication> makeDrawingApplication(DrawingParts parts);

} // namespace kzev
