#pragma once

#include "cad/CadTextChannel.h"
#include "platform/CadAutomation.h"
#include "platform/CadDesktop.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kzev {

/** A point picked in the CAD program, in its drawing units. */
struct CadPickedPoint {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

/**
 * The work of the CAD pick button without its window: two corner points, a
 * polyline drawn by the user, or the temporary line read back, taken from
 * the running CAD program over the channel of the CAD kind in m_nMode. The
 * results are written only when a pick has taken all it asked for; a
 * cancelled or failed pick leaves every result field as it was.
 */
class CadPicker;
}

class CKzevDoc;

namespace kzev {

/**
 * Gives the picker the CAD program the detection found: its kind, window,
 * clone flag and release; for AutoCAD LT the text window is looked up at once.
 */
void preparePicker(CadPicker& picker, const CKzevDoc& doc);

/**
 * Lets the user pick two points and returns the upper-left corner they span
 * (the smaller x, the larger y); none when the pick did not take both.
 */
[[nodiscard]] std::optional<std::array<double, 2>> pickUpperLeftCorner(CadPicker& picker);

class CadPicker {
public:
    /** Uses the installed CAD seams. */
    CadPicker();
    CadPicker(ICadDesktop& desktop, ICadAutomation& automation);

    /**
     * Takes two points into m_ptFirst and m_ptSecond by the channel of
     * m_nMode. Returns 2 (automation) or 1 (text window) when both were
     * taken, 0 when the user cancelled or nothing could be reached, -1 after
     * an error was reported.
     */
    int PickPoint();
    /** The two points through the IntelliCAD-type model. */
    int PickPointViaIcad();
    /** The two points typed for through the text window (the text window found already). */
    int PickPointViaTextWindow();
    /** Has the CAD program write its last object to Line.dxf and reads its line back; 1 when read. */
    int ReadLineDxf();

    /**
     * Lets the user draw a polyline through the IntelliCAD-type model and has
     * the CAD program write it to Line.dxf (then erased from the drawing).
     * Returns 0 when the file was written, -1 after a reported error, -2
     * when the user gave up waiting or nothing was drawn.
     */
    int PickPolylineViaDxf();
    /** The same through the AutoCAD-type model; the polyline stays in the drawing. */
    int PickPolylineViaDxfAlt();
    /** Reads the vertices of the last object made into m_saVertexX and m_saVertexY; 0 when done. */
    int PickSelectionSet();

    /** Returns the path of the exchange file Line.dxf in the temporary folder. */
    [[nodiscard]] std::filesystem::path lineFile() const;

    CadPickedPoint m_ptFirst;
    CadPickedPoint m_ptSecond;
    int m_bTextWindowMode = 0;
    int m_nMode = 0;
    int m_bAcadCloneMode = 0;
    std::string m_strDocName;
    double m_dLineStartX = 0.0;
    double m_dLineStartY = 0.0;
    double m_dLineEndX = 0.0;
    double m_dLineEndY = 0.0;
    std::vector<std::string> m_saVertexX;
    std::vector<std::string> m_saVertexY;
    /** The text-window channel (window handles, prompt, waits). */
    CadTextChannel m_channel;

private:
    int pickByAutomation(bool icad);
    int pickPolyline(bool icad);
    /** Waits until no command runs; false when the user gave up or the wait ran out. */
    bool waitWhileCommandActive(ICadDocument& document);
    [[nodiscard]] static CadObjectId lastObject(ICadDocument& document, int cloneMode);

    ICadDesktop& m_desktop;
    ICadAutomation& m_automation;
    /** The last object before the user started drawing, to tell a drawn polyline from a cancelled one. */
    CadObjectId m_lastBefore = 0;
    bool m_polylineDrawn = false;
};

} // namespace kzev
