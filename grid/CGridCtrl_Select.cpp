// Focus, selection and keyboard of the grid.
#include "grid/CGridCtrl.h"

#include "grid/IGridWindow.h"

#include <algorithm>

using namespace kzev;

std::uint64_t CGridCtrl::SelectionKey(int row, int col)
{
    // Row and column get 32 bits each, so large grids never mix up two cells.
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(col)) << 32) | static_cast<std::uint32_t>(row);
}

bool CGridCtrl::IsCellSelected(int row, int col) const
{
    if (!m_bEnableSelection || !IsValid(row, col))
        return false;
    if (m_bVirtualMode)
        return m_SelectedCellMap.contains(SelectionKey(row, col));
    return (GetItemState(row, col) & gvis::Selected) != 0;
}

bool CGridCtrl::IsCellEditable(int row, int col) const
{
    return m_bEditable && IsValid(row, col) && (GetItemState(row, col) & gvis::ReadOnly) == 0;
}

void CGridCtrl::EnableSelection(bool enable)
{
    if (!enable)
        SetSelectedRange(-1, -1, -1, -1);
    m_bEnableSelection = enable;
}

// ---- focus --------------------------------------------------------------------------

void CGridCtrl::RedrawHeadings(CellId cell, CellId other)
{
    if (!m_bTrackFocusCell)
        return;
    if (cell.col != other.col)
        for (int row = 0; row < m_nFixedRows; ++row)
            RedrawCell(row, cell.col);
    if (cell.row != other.row)
        for (int col = 0; col < m_nFixedCols; ++col)
            RedrawCell(cell.row, col);
}

CellId CGridCtrl::SetFocusCell(int row, int col)
{
    if (CellId(row, col) == m_idCurrentCell)
        return m_idCurrentCell;

    const CellId previous = m_idCurrentCell;
    if (row != -1)
        row = std::max(row, m_nFixedRows);
    if (col != -1)
        col = std::max(col, m_nFixedCols);
    const CellId cell(row, col);
    m_idCurrentCell = cell;

    if (IsValid(previous)) {
        SendMessageToParent(previous.row, previous.col, gvn::SelChanging);
        SetItemState(previous.row, previous.col, GetItemState(previous.row, previous.col) & ~gvis::Focused);
        RedrawCell(previous.row, previous.col);
        RedrawHeadings(previous, cell);
    }
    if (IsValid(cell)) {
        SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) | gvis::Focused);
        RedrawCell(cell.row, cell.col);
        RedrawHeadings(cell, previous);
        SendMessageToParent(cell.row, cell.col, gvn::SelChanged);
    }
    return previous;
}

// ---- selection ----------------------------------------------------------------------

void CGridCtrl::SetSelectedRange(const CellRange& range, bool forceRepaint, bool select)
{
    SetSelectedRange(range.minRow, range.minCol, range.maxRow, range.maxCol, forceRepaint, select);
}

void CGridCtrl::SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, bool, bool select)
{
    if (!m_bEnableSelection)
        return;
    // Qt repaints only from paint events, so a forced repaint is an invalidation too.
    const auto raise = [](int bound, int fixedCount) { return bound >= 0 ? std::max(bound, fixedCount) : bound; };
    minRow = raise(minRow, m_nFixedRows);
    maxRow = raise(maxRow, m_nFixedRows);
    minCol = raise(minCol, m_nFixedCols);
    maxCol = raise(maxCol, m_nFixedCols);
    const CellRange range{minRow, minCol, maxRow, maxCol};

    if (select) {
        const auto selected = m_SelectedCellMap;
        for (const auto& [key, cell] : selected) {
            if (IsValid(cell)) {
                SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) & ~gvis::Selected);
                if (!range.contains(cell.row, cell.col))
                    RedrawCell(cell.row, cell.col);
            } else {
                m_SelectedCellMap.erase(key);
            }
        }
        if (!(m_bListMode && m_bSingleRowSelection)) {
            if (minRow < 0)
                return;
            if (minCol >= 0 && maxRow >= 0 && maxCol >= 0) {
                for (const auto& [key, cell] : m_PrevSelectedCellMap) {
                    if (!IsValid(cell))
                        continue;
                    SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) | gvis::Selected);
                    RedrawCell(cell.row, cell.col);
                }
            }
        }
    }

    if (!IsValid(range))
        return;
    for (int row = minRow; row <= maxRow; ++row)
        for (int col = minCol; col <= maxCol; ++col) {
            const std::uint32_t state = GetItemState(row, col);
            const bool isSelected = (state & gvis::Selected) != 0;
            if (select == isSelected)
                continue;
            SetItemState(row, col, select ? state | gvis::Selected : state & ~gvis::Selected);
            RedrawCell(row, col);
        }
}

