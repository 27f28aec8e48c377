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

/**
 * The drawing window's drawing with its command line and automation,
 * headless, as the one automation program of the system; it never picks a point.
 */
class HeadlessDrawing final : public ICadAutomation, public IDrawingHost {
public:
    bool isRegistered(const std::string& id) override { return id == kDrawingProgramId; }
    std::unique_ptr<ICadApplication> activeObject(const std::string& id) override
    {
        return isRegistered(id) ? makeDrawingApplication({ drawing, processor, *this }) : nullptr;
    }
    std::unique_ptr<ICadApplication> createInstance(const std::string& id) override { return activeObject(id); }
    std::optional<DrawingPoint> pickPoint(const std::string&, const std::optional<DrawingPoint>&) override
    {
        return std::nullopt;
    }
    void workBriefly() override { }
    void showWindow() override { }
    void drawingChanged() override { }
    bool openDrawing(const std::filesystem::path&, std::string&) override { return false; }

    /** Inserts a luminaire block at the point (drawing units), turned in plan (radians), with its data string. */
    void addLuminaire(double x, double y, double z, double turn, const std::string& data)
    {
        auto document = activeObject(std::string(kDrawingProgramId))->activeDocument();
        CadVariant point;
        (void)CreatePointSafeArray(point, x, y, z);
        const CadObjectId block = document->insertBlock(point, "DAD 35", 1.0, 1.0, 1.0, turn);
        document->setAttributeText(document->attributes(block).front(), data);
    }

    CadDrawing drawing;
    CadCommandProcessor processor { drawing };
};

/** Returns a luminaire data string of the luminaire and lamp identities, without a legend key. */
inline std::string luminaireData(long database, long record, long lamp1, long lamp2)
{
    return "0 0 0 0 -50 -50 -1 -1 " + std::to_string(database) + " " + std::to_string(record) + " "
        + std::to_string(lamp1) + " " + std::to_string(lamp2);
}

} // namespace kzev::test
