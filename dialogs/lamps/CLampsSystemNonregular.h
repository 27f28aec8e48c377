#pragma once

#include "catalogue/ui/LampSheetPage.h"
#include "dialogs/lamps/NonregularLampPageLogic.h"

#include <QWidget>

#include <memory>

class QPushButton;

namespace kzev {
class GridWidget;
}

/**
 * Page 222 "Nepravidelná soustava" of the lamp-system sheet: the grid of the
 * luminaires of a non-regular lamp system, one row each, whose cells the user
 * edits live, and the buttons "Přidat", "Odebrat", "Do jiné" and "&Zpět".
 * The page's work is kzev::NonregularLampPageLogic. Enter moves to the next
 * cell instead of closing the sheet.
 */
class CLampsSystemNonregular : public QWidget, public kzev::ILampSheetPage {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 222;
    static constexpr int kGridId = 1051;

    CLampsSystemNonregular(const kzev::LampSheetContext& context, kzev::NonregularHooks hooks, QWidget* parent = nullptr);
    ~CLampsSystemNonregular() override;

    void OnSetActive() override;
    void OnKillActive() override;

    [[nodiscard]] kzev::NonregularLampPageLogic& logic() { return *m_logic; }
    [[nodiscard]] kzev::GridWidget& gridWidget() { return *m_grid; }
    /** The button of a caption ("Do jiné"), for tests. */
    [[nodiscard]] QPushButton* button(const QString& caption) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void syncButtons();
    QPushButton* addButton(const QString& caption, void (kzev::NonregularLampPageLogic::*action)());

    kzev::LampSheetContext m_context;
    kzev::GridWidget* m_grid;
    std::unique_ptr<kzev::NonregularLampPageLogic> m_logic;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_moveToOther = nullptr;
    QPushButton* m_undo = nullptr;
};
