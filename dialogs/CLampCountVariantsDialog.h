#pragma once

#include "dialogs/GridLampCountTable.h"
#include "dialogs/grids/GridTemplateDialog.h"

/**
 * The dialog of the lamp-count design table: a grid (control 1051) that the
 * design fills before the dialog is shown. A double click on a row or OK
 * with a row chosen ends it, "Storno" or closing leaves it; it changes
 * nothing in the project.
 */
class CLampCountVariantsDialog : public kzev::GridTemplateDialog {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 216;

    explicit CLampCountVariantsDialog(QWidget* parent = nullptr);
    ~CLampCountVariantsDialog() override;

    /** The table the design writes into. */
    [[nodiscard]] kzev::ILampCountTable& table() { return m_table; }

    /** Ends the dialog when a cell of the table is chosen. */
    void OnOK() override;

private:
    kzev::GridLampCountTable m_table;
};
