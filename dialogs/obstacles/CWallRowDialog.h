#pragma once

#include "model/CVector.h"

#include <QDialog>

#include <array>
#include <string>
#include <vector>

class CCadPickButton;
class CKzevDoc;
class QLineEdit;

namespace kzev {
class GridWidget;
}

/**
 * The wall-row dialog ("Řada překážek - stěn"): a list of points typed one by
 * one into a grid, with the thickness and height of the walls to be built
 * along them. Lengths are in the document's unit. Modal; the caller sets the
 * members, runs DoModal and reads the members and pointRows() after OK.
 */
class CWallRowDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 207;

    CWallRowDialog(CKzevDoc& doc, QWidget* parent = nullptr);

    double m_thickness = 0.0;
    double m_pointX = 0.0;
    double m_pointY = 0.0;
    double m_pointZ = 0.0;
    double m_height = 0.0;
    /** With the absolute flag 0, points taken from a CAD polyline are made relative to it. */
    CVector m_reference { 0.0, 0.0, 0.0 };
    int m_absolute = 0;

    /** Fills the edits from the members and sets the grid up with its header row. */
    void OnInitDialog();
    /** Runs the dialog; QDialog::Accepted after OK. */
    int DoModal();

    /** The points of the grid: X, Y and Z as shown, one entry per row below the header. */
    [[nodiscard]] std::vector<std::array<std::string, 3>> pointRows() const;
    [[nodiscard]] kzev::GridWidget& grid() { return *m_grid; }
    [[nodiscard]] CCadPickButton* pickButton() const { return m_pick; }

protected:
    void accept() override;

private:
    /** Reads the edits into the members; false (with a message) when one holds no number. */
    bool readValues();
    void OnAdd();
    void OnRemove();
    /** Takes the points from a polyline the user draws in the CAD program. */
    void OnPickPolyline();
    /** Puts one point (in the user's unit) into a new row of the grid. */
    void addRow(double x, double y, double z);

    CKzevDoc& m_doc;
    kzev::GridWidget* m_grid = nullptr;
    QLineEdit* m_x = nullptr;
    QLineEdit* m_y = nullptr;
    QLineEdit* m_z = nullptr;
    QLineEdit* m_heightEdit = nullptr;
    QLineEdit* m_thicknessEdit = nullptr;
    CCadPickButton* m_pick = nullptr;
};