void CGridCtrl::ResetSelectedRange()
{
    m_PrevSelectedCellMap.clear();
    SetSelectedRange(-1, -1, -1, -1, false, true);
    SetFocusCell(-1, -1);
}

void CGridCtrl::SelectAllCells()
{
    if (!m_bEnableSelection)
        return;
    SetSelectedRange(m_nFixedRows, m_nFixedCols, m_nRows - 1, m_nCols - 1, false, true);
}

void CGridCtrl::SelectColumns(CellId cell, bool forceRepaint, bool select)
{
    if (!m_bEnableSelection || !IsValid(cell) || cell.col < m_nFixedCols)
        return;
    if (m_bSingleColSelection)
        SetSelectedRange(m_nFixedRows, cell.col, m_nRows - 1, cell.col, forceRepaint, select);
    else
        SetSelectedRange(m_nFixedRows, std::min(m_SelectionStartCell.col, cell.col), m_nRows - 1,
            std::max(m_SelectionStartCell.col, cell.col), forceRepaint, select);
}

void CGridCtrl::SelectRows(CellId cell, bool forceRepaint, bool select)
{
    if (!m_bEnableSelection || !IsValid(cell) || cell.row < m_nFixedRows)
        return;
    if (m_bListMode && m_bSingleRowSelection)
        SetSelectedRange(cell.row, m_nFixedCols, cell.row, m_nCols - 1, forceRepaint, select);
    else
        SetSelectedRange(std::min(m_SelectionStartCell.row, cell.row), m_nFixedCols,
            std::max(m_SelectionStartCell.row, cell.row), m_nCols - 1, forceRepaint, select);
}

void CGridCtrl::SelectCells(CellId cell, bool forceRepaint, bool select)
{
    if (!m_bEnableSelection || !IsValid(cell) || cell.row < m_nFixedRows || cell.col < m_nFixedCols)
        return;
    const CellId start = m_SelectionStartCell;
    SetSelectedRange(std::min(start.row, cell.row), std::min(start.col, cell.col), std::max(start.row, cell.row),
        std::max(start.col, cell.col), forceRepaint, select);
}

void CGridCtrl::OnSelecting(CellId cell)
{
    if (!m_bEnableSelection)
        return;
    switch (m_MouseMode) {
    case mouse::SelectAll:
        SelectAllCells();
        break;
    case mouse::SelectCol:
        SelectColumns(cell, false, true);
        break;
    case mouse::SelectRow:
        SelectRows(cell, false, true);
        break;
    case mouse::SelectCells:
        SelectCells(cell, false, true);
        break;
    default:
        break;
    }
}

CellRange CGridCtrl::GetSelectedCellRange() const
{
    if (m_SelectedCellMap.empty())
        return {m_nRows, m_nCols, -1, -1};
    CellRange range{m_nRows, m_nCols, -1, -1};
    for (const auto& [key, cell] : m_SelectedCellMap) {
        range.minRow = std::min(range.minRow, cell.row);
        range.minCol = std::min(range.minCol, cell.col);
        range.maxRow = std::max(range.maxRow, cell.row);
        range.maxCol = std::max(range.maxCol, cell.col);
    }
    return range;
}

// ---- keyboard -----------------------------------------------------------------------

