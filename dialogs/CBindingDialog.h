#pragma once

#include "model/LampSystemBindings.h"

#include <QDialog>

#include <array>

class BindingPicture;
class QCheckBox;
class QLineEdit;
class QRadioButton;

/**
 * "Definice vazby": how a lamp system derived from the one selected in the
 * project tree is made (mirrored about the X axis, the Y axis or the
 * diagonal, or shifted), by which coordinates, and whether it stays bound to
 * its source. It edits a copy of the document's binding settings, which the
 * caller stores after OK.
 */
class CBindingDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 221;

    /** The room's length and width (metres) and the unit flag serve the suggested axes. */
    CBindingDialog(const kzev::BindingSettings& settings, double roomLength, double roomWidth, int unitMm,
        QWidget* parent = nullptr);
    ~CBindingDialog() override;

    /** Returns the settings as the dialog's fields hold them (option -1 while none is chosen). */
    [[nodiscard]] kzev::BindingSettings settings() const;

    [[nodiscard]] QRadioButton* optionButton(int option) const { return m_options.at(static_cast<std::size_t>(option)); }
    /** The picture beside the option. */
    [[nodiscard]] BindingPicture* optionPicture(int option) const
    {
        return m_pictures.at(static_cast<std::size_t>(option));
    }
    [[nodiscard]] QCheckBox* keepBindingBox() const { return m_keepBinding; }
    /** The edits "&X", "&Y" and "&Z" (axis 0, 1, 2). */
    [[nodiscard]] QLineEdit* shiftEdit(int axis) const { return m_shift.at(static_cast<std::size_t>(axis)); }

protected:
    /** Refuses a shift that is no finite number, keeping the dialog open on that field. */
    void accept() override;

private:
    void onOption(int option);

    std::array<QRadioButton*, 4> m_options {};
    std::array<BindingPicture*, 4> m_pictures {};
    QCheckBox* m_keepBinding = nullptr;
    std::array<QLineEdit*, 3> m_shift {};
    double m_roomLength;
    double m_roomWidth;
    int m_unitMm;
};
