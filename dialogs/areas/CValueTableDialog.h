#pragma once

#include <QDialog>

class CWorkSystem;

namespace kzev {
class GridWidget;
}

/**
 * "Tabulka hodnot": the given value of every point of an area in a table laid
 * out like the grid in plan. Closing after an edit asks whether to keep the
 * changes and stores them into the points.
 */
class CValueTableDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 241;
    static constexpr int kGridId = 1240;

    CValueTableDialog(CWorkSystem& area, QWidget* parent = nullptr);

    [[nodiscard]] kzev::GridWidget& gridWidget() { return *m_grid; }
    [[nodiscard]] bool edited() const { return m_edited; }

    /** Asks to keep edits, stores them on Yes; true when the values were stored. */
    bool storeIfWanted();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    CWorkSystem& m_area;
    kzev::GridWidget* m_grid;
    bool m_edited = false;
};
