// Painting and printing of a cell.
#include "grid/CGridCellBase.h"

#include "grid/CGridCtrl.h"
#include "grid/GridImageList.h"
#include "grid/QtTextMeasure.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <optional>

using namespace kzev;

namespace {

QRect toQRect(const GridRect& rect)
{
    return QRect(rect.left, rect.top, rect.width(), rect.height());
}

GridRect grown(GridRect rect)
{
    ++rect.right;
    ++rect.bottom;
    return rect;
}

void deflate(GridRect& rect, int by)
{
    rect.left += by;
    rect.top += by;
    rect.right -= by;
    rect.bottom -= by;
}

void line(QPainter& painter, ColorRef colour, int x1, int y1, int x2, int y2)
{
    painter.setPen(QPen(toQColor(colour), 0));
    painter.drawLine(x1, y1, x2, y2);
}

/** The raised look of a heading: light along the top and left, dark along the right and bottom. */
void drawRaisedEdge(QPainter& painter, const GridRect& rect, const GridSysColors& colours)
{
    line(painter, colours.btnHighlight, rect.right, rect.top, rect.left, rect.top);
    line(painter, colours.btnHighlight, rect.left, rect.top, rect.left, rect.bottom);
    line(painter, colours.btnDkShadow, rect.right, rect.top, rect.right, rect.bottom);
    line(painter, colours.btnDkShadow, rect.left, rect.bottom, rect.right, rect.bottom);
}

/** The pressed look of the headings of the focus cell. */
void drawSunkenEdge(QPainter& painter, const GridRect& rect, const GridSysColors& colours)
{
    line(painter, colours.btnShadow, rect.left, rect.top, rect.right - 1, rect.top);
    line(painter, colours.btnShadow, rect.left, rect.top, rect.left, rect.bottom - 1);
    line(painter, colours.btnHighlight, rect.right - 1, rect.top, rect.right - 1, rect.bottom - 1);
    line(painter, colours.btnHighlight, rect.left, rect.bottom - 1, rect.right - 1, rect.bottom - 1);
}

int qtAlignment(std::uint32_t format)
{
    int flags = 0;
    if ((format & dt::Right) != 0)
        flags |= Qt::AlignRight;
    else if ((format & dt::Center) != 0)
        flags |= Qt::AlignHCenter;
    else
        flags |= Qt::AlignLeft;
    if ((format & dt::SingleLine) != 0 && (format & dt::VCenter) != 0)
        flags |= Qt::AlignVCenter;
    else if ((format & dt::SingleLine) != 0 && (format & dt::Bottom) != 0)
        flags |= Qt::AlignBottom;
    else
        flags |= Qt::AlignTop;
    if ((format & dt::SingleLine) != 0)
        flags |= Qt::TextSingleLine;
    else if ((format & dt::WordBreak) != 0)
        flags |= Qt::TextWordWrap;
    if ((format & dt::NoClip) != 0)
        flags |= Qt::TextDontClip;
    return flags;
}

void drawCellText(QPainter& painter, const GridRect& rect, const std::string& text, std::uint32_t format, int escapement)
{
    if (text.empty() || rect.isEmpty())
        return;
    QString string = QString::fromStdString(text);
    QRect area = toQRect(rect);
    painter.save();
    if ((format & dt::NoClip) == 0)
        painter.setClipRect(area, Qt::IntersectClip);
    if (escapement == 900 || escapement == -900) {
        // Turned text runs along the cell's height.
        painter.translate(escapement == 900 ? area.left() : area.right() + 1, escapement == 900 ? area.bottom() + 1 : area.top());
        painter.rotate(escapement == 900 ? -90.0 : 90.0);
        area = QRect(0, 0, area.height(), area.width());
    }
    if ((format & dt::EndEllipsis) != 0 && (format & dt::SingleLine) != 0)
        string = painter.fontMetrics().elidedText(string, Qt::ElideRight, area.width());
    painter.drawText(area, qtAlignment(format), string);
    painter.restore();
}

/** Draws the image at the top-left corner when it fits; returns the image width (0 without one). */
int drawImage(QPainter& painter, const CGridCellBase& cell, const GridRect& rect, int margin)
{
    const CGridCtrl* grid = cell.GetGrid();
    const GridImageList* images = grid != nullptr ? grid->GetImageList() : nullptr;
    GridSize size;
    if (images == nullptr || cell.GetImage() < 0 || !images->imageSize(cell.GetImage(), size))
        return -1;
    if (size.cx <= rect.width() + 2 * margin && size.cy <= rect.height() + 2 * margin)
        painter.drawImage(rect.left, rect.top, *images->image(cell.GetImage()));
    return size.cx;
}

void drawSortArrow(QPainter& painter, GridRect& rect, int margin, bool horizontalFont, bool ascending,
    const GridSysColors& colours)
{
    const int size = std::min(painter.fontMetrics().height() - 4, rect.height() - 4);
    if (size <= 0)
        return;
    const int left = horizontalFont ? rect.right - size : (rect.right - size + rect.left) / 2;
    if (left + size >= rect.right + 2 * margin)
        return;
    const int bottom = rect.bottom - 2;
    const int top = bottom - size;
    const int apexX = left + size / 2;
    if (ascending) {
        line(painter, colours.btnShadow, left, bottom, apexX, top);
        line(painter, colours.btnHighlight, apexX, top, left + size, bottom);
        line(painter, colours.btnHighlight, left, bottom, left + size, bottom);
    } else {
        line(painter, colours.btnShadow, left, top, left + size, top);
        line(painter, colours.btnShadow, left, top, apexX, bottom);
        line(painter, colours.btnHighlight, apexX, bottom, left + size, top);
    }
    if (horizontalFont)
        rect.right -= size;
}

} // namespace

