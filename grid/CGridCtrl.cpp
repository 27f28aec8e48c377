#include "grid/CGridCtrl.h"

#include "grid/IGridWindow.h"
#include "grid/QtTextMeasure.h"
#include "platform/Services.h"

#include <algorithm>
#include <new>

using namespace kzev;

namespace {
// "Nedostatek paměti." in the string table.
constexpr int kIdsMemoryException = 62810;
} // namespace

CGridCtrl::CGridCtrl(int rows, int cols, int fixedRows, int fixedCols)
{
    m_sysColors = systemColours();
    m_crGridBkColour = m_sysColors.menu;
    m_nWheelScrollLines = wheelScrollLines();

    m_cellDefault.SetTextClr(m_sysColors.windowText);
    m_cellDefault.SetBkClr(m_sysColors.window);
    for (CGridDefaultCell* fixed : {&m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef}) {
        fixed->SetTextClr(m_sysColors.windowText);
        fixed->SetBkClr(m_sysColors.btnFace);
    }
    m_cellFixedColDef.SetState(gvis::Fixed | gvis::FixedCol);
    m_cellFixedRowDef.SetState(gvis::Fixed | gvis::FixedRow);
    m_cellFixedRowColDef.SetState(gvis::Fixed | gvis::FixedRow | gvis::FixedCol);
    for (CGridDefaultCell* cell : {&m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef})
        cell->SetGrid(this);

    m_cellFactory = [] { return std::make_unique<CGridCell>(); };

    SetRowCount(rows);
    SetColumnCount(cols);
    SetFixedRowCount(fixedRows);
    SetFixedColumnCount(fixedCols);
    m_SelectedCellMap.clear();
    m_PrevSelectedCellMap.clear();
}

CGridCtrl::~CGridCtrl()
{
    // No notifications and no window while the grid goes away.
    m_notify = nullptr;
    m_pWindow = nullptr;
    DeleteAllItems();
}

void CGridCtrl::AttachWindow(IGridWindow* window)
{
    m_pWindow = window;
    m_bHorzShown = false;
    m_bVertShown = false;
    if (m_pWindow != nullptr) {
        m_pWindow->showScrollBars(false, false);
        ResetScrollBars();
    }
}

void CGridCtrl::OnSize()
{
    EndEditing();
    ResetScrollBars();
}

const ITextMeasure* CGridCtrl::GetTextMeasure() const
{
    return m_pWindow != nullptr ? m_pWindow->textMeasure() : nullptr;
}

// ---- notifications -----------------------------------------------------------------

void CGridCtrl::SendMessageToParent(int row, int col, int code) const
{
    if (!m_notify)
        return;
    GridNotification notification;
    notification.code = code;
    notification.controlId = m_nCtrlId;
    notification.row = row;
    notification.col = col;
    m_notify(notification);
}

void CGridCtrl::SendCacheHintToParent(const CellRange& range) const
{
    if (!m_notify)
        return;
    GridNotification notification;
    notification.code = gvn::OdCacheHint;
    notification.controlId = m_nCtrlId;
    notification.range = range;
    m_notify(notification);
}

bool CGridCtrl::SendDisplayRequestToParent(CellDispInfo& info) const
{
    if (!m_notify)
        return false;
    info.code = gvn::GetDispInfo;
    info.controlId = m_nCtrlId;
    GridNotification notification;
    notification.code = gvn::GetDispInfo;
    notification.controlId = m_nCtrlId;
    notification.row = info.row;
    notification.col = info.col;
    notification.dispInfo = &info;
    m_notify(notification);
    return true;
}

// ---- cells -------------------------------------------------------------------------

std::unique_ptr<CGridCellBase> CGridCtrl::CreateCell(int row, int col)
{
    std::unique_ptr<CGridCellBase> cell = m_cellFactory ? m_cellFactory() : nullptr;
    if (!cell)
        return nullptr;
    cell->SetGrid(this);
    cell->SetCoords(row, col);
    std::uint32_t state = cell->GetState();
    if (col < m_nFixedCols)
        state |= gvis::Fixed | gvis::FixedCol;
    if (row < m_nFixedRows)
        state |= gvis::Fixed | gvis::FixedRow;
    cell->SetState(state);
    cell->SetFormat(GetDefaultCell(row < m_nFixedRows, col < m_nFixedCols)->GetFormat());
    return cell;
}

