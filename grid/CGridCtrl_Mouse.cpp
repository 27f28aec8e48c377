// The pointer side of the grid: selecting by click and drag, resizing rows and columns by
// their borders, auto-sizing by a double click there, auto-scroll and the wheel.
#include "grid/CGridCtrl.h"

#include "grid/IGridWindow.h"

#include <algorithm>
#include <cstdlib>

using namespace kzev;

namespace {

bool contains(const GridRect& rect, GridPoint point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

} // namespace

GridPoint CGridCtrl::GetPointClicked(int row, int col, GridPoint point) const
{
    GridPoint origin;
    if (!GetCellOrigin(row, col, origin))
        return {};
    return {point.x - origin.x, point.y - origin.y};
}

void CGridCtrl::MoveTrackingLine(GridRect line)
{
    // The line is painted over the cells; both its old and its new place are repainted.
    if (m_pWindow != nullptr && !m_trackLine.isEmpty())
        m_pWindow->invalidateRect(m_trackLine);
    m_trackLine = line;
    if (m_pWindow != nullptr && !m_trackLine.isEmpty())
        m_pWindow->invalidateRect(m_trackLine);
}

// ---- move ---------------------------------------------------------------------------------

void CGridCtrl::OnMouseMove(KeyModifiers, GridPoint point)
{
    const GridRect client = GetClientRect();
    if (m_MouseMode != mouse::Dragging && !contains(client, point))
        return;

    if (m_bLMouseButtonDown && m_MouseMode != mouse::Nothing) {
        if (IsValid(m_LeftClickDownCell)) {
            switch (m_MouseMode) {
            case mouse::SelectAll:
                break;
            case mouse::SelectCol:
            case mouse::SelectRow:
            case mouse::SelectCells: {
                const CellId cell = GetCellFromPt(point, true);
                if (!IsValid(cell))
                    return;
                if (!(cell == m_idCurrentCell)) {
                    OnSelecting(cell);
                    if ((cell.row >= m_nFixedRows && cell.col >= m_nFixedCols) || m_MouseMode == mouse::SelectCol
                        || m_MouseMode == mouse::SelectRow)
                        SetFocusCell(cell);
                }
                break;
            }
            case mouse::SizingRow:
                MoveTrackingLine({0, std::max(point.y, m_resizeStart), client.right, std::max(point.y, m_resizeStart) + 2});
                break;
            case mouse::SizingCol:
                MoveTrackingLine({std::max(point.x, m_resizeStart), 0, std::max(point.x, m_resizeStart) + 2, client.bottom});
                break;
            case mouse::PrepareEdit:
            case mouse::PrepareDrag:
                m_MouseMode = mouse::PrepareDrag;
                OnBeginDrag();
                break;
            default:
                break;
            }
        }
        m_LastMousePoint = point;
        return;
    }

    // No button held: the cursor follows the borders.
    const int before = m_MouseMode;
    if (m_bAllowColumnResize && MouseOverColumnResizeArea(point)) {
        m_MouseMode = mouse::OverColDivide;
        if (before != m_MouseMode && m_pWindow != nullptr)
            m_pWindow->setCursorShape(GridCursor::SizeWE);
    } else if (m_bAllowRowResize && MouseOverRowResizeArea(point)) {
        m_MouseMode = mouse::OverRowDivide;
        if (before != m_MouseMode && m_pWindow != nullptr)
            m_pWindow->setCursorShape(GridCursor::SizeNS);
    } else if (m_MouseMode != mouse::Nothing) {
        m_MouseMode = mouse::Nothing;
        if (m_pWindow != nullptr)
            m_pWindow->setCursorShape(GridCursor::Arrow);
    }
    if (m_MouseMode != mouse::Nothing) {
        m_LastMousePoint = point;
        return;
    }

    if (!(m_bVirtualMode && !m_bTitleTips)) {
        const CellId id = GetCellFromPt(point, true);
        CGridCellBase* cell = GetCell(id.row, id.col);
        if (cell != nullptr)
            cell->OnMouseOver();
        GridRect rect;
        if (m_bTitleTips && cell != nullptr && m_pWindow != nullptr && !cell->GetTipText().empty()
            && !cell->IsEditing() && GetCellRect(id.row, id.col, rect)) {
            TitleTipRequest tip;
            tip.hoverRect = {rect.left, rect.top, rect.right + 1, rect.bottom + 1};
            GridRect textRect = rect;
            if (cell->GetTipTextRect(textRect)) {
                tip.titleRect = {textRect.left, textRect.top, textRect.right + 1, textRect.bottom + 1};
                tip.text = cell->GetTipText();
                if (const GridFont* font = cell->GetFont())
                    tip.font = *font;
                tip.textClr = m_crTTipFgClr;
                tip.backClr = m_crTTipBackClr;
                m_pWindow->showTitleTip(tip);
            }
        }
    }
    m_LastMousePoint = point;
}

// ---- press --------------------------------------------------------------------------------

int CGridCtrl::ResizedLine(bool column, GridPoint point) const
{
    const int margin = m_nResizeCaptureRange;
    const auto size = [&](int index) { return column ? GetColumnWidth(index) : GetRowHeight(index); };
    const CellId down = m_LeftClickDownCell;
    int index = column ? down.col : down.row;
    const int last = (column ? m_nCols : m_nRows) - 1;
    GridRect visible;
    static_cast<void>(GetVisibleNonFixedCellRange(&visible));
    // A last line too narrow to grab is taken at the end of the visible cells.
    if (size(last) < margin && std::abs((column ? point.x - visible.right : point.y - visible.bottom)) < margin)
        index = last;
    GridPoint start;
    const bool atStart = GetCellOrigin(column ? down.row : index, column ? index : down.col, start)
        && (column ? point.x - start.x : point.y - start.y) <= margin;
    if (atStart && index > 0 && (index != last || size(last) >= margin))
        --index;
    if (!(column ? m_bHiddenColUnhide : m_bHiddenRowUnhide))
        while (index > 0 && size(index) == 0)
            --index;
    return index;
}

void CGridCtrl::OnLButtonDown(KeyModifiers modifiers, GridPoint point)
{
    if (m_pWindow != nullptr)
        m_pWindow->takeFocus();
    m_LeftClickDownPoint = point;
    m_bLMouseButtonDown = true;
    m_LeftClickDownCell = GetCellFromPt(point, true);
    if (!IsValid(m_LeftClickDownCell))
        return;

    if (modifiers.shift) {
        if (!IsValid(m_SelectionStartCell))
            m_SelectionStartCell = m_idCurrentCell;
    } else {
        m_SelectionStartCell = m_LeftClickDownCell;
    }

    EndEditing();
    if (CGridCellBase* cell = GetCell(m_LeftClickDownCell.row, m_LeftClickDownCell.col))
        cell->OnClickDown(GetPointClicked(m_LeftClickDownCell.row, m_LeftClickDownCell.col, point));

    if (m_LeftClickDownCell == m_idCurrentCell) {
        if (IsCellEditable(m_LeftClickDownCell.row, m_LeftClickDownCell.col))
            m_MouseMode = mouse::PrepareEdit;
        return;
    }

    if (!IsCellSelected(m_LeftClickDownCell.row, m_LeftClickDownCell.col)) {
        if (m_MouseMode != mouse::OverColDivide && m_MouseMode != mouse::OverRowDivide) {
            SetFocusCell(-1, -1);
            if (m_nRows > m_nFixedRows && m_nCols > m_nFixedCols)
                SetFocusCell(std::max(m_LeftClickDownCell.row, m_nFixedRows),
                    std::max(m_LeftClickDownCell.col, m_nFixedCols));
        }
    } else if (modifiers.ctrl) {
        // Ctrl on a selected cell takes it (or its rows) out of the selection.
        SetFocusCell(m_LeftClickDownCell);
        if (m_bListMode)
            SelectRows(m_LeftClickDownCell, true, false);
        else
            SelectCells(m_LeftClickDownCell, true, false);
        return;
    } else if (m_bAllowDragAndDrop) {
        m_MouseMode = mouse::PrepareDrag;
    }

    if (m_MouseMode == mouse::Nothing) {
        if (m_bAllowColumnResize && MouseOverColumnResizeArea(point)) {
            m_MouseMode = mouse::OverColDivide;
            if (m_pWindow != nullptr)
                m_pWindow->setCursorShape(GridCursor::SizeWE);
        } else if (m_bAllowRowResize && MouseOverRowResizeArea(point)) {
            m_MouseMode = mouse::OverRowDivide;
            if (m_pWindow != nullptr)
                m_pWindow->setCursorShape(GridCursor::SizeNS);
        }
    }

    const GridRect client = GetClientRect();
    switch (m_MouseMode) {
    case mouse::OverColDivide: {
        m_MouseMode = mouse::SizingCol;
        m_LeftClickDownCell.col = ResizedLine(true, point);
        GridPoint start;
        m_resizeStart = GetCellOrigin(m_LeftClickDownCell.row, m_LeftClickDownCell.col, start) ? start.x : 0;
        // The border can't be dragged left of the column's start.
        const int x = std::max(point.x, m_resizeStart);
        MoveTrackingLine({x, 0, x + 2, client.bottom});
        break;
    }
    case mouse::OverRowDivide: {
        m_MouseMode = mouse::SizingRow;
        m_LeftClickDownCell.row = ResizedLine(false, point);
        GridPoint start;
        m_resizeStart = GetCellOrigin(m_LeftClickDownCell.row, m_LeftClickDownCell.col, start) ? start.y : 0;
        const int y = std::max(point.y, m_resizeStart);
        MoveTrackingLine({0, y, client.right, y + 2});
        break;
    }
    case mouse::PrepareDrag:
        break;
    default:
        m_PrevSelectedCellMap.clear();
        if (modifiers.ctrl)
            m_PrevSelectedCellMap = m_SelectedCellMap;
        if (m_LeftClickDownCell.row < m_nFixedRows) {
            OnFixedRowClick(m_LeftClickDownCell);
        } else if (m_LeftClickDownCell.col < m_nFixedCols) {
            OnFixedColumnClick(m_LeftClickDownCell);
        } else {
            m_MouseMode = m_bListMode ? mouse::SelectRow : mouse::SelectCells;
            OnSelecting(m_LeftClickDownCell);
            if (m_pWindow != nullptr)
                m_nTimerID = m_pWindow->startTimer(kAutoScrollTimer, m_nAutoScrollInterval);
        }
        break;
    }
    m_LastMousePoint = point;
}

void CGridCtrl::OnFixedRowClick(CellId cell)
{
    if (!IsValid(cell))
        return;
    if (m_bSortOnClick) {
        const bool ascending = cell.col == m_nSortColumn ? !m_bAscending : true;
        SortTextItems(cell.col, ascending);
        Refresh();
    }
    if (m_bFixedRowSelection) {
        m_MouseMode = cell.col < m_nFixedCols ? mouse::SelectAll : mouse::SelectCol;
        OnSelecting(cell);
    }
}

void CGridCtrl::OnFixedColumnClick(CellId cell)
{
    if (!IsValid(cell) || !m_bFixedColumnSelection)
        return;
    m_MouseMode = cell.row < m_nFixedRows ? mouse::SelectAll : mouse::SelectRow;
    OnSelecting(cell);
}

// ---- release ------------------------------------------------------------------------------

void CGridCtrl::OnLButtonUp(KeyModifiers, GridPoint point)
{
    m_bLMouseButtonDown = false;
    if (m_nTimerID != 0 && m_pWindow != nullptr)
        m_pWindow->killTimer(m_nTimerID);
    m_nTimerID = 0;

    const CellId focus = m_idCurrentCell;
    const auto clickFocus = [&] {
        if (CGridCellBase* cell = GetCell(focus.row, focus.col))
            cell->OnClick(GetPointClicked(focus.row, focus.col, point));
        SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, gvn::Click);
    };

