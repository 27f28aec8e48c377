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
    void closeWindow() override { }
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

/** Inserts a luminaire block at the point (drawing units), turned in plan (radians), with its data string. */
inline void addLuminaireBlock(DrawingProgram& program, double x, double y, double z, double turn, const std::string& data)
{
    auto document = program.activeObject(std::string(kDrawingProgramId))->activeDocument();
    CadVariant point;
    (void)CreatePointSafeArray(point, x, y, z);
    const CadObjectId block = document->insertBlock(point, "DAD 35", 1.0, 1.0, 1.0, turn);
    document->setAttributeText(document->attributes(block).front(), data);
}

/** Returns a luminaire data string of the luminaire and lamp identities, without a legend key. */
inline std::string luminaireData(long database, long record, long lamp1, long lamp2)
{
    return "0 0 0 0 -50 -50 -1 -1 " + std::to_string(database) + " " + std::to_string(record) + " "
        + std::to_string(lamp1) + " " + std::to_string(lamp2);
}

} // namespace kzev::test