void CGridCtrl::DestroyCell(int row, int col)
{
    SetItemState(row, col, 0);
    if (!m_bVirtualMode && row < static_cast<int>(m_RowData.size())
        && col < static_cast<int>(m_RowData[static_cast<std::size_t>(row)].size()))
        m_RowData[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)].reset();
}

CGridDefaultCell* CGridCtrl::GetDefaultCell(bool fixedRow, bool fixedCol) const
{
    auto* self = const_cast<CGridCtrl*>(this);
    if (fixedRow && fixedCol)
        return &self->m_cellFixedRowColDef;
    if (fixedRow)
        return &self->m_cellFixedRowDef;
    if (fixedCol)
        return &self->m_cellFixedColDef;
    return &self->m_cellDefault;
}

CGridCtrl::GridRow CGridCtrl::MakeRow(int row, int cols)
{
    GridRow cells;
    cells.reserve(static_cast<std::size_t>(cols));
    for (int col = 0; col < cols; ++col)
        cells.push_back(CreateCell(row, col));
    return cells;
}

void CGridCtrl::ReportMemoryFailure() const
{
    messageBoxId(kIdsMemoryException, MessageIcon::Error, MessageButtons::Ok);
}

// ---- counts ------------------------------------------------------------------------

bool CGridCtrl::SetRowCount(int rows)
{
    if (rows < 0)
        return false;
    if (rows == m_nRows)
        return true;

    InvalidateTopLeft();
    if (m_nFixedRows > rows)
        m_nFixedRows = rows;
    if (m_idCurrentCell.row >= rows)
        SetFocusCell(-1, -1);

    bool ok = true;
    if (rows < m_nRows) {
        if (!m_bVirtualMode) {
            for (int row = rows; row < m_nRows; ++row)
                for (int col = 0; col < m_nCols; ++col)
                    DestroyCell(row, col);
            m_RowData.resize(static_cast<std::size_t>(rows));
        }
        m_arRowHeights.resize(static_cast<std::size_t>(rows));
        m_nRows = rows;
    } else {
        // All new rows are made before any is added, so a failure leaves the grid as it was.
        try {
            std::vector<GridRow> added;
            if (!m_bVirtualMode) {
                added.reserve(static_cast<std::size_t>(rows - m_nRows));
                for (int row = m_nRows; row < rows; ++row)
                    added.push_back(MakeRow(row, m_nCols));
                m_RowData.reserve(static_cast<std::size_t>(rows));
            }
            m_arRowHeights.reserve(static_cast<std::size_t>(rows));
            for (auto& row : added)
                m_RowData.push_back(std::move(row));
            m_arRowHeights.resize(static_cast<std::size_t>(rows), m_cellDefault.GetHeight());
            m_nRows = rows;
        } catch (const std::bad_alloc&) {
            ReportMemoryFailure();
            ok = false;
        }
    }

    SetModified(true);
    ResetScrollBars();
    Refresh();
    return ok;
}

bool CGridCtrl::SetColumnCount(int cols)
{
    if (cols < 0)
        return false;
    if (cols == m_nCols)
        return true;

    InvalidateTopLeft();
    if (m_nFixedCols > cols)
        m_nFixedCols = cols;
    if (m_idCurrentCell.col >= cols)
        SetFocusCell(-1, -1);

    bool ok = true;
    if (cols < m_nCols) {
        if (!m_bVirtualMode) {
            for (int row = 0; row < m_nRows; ++row) {
                for (int col = cols; col < m_nCols; ++col)
                    DestroyCell(row, col);
                m_RowData[static_cast<std::size_t>(row)].resize(static_cast<std::size_t>(cols));
            }
        }
        m_arColWidths.resize(static_cast<std::size_t>(cols));
        m_nCols = cols;
    } else {
        try {
            std::vector<GridRow> added;
            if (!m_bVirtualMode) {
                added.resize(static_cast<std::size_t>(m_nRows));
                for (int row = 0; row < m_nRows; ++row) {
                    GridRow& cells = added[static_cast<std::size_t>(row)];
                    cells.reserve(static_cast<std::size_t>(cols - m_nCols));
                    for (int col = m_nCols; col < cols; ++col)
                        cells.push_back(CreateCell(row, col));
                }
                for (GridRow& row : m_RowData)
                    row.reserve(static_cast<std::size_t>(cols));
            }
            m_arColWidths.reserve(static_cast<std::size_t>(cols));
            for (std::size_t row = 0; row < added.size(); ++row)
                for (auto& cell : added[row])
                    m_RowData[row].push_back(std::move(cell));
            m_arColWidths.resize(static_cast<std::size_t>(cols), m_cellFixedColDef.GetWidth());
            m_nCols = cols;
        } catch (const std::bad_alloc&) {
            ReportMemoryFailure();
            ok = false;
        }
    }

    SetModified(true);
    ResetScrollBars();
    Refresh();
    return ok;
}

