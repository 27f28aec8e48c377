#pragma once

#include "cad/drawing/CadCommandProcessor.h"
#include "cad/drawing/CadDrawing.h"
#include "cad/drawing/DrawingAutomation.h"
#include "model/CadDetection.h"
#include "platform/CadAutomation.h"

#include <memory>
#include <optional>
#include <string>

namespace kzev::test {

/** The window around the drawing, as far as drawing by automation needs one: it never picks a point. */
class QuietDrawingHost final : public IDrawingHost {
public:
    std::optional<DrawingPoint> pickPoint(const std::string&, const std::optional<DrawingPoint>&) override
    {
        return std::nullopt;
    }
    void workBriefly() override { }
    void showWindow() override { }
    void drawingChanged() override { }
    bool openDrawing(const std::filesystem::path&, std::string&) override { return false; }
};

/** The drawing window's drawing and automation, headless, as the one automation program of the system. */
class DrawingProgram final : public ICadAutomation {
public:
    bool isRegistered(const std::string& programId) override { return programId == kDrawingProgramId; }
    std::unique_ptr<ICadApplication> activeObject(const std::string& programId) override
    {
        return isRegistered(programId) ? makeDrawingApplication(DrawingParts { drawing, processor, host }) : nullptr;
    }
    std::unique_ptr<ICadApplication> createInstance(const std::string& programId) override
    {
        return activeObject(programId);
    }

    CadDrawing drawing;
    CadCommandProcessor processor { drawing };
    QuietDrawingHost host;
};

} // namespace kzev::test
