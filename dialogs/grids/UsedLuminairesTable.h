#pragma once

#include "cad/UsedLuminairesLegend.h"

#include <string>
#include <vector>

class CGridCtrl;
class CKzevDoc;

namespace kzev {

/**
 * The grid of the project's used luminaire and lamp combinations without its
 * window: one row per legend entry (designation, type, name, maker,
 * protection, lamp, luminaire count) whose first cell holds the entry's
 * index, the designation edited in place and written back, the copy of the
 * used entries as tab-separated text, and the removal of unused entries and
 * the sorting of the list.
 */
class UsedLuminairesTable {
public:
    static constexpr int kColumns = 7;

    UsedLuminairesTable(CKzevDoc& doc, CGridCtrl& grid);

    /** Rebuilds the document's legend and fills the grid. */
    void OnInit();
    /** Fills the grid from the legend as it stands. */
    void Fill();
    /** A designation typed into column 0 goes into the entry the row shows. */
    void OnEndLabelEdit(int row, int col);
    /** The headings and every row of a used entry, cells followed by a tab, lines by a line feed. */
    [[nodiscard]] std::string CopyText() const;
    /** The texts of the rows of used entries, as the legend in CAD shows them. */
    [[nodiscard]] std::vector<UsedLuminaireCells> LegendRows() const;
    /** Puts CopyText on the clipboard; false when the clipboard refused it. */
    bool OnCopy() const;
    /** Drops the entries no luminaire uses, rebuilds the legend and refills. */
    void OnClear();
    /** Sorts the legend by designation and refills. */
    void OnSort();

private:
    /** Whether the row shows an entry that a luminaire of the project uses. */
    [[nodiscard]] bool RowIsUsed(int row) const;

    CKzevDoc& m_doc;
    CGridCtrl& m_grid;
};

} // namespace kzev