    switch (m_MouseMode) {
    case mouse::PrepareEdit:
        m_MouseMode = mouse::Nothing;
        OnEditCell(focus.row, focus.col, GetPointClicked(focus.row, focus.col, point), EditStart::byKey(vk::LButton));
        break;
    case mouse::PrepareDrag:
        clickFocus();
        ResetSelectedRange();
        break;
    case mouse::SizingCol:
    case mouse::SizingRow: {
        MoveTrackingLine({});
        const bool column = m_MouseMode == mouse::SizingCol;
        GridPoint start;
        if (!(point == m_LeftClickDownPoint) && !(point == GridPoint{})
            && GetCellOrigin(m_LeftClickDownCell.row, m_LeftClickDownCell.col, start)) {
            const int minimum = (column ? m_bAllowColHide : m_bAllowRowHide) ? 0 : 1;
            if (column)
                SetColumnWidth(m_LeftClickDownCell.col, std::max(point.x - start.x, minimum));
            else
                SetRowHeight(m_LeftClickDownCell.row, std::max(point.y - start.y, minimum));
            ResetScrollBars();
            Refresh();
        }
        break;
    }
    default:
        clickFocus();
        break;
    }

    m_MouseMode = mouse::Nothing;
    if (m_pWindow != nullptr) {
        m_pWindow->setCursorShape(GridCursor::Arrow);
        if (IsValid(m_LeftClickDownCell))
            m_pWindow->postCommand();
    }
}

