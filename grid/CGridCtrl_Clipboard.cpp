// Copy, cut and paste of cell texts as plain text: a tab between columns, a line feed between rows.
#include "grid/CGridCtrl.h"

#include "grid/IGridWindow.h"
#include "grid/text/GridTextBlock.h"

using namespace kzev;

std::optional<std::string> CGridCtrl::CopyTextFromGrid() const
{
    const CellRange range = GetSelectedCellRange();
    if (!IsValid(range))
        return std::nullopt;
    if (m_bVirtualMode)
        SendCacheHintToParent(range);

    std::string text;
    bool firstRow = true;
    for (int row = range.minRow; row <= range.maxRow; ++row) {
        if (GetRowHeight(row) == 0)
            continue;
        if (!firstRow)
            text += '\n';
        firstRow = false;
        bool firstCol = true;
        for (int col = range.minCol; col <= range.maxCol; ++col) {
            if (GetColumnWidth(col) == 0)
                continue;
            if (!firstCol)
                text += '\t';
            firstCol = false;
            // Unselected cells of a ragged selection keep their place as empty fields.
            if (IsCellSelected(row, col))
                text += clipboardCellText(GetItemText(row, col));
        }
    }

    if (m_bVirtualMode)
        SendCacheHintToParent({});
    return text;
}

namespace {

/** Marks the cells' edits as one block while it lives. */
class BlockEdit {
public:
    BlockEdit(int& current, int& count)
        : m_current(current)
    {
        m_current = ++count;
    }
    ~BlockEdit() { m_current = 0; }
    BlockEdit(const BlockEdit&) = delete;
    BlockEdit& operator=(const BlockEdit&) = delete;

private:
    int& m_current;
};

} // namespace

bool CGridCtrl::PasteTextToGrid(int startRow, int startCol, const std::string& text)
{
    if (!IsCellEditable(startRow, startCol))
        return false;
    const BlockEdit block(m_nBlockEdit, m_nBlockEdits);

    int rowOffset = 0;
    for (const std::string_view line : textBlockLines(text)) {
        while (startRow + rowOffset < m_nRows && GetRowHeight(startRow + rowOffset) == 0)
            ++rowOffset;
        const int row = startRow + rowOffset;
        ++rowOffset;
        if (row >= m_nRows)
            break;
        int colOffset = 0;
        for (const std::string_view field : textBlockFields(line)) {
            while (startCol + colOffset < m_nCols && GetColumnWidth(startCol + colOffset) == 0)
                ++colOffset;
            const int col = startCol + colOffset;
            ++colOffset;
            if (col >= m_nCols)
                break;
            // Headings and read-only cells keep their texts; the block keeps its shape around them.
            if (row < m_nFixedRows || col < m_nFixedCols || !IsCellEditable(row, col))
                continue;
            SendMessageToParent(row, col, gvn::BeginLabelEdit);
            SetItemText(row, col, std::string(field));
            SetModified(true, row, col);
            SendMessageToParent(row, col, gvn::EndLabelEdit);
            SetItemState(row, col, GetItemState(row, col) & ~gvis::Selected);
        }
    }
    Refresh();
    return true;
}

void CGridCtrl::CutSelectedText()
{
    if (!m_bEditable)
        return;
    const BlockEdit block(m_nBlockEdit, m_nBlockEdits);
    const auto selected = m_SelectedCellMap;
    for (const auto& [key, cell] : selected) {
        if (!IsCellEditable(cell.row, cell.col) || GetCell(cell.row, cell.col) == nullptr
            || GetRowHeight(cell.row) == 0 || GetColumnWidth(cell.col) == 0)
            continue;
        SendMessageToParent(cell.row, cell.col, gvn::BeginLabelEdit);
        SetItemText(cell.row, cell.col, std::string());
        SetModified(true, cell.row, cell.col);
        SendMessageToParent(cell.row, cell.col, gvn::EndLabelEdit);
    }
    Refresh();
}

void CGridCtrl::OnEditCopy()
{
    if (const std::optional<std::string> text = CopyTextFromGrid(); text && m_pWindow != nullptr)
        m_pWindow->setClipboardText(*text);
}

void CGridCtrl::OnEditCut()
{
    if (!m_bEditable)
        return;
    const std::optional<std::string> text = CopyTextFromGrid();
    if (!text || m_pWindow == nullptr || !m_pWindow->setClipboardText(*text))
        return;
    CutSelectedText();
}

void CGridCtrl::OnEditPaste()
{
    if (!m_bEditable || m_pWindow == nullptr)
        return;
    CellId cell = m_idCurrentCell;
    if (!IsValid(cell))
        cell = GetTopleftNonFixedCell();
    if (!IsValid(cell))
        return;
    if (const std::optional<std::string> text = m_pWindow->clipboardText())
        PasteTextToGrid(cell.row, cell.col, *text);
}

bool CGridCtrl::CanCopy() const
{
    return IsValid(GetSelectedCellRange());
}

bool CGridCtrl::CanCut() const
{
    return m_bEditable && CanCopy();
}

bool CGridCtrl::CanPaste() const
{
    return IsCellEditable(m_idCurrentCell.row, m_idCurrentCell.col) && m_pWindow != nullptr
        && m_pWindow->clipboardText().has_value();
}
