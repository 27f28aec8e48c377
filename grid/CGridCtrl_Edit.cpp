// Starting and ending the in-place editor of a cell.
#include "grid/CGridCtrl.h"

#include "grid/IGridWindow.h"

using namespace kzev;

namespace {
// The in-place editor's control id.
constexpr int kInPlaceEditCtrl = 8;
} // namespace

void CGridCtrl::OnEditCell(int row, int col, GridPoint point, EditStart start)
{
    if (m_pWindow != nullptr)
        m_pWindow->hideTitleTip();
    if (!IsValid(row, col) || !IsCellEditable(row, col))
        return;
    EnsureVisible(row, col);
    GridRect rect;
    if (!IsCellVisible(row, col) || !GetCellRect(row, col, rect))
        return;
    SendMessageToParent(row, col, gvn::BeginLabelEdit);
    if (CGridCellBase* cell = GetCell(row, col))
        cell->Edit(row, col, rect, point, kInPlaceEditCtrl, start);
}

void CGridCtrl::EndEditing()
{
    if (CGridCellBase* cell = GetCell(m_idCurrentCell.row, m_idCurrentCell.col))
        cell->EndEdit();
}

void CGridCtrl::OnEndEditCell(int row, int col, const std::string& text)
{
    if (text != GetItemText(row, col)) {
        SetModified(true, row, col);
        SetItemText(row, col, text);
    }
    if (CGridCellBase* cell = GetCell(row, col))
        cell->OnEndEdit();
}

IInPlaceEditor* CGridCtrl::OpenInPlaceEditor(const InPlaceEditRequest& request)
{
    return m_pWindow != nullptr ? m_pWindow->openInPlaceEditor(request) : nullptr;
}