void CGridCtrl::OnLButtonDblClk(KeyModifiers, GridPoint point)
{
    const CellId cell = GetCellFromPt(point, true);
    if (!IsValid(cell))
        return;
    const int margin = m_nResizeCaptureRange;
    GridPoint start;

    if (m_MouseMode == mouse::OverColDivide || m_MouseMode == mouse::OverRowDivide) {
        // The border at a line's start belongs to the line before it; hidden lines are passed over.
        const bool column = m_MouseMode == mouse::OverColDivide;
        const auto size = [&](int index) { return column ? GetColumnWidth(index) : GetRowHeight(index); };
        int index = column ? cell.col : cell.row;
        if (GetCellOrigin(cell.row, cell.col, start) && (column ? point.x - start.x : point.y - start.y) <= margin
            && index > 0)
            --index;
        while (index > 0 && size(index) == 0)
            --index;
        if (column)
            AutoSizeColumn(index, m_nAutoSizeColumnStyle);
        else
            AutoSizeRow(index);
        Refresh();
        return;
    }
    if (m_MouseMode != mouse::Nothing)
        return;

    const GridPoint clicked = GetPointClicked(m_LeftClickDownCell.row, m_LeftClickDownCell.col, point);
    if (cell.row >= m_nFixedRows && cell.col >= m_nFixedCols && IsValid(m_LeftClickDownCell))
        OnEditCell(cell.row, cell.col, clicked, EditStart::byKey(vk::LButton));
    else if (m_bListMode && cell.row >= m_nFixedRows && cell.col < m_nFixedCols)
        OnEditCell(cell.row, cell.col, clicked, EditStart::byKey(vk::LButton));
    if (CGridCellBase* gridCell = GetCell(cell.row, cell.col))
        gridCell->OnDblClick(clicked);
    SendMessageToParent(cell.row, cell.col, gvn::DblClick);
}

