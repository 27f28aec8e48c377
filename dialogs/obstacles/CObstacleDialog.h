#pragma once

#include "dialogs/obstacles/ObstacleSession.h"
#include "dialogs/ModelessObjectDialog.h"

#include <QDialog>

#include <array>
#include <functional>

class CCadPickButton;
class CKzevDoc;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

/**
 * The obstacle system dialog ("Soustava překážek"): name, position, the
 * three edges of one box, two pitches with their counts, reflectance,
 * transmittance and colour of one obstacle system. Modeless: the view draws
 * the working copy while the user types and drags it by the mouse; OK
 * writes it back.
 */
class CObstacleDialog : public kzev::ModelessObjectDialog {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 154;

    CObstacleDialog(CKzevDoc& doc, int room, int obstacle, QWidget* parent = nullptr);

    /** The opening steps; false when the obstacle system does not exist. */
    bool OnInitDialog();

    void OnOK();
    void OnCancel();

    [[nodiscard]] kzev::ObstacleSession& session() { return m_session; }

    /** Position, length, width and height vectors, pitch 1, pitch 2: the rows of the edits. */
    enum Row { Position, Length, Width, Height, Pitch1, Pitch2, kRows };
    /** The CAD pick beside a row: the whole box by two corners beside the position, else that vector. */
    [[nodiscard]] CCadPickButton* pickButton(Row row) const { return m_picks.at(static_cast<std::size_t>(row)); }

    // ---- The view's mouse on the working copy --------------------------------------
    void lampSystemChanged(kzev::LampChange) override {}
    void obstaclesMoved() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    /** Esc is Storno. */
    void reject() override { OnCancel(); }

private:
    void buildControls();
    void ReadControls();
    void WriteControls();
    /** Takes the edit of the row and axis; a text that reads no length keeps the value. */
    void takeLength(int row, int axis);
    /** Takes the two counts; a text that is no whole number from 0 keeps its count. */
    void takeCounts();
    void EnableControls();
    void ShowPreview();
    void showColour();
    void onLengthEdited(int row, int axis);
    void onCountEdited(QLineEdit* count);
    /** Tells why the field's text was refused and goes back to the field. */
    void refuse(QLineEdit* edit);
    void onColour();
    void OnPick(Row row);
    [[nodiscard]] CVector& vectorOf(int row);

    CKzevDoc& m_doc;
    kzev::ObstacleSession m_session;
    bool m_initialised = false;

    QLineEdit* m_name = nullptr;
    std::array<std::array<QLineEdit*, 3>, kRows> m_edits {};
    QLineEdit* m_count1 = nullptr;
    QLineEdit* m_count2 = nullptr;
    QComboBox* m_reflectance = nullptr;
    QComboBox* m_transmittance = nullptr;
    QCheckBox* m_generalPitch = nullptr;
    QCheckBox* m_rectangular = nullptr;
    QPushButton* m_colour = nullptr;
    QPushButton* m_byPitch = nullptr;
    std::array<CCadPickButton*, kRows> m_picks {};
};