bool CGridCtrl::SetFixedRowCount(int fixedRows)
{
    if (fixedRows < 0)
        return false;
    if (fixedRows == m_nFixedRows)
        return true;

    ResetSelectedRange();
    InvalidateTopLeft();
    if (fixedRows > m_nRows && !SetRowCount(fixedRows))
        return false;
    if (m_idCurrentCell.row < fixedRows)
        SetFocusCell(-1, -1);

    if (!m_bVirtualMode) {
        if (fixedRows < m_nFixedRows) {
            for (int row = fixedRows; row < m_nFixedRows; ++row)
                for (int col = 0; col < m_nCols; ++col) {
                    CGridCellBase* cell = GetCell(row, col);
                    if (cell == nullptr)
                        continue;
                    if (col < m_nFixedCols) {
                        cell->SetState(cell->GetState() & ~gvis::FixedRow);
                    } else {
                        cell->SetState(cell->GetState() & ~(gvis::Fixed | gvis::FixedRow));
                        cell->SetBkClr(kClrDefault);
                        cell->SetTextClr(kClrDefault);
                    }
                }
        } else {
            for (int row = m_nFixedRows; row < fixedRows; ++row)
                for (int col = 0; col < m_nCols; ++col) {
                    CGridCellBase* cell = GetCell(row, col);
                    if (cell == nullptr)
                        continue;
                    cell->SetState(cell->GetState() | gvis::Fixed | gvis::FixedRow);
                    cell->SetBkClr(kClrDefault);
                    cell->SetTextClr(kClrDefault);
                }
        }
    }

    m_nFixedRows = fixedRows;
    Refresh();
    return true;
}

bool CGridCtrl::SetFixedColumnCount(int fixedCols)
{
    if (fixedCols < 0)
        return false;
    if (fixedCols == m_nFixedCols)
        return true;

    ResetSelectedRange();
    InvalidateTopLeft();
    if (fixedCols > m_nCols && !SetColumnCount(fixedCols))
        return false;
    if (m_idCurrentCell.col < fixedCols)
        SetFocusCell(-1, -1);

    if (!m_bVirtualMode) {
        if (fixedCols < m_nFixedCols) {
            for (int row = 0; row < m_nRows; ++row)
                for (int col = fixedCols; col < m_nFixedCols; ++col) {
                    CGridCellBase* cell = GetCell(row, col);
                    if (cell == nullptr)
                        continue;
                    if (row < m_nFixedRows) {
                        cell->SetState(cell->GetState() & ~gvis::FixedCol);
                    } else {
                        cell->SetState(cell->GetState() & ~(gvis::Fixed | gvis::FixedCol));
                        cell->SetBkClr(kClrDefault);
                        cell->SetTextClr(kClrDefault);
                    }
                }
        } else {
            for (int row = 0; row < m_nRows; ++row)
                for (int col = m_nFixedCols; col < fixedCols; ++col) {
                    CGridCellBase* cell = GetCell(row, col);
                    if (cell == nullptr)
                        continue;
                    cell->SetState(cell->GetState() | gvis::Fixed | gvis::FixedCol);
                    cell->SetBkClr(kClrDefault);
                    cell->SetTextClr(kClrDefault);
                }
        }
    }

    m_nFixedCols = fixedCols;
    Refresh();
    return true;
}

// ---- rows --------------------------------------------------------------------------

void CGridCtrl::RestoreFocus(CellId cell)
{
    if (!IsValid(cell) || cell.row < m_nFixedRows || cell.col < m_nFixedCols)
        return;
    SetFocusCell(cell);
    m_SelectionStartCell = cell;
}