void CGridCtrl::OnRButtonUp(KeyModifiers, GridPoint point)
{
    EndEditing();
    const CellId cell = GetCellFromPt(point, true);
    if (!IsValid(cell)) {
        SendMessageToParent(-1, -1, gvn::RClick);
        return;
    }
    SetFocusCell(-1, -1);
    SetFocusCell(std::max(cell.row, m_nFixedRows), std::max(cell.col, m_nFixedCols));
    const CellId focus = m_idCurrentCell;
    if (CGridCellBase* gridCell = GetCell(focus.row, focus.col))
        gridCell->OnRClick(GetPointClicked(focus.row, focus.col, point));
    SendMessageToParent(focus.row, focus.col, gvn::RClick);
}

void CGridCtrl::OnMouseWheel(KeyModifiers, int delta, GridPoint)
{
    if (m_nWheelScrollLines != 0xFFFFFFFFu) {
        const int lines = delta * static_cast<int>(m_nWheelScrollLines) / 120;
        for (int i = 0; i < lines; ++i)
            OnVScroll(ScrollCode::LineUp);
        for (int i = 0; i < -lines; ++i)
            OnVScroll(ScrollCode::LineDown);
    } else {
        const int pages = delta / 120;
        for (int i = 0; i < pages; ++i)
            OnVScroll(ScrollCode::PageUp);
        for (int i = 0; i < -pages; ++i)
            OnVScroll(ScrollCode::PageDown);
    }
}
