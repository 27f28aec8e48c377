#pragma once

#include "catalogue/ui/CLuminaireDatabaseDialog.h"

#include <QPointer>
#include <QTreeWidget>

/**
 * The tree on the workspace bar's "Databáze" tab: the makers whose workbooks
 * the reference database lists, under a branch of luminaire makers (item
 * data 1) and one of lamp makers (2); a maker's item data is its number. A
 * double click on a luminaire maker opens the luminaire database dialog on
 * the maker's workbook; a double click on a lamp maker, and a right double
 * click on any maker, open the workbook in the database editor.
 */
class CDatabaseTree : public QTreeWidget {
    Q_OBJECT

public:
    static constexpr int kControlId = 3;
    /** Item data of the luminaire makers' branch. */
    static constexpr int kLuminaireBranch = 1;
    static constexpr int kLampBranch = 2;

    explicit CDatabaseTree(QWidget* parent = nullptr);

    /** The switch the database dialog disables and enables the frame's bars with. */
    void setBarSwitch(CLuminaireDatabaseDialog::BarSwitch bars) { m_bars = std::move(bars); }
    /** Sets how the luminaire dialogs it opens show a catalogue sheet. */
    void setSheetPreview(CLuminaireDatabaseDialog::SheetPreview preview) { m_sheetPreview = std::move(preview); }

    /** Lists the makers of the reference database anew (nothing when it cannot be read). */
    void FillTree();
    /** Fills the tree the first time it is needed. */
    void ensureFilled();

    /** The item data: a maker's number, or the branch's kind. */
    [[nodiscard]] static long dataOf(const QTreeWidgetItem* item);

    /** Acts on the selected maker: the dialog for a luminaire maker, else the editor on its lamps. */
    void OnDblClk();
    /** Opens the selected maker's workbook in the editor. */
    void OnRDblClk();

    /** The last dialog opened from the tree (null once it is closed). */
    [[nodiscard]] CLuminaireDatabaseDialog* openDialog() const { return m_dialog; }

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    [[nodiscard]] QTreeWidgetItem* selectedMaker() const;

    CLuminaireDatabaseDialog::BarSwitch m_bars;
    CLuminaireDatabaseDialog::SheetPreview m_sheetPreview;
    QPointer<CLuminaireDatabaseDialog> m_dialog;
    bool m_filled = false;
};
