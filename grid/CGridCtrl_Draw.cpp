// Cell geometry, scrolling and painting of the grid.
#include "grid/CGridCtrl.h"

#include "grid/IGridWindow.h"
#include "grid/QtTextMeasure.h"

#include <QPainter>
#include <QPen>

#include <algorithm>

using namespace kzev;

namespace {

QRect toQRect(const GridRect& rect)
{
    return QRect(rect.left, rect.top, rect.width(), rect.height());
}

GridRect intersect(const GridRect& a, const GridRect& b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

} // namespace

// ---- geometry -----------------------------------------------------------------------

GridRect CGridCtrl::GetClientRect() const
{
    if (m_pWindow == nullptr)
        return {};
    const GridSize size = m_pWindow->clientSize();
    return {0, 0, size.cx, size.cy};
}

CellId CGridCtrl::GetTopleftNonFixedCell() const
{
    if (m_idTopLeftCell.isValid())
        return m_idTopLeftCell;

    int col = m_nFixedCols;
    int right = 0;
    while (right < m_nHScrollPos && col < m_nCols - 1)
        right += GetColumnWidth(col++);
    int row = m_nFixedRows;
    int bottom = 0;
    while (bottom < m_nVScrollPos && row < m_nRows - 1)
        bottom += GetRowHeight(row++);

    m_idTopLeftCell = CellId(row, col);
    return m_idTopLeftCell;
}

CellRange CGridCtrl::GetVisibleNonFixedCellRange(GridRect* rect) const
{
    const GridRect client = GetClientRect();
    const CellId topLeft = GetTopleftNonFixedCell();

    int bottom = GetFixedRowHeight();
    int row = topLeft.row;
    for (; row < m_nRows; ++row) {
        bottom += GetRowHeight(row);
        if (bottom >= client.bottom) {
            bottom = client.bottom;
            break;
        }
    }
    int right = GetFixedColumnWidth();
    int col = topLeft.col;
    for (; col < m_nCols; ++col) {
        right += GetColumnWidth(col);
        if (right >= client.right) {
            right = client.right;
            break;
        }
    }
    if (rect != nullptr)
        *rect = {0, 0, right, bottom};
    return {topLeft.row, topLeft.col, std::min(row, m_nRows - 1), std::min(col, m_nCols - 1)};
}

bool CGridCtrl::GetCellOrigin(int row, int col, GridPoint& origin) const
{
    if (!IsValid(row, col))
        return false;
    const CellId topLeft = GetTopleftNonFixedCell();
    if ((col >= m_nFixedCols && col < topLeft.col) || (row >= m_nFixedRows && row < topLeft.row))
        return false;

    origin = {};
    if (col < m_nFixedCols) {
        for (int c = 0; c < col; ++c)
            origin.x += GetColumnWidth(c);
    } else {
        origin.x = GetFixedColumnWidth();
        for (int c = topLeft.col; c < col; ++c)
            origin.x += GetColumnWidth(c);
    }
    if (row < m_nFixedRows) {
        for (int r = 0; r < row; ++r)
            origin.y += GetRowHeight(r);
    } else {
        origin.y = GetFixedRowHeight();
        for (int r = topLeft.row; r < row; ++r)
            origin.y += GetRowHeight(r);
    }
    return true;
}

bool CGridCtrl::GetCellRect(int row, int col, GridRect& rect) const
{
    GridPoint origin;
    if (!GetCellOrigin(row, col, origin))
        return false;
    rect = {origin.x, origin.y, origin.x + GetColumnWidth(col) - 1, origin.y + GetRowHeight(row) - 1};
    return true;
}

CellId CGridCtrl::GetCellFromPt(GridPoint point, bool allowFixed) const
{
    const CellId topLeft = GetTopleftNonFixedCell();
    const auto find = [&](int position, int fixedCount, int fixedSize, int first, int count, auto size) {
        if (position < 0 || (!allowFixed && position < fixedSize))
            return -1;
        int edge = 0;
        int index = 0;
        if (position < fixedSize) {
            for (; index < fixedCount; ++index) {
                edge += size(index);
                if (edge > position)
                    return index;
            }
            return -1;
        }
        edge = fixedSize;
        for (index = first; index < count; ++index) {
            edge += size(index);
            if (edge > position)
                return index;
        }
        return -1;
    };
    CellId cell;
    cell.col = find(point.x, m_nFixedCols, GetFixedColumnWidth(), topLeft.col, m_nCols,
        [this](int c) { return GetColumnWidth(c); });
    cell.row = find(point.y, m_nFixedRows, GetFixedRowHeight(), topLeft.row, m_nRows,
        [this](int r) { return GetRowHeight(r); });
    return cell;
}

bool CGridCtrl::MouseOverRowResizeArea(GridPoint point) const
{
    if (point.x >= GetFixedColumnWidth())
        return false;
    const CellId cell = GetCellFromPt(point);
    GridPoint start;
    if (!GetCellOrigin(cell.row, cell.col, start))
        return false;
    const int endY = start.y + GetRowHeight(cell.row);
    return (point.y - start.y <= m_nResizeCaptureRange && cell.row != 0) || endY - point.y <= m_nResizeCaptureRange;
}

bool CGridCtrl::MouseOverColumnResizeArea(GridPoint point) const
{
    if (point.y >= GetFixedRowHeight())
        return false;
    const CellId cell = GetCellFromPt(point);
    GridPoint start;
    if (!GetCellOrigin(cell.row, cell.col, start))
        return false;
    const int endX = start.x + GetColumnWidth(cell.col);
    return (point.x - start.x <= m_nResizeCaptureRange && cell.col != 0) || endX - point.x <= m_nResizeCaptureRange;
}

bool CGridCtrl::IsCellVisible(int row, int col) const
{
    if (m_pWindow == nullptr || !IsValid(row, col))
        return false;
    GridPoint origin;
    if (!GetCellOrigin(row, col, origin))
        return false;
    const GridRect client = GetClientRect();
    return origin.x < client.right && origin.y < client.bottom;
}

// ---- scroll bars --------------------------------------------------------------------

void CGridCtrl::SyncScrollBars() const
{
    if (m_pWindow != nullptr)
        m_pWindow->syncScrollBars();
}

bool CGridCtrl::IsScrollBarShown(int bar) const
{
    return bar == kHorz ? m_bHorzShown : m_bVertShown;
}

void CGridCtrl::EnableScrollBars(int bar, bool enable)
{
    bool horz = m_bHorzShown;
    bool vert = m_bVertShown;
    if (bar == kHorz || bar == kBoth)
        horz = enable;
    if (bar == kVert || bar == kBoth)
        vert = enable;
    if (horz == m_bHorzShown && vert == m_bVertShown)
        return;
    m_bHorzShown = horz;
    m_bVertShown = vert;
    if (m_pWindow != nullptr)
        m_pWindow->showScrollBars(horz, vert);
}

int CGridCtrl::GetScrollLimit(int bar) const
{
    const int max = GetScrollMax(bar);
    const int page = GetScrollPage(bar);
    if (max <= 0)
        return 0;
    return std::max(0, page > 0 ? max - page + 1 : max);
}

int CGridCtrl::GetScrollPos32(int bar) const
{
    return bar == kHorz ? m_nHScrollPos : m_nVScrollPos;
}

void CGridCtrl::SetScrollPos32(int bar, int position)
{
    InvalidateTopLeft();
    position = std::clamp(position, 0, GetScrollLimit(bar));
    (bar == kHorz ? m_nHScrollPos : m_nVScrollPos) = position;
    SyncScrollBars();
}

void CGridCtrl::ResetScrollBars()
{
    if (!m_bAllowDraw || m_pWindow == nullptr)
        return;
    InvalidateTopLeft();

    GridRect rect = GetClientRect();
    const int extent = m_pWindow->scrollBarExtent();
    if (m_bVertShown)
        rect.right += extent;
    if (m_bHorzShown)
        rect.bottom += extent;
    rect.left += GetFixedColumnWidth();
    rect.top += GetFixedRowHeight();
    if (rect.isEmpty()) {
        EnableScrollBars(kBoth, false);
        return;
    }

    const int neededHeight = GetVirtualHeight() - GetFixedRowHeight();
    const int neededWidth = GetVirtualWidth() - GetFixedColumnWidth();
    int available = rect.width();
    if (rect.height() < neededHeight)
        available -= extent;
    int availableHeight = rect.height();
    if (available < neededWidth)
        availableHeight -= extent;

    m_nVScrollMax = availableHeight >= neededHeight ? 0 : neededHeight - 1;
    m_nHScrollMax = available >= neededWidth ? 0 : neededWidth - 1;
    m_nHScrollPage = m_nHScrollMax > 0 ? available : 0;
    m_nVScrollPage = m_nVScrollMax > 0 ? availableHeight : 0;
    m_nHScrollPos = std::clamp(m_nHScrollPos, 0, GetScrollLimit(kHorz));
    m_nVScrollPos = std::clamp(m_nVScrollPos, 0, GetScrollLimit(kVert));

    EnableScrollBars(kVert, m_nVScrollMax > 0);
    EnableScrollBars(kHorz, m_nHScrollMax > 0);
    SyncScrollBars();
}

void CGridCtrl::OnHScroll(ScrollCode code, int trackPosition)
{
    ScrollBy(kHorz, code, trackPosition);
}

void CGridCtrl::OnVScroll(ScrollCode code, int trackPosition)
{
    ScrollBy(kVert, code, trackPosition);
}

void CGridCtrl::ScrollBy(int bar, ScrollCode code, int trackPosition)
{
    EndEditing();
    if (m_pWindow != nullptr)
        m_pWindow->hideTitleTip();
    const bool vertical = bar == kVert;
    const int position = GetScrollPos32(bar);
    const int limit = GetScrollLimit(bar);
    const CellId topLeft = GetTopleftNonFixedCell();
    const int first = vertical ? topLeft.row : topLeft.col;
    const int fixedCount = vertical ? m_nFixedRows : m_nFixedCols;
    const int count = vertical ? m_nRows : m_nCols;
    const auto size = [&](int index) { return vertical ? GetRowHeight(index) : GetColumnWidth(index); };
    const GridRect client = GetClientRect();
    const int fixedSize = vertical ? GetFixedRowHeight() : GetFixedColumnWidth();
    GridRect movingArea = client;
    (vertical ? movingArea.top : movingArea.left) = fixedSize;

    bool invalidateMoving = false;
    bool invalidateAll = false;
    switch (code) {
    case ScrollCode::LineUp:
        if (position > 0 && first > fixedCount) {
            int index = first - 1;
            while (index >= fixedCount && size(index) == 0)
                --index;
            if (index >= fixedCount) {
                SetScrollPos32(bar, std::max(0, position - size(index)));
                invalidateMoving = true;
            }
        }
        break;
    case ScrollCode::LineDown:
        if (position < limit) {
            int index = first;
            while (index < count && size(index) == 0)
                ++index;
            if (index < count) {
                SetScrollPos32(bar, position + size(index));
                invalidateMoving = true;
            }
        }
        break;
    case ScrollCode::PageUp:
    case ScrollCode::PageDown: {
        const int page = std::max(0, (vertical ? client.height() : client.width()) - fixedSize);
        const int target = code == ScrollCode::PageDown ? position + page : position - page;
        SetScrollPos32(bar, std::clamp(target, 0, limit));
        invalidateMoving = true;
        break;
    }
    case ScrollCode::ThumbPosition:
    case ScrollCode::ThumbTrack:
        SetScrollPos32(bar, trackPosition);
        invalidateMoving = !(GetTopleftNonFixedCell() == topLeft);
        break;
    case ScrollCode::Top:
        SetScrollPos32(bar, 0);
        invalidateAll = true;
        break;
    case ScrollCode::Bottom:
        SetScrollPos32(bar, limit);
        invalidateAll = true;
        break;
    }

    if (m_pWindow == nullptr || !m_bAllowDraw)
        return;
    if (invalidateAll)
        m_pWindow->invalidateAll();
    else if (invalidateMoving && !movingArea.isEmpty())
        m_pWindow->invalidateRect(movingArea);
}

void CGridCtrl::EnsureVisible(int row, int col)
{
    if (m_pWindow == nullptr || !IsValid(row, col))
        return;
    const CellRange visible = GetVisibleNonFixedCellRange();
    for (int c = visible.maxCol + 1; c <= col; ++c)
        if (GetColumnWidth(c) > 0)
            OnHScroll(ScrollCode::LineDown);
    for (int c = visible.minCol - 1; c >= col; --c)
        if (GetColumnWidth(c) > 0)
            OnHScroll(ScrollCode::LineUp);
    for (int r = visible.maxRow + 1; r <= row; ++r)
        if (GetRowHeight(r) > 0)
            OnVScroll(ScrollCode::LineDown);
    for (int r = visible.minRow - 1; r >= row; --r)
        if (GetRowHeight(r) > 0)
            OnVScroll(ScrollCode::LineUp);

    // A cell cut by the right or bottom edge gets further steps; each must move the bar.
    GridRect rect;
    if (!GetCellRect(row, col, rect))
        return;
    const GridRect client = GetClientRect();
    while (rect.right > client.right && rect.left > GetFixedColumnWidth() && GetFixedColumnWidth() > 0) {
        const int before = GetScrollPos32(kHorz);
        OnHScroll(ScrollCode::LineDown);
        if (GetScrollPos32(kHorz) == before || !GetCellRect(row, col, rect))
            return;
    }
    while (rect.bottom > client.bottom && rect.top > GetFixedRowHeight()) {
        const int before = GetScrollPos32(kVert);
        OnVScroll(ScrollCode::LineDown);
        if (GetScrollPos32(kVert) == before || !GetCellRect(row, col, rect))
            return;
    }
}

// ---- invalidation -------------------------------------------------------------------

bool CGridCtrl::InvalidateCellRect(int row, int col)
{
    if (m_pWindow == nullptr || !m_bAllowDraw || !IsValid(row, col) || !IsCellVisible(row, col))
        return false;
    GridRect rect;
    if (!GetCellRect(row, col, rect))
        return false;
    ++rect.right;
    ++rect.bottom;
    m_pWindow->invalidateRect(rect);
    return true;
}

void CGridCtrl::Refresh()
{
    if (m_pWindow != nullptr && m_bAllowDraw)
        m_pWindow->invalidateAll();
}

void CGridCtrl::SetRedraw(bool allow, bool resetScrollBars)
{
    m_bAllowDraw = allow;
    if (allow && resetScrollBars)
        ResetScrollBars();
    if (allow)
        Refresh();
}

bool CGridCtrl::RedrawCell(int row, int col)
{
    // Qt paints only inside a paint event: a redraw is an invalidation of the cell.
    if (!m_bAllowDraw || !IsCellVisible(row, col))
        return false;
    return InvalidateCellRect(row, col);
}

bool CGridCtrl::RedrawRow(int row)
{
    bool all = true;
    for (int col = 0; col < m_nCols; ++col)
        all = RedrawCell(row, col) && all;
    return all;
}

// ---- painting -----------------------------------------------------------------------

void CGridCtrl::EraseBkgnd(QPainter& painter, const GridRect& clip)
{
    GridRect visible;
    static_cast<void>(GetVisibleNonFixedCellRange(&visible));
    const int fixedWidth = GetFixedColumnWidth();
    const int fixedHeight = GetFixedRowHeight();
    const auto fill = [&](const GridRect& area, const CGridDefaultCell* cell) {
        const ColorRef colour = cell != nullptr ? cell->GetBackClr() : m_crGridBkColour;
        if (area.intersects(clip))
            painter.fillRect(toQRect(intersect(area, clip)), toQColor(colour));
    };
    fill({0, 0, fixedWidth, fixedHeight}, &m_cellFixedRowColDef);
    fill({0, fixedHeight, fixedWidth, visible.bottom}, &m_cellFixedColDef);
    fill({fixedWidth, 0, visible.right, fixedHeight}, &m_cellFixedRowDef);
    fill({fixedWidth, fixedHeight, visible.right, visible.bottom}, &m_cellDefault);
    fill({visible.right, clip.top, clip.right, clip.bottom}, nullptr);
    fill({clip.left, visible.bottom, std::min(clip.right, visible.right), clip.bottom}, nullptr);
}

void CGridCtrl::OnDraw(QPainter& painter, const GridRect& clip)
{
    if (!m_bAllowDraw || clip.isEmpty())
        return;
    EraseBkgnd(painter, clip);

    const int fixedHeight = GetFixedRowHeight();
    const int fixedWidth = GetFixedColumnWidth();
    GridRect visible;
    const CellRange range = GetVisibleNonFixedCellRange(&visible);
    if (m_bVirtualMode)
        SendCacheHintToParent(range);

    const auto drawCell = [&](int row, int col, const GridRect& rect) {
        if (CGridCellBase* cell = GetCell(row, col))
            cell->Draw(painter, row, col, rect, false);
    };
    // Draws the rows [firstRow, lastRow] from y over the columns [firstCol, lastCol] from x.
    const auto drawBlock = [&](int firstRow, int lastRow, int y, int firstCol, int lastCol, int x) {
        for (int row = firstRow; row <= lastRow; ++row) {
            GridRect rect;
            rect.top = y;
            rect.bottom = y + GetRowHeight(row) - 1;
            y += GetRowHeight(row);
            if (rect.top > clip.bottom)
                break;
            if (rect.bottom < clip.top)
                continue;
            int left = x;
            for (int col = firstCol; col <= lastCol; ++col) {
                rect.left = left;
                rect.right = left + GetColumnWidth(col) - 1;
                left += GetColumnWidth(col);
                if (rect.left > clip.right)
                    break;
                if (rect.right < clip.left)
                    continue;
                drawCell(row, col, rect);
            }
        }
    };

    drawBlock(0, m_nFixedRows - 1, 0, 0, m_nFixedCols - 1, 0);
    drawBlock(range.minRow, range.maxRow, fixedHeight, 0, m_nFixedCols - 1, 0);
    drawBlock(0, m_nFixedRows - 1, 0, range.minCol, range.maxCol, fixedWidth);
    drawBlock(range.minRow, range.maxRow, fixedHeight, range.minCol, range.maxCol, fixedWidth);

    if (m_nGridLines != kLinesNone && range.isValid()) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(toQColor(m_crGridLineColour), 0));
        if (m_nGridLines & kLinesVert) {
            int x = fixedWidth;
            for (int col = range.minCol; col <= range.maxCol; ++col) {
                if (GetColumnWidth(col) == 0)
                    continue;
                x += GetColumnWidth(col);
                painter.drawLine(x - 1, fixedHeight, x - 1, visible.bottom - 1);
            }
        }
        if (m_nGridLines & kLinesHorz) {
            int y = fixedHeight;
            for (int row = range.minRow; row <= range.maxRow; ++row) {
                if (GetRowHeight(row) == 0)
                    continue;
                y += GetRowHeight(row);
                painter.drawLine(fixedWidth, y - 1, visible.right - 1, y - 1);
            }
        }
        painter.restore();
    }

    if (!m_trackLine.isEmpty()) {
        // The resize line inverts what lies under it.
        painter.save();
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        painter.fillRect(toQRect(m_trackLine), Qt::white);
        painter.restore();
    }

    if (m_bVirtualMode)
        SendCacheHintToParent({});
}