int CGridCtrl::InsertRow(const std::string& heading, int position)
{
    if (position != -1 && (position < m_nFixedRows || position >= m_nRows))
        return -1;

    const CellId focus = m_idCurrentCell;
    InvalidateTopLeft();
    ResetSelectedRange();
    if (m_nCols < 1 && !SetColumnCount(1))
        return -1;

    const int row = position == -1 ? m_nRows : position;
    try {
        GridRow cells;
        if (!m_bVirtualMode) {
            cells = MakeRow(row, m_nCols);
            m_RowData.reserve(m_RowData.size() + 1);
        }
        m_arRowHeights.reserve(m_arRowHeights.size() + 1);
        if (!m_bVirtualMode)
            m_RowData.insert(m_RowData.begin() + row, std::move(cells));
        m_arRowHeights.insert(m_arRowHeights.begin() + row, 0);
    } catch (const std::bad_alloc&) {
        ReportMemoryFailure();
        RestoreFocus(focus);
        return -1;
    }
    ++m_nRows;

    SetItemText(row, 0, heading);
    int height = m_cellFixedRowDef.GetHeight();
    if (!heading.empty()) {
        if (const CGridCellBase* cell = GetCell(row, 0))
            height = cell->GetTextExtent(heading, nullptr).cy;
    }
    m_arRowHeights[static_cast<std::size_t>(row)] = height;

    // The focus stays on the cell it was on, which moves down when the row goes above it.
    CellId moved = focus;
    if (moved.row >= row && position != -1)
        ++moved.row;
    RestoreFocus(moved);

    ResetScrollBars();
    SetModified(true);
    return row;
}

bool CGridCtrl::DeleteRow(int row)
{
    if (row < 0 || row >= m_nRows)
        return false;

    const CellId focus = m_idCurrentCell;
    ResetSelectedRange();
    if (!m_bVirtualMode) {
        for (int col = 0; col < m_nCols; ++col)
            DestroyCell(row, col);
        m_RowData.erase(m_RowData.begin() + row);
    }
    m_arRowHeights.erase(m_arRowHeights.begin() + row);
    --m_nRows;
    if (row < m_nFixedRows)
        --m_nFixedRows;
    InvalidateTopLeft();

    // A focus in the deleted row is gone; one below it follows its cell up.
    if (focus.row != row) {
        CellId moved = focus;
        if (moved.row > row)
            --moved.row;
        RestoreFocus(moved);
    }

    ResetScrollBars();
    SetModified(true);
    return true;
}

bool CGridCtrl::DeleteNonFixedRows()
{
    ResetSelectedRange();
    for (int row = m_nRows - 1; row >= m_nFixedRows; --row)
        DeleteRow(row);
    return true;
}

bool CGridCtrl::DeleteAllItems()
{
    ResetSelectedRange();
    m_arColWidths.clear();
    m_arRowHeights.clear();
    if (!m_bVirtualMode) {
        for (int row = 0; row < static_cast<int>(m_RowData.size()); ++row)
            for (int col = 0; col < static_cast<int>(m_RowData[static_cast<std::size_t>(row)].size()); ++col)
                DestroyCell(row, col);
    }
    m_RowData.clear();
    m_idCurrentCell = CellId();
    m_nRows = m_nFixedRows = m_nCols = m_nFixedCols = 0;
    InvalidateTopLeft();
    ResetScrollBars();
    SetModified(true);
    return true;
}

void CGridCtrl::SetVirtualMode(bool virtualMode)
{
    if (virtualMode == m_bVirtualMode)
        return;
    DeleteAllItems();
    m_bVirtualMode = virtualMode;
}

// ---- fonts and colours ------------------------------------------------------------

void CGridCtrl::SetFont(const GridFont& font)
{
    for (CGridDefaultCell* cell : {&m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef})
        cell->SetFont(&font);
    Refresh();
}

void CGridCtrl::OnSysColorChange(const GridSysColors& colours)
{
    for (CGridDefaultCell* cell : {&m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef}) {
        if (cell->GetTextClr() == m_sysColors.windowText)
            cell->SetTextClr(colours.windowText);
        if (cell->GetBackClr() == m_sysColors.window)
            cell->SetBkClr(colours.window);
    }
    if (m_crGridBkColour == m_sysColors.btnShadow)
        m_crGridBkColour = colours.btnShadow;
    m_sysColors = colours;
    Refresh();
}
