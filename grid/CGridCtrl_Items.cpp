// Cell access, item attributes, sizes, auto-size, sorting and the modified flag.
#include "grid/CGridCtrl.h"

#include "grid/ITextMeasure.h"

#include <algorithm>

using namespace kzev;

bool CGridCtrl::IsValid(const CellRange& range) const
{
    return range.isValid() && range.maxRow < m_nRows && range.maxCol < m_nCols;
}

// ---- cell access --------------------------------------------------------------------

CGridCellBase* CGridCtrl::GetCell(int row, int col) const
{
    if (!IsValid(row, col))
        return nullptr;
    if (m_bVirtualMode)
        return FillTransientCell(row, col);
    const GridRow& cells = m_RowData[static_cast<std::size_t>(row)];
    if (col >= static_cast<int>(cells.size()))
        return nullptr;
    return cells[static_cast<std::size_t>(col)].get();
}

CGridCellBase* CGridCtrl::FillTransientCell(int row, int col) const
{
    const bool fixedRow = row < m_nFixedRows;
    const bool fixedCol = col < m_nFixedCols;
    const CGridDefaultCell* def = GetDefaultCell(fixedRow, fixedCol);

    CellDispInfo& info = m_dispInfo;
    info = CellDispInfo{};
    info.controlId = m_nCtrlId;
    info.row = row;
    info.col = col;
    info.mask = 0xFFFFFFFFu;
    info.format = def->GetFormat();
    info.image = def->GetImage();
    info.bkClr = def->GetBackClr();
    info.textClr = def->GetTextClr();
    info.lParam = def->GetData();
    if (const GridFont* font = def->GetFont())
        info.font = *font;
    info.margin = def->GetMargin();

    std::uint32_t state = 0;
    if (m_SelectedCellMap.contains(SelectionKey(row, col)))
        state |= gvis::Selected;
    if (fixedRow)
        state |= gvis::Fixed | gvis::FixedRow;
    if (fixedCol)
        state |= gvis::Fixed | gvis::FixedCol;
    if (CellId(row, col) == m_idCurrentCell)
        state |= gvis::Focused;
    info.state = state;

    if (m_pfnCallback)
        m_pfnCallback(info);
    else
        SendDisplayRequestToParent(info);

    CGridCell& cell = m_cellVirtual;
    cell.SetState(info.state);
    cell.SetFormat(info.format);
    cell.SetImage(info.image);
    cell.SetData(info.lParam);
    cell.SetBkClr(info.bkClr);
    cell.SetTextClr(info.textClr);
    cell.SetFont(&info.font);
    cell.SetMargin(info.margin);
    cell.SetText(info.text);
    cell.SetGrid(const_cast<CGridCtrl*>(this));
    return &cell;
}

GridSize CGridCtrl::GetCellExtent(int row, int col, const ITextMeasure* measure) const
{
    const CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr)
        return {};
    return cell->GetCellExtent(measure);
}

// ---- items --------------------------------------------------------------------------

bool CGridCtrl::SetItemText(int row, int col, const std::string& text)
{
    if (m_bVirtualMode)
        return false;
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr)
        return false;
    cell->SetText(text);
    SetModified(true, row, col);
    return true;
}

std::string CGridCtrl::GetItemText(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr ? cell->GetText() : std::string();
}

bool CGridCtrl::SetItemData(int row, int col, std::int32_t data)
{
    if (m_bVirtualMode)
        return false;
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr)
        return false;
    cell->SetData(data);
    SetModified(true, row, col);
    return true;
}

std::int32_t CGridCtrl::GetItemData(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr ? cell->GetData() : 0;
}

bool CGridCtrl::SetItemState(int row, int col, std::uint32_t state)
{
    if (!IsValid(row, col))
        return false;
    if ((state & gvis::Selected) != 0)
        m_SelectedCellMap[SelectionKey(row, col)] = CellId(row, col);
    else
        m_SelectedCellMap.erase(SelectionKey(row, col));
    if (m_bVirtualMode)
        return false;
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr)
        return false;
    cell->SetState(state);
    return true;
}

std::uint32_t CGridCtrl::GetItemState(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr ? cell->GetState() : 0;
}

bool CGridCtrl::SetItemFormat(int row, int col, std::uint32_t format)
{
    if (m_bVirtualMode)
        return false;
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr)
        return false;
    cell->SetFormat(format);
    return true;
}

std::uint32_t CGridCtrl::GetItemFormat(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr ? cell->GetFormat() : 0;
}