bool CGridCellBase::Draw(QPainter& painter, int row, int col, GridRect rect, bool erase)
{
    CGridCtrl* grid = GetGrid();
    const CGridDefaultCell* def = GetDefaultCell();
    if (grid == nullptr || def == nullptr || rect.isEmpty())
        return false;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const GridSysColors& colours = grid->GetSysColors();
    const int gridLines = grid->GetGridLines();

    ColorRef textColour = GetTextClr() == kClrDefault ? def->GetTextClr() : GetTextClr();
    ColorRef backColour = GetBackClr() == kClrDefault ? def->GetBackClr() : GetBackClr();
    if (GetBackClr() != kClrDefault)
        erase = true;

    if (!IsFocused() && !IsDropHighlighted()) {
        if (IsSelected()) {
            painter.fillRect(toQRect(grown(rect)), toQColor(colours.highlight));
            textColour = colours.highlightText;
        } else if (erase) {
            painter.fillRect(toQRect(grown(rect)), toQColor(backColour));
        }
    } else {
        if (IsSelected()) {
            backColour = colours.highlight;
            textColour = colours.highlightText;
            erase = true;
        }
        rect = grown(rect);
        if (erase)
            painter.fillRect(toQRect(rect), toQColor(backColour));
        if (gridLines != CGridCtrl::kLinesNone) {
            --rect.right;
            --rect.bottom;
        }
        if (grid->GetFrameFocusCell()) {
            painter.setPen(QPen(toQColor(textColour), 0));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(rect.left, rect.top, rect.width() - 1, rect.height() - 1);
        }
        if (gridLines == CGridCtrl::kLinesNone) {
            --rect.right;
            --rect.bottom;
        }
        deflate(rect, 1);
    }

    if (IsFixed() && gridLines != CGridCtrl::kLinesNone) {
        const CellId focus = grid->GetFocusCell();
        if (grid->GetTrackFocusCell() && grid->IsValid(focus) && (focus.row == row || focus.col == col))
            drawSunkenEdge(painter, grown(rect), colours);
        else
            drawRaisedEdge(painter, rect, colours);
        deflate(rect, 1);
    }

    const GridFont font = EffectiveFont();
    painter.setFont(toQFont(font));
    const int margin = GetMargin();
    rect.left += margin;
    rect.right -= margin;

    const int imageWidth = drawImage(painter, *this, rect, margin);
    if (imageWidth >= 0)
        rect.left += margin + imageWidth;

    const bool horizontalFont = font.escapement != 900;
    if (col == grid->GetSortColumn() && row == 0)
        drawSortArrow(painter, rect, margin, horizontalFont, grid->GetSortAscending(), colours);

    painter.setPen(toQColor(textColour));
    drawCellText(painter, rect, GetText(), GetFormat() | dt::NoPrefix, font.escapement);
    painter.restore();
    return true;
}

bool CGridCellBase::PrintCell(QPainter& painter, int, int, GridRect rect)
{
    CGridCtrl* grid = GetGrid();
    const CGridDefaultCell* def = GetDefaultCell();
    if (grid == nullptr || def == nullptr || rect.isEmpty())
        return false;

    painter.save();
    const GridSysColors& colours = grid->GetSysColors();
    const bool ownBack = GetBackClr() != kClrDefault;
    const bool ownText = GetTextClr() != kClrDefault;

    if (grid->GetPrintColour()) {
        std::optional<ColorRef> back;
        ColorRef text = 0;
        if (IsFixed()) {
            back = ownBack ? GetBackClr() : def->GetBackClr();
            text = ownBack && ownText ? GetTextClr() : def->GetTextClr();
        } else {
            if (ownBack && GetBackClr() != def->GetBackClr())
                back = GetBackClr();
            if (ownText && (ownBack || GetTextClr() != def->GetTextClr()))
                text = GetTextClr();
        }
        const QPaintDevice* device = painter.device();
        if (device != nullptr && device->colorCount() == 2 && !back) {
            // A two-colour printer shows a coloured text as its grey value.
            text = rgb(static_cast<int>(redOf(text) * 0.3), static_cast<int>(greenOf(text) * 0.59),
                static_cast<int>(blueOf(text) * 0.11));
        } else if (back) {
            painter.fillRect(toQRect(grown(rect)), toQColor(*back));
        }
        painter.setPen(toQColor(text));
    }

    // The heading's edge is drawn with pens of its own; the text keeps the text colour.
    const QPen pen = painter.pen();
    if (IsFixed() && grid->GetGridLines() != CGridCtrl::kLinesNone) {
        drawRaisedEdge(painter, rect, colours);
        deflate(rect, 1);
    }

    const GridFont font = EffectiveFont();
    painter.setFont(toQFont(font));
    const int margin = GetMargin();
    rect.left += margin;
    rect.right -= margin;
    const int imageWidth = drawImage(painter, *this, rect, margin);
    if (imageWidth >= 0)
        rect.left += margin + imageWidth;
    painter.setPen(pen);
    drawCellText(painter, rect, GetText(), GetFormat() | dt::NoPrefix | dt::NoClip, font.escapement);
    painter.restore();
    return true;
}
