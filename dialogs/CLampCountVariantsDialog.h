#pragma once

#include "dialogs/GridLampCountTable.h"

#include <QDialog>

namespace kzev {
class GridWidget;
}

/**
 * The dialog of the lamp-count design table: a grid (control 1051) that the
 * design fills before the dialog is shown, and a button to close it. It
 * changes nothing in the project.
 */
class CLampCountVariantsDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 216;
    static constexpr int kGridId = 1051;

    explicit CLampCountVariantsDialog(QWidget* parent = nullptr);
    ~CLampCountVariantsDialog() override;

    [[nodiscard]] kzev::GridWidget& gridWidget() { return *m_grid; }
    /** The table the design writes into. */
    [[nodiscard]] kzev::ILampCountTable& table() { return m_table; }

private:
    kzev::GridWidget* m_grid;
    kzev::GridLampCountTable m_table;
};
