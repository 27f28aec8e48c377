#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;

/**
 * "Roh místnosti tvaru L": the length and width of the block that cuts one
 * corner out of a rectangular room, in the user's unit, and whether the
 * calculation points inside it are switched off. OK takes the fields only
 * when both are numbers; Storno leaves the members as they were.
 */
class CRoomLCornerDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 193;

    explicit CRoomLCornerDialog(QWidget* parent = nullptr);

    /** Along x, in millimetres or metres as the user types lengths. */
    double m_length = 0.0;
    /** Along y, in the same unit. */
    double m_width = 0.0;
    /** "Vypnout body uvnitř": 1 switches off the points inside the block. */
    int m_switchOffInside = 0;

    /** Shows the members and runs the dialog; QDialog::Accepted after an accepted OK. */
    int DoModal();

    [[nodiscard]] QLineEdit* lengthEdit() const { return m_lengthEdit; }
    [[nodiscard]] QLineEdit* widthEdit() const { return m_widthEdit; }
    [[nodiscard]] QCheckBox* switchOffBox() const { return m_switchOff; }

protected:
    void accept() override;

private:
    QLineEdit* m_lengthEdit;
    QLineEdit* m_widthEdit;
    QCheckBox* m_switchOff;
};