bool CGridCtrl::OnKeyDown(unsigned key, KeyModifiers modifiers)
{
    if (!IsValid(m_idCurrentCell))
        return false;

    if (modifiers.ctrl) {
        switch (key) {
        case vk::Insert:
        case 'C':
            OnEditCopy();
            return true;
        case 'A':
            OnEditSelectAll();
            return true;
        case 'V':
            OnEditPaste();
            return true;
        case 'X':
            OnEditCut();
            return true;
        default:
            break;
        }
    }
    if (modifiers.shift && key == vk::Insert) {
        OnEditPaste();
        return true;
    }

    const CellId focus = m_idCurrentCell;
    CellId next = focus;
    bool wrapped = false;
    const bool backTab = key == vk::Tab && modifiers.shift;
    switch (key) {
    case vk::Delete:
        if (IsCellEditable(focus.row, focus.col)) {
            SendMessageToParent(focus.row, focus.col, gvn::BeginLabelEdit);
            SetItemText(focus.row, focus.col, std::string());
            SetModified(true, focus.row, focus.col);
            SendMessageToParent(focus.row, focus.col, gvn::EndLabelEdit);
            RedrawCell(focus.row, focus.col);
        }
        return true;
    case vk::Down: {
        int row = focus.row + 1;
        while (row < m_nRows && GetRowHeight(row) == 0)
            ++row;
        if (row < m_nRows)
            next.row = row;
        break;
    }
    case vk::Up: {
        int row = focus.row - 1;
        while (row >= m_nFixedRows && GetRowHeight(row) == 0)
            --row;
        if (row >= m_nFixedRows)
            next.row = row;
        break;
    }
    case vk::Right:
    case vk::Tab:
    case vk::Left:
        if (key == vk::Right || (key == vk::Tab && !backTab)) {
            int col = focus.col + 1;
            while (col < m_nCols && GetColumnWidth(col) == 0)
                ++col;
            if (col < m_nCols) {
                next.col = col;
            } else if (key == vk::Tab) {
                if (focus.row >= m_nRows - 1)
                    return false; // the last cell hands Tab on to the dialog
                next = CellId(focus.row + 1, m_nFixedCols);
                wrapped = true;
            }
        } else {
            int col = focus.col - 1;
            while (col >= m_nFixedCols && GetColumnWidth(col) == 0)
                --col;
            if (col >= m_nFixedCols) {
                next.col = col;
            } else if (backTab) {
                if (focus.row <= m_nFixedRows)
                    return false;
                next = CellId(focus.row - 1, m_nCols - 1);
                wrapped = true;
            }
        }
        break;
    case vk::Next: {
        const int before = GetTopleftNonFixedCell().row;
        OnVScroll(ScrollCode::PageDown);
        const int moved = GetTopleftNonFixedCell().row - before;
        next.row = moved != 0 ? std::min(focus.row + moved, m_nRows - 1) : m_nRows - 1;
        break;
    }
    case vk::Prior: {
        const int before = GetTopleftNonFixedCell().row;
        OnVScroll(ScrollCode::PageUp);
        const int moved = GetTopleftNonFixedCell().row - before;
        next.row = moved != 0 ? std::max(focus.row + moved, m_nFixedRows) : m_nFixedRows;
        break;
    }
    case vk::Home: {
        if (modifiers.ctrl) {
            OnVScroll(ScrollCode::Top);
            next.row = m_nFixedRows;
        }
        OnHScroll(ScrollCode::Top);
        int col = m_nFixedCols;
        while (col < m_nCols - 1 && GetColumnWidth(col) == 0)
            ++col;
        next.col = col;
        while (next.row < m_nRows - 1 && GetRowHeight(next.row) == 0)
            ++next.row;
        break;
    }
    case vk::End: {
        if (modifiers.ctrl) {
            OnVScroll(ScrollCode::Bottom);
            next.row = m_nRows - 1;
        }
        OnHScroll(ScrollCode::Bottom);
        int col = m_nCols - 1;
        while (col > m_nFixedCols && GetColumnWidth(col) == 0)
            --col;
        next.col = col;
        while (next.row > m_nFixedRows && GetRowHeight(next.row) == 0)
            --next.row;
        break;
    }
    case vk::F2:
        OnEditCell(focus.row, focus.col, GridPoint{-1, -1}, EditStart::byKey(vk::LButton));
        return true;
    default:
        return false;
    }

    if (next == focus)
        return true;

    if (m_MouseMode == mouse::Nothing) {
        m_PrevSelectedCellMap.clear();
        m_MouseMode = m_bListMode ? mouse::SelectRow : mouse::SelectCells;
        if (!modifiers.shift || key == vk::Tab)
            m_SelectionStartCell = next;
        OnSelecting(next);
        m_MouseMode = mouse::Nothing;
    }
    SetFocusCell(next);

    if (!IsCellVisible(next.row, next.col)) {
        switch (key) {
        case vk::Tab:
            if (backTab) {
                if (wrapped) {
                    OnVScroll(ScrollCode::LineUp);
                    SetScrollPos32(kHorz, GetScrollLimit(kHorz));
                } else {
                    OnHScroll(ScrollCode::LineUp);
                }
            } else if (wrapped) {
                OnVScroll(ScrollCode::LineDown);
                SetScrollPos32(kHorz, 0);
            } else {
                OnHScroll(ScrollCode::LineDown);
            }
            break;
        case vk::Right:
            OnHScroll(ScrollCode::LineDown);
            break;
        case vk::Left:
            OnHScroll(ScrollCode::LineUp);
            break;
        case vk::Down:
            OnVScroll(ScrollCode::LineDown);
            break;
        case vk::Up:
            OnVScroll(ScrollCode::LineUp);
            break;
        default:
            break;
        }
        EnsureVisible(next.row, next.col);
        Refresh();
    }
    EnsureVisible(next.row, next.col);
    return true;
}