bool CGridCtrl::SetItemImage(int row, int col, int image)
{
    if (m_bVirtualMode)
        return false;
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr)
        return false;
    cell->SetImage(image);
    return true;
}

int CGridCtrl::GetItemImage(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr ? cell->GetImage() : -1;
}

bool CGridCtrl::SetItemBkColour(int row, int col, ColorRef colour)
{
    if (m_bVirtualMode)
        return false;
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr)
        return false;
    cell->SetBkClr(colour);
    return true;
}

bool CGridCtrl::SetItemFgColour(int row, int col, ColorRef colour)
{
    if (m_bVirtualMode)
        return false;
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr)
        return false;
    cell->SetTextClr(colour);
    return true;
}

ColorRef CGridCtrl::GetItemBkColour(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr ? cell->GetBackClr() : kClrDefault;
}

ColorRef CGridCtrl::GetItemFgColour(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr ? cell->GetTextClr() : kClrDefault;
}

bool CGridCtrl::SetItemFont(int row, int col, const GridFont* font)
{
    if (m_bVirtualMode)
        return false;
    CGridCellBase* cell = GetCell(row, col);
    if (cell == nullptr)
        return false;
    cell->SetFont(font);
    return true;
}

const GridFont* CGridCtrl::GetItemFont(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr ? cell->GetFont() : nullptr;
}

bool CGridCtrl::IsItemEditing(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr && cell->IsEditing();
}

// ---- sizes --------------------------------------------------------------------------

int CGridCtrl::GetRowHeight(int row) const
{
    if (row < 0 || row >= m_nRows)
        return -1;
    return m_arRowHeights[static_cast<std::size_t>(row)];
}

int CGridCtrl::GetColumnWidth(int col) const
{
    if (col < 0 || col >= m_nCols)
        return -1;
    return m_arColWidths[static_cast<std::size_t>(col)];
}

bool CGridCtrl::SetRowHeight(int row, int height)
{
    if (row < 0 || row >= m_nRows || height < 0)
        return false;
    m_arRowHeights[static_cast<std::size_t>(row)] = height;
    InvalidateTopLeft();
    ResetScrollBars();
    return true;
}

bool CGridCtrl::SetColumnWidth(int col, int width)
{
    if (col < 0 || col >= m_nCols || width < 0)
        return false;
    m_arColWidths[static_cast<std::size_t>(col)] = width;
    InvalidateTopLeft();
    ResetScrollBars();
    return true;
}

int CGridCtrl::GetFixedRowHeight() const
{
    int height = 0;
    for (int row = 0; row < m_nFixedRows; ++row)
        height += GetRowHeight(row);
    return height;
}

int CGridCtrl::GetFixedColumnWidth() const
{
    int width = 0;
    for (int col = 0; col < m_nFixedCols; ++col)
        width += GetColumnWidth(col);
    return width;
}

int CGridCtrl::GetVirtualHeight() const
{
    int height = 0;
    for (int rowHeight : m_arRowHeights)
        height += rowHeight;
    return height;
}

int CGridCtrl::GetVirtualWidth() const
{
    int width = 0;
    for (int colWidth : m_arColWidths)
        width += colWidth;
    return width;
}

bool CGridCtrl::AutoSizeColumn(int col, int style, bool resetScroll)
{
    if (col < 0 || col >= m_nCols || GetColumnWidth(col) < 1)
        return false;
    if (style == 0)
        style = m_nAutoSizeColumnStyle;
    const int startRow = (style & kAutoSizeHeader) != 0 ? 0 : m_nFixedRows;
    const int endRow = (style & kAutoSizeData) != 0 ? m_nRows - 1 : m_nFixedRows - 1;

    const ITextMeasure* measure = GetTextMeasure();
    if (measure == nullptr)
        return false;
    if (m_bVirtualMode)
        SendCacheHintToParent({startRow, col, endRow, col});
    int width = -1;
    for (int row = startRow; row <= endRow; ++row)
        width = std::max(width, GetCellExtent(row, col, measure).cx);
    if (m_bVirtualMode)
        SendCacheHintToParent({});

    // Nothing measured leaves the column as it is rather than hiding it.
    if (width >= 0)
        m_arColWidths[static_cast<std::size_t>(col)] = width;
    InvalidateTopLeft();
    if (resetScroll)
        ResetScrollBars();
    return true;
}

