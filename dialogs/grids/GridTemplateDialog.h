#pragma once

#include <QDialog>

class QHBoxLayout;
class QPushButton;

namespace kzev {

class GridWidget;

/**
 * The modal dialog of a grid with "OK" and "Storno" that the grid dialogs
 * share: a double click in the grid is OK, and OK ends the dialog only when
 * a row of the grid is chosen, returning the item data of its first cell.
 */
class GridTemplateDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kGridId = 1051;

    explicit GridTemplateDialog(QWidget* parent = nullptr);
    ~GridTemplateDialog() override;

    [[nodiscard]] GridWidget& gridWidget() { return *m_grid; }
    [[nodiscard]] QPushButton* okButton() const { return m_ok; }
    [[nodiscard]] QPushButton* cancelButton() const { return m_cancel; }
    /** The item data of the chosen row's first cell, -1 before a choice. */
    [[nodiscard]] int chosenIndex() const { return m_chosen; }

    /** Ends the dialog with the row of the selection; does nothing without one. */
    virtual void OnOK();

protected:
    /** The row of buttons under the grid, OK last. */
    [[nodiscard]] QHBoxLayout* buttonRow() const { return m_buttonRow; }

private:
    GridWidget* m_grid;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QHBoxLayout* m_buttonRow;
    int m_chosen = -1;
};

} // namespace kzev
