#include "grid/CGridCellBase.h"

#include "grid/CGridCtrl.h"
#include "grid/GridImageList.h"
#include "grid/ITextMeasure.h"

#include <algorithm>

using namespace kzev;

void CGridCellBase::SetText(const std::string&) {}
void CGridCellBase::SetImage(int) {}
void CGridCellBase::SetData(std::int32_t) {}
void CGridCellBase::SetFormat(std::uint32_t) {}
void CGridCellBase::SetTextClr(ColorRef) {}
void CGridCellBase::SetBkClr(ColorRef) {}
void CGridCellBase::SetFont(const GridFont*) {}
void CGridCellBase::SetMargin(int) {}
void CGridCellBase::SetGrid(CGridCtrl*) {}
void CGridCellBase::SetCoords(int, int) {}

CGridDefaultCell* CGridCellBase::GetDefaultCell() const
{
    const CGridCtrl* grid = GetGrid();
    if (grid == nullptr)
        return nullptr;
    const std::uint32_t state = GetState();
    return grid->GetDefaultCell((state & gvis::FixedRow) != 0, (state & gvis::FixedCol) != 0);
}

CGridCellBase& CGridCellBase::operator=(const CGridCellBase& other)
{
    if (this == &other)
        return *this;
    SetGrid(other.GetGrid());
    SetText(other.GetText());
    SetImage(other.GetImage());
    SetData(other.GetData());
    SetState(other.GetState());
    SetFormat(other.GetFormat());
    SetTextClr(other.GetTextClr());
    SetBkClr(other.GetBackClr());
    SetFont(other.IsDefaultFont() ? nullptr : other.GetFont());
    SetMargin(other.GetMargin());
    return *this;
}

GridFont CGridCellBase::EffectiveFont() const
{
    const GridFont* font = GetFont();
    return font != nullptr ? *font : GridFont{};
}

bool CGridCellBase::GetTextRect(GridRect& rect) const
{
    const CGridCtrl* grid = GetGrid();
    GridSize size;
    if (GetImage() >= 0 && grid != nullptr && grid->GetImageList() != nullptr
        && grid->GetImageList()->imageSize(GetImage(), size))
        rect.left += GetMargin() + size.cx + 1;
    return true;
}

GridSize CGridCellBase::GetTextExtent(std::string_view text, const ITextMeasure* measure) const
{
    const CGridCtrl* grid = GetGrid();
    if (measure == nullptr && grid != nullptr)
        measure = grid->GetTextMeasure();
    if (measure == nullptr) {
        const CGridDefaultCell* def = GetDefaultCell();
        if (def == nullptr)
            return {};
        return {def->GetWidth(), def->GetHeight()};
    }

    const GridFont font = EffectiveFont();
    const std::uint32_t format = GetFormat();
    GridSize size;
    if ((format & dt::WordBreak) != 0 && (format & dt::SingleLine) == 0) {
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos)
                end = text.size();
            size.cx = std::max(size.cx, measure->textExtent(font, text.substr(start, end - start)).cx);
            start = end + 1;
        }
        size.cy = measure->wrappedHeight(font, text, size.cx);
    } else {
        size = measure->textExtent(font, text);
    }

    const int margin = GetMargin();
    size.cx += 4 * margin;
    size.cy += 2 * margin;
    // Text turned by a right angle: what was wide is now tall.
    if (font.escapement == 900 || font.escapement == -900)
        size = {size.cy, size.cx + 4 * margin};
    return size;
}

GridSize CGridCellBase::GetCellExtent(const ITextMeasure* measure) const
{
    GridSize size = GetTextExtent(GetText(), measure);
    const CGridCtrl* grid = GetGrid();
    GridSize image;
    if (GetImage() >= 0 && grid != nullptr && grid->GetImageList() != nullptr
        && grid->GetImageList()->imageSize(GetImage(), image)) {
        size.cx += image.cx + 1;
        size.cy = std::max(size.cy, image.cy + 1);
    }
    return size;
}

bool CGridCellBase::Edit(int, int, GridRect, GridPoint, int, EditStart)
{
    return false;
}