bool CGridCtrl::AutoSizeRow(int row, bool resetScroll)
{
    if (row < 0 || row >= m_nRows || GetRowHeight(row) < 1)
        return false;
    const ITextMeasure* measure = GetTextMeasure();
    if (measure == nullptr)
        return false;
    if (m_bVirtualMode)
        SendCacheHintToParent({row, 0, row, m_nCols - 1});
    int height = -1;
    for (int col = 0; col < m_nCols; ++col)
        height = std::max(height, GetCellExtent(row, col, measure).cy);
    if (m_bVirtualMode)
        SendCacheHintToParent({});

    if (height >= 0)
        m_arRowHeights[static_cast<std::size_t>(row)] = height;
    InvalidateTopLeft();
    if (resetScroll)
        ResetScrollBars();
    return true;
}

void CGridCtrl::AutoSizeColumns(int style)
{
    for (int col = 0; col < m_nCols; ++col)
        if (GetColumnWidth(col) > 0)
            AutoSizeColumn(col, style, false);
    ResetScrollBars();
}

// ---- sorting ------------------------------------------------------------------------

void CGridCtrl::SetSortColumn(int col)
{
    const int old = m_nSortColumn;
    m_nSortColumn = col;
    if (old >= 0)
        RedrawCell(0, old);
    if (col >= 0)
        RedrawCell(0, col);
}

bool CGridCtrl::SortTextItems(int col, bool ascending)
{
    // Rows of a virtual grid live with the owner; there is nothing here to reorder.
    if (m_bVirtualMode || col < 0 || col >= m_nCols || m_nRows - m_nFixedRows < 2)
        return false;
    SetSortColumn(col);
    m_bAscending = ascending;
    ResetSelectedRange();
    SetFocusCell(-1, -1);
    SortRows(col, ascending, m_nFixedRows, m_nRows - 1);
    InvalidateTopLeft(); // heights moved with their rows
    Refresh();
    return true;
}

void CGridCtrl::SortRows(int col, bool ascending, int low, int high)
{
    if (high <= low)
        return;
    int lo = low;
    int hi = high;
    const std::string pivot = GetItemText((low + high) / 2, col);
    // Texts compare byte by byte, as the stored tables always have.
    const auto before = [&](const std::string& a, const std::string& b) { return ascending ? a < b : a > b; };
    while (lo <= hi) {
        while (lo < high && before(GetItemText(lo, col), pivot))
            ++lo;
        while (hi > low && before(pivot, GetItemText(hi, col)))
            --hi;
        if (lo <= hi) {
            if (GetItemText(lo, col) != GetItemText(hi, col))
                SwapRows(lo, hi);
            ++lo;
            --hi;
        }
    }
    if (low < hi)
        SortRows(col, ascending, low, hi);
    if (lo < high)
        SortRows(col, ascending, lo, high);
}

void CGridCtrl::SwapRows(int row1, int row2)
{
    std::swap(m_RowData[static_cast<std::size_t>(row1)], m_RowData[static_cast<std::size_t>(row2)]);
    std::swap(m_arRowHeights[static_cast<std::size_t>(row1)], m_arRowHeights[static_cast<std::size_t>(row2)]);
    for (int row : {row1, row2})
        for (int col = 0; col < m_nCols; ++col)
            if (CGridCellBase* cell = GetCell(row, col))
                cell->SetCoords(row, col);
}

// ---- modified flag --------------------------------------------------------------------

void CGridCtrl::SetModified(bool modified, int row, int col)
{
    if (col < 0 || col == m_nSortColumn)
        m_nSortColumn = -1;
    if (row < 1 || col < 1) {
        m_bModified = modified;
    } else if (CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(row, col)) {
        if (modified) {
            cell->SetState(cell->GetState() | gvis::Modified);
            m_bModified = true;
        } else {
            cell->SetState(cell->GetState() & ~gvis::Modified);
        }
    } else if (modified) {
        m_bModified = true;
    }

    if (!m_bModified && !m_bVirtualMode) {
        for (int r = 0; r < m_nRows; ++r)
            for (int c = 0; c < m_nCols; ++c)
                if (CGridCellBase* cell = GetCell(r, c))
                    cell->SetState(cell->GetState() & ~gvis::Modified);
    }
}

bool CGridCtrl::GetModified(int row, int col) const
{
    if (row < 0 || col < 0)
        return m_bModified;
    const CGridCellBase* cell = GetCell(row, col);
    return cell != nullptr && cell->IsModified();
}
