#pragma once

#include "dialogs/areas/VisualTaskSession.h"
#include "dialogs/ModelessObjectDialog.h"

#include <QDialog>

#include <array>
#include <functional>

class CCadPickButton;
class CKzevDoc;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

/**
 * The visual-task area dialog ("Místa zrakového úkolu"): name, quantity,
 * mode, plane, origin, the grid's pitches and counts, camera, observer
 * directions, reflectance and display switches of one area. Modeless: the
 * view draws the working copy while it is open, drags it and switches its
 * points; OK writes it back.
 */
class CVisualTaskDialog : public kzev::ModelessObjectDialog {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 148;

    CVisualTaskDialog(CKzevDoc& doc, int room, int area, QWidget* parent = nullptr);

    /** The opening steps; false when the area does not exist. */
    bool OnInitDialog();

    void OnOK();
    void OnCancel();

    [[nodiscard]] kzev::VisualTaskSession& session() { return m_session; }
    /** The CAD pick beside the coordinates: the grid between two corners of the drawing. */
    [[nodiscard]] CCadPickButton* pickButton() const { return m_pick; }

    // ---- The view's mouse on the working copy --------------------------------------
    void lampSystemChanged(kzev::LampChange) override {}
    void areaMoved() override;
    void areaPointsSwitched() override;
    void changeEnded() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    /** Esc is Storno. */
    void reject() override { OnCancel(); }

private:
    void buildControls();
    void ReadControls();
    void WriteControls();
    void EnableByOrientation();
    void EnableByQuantity();
    void RefreshPreview();
    /** Takes the field's text once the user has finished typing it, or refuses it. */
    void onFieldFinished(QLineEdit* edit);
    /** Tells which typed text was refused and shows the stored values again. */
    void refuseTyped();
    void onEditValues();
    void OnPickCorners();
    [[nodiscard]] QString lengthText(double metres) const;

    CKzevDoc& m_doc;
    kzev::VisualTaskSession m_session;
    bool m_initialised = false;
    /** The first field whose text the last reading refused, or none. */
    QWidget* m_refused = nullptr;

    QLineEdit* m_name = nullptr;
    QComboBox* m_quantity = nullptr;
    QComboBox* m_mode = nullptr;
    QButtonGroup* m_orientation = nullptr;
    std::array<QLineEdit*, 3> m_origin {};
    std::array<QLineEdit*, 3> m_step1 {};
    std::array<QLineEdit*, 3> m_step2 {};
    QLineEdit* m_count1 = nullptr;
    QLineEdit* m_count2 = nullptr;
    std::array<QLineEdit*, 3> m_camera {};
    std::array<QLineEdit*, 4> m_directions {}; ///< tilt, start, count, step
    QComboBox* m_reflectance = nullptr;
    QCheckBox* m_reflected = nullptr;
    QCheckBox* m_hideOff = nullptr;
    QCheckBox* m_fromWalls = nullptr;
    QPushButton* m_byPitch = nullptr;
    QPushButton* m_byCount = nullptr;
    QPushButton* m_edit = nullptr;
    CCadPickButton* m_pick = nullptr;
};
