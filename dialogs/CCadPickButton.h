#pragma once

#include "cad/CadPicker.h"

#include <QPushButton>

class CKzevDoc;

/** The mark of the CAD program found (its icon resource id), drawn at 16 x 16 pixels. */
[[nodiscard]] QIcon cadButtonIcon(int iconId);

/**
 * The button of a dialog that takes geometry from the drawing of the running
 * CAD program: it shows the program's icon and carries the picker that the
 * dialog's click handler runs. Without a CAD program it stays hidden.
 */
class CCadPickButton : public QPushButton {
    Q_OBJECT

public:
    explicit CCadPickButton(QWidget* parent = nullptr);

    /**
     * Finds the running CAD program for the document and gives the picker its
     * kind and window; hides the button when none runs. Returns whether the
     * button is offered.
     */
    bool attach(CKzevDoc& doc);

    [[nodiscard]] kzev::CadPicker& picker() { return m_picker; }

private:
    kzev::CadPicker m_picker;
};
