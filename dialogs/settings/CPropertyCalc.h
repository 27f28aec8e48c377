#pragma once

#include "dialogs/settings/PointCalcSettings.h"
#include "dialogs/settings/PropertyPage.h"

#include <QWidget>

#include <array>
#include <optional>

class CKzevDoc;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

/**
 * The page "Bodový výpočet a další" of the view property sheet: which
 * quantities the room's calculation computes, its reflected component and
 * surface division, the uncertainty, and the document's move and rotation
 * steps and calculation options. It edits the room of the project tree's
 * selection directly: filled as it is shown, written back as it is left.
 */
class CPropertyCalc : public QWidget, public kzev::IPropertyPage {
    Q_OBJECT

public:
    explicit CPropertyCalc(CKzevDoc& doc, QWidget* parent = nullptr);

    void OnSetActive() override;
    void OnKillActive() override;

    /** The values the controls hold now. */
    [[nodiscard]] kzev::PointCalcValues values() const;

    QCheckBox* reflectedBox() const { return m_reflected; }
    QCheckBox* ugrBox() const { return m_ugr; }
    QComboBox* elementarySizeBox() const { return m_elementary; }
    QLineEdit* uncertaintyEdit() const { return m_uncertainty; }

private:
    void OnReflectedComponent();
    void show(const kzev::PointCalcValues& values);
    /** The room of the tree's selection, if it exists. */
    [[nodiscard]] std::optional<int> selectedRoom() const;

    CKzevDoc& m_doc;
    QCheckBox* m_illuminance;
    QCheckBox* m_ugr;
    QCheckBox* m_gr;
    QCheckBox* m_road;
    QCheckBox* m_reflected;
    QCheckBox* m_walls;
    QCheckBox* m_testPoints;
    QComboBox* m_ratio;
    QComboBox* m_elementary;
    QComboBox* m_minimum;
    QComboBox* m_iterations;
    QComboBox* m_lengthStep;
    QComboBox* m_angleStep;
    QComboBox* m_cylinderStep;
    QCheckBox* m_immediate;
    QCheckBox* m_saveBefore;
    QLineEdit* m_uncertainty;
    QCheckBox* m_printUncertainty;
    /** The unit shown beside the three lengths. */
    std::array<QLabel*, 3> m_lengthUnits {};
};
