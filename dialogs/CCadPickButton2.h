#pragma once

#include "cad/CadDistancePicker.h"

#include <QPushButton>

class CKzevDoc;

/**
 * The button of the room-dimensions page that measures one distance in the
 * drawing of the running CAD program. It shows the program's icon and stays
 * hidden when no CAD program runs.
 */
class CCadPickButton2 : public QPushButton {
    Q_OBJECT

public:
    explicit CCadPickButton2(QWidget* parent = nullptr);

    /**
     * Finds the running CAD program for the document and gives the picker its
     * kind and window; hides the button when none runs. Returns whether the
     * button is offered.
     */
    bool attach(CKzevDoc& doc);

    [[nodiscard]] kzev::CadDistancePicker& picker() { return m_picker; }

private:
    kzev::CadDistancePicker m_picker;
};
