// Copy, cut and paste of cell texts as plain text: a tab between columns, a line feed between rows.
#include "grid/CGridCtrl.h"

#include "grid/IGridWindow.h"

#include <string_view>

using namespace kzev;

namespace {

std::string_view trimmed(std::string_view text)
{
    constexpr std::string_view kBlank = " \t\r\n\v\f";
    const std::size_t first = text.find_first_not_of(kBlank);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlank) - first + 1);
}

} // namespace

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
                text += GetItemText(row, col);
        }
    }

    if (m_bVirtualMode)
        SendCacheHintToParent({});
    return text;
}

bool CGridCtrl::PasteTextToGrid(int startRow, int startCol, const std::string& text)
{
    if (!IsCellEditable(startRow, startCol))
        return false;

    // Fields are split at tabs only: a comma is the decimal comma of the numbers the grids
    // show (and copy), so a copied block pastes back as it was.
    std::string_view rest = text;
    int rowOffset = 0;
    while (true) {
        const std::size_t lineEnd = rest.find('\n');
        std::string_view line = rest.substr(0, lineEnd);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        while (startRow + rowOffset < m_nRows && GetRowHeight(startRow + rowOffset) == 0)
            ++rowOffset;
        const int row = startRow + rowOffset;

        std::string_view fields = line;
        int colOffset = 0;
        while (row < m_nRows && !line.empty()) {
            const std::size_t fieldEnd = fields.find('\t');
            const std::string_view field = fields.substr(0, fieldEnd);
            while (startCol + colOffset < m_nCols && GetColumnWidth(startCol + colOffset) == 0)
                ++colOffset;
            const int col = startCol + colOffset;
            // Headings and read-only cells keep their texts; the block keeps its shape around them.
            if (IsValid(row, col) && row >= m_nFixedRows && col >= m_nFixedCols && IsCellEditable(row, col)) {
                SendMessageToParent(row, col, gvn::BeginLabelEdit);
                SetItemText(row, col, std::string(trimmed(field)));
                SetModified(true, row, col);
                SendMessageToParent(row, col, gvn::EndLabelEdit);
                SetItemState(row, col, GetItemState(row, col) & ~gvis::Selected);
            }
            ++colOffset;
            if (fieldEnd == std::string_view::npos)
                break;
            fields.remove_prefix(fieldEnd + 1);
        }
        ++rowOffset;
        if (lineEnd == std::string_view::npos)
            break;
        rest.remove_prefix(lineEnd + 1);
    }
    Refresh();
    return true;
}

void CGridCtrl::CutSelectedText()
{
    if (!m_bEditable)
        return;
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
