#pragma once

#include "dialogs/roads/RoadDesign.h"

#include <QDialog>

class CKzevDoc;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPushButton;

/**
 * The road design dialog ("Návrh osvětlení vozovky"): lanes each way, the
 * widths of lanes, dividing strip and surroundings, the luminaires' spacing
 * and height, their arrangement, the calculated quantity and the
 * road-surface table. Modal; the caller reads m_values after OK.
 */
class CRoadDesignDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 209;

    CRoadDesignDialog(CKzevDoc& doc, QWidget* parent = nullptr);

    /** Set by the caller before DoModal, read by it after OK. */
    kzev::RoadDesignValues m_values;

    /** Fills the controls from m_values and lists the road-surface tables of the data folder. */
    void OnInitDialog();
    /** Runs the dialog; QDialog::Accepted after an accepted OK. */
    int DoModal();

protected:
    void accept() override;

private:
    void onMaintenance();
    void readControls();

    CKzevDoc& m_doc;
    QComboBox* m_lanesLeftToRight = nullptr;
    QComboBox* m_lanesRightToLeft = nullptr;
    QComboBox* m_laneWidth = nullptr;
    QComboBox* m_stripWidth = nullptr;
    QComboBox* m_surroundingsWidth = nullptr;
    QComboBox* m_spacing = nullptr;
    QComboBox* m_height = nullptr;
    QButtonGroup* m_quantity = nullptr;
    QCheckBox* m_staggered = nullptr;
    QComboBox* m_surface = nullptr;
    QPushButton* m_maintenance = nullptr;
};
