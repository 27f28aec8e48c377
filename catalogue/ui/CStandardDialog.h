#pragma once

#include "catalogue/StandardRequirements.h"
#include "catalogue/ui/FindTextDialog.h"

#include <QDialog>
#include <QPointer>

#include <string>

class CKzevDoc;
class QPushButton;

namespace kzev {
class GridWidget;
} // namespace kzev

/**
 * "Norma": the requirement table of the lighting standard, one row per kind
 * of interior, task or activity, read from a workbook of the data folder.
 * The user searches it (Ctrl+F) and picks a row; OK or a double click hands
 * back the row's name, illuminance and glare limit. The dialog reopens where
 * and as large as it was when last closed with OK.
 */
class CStandardDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 233;
    static constexpr int kGridId = 1218;
    static constexpr int kFindCommand = 32922;

    explicit CStandardDialog(CKzevDoc& doc, QWidget* parent = nullptr);
    ~CStandardDialog() override;

    /** The workbook to show, without ".xls"; the outdoor one is set by the caller in outdoor projects. */
    std::string m_workbook = kzev::kIndoorRequirements;

    /** Fills the grid and runs the dialog; QDialog::Accepted after a row was chosen. */
    int DoModal();
    /** Reads the workbook into the grid; a missing workbook or sheet is shown and leaves it empty. */
    void FillGrid();
    /** Opens the find window; the search starts again at the first row. */
    void OnFind();
    /** Takes the first selected row and ends the dialog; does nothing without a selection. */
    void OnOK();

    /** The chosen row's requirement, valid after DoModal returned Accepted. */
    [[nodiscard]] const kzev::StandardRequirement& result() const { return m_result; }
    /** The row chosen with OK, as read from the workbook. */
    [[nodiscard]] const std::vector<std::string>& chosenRow() const { return m_chosenRow; }
    [[nodiscard]] kzev::GridWidget& gridWidget() { return *m_grid; }
    [[nodiscard]] QPushButton* okButton() const { return m_ok; }
    [[nodiscard]] kzev::FindTextDialog* findDialog() const { return m_find; }

private:
    void OnFindNext();

    CKzevDoc& m_doc;
    kzev::GridWidget* m_grid;
    QPushButton* m_ok;
    kzev::RequirementTable m_table;
    kzev::StandardRequirement m_result;
    std::vector<std::string> m_chosenRow;
    std::string m_searchText;
    QPointer<kzev::FindTextDialog> m_find;
    /** Grid row from which the next search starts. */
    int m_searchRow = 1;
};
