#pragma once

#include "catalogue/ui/LampSheetPage.h"
#include "dialogs/lamps/LampSystemDesign.h"

#include <QWidget>

#include <array>
#include <map>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

/**
 * Page 158 "Návrh soustavy svítidel" of the lamp-system sheet: origin,
 * pitches and counts of a regular lamp system, its lumen-method sizing and
 * layouts, the orientation of its luminaires and the undo. The page's work
 * is kzev::LampSystemDesign; this class shows its fields and passes the
 * user's edits and clicks to it.
 */
class CLampSystemDialog : public QWidget, public kzev::ILampSheetPage {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 158;

    CLampSystemDialog(const kzev::LampSheetContext& context, kzev::DesignHooks hooks, QWidget* parent = nullptr);
    ~CLampSystemDialog() override;

    /** Runs the action of a move key; false for a key that is not one. */
    bool OnMoveKey(int key, Qt::KeyboardModifiers modifiers);

    void OnSetActive() override;
    void OnKillActive() override;

    [[nodiscard]] kzev::LampSystemDesign& design() { return m_design; }
    [[nodiscard]] QLineEdit* field(kzev::DesignField which) const { return m_fields[static_cast<std::size_t>(which)]; }
    /** The button of a caption ("Dle &počtů"), for tests and the sheet. */
    [[nodiscard]] QPushButton* button(const QString& caption) const;

    /** Shows the logic's texts, checks and enabling in the controls. */
    void syncFromDesign();

protected:
    /** The sheet's move keys (Ctrl, Ctrl+Shift and Shift with the arrows) while this page is shown. */
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    /** Takes the typed text of the field once the user has finished it, or refuses it with a message. */
    void takeField(kzev::DesignField which, QLineEdit* edit);
    QPushButton* addButton(const QString& caption, void (kzev::LampSystemDesign::*action)());

    kzev::LampSystemDesign m_design;
    std::array<QLineEdit*, kzev::kDesignFieldCount> m_fields {};
    std::map<QString, QPushButton*> m_buttons;
    QCheckBox* m_centre = nullptr;
    QCheckBox* m_generalOrientation = nullptr;
    QCheckBox* m_generalPitch = nullptr;
    QCheckBox* m_nonRegular = nullptr;
    QLabel* m_layoutNote = nullptr;
    std::array<QRadioButton*, 3> m_axisModes {};
    bool m_syncing = false;
};