bool CGridCtrl::OnChar(unsigned character, KeyModifiers modifiers)
{
    if (modifiers.ctrl || m_MouseMode != mouse::Nothing || character == vk::Escape)
        return false;
    if (character == vk::Tab && m_bHandleTabKey)
        return false;
    // Control characters (Tab) open the editor as their key does; the others are typed into it.
    const EditStart start = character < 0x20 ? EditStart::byKey(character) : EditStart::byCharacter(character);
    OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, GridPoint{-1, -1}, start);
    return true;
}

void CGridCtrl::OnEndInPlaceEdit(int row, int col, const std::string& text, unsigned lastKey, KeyModifiers modifiers)
{
    OnEndEditCell(row, col, text);
    SendMessageToParent(row, col, gvn::EndLabelEdit);
    switch (lastKey) {
    case vk::Tab:
    case vk::Prior:
    case vk::Next:
    case vk::End:
    case vk::Home:
    case vk::Left:
    case vk::Up:
    case vk::Right:
    case vk::Down:
        OnKeyDown(lastKey, modifiers);
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, GridPoint{-1, -1}, EditStart::byKey(lastKey));
        break;
    default:
        break;
    }
}

// ---- auto-scroll and cursor ---------------------------------------------------------------

void CGridCtrl::OnTimer(unsigned id, GridPoint cursor)
{
    if (id != kAutoScrollTimer || m_pWindow == nullptr)
        return;
    const GridRect client = GetClientRect();
    const int fixedHeight = GetFixedRowHeight();
    const int fixedWidth = GetFixedColumnWidth();
    const int x = std::clamp(cursor.x, 0, client.right);
    const int y = std::clamp(cursor.y, 0, client.bottom);

    if (cursor.y > client.bottom) {
        OnKeyDown(vk::Down, {});
        OnSelecting(GetCellFromPt({x, client.bottom}, true));
    } else if (cursor.y < fixedHeight) {
        OnKeyDown(vk::Up, {});
        OnSelecting(GetCellFromPt({x, fixedHeight + 1}, true));
    }
    if (cursor.x > client.right) {
        OnKeyDown(vk::Right, {});
        OnSelecting(GetCellFromPt({client.right, y}, true));
    } else if (cursor.x < fixedWidth) {
        OnKeyDown(vk::Left, {});
        OnSelecting(GetCellFromPt({fixedWidth + 1, y}, true));
    }
}

GridCursor CGridCtrl::OnSetCursor(GridPoint point) const
{
    const GridRect client = GetClientRect();
    if (point.x < 0 || point.y < 0 || point.x >= client.right || point.y >= client.bottom)
        return GridCursor::Unchanged;
    switch (m_MouseMode) {
    case mouse::OverRowDivide:
        return GridCursor::SizeNS;
    case mouse::OverColDivide:
        return GridCursor::SizeWE;
    case mouse::Dragging:
        return GridCursor::Unchanged;
    default:
        break;
    }
    if (!m_bVirtualMode) {
        const CellId cell = GetCellFromPt(point, true);
        if (CGridCellBase* gridCell = GetCell(cell.row, cell.col))
            return gridCell->OnSetCursor();
    }
    return GridCursor::Arrow;
}
