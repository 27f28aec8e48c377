#pragma once

#include "cad/CadPicker.h"

#include <string>

class CKzevDoc;

namespace kzev {

/**
 * The work of the distance pick button without its window: one distance
 * measured by the user in the running CAD program, over the channel of the
 * CAD kind in m_nMode. The distance is written only when it was taken; a
 * cancelled or failed pick leaves it as it was.
 */
class CadDistancePicker {
public:
    /** Uses the installed CAD seams. */
    CadDistancePicker() = default;

    /**
     * Takes one distance into m_dDistance. Returns 0 when it was taken, -1
     * after a reported error (or a program that is not registered), -2 when
     * the user cancelled, -3 after another error of the CAD program.
     */
    int PickPoint();
    /** The distance from a point picked to a second one, through the IntelliCAD-type model. */
    int PickDistanceViaIcad();
    /** The distance in plan between two points typed for through the text window. */
    int PickDistanceViaTextWindow();

    double m_dDistance = 0.0;
    int m_nMode = 0;
    /** The file name of the drawing the last automation pick measured in. */
    std::string m_strDocName;
    /** Two-point pick of the text window, with its channel (window handles, prompt, waits). */
    CadPicker m_points;

private:
    int pickByAutomation(bool icad);
};

/** Gives the picker the CAD program the detection found (as preparePicker does for the point pick). */
void prepareDistancePicker(CadDistancePicker& picker, const CKzevDoc& doc);

} // namespace kzev
