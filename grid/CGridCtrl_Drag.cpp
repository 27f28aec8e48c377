// Dragging selected cells out as text and dropping text onto editable cells.
#include "grid/CGridCtrl.h"

#include "grid/IGridWindow.h"

using namespace kzev;

namespace {

unsigned effectFor(KeyModifiers modifiers)
{
    return modifiers.ctrl ? dropeffect::Copy : dropeffect::Move;
}

} // namespace

void CGridCtrl::OnBeginDrag()
{
    if (!m_bAllowDragAndDrop || m_pWindow == nullptr)
        return;
    const std::optional<std::string> text = CopyTextFromGrid();
    if (!text)
        return;
    const CellRange range = GetSelectedCellRange();
    SendMessageToParent(range.minRow, range.minCol, gvn::BeginDrag);
    m_MouseMode = mouse::Dragging;
    m_bLMouseButtonDown = false;
    if (m_nTimerID != 0)
        m_pWindow->killTimer(m_nTimerID);
    m_nTimerID = 0;
    const unsigned effect = m_pWindow->doDragDrop(*text);
    if ((effect & dropeffect::Move) != 0)
        CutSelectedText();
}

CellId CGridCtrl::DropCell(GridPoint point) const
{
    const CellId cell = GetCellFromPt(point, false);
    return IsValid(cell) ? cell : CellId();
}

void CGridCtrl::SetDropHighlight(CellId cell, bool on)
{
    if (!IsValid(cell))
        return;
    const std::uint32_t state = GetItemState(cell.row, cell.col);
    SetItemState(cell.row, cell.col, on ? state | gvis::DropHilited : state & ~gvis::DropHilited);
    RedrawCell(cell.row, cell.col);
}

unsigned CGridCtrl::OnDragEnter(bool hasText, KeyModifiers modifiers, GridPoint point)
{
    if (!m_bAllowDragAndDrop || !hasText)
        return dropeffect::None;
    m_LastDragOverCell = DropCell(point);
    if (!IsValid(m_LastDragOverCell) || !IsCellEditable(m_LastDragOverCell.row, m_LastDragOverCell.col))
        return dropeffect::None;
    SetDropHighlight(m_LastDragOverCell, true);
    return effectFor(modifiers);
}

unsigned CGridCtrl::OnDragOver(bool hasText, KeyModifiers modifiers, GridPoint point)
{
    if (!m_bAllowDragAndDrop || !m_bEditable || !hasText)
        return dropeffect::None;
    const CellId cell = DropCell(point);
    if (!IsValid(cell)) {
        OnDragLeave();
        m_LastDragOverCell = CellId();
        return dropeffect::None;
    }
    if (!IsCellEditable(cell.row, cell.col))
        return dropeffect::None;
    if (!(cell == m_LastDragOverCell)) {
        SetDropHighlight(m_LastDragOverCell, false);
        m_LastDragOverCell = cell;
        SetDropHighlight(cell, true);
    }
    return effectFor(modifiers);
}

void CGridCtrl::OnDragLeave()
{
    SetDropHighlight(m_LastDragOverCell, false);
}

bool CGridCtrl::OnDrop(const std::optional<std::string>& text, GridPoint)
{
    m_MouseMode = mouse::Nothing;
    if (!m_bAllowDragAndDrop || !IsCellEditable(m_LastDragOverCell.row, m_LastDragOverCell.col))
        return false;
    OnDragLeave();
    if (!text)
        return false;
    return PasteTextToGrid(m_LastDragOverCell.row, m_LastDragOverCell.col, *text);
}
