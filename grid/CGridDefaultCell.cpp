#include "grid/CGridDefaultCell.h"

#include "grid/ITextMeasure.h"
#include "grid/QtTextMeasure.h"

using namespace kzev;

CGridDefaultCell::CGridDefaultCell()
{
    m_nFormat = dt::DefaultFormat;
    const GridFont font = messageFont();
    SetFont(&font);
}

void CGridDefaultCell::SetFont(const GridFont* font)
{
    if (font == nullptr)
        return;
    CGridCell::SetFont(font);

    if (const ITextMeasure* screen = screenTextMeasure()) {
        m_nMargin = screen->textExtent(*font, " ").cx;
        m_Size.cx = screen->textExtent(*font, " XXXXXXXXXXXX ").cx;
        m_Size.cy = 3 * screen->textExtent(*font, " ").cy / 2;
    } else {
        m_nMargin = 3;
        m_Size = {40, 16};
    }
}

const GridFont* CGridDefaultCell::GetFont() const
{
    return m_plfFont ? &*m_plfFont : nullptr;
}
