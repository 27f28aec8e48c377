#include "grid/CGridCell.h"

#include "grid/CGridCtrl.h"
#include "grid/CGridDefaultCell.h"

using namespace kzev;

CGridCell::CGridCell()
{
    CGridCell::Reset();
}

CGridCell::CGridCell(const CGridCell& other) : CGridCellBase()
{
    CGridCell::Reset();
    CGridCellBase::operator=(other);
}

CGridCell& CGridCell::operator=(const CGridCell& other)
{
    CGridCellBase::operator=(other);
    return *this;
}

void CGridCell::Reset()
{
    CGridCellBase::Reset();
    m_strText.clear();
    m_nImage = -1;
    m_nFormat = 0xFFFFFFFFu;
    m_nMargin = -1;
    m_crFgClr = kClrDefault;
    m_crBkClr = kClrDefault;
    m_bEditing = false;
    m_pGrid = nullptr;
    m_pEditWnd = nullptr;
    m_plfFont.reset();
}

void CGridCell::SetFont(const GridFont* font)
{
    if (font == nullptr)
        m_plfFont.reset();
    else
        m_plfFont = *font;
}

std::uint32_t CGridCell::GetFormat() const
{
    if (m_nFormat != 0xFFFFFFFFu)
        return m_nFormat;
    const CGridDefaultCell* def = GetDefaultCell();
    return def != nullptr ? def->GetFormat() : 0;
}

const GridFont* CGridCell::GetFont() const
{
    if (m_plfFont)
        return &*m_plfFont;
    const CGridDefaultCell* def = GetDefaultCell();
    return def != nullptr ? def->GetFont() : nullptr;
}

int CGridCell::GetMargin() const
{
    if (m_nMargin != -1)
        return m_nMargin;
    const CGridDefaultCell* def = GetDefaultCell();
    return def != nullptr ? def->GetMargin() : 0;
}

bool CGridCell::Edit(int row, int col, GridRect rect, GridPoint, int controlId, EditStart start)
{
    InPlaceEditRequest request;
    const std::uint32_t format = GetFormat();
    if ((format & dt::Right) != 0)
        request.alignment = EditAlignment::Right;
    else if ((format & dt::Center) != 0)
        request.alignment = EditAlignment::Center;
    request.rect = rect;
    request.controlId = controlId;
    request.row = row;
    request.col = col;
    request.text = GetText();
    request.start = start;

    m_bEditing = true;
    if (m_pGrid != nullptr)
        m_pEditWnd = m_pGrid->OpenInPlaceEditor(request);
    return true;
}

void CGridCell::EndEdit()
{
    if (m_pEditWnd != nullptr)
        m_pEditWnd->endEdit();
}

void CGridCell::OnEndEdit()
{
    m_bEditing = false;
    m_pEditWnd = nullptr;
}
