// Printing the grid page by page: header, column and row headings, the body cells with
// their lines, and the footer. The layout is in the grid's pixels, scaled onto the paper.
#include "grid/CGridCtrl.h"

#include "grid/IGridWindow.h"
#include "platform/StringTable.h"

#include <QDateTime>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLocale>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QScreen>

#include <algorithm>

using namespace kzev;

namespace {

// "Page %d of %d" in the string table.
constexpr int kIdsPageOf = 62811;
// The application's title.
constexpr int kIdsAppTitle = 57344;

constexpr const char* kPrinterFace = "Arial";
constexpr int kPrinterFontHeight = 10;

QFont printerFont(bool bold = false)
{
    QFont font(QString::fromLatin1(kPrinterFace));
    font.setPixelSize(kPrinterFontHeight);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

QRect toQRect(const GridRect& rect)
{
    return QRect(rect.left, rect.top, rect.width(), rect.height());
}

int screenDpi(bool horizontal)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return static_cast<int>(horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY());
    return 96;
}

/** Replaces the first two "%d" of the text by the numbers. */
std::string pageText(std::string text, int page, int pages)
{
    for (const int number : {page, pages}) {
        const std::size_t at = text.find("%d");
        if (at == std::string::npos)
            break;
        text.replace(at, 2, std::to_string(number));
    }
    return text;
}

} // namespace

void CGridCtrl::SetPrintMarginInfo(int header, int footer, int left, int right, int top, int bottom, int gap)
{
    const auto set = [](int& value, int given) {
        if (given >= 0)
            value = given;
    };
    set(m_nHeaderHeight, header);
    set(m_nFooterHeight, footer);
    set(m_nLeftMargin, left);
    set(m_nRightMargin, right);
    set(m_nTopMargin, top);
    set(m_nBottomMargin, bottom);
    set(m_nGap, gap);
}

void CGridCtrl::OnBeginPrinting(QPainter& painter, GridPrintInfo& info)
{
    const QPaintDevice* device = painter.device();
    if (device == nullptr || device->width() <= 0 || device->height() <= 0)
        return;

    GridPageLayout layout;
    const QFontMetrics metrics(printerFont());
    const QString sample = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSATUVWXYZ");
    layout.charSize = {std::max(1, metrics.horizontalAdvance(sample) / 52), std::max(1, metrics.height())};
    const int margins = (m_nLeftMargin + m_nRightMargin) * layout.charSize.cx;
    layout.paperSize = {device->width(), device->height()};

    if (m_bWysiwygPrinting) {
        layout.pageSize.cx = layout.paperSize.cx * screenDpi(true) / std::max(1, device->logicalDpiX()) * 3 / 4;
        layout.pageSize.cy = layout.paperSize.cy * screenDpi(false) / std::max(1, device->logicalDpiY()) * 3 / 4;
    } else {
        // The whole width of the grid fills the paper's width; the page keeps the paper's proportions.
        layout.pageSize.cx = GetVirtualWidth() + margins;
        layout.pageSize.cy = static_cast<int>(
            static_cast<long long>(layout.pageSize.cx) * layout.paperSize.cy / layout.paperSize.cx);
    }
    layout.pageSize.cx = std::max(1, layout.pageSize.cx);
    layout.pageSize.cy = std::max(1, layout.pageSize.cy);

    layout.rowPageHeight = layout.pageSize.cy
        - (m_nHeaderHeight + m_nFooterHeight + 2 * m_nGap) * layout.charSize.cy - GetFixedRowHeight();
    layout.colPageWidth = layout.pageSize.cx - GetFixedColumnWidth() - margins;
    layout.rowPages = paginateRows(m_arRowHeights, m_nFixedRows, layout.rowPageHeight);
    if (m_bWysiwygPrinting)
        layout.bands = bandColumns(m_arColWidths, m_nFixedCols, layout.colPageWidth);
    else
        layout.bands = {ColumnBand{m_nFixedCols, m_nCols - 1}};

    m_printLayout = std::move(layout);
    info.maxPage = m_printLayout.pageCount();
    info.currentPage = 1;
}

void CGridCtrl::OnPrint(QPainter& painter, GridPrintInfo& info)
{
    if (painter.device() == nullptr || m_printLayout.rowPages.empty())
        return;
    const GridPageLayout& layout = m_printLayout;
    const int charWidth = layout.charSize.cx;
    const int charHeight = layout.charSize.cy;
    const int margins = (m_nLeftMargin + m_nRightMargin) * charWidth;
    const int fixedHeight = GetFixedRowHeight();
    const int fixedWidth = GetFixedColumnWidth();

    painter.save();
    painter.setFont(printerFont());
    painter.setWindow(-m_nLeftMargin * charWidth, 0, layout.pageSize.cx, layout.pageSize.cy);
    painter.setViewport(0, 0, layout.paperSize.cx, layout.paperSize.cy);

    info.drawRect = {0, 0, layout.pageSize.cx - margins, m_nHeaderHeight * charHeight};
    PrintHeader(painter, info);

    const RowPage& rows = layout.rowsOf(info.currentPage);
    const ColumnBand& band = layout.bandOf(info.currentPage);
    m_printRows = rows;
    m_printBand = band;

    // y = 0 is the top of the first body row from here on.
    painter.save();
    painter.translate(0, (m_nHeaderHeight + m_nGap) * charHeight + fixedHeight);
    PrintRowButtons(painter, info);

    if (band.firstCol == m_nFixedCols) {
        // The first band carries the corner cells with the headings.
        painter.translate(0, -fixedHeight);
        m_printBand = {0, band.lastCol};
        m_printHeadingWidth = layout.colPageWidth + fixedWidth;
        PrintColumnHeadings(painter, info);
        m_printBand = band;
        painter.translate(fixedWidth, fixedHeight);
    } else {
        painter.translate(fixedWidth, -fixedHeight);
        m_printHeadingWidth = layout.colPageWidth;
        PrintColumnHeadings(painter, info);
        painter.translate(0, fixedHeight);
    }

    const bool body = rows.firstRow < m_nRows && rows.lastRow >= rows.firstRow;
    if (body)
        PrintCells(painter, rows.firstRow, rows.lastRow, band.firstCol, band.lastCol, rows.offset, layout.colPageWidth,
            layout.rowPageHeight);
    painter.restore();

    if (body) {
        info.drawRect = {0, 0, layout.pageSize.cx - margins, m_nFooterHeight * charHeight};
        painter.translate(0, layout.pageSize.cy - m_nFooterHeight * charHeight);
        PrintFooter(painter, info);
    }
    painter.restore();
}

void CGridCtrl::OnEndPrinting(QPainter&, GridPrintInfo&)
{
    m_printLayout = {};
}

void CGridCtrl::PrintCells(QPainter& painter, int firstRow, int lastRow, int firstCol, int lastCol, int rowOffset,
    int width, int height)
{
    painter.save();
    if (width > 0 && height > 0)
        painter.setClipRect(QRect(0, 0, width, height), Qt::IntersectClip);
    const bool horizontal = (m_nGridLines & kLinesHorz) != 0;
    const bool vertical = (m_nGridLines & kLinesVert) != 0;

    int top = -rowOffset;
    bool firstPrintedRow = true;
    for (int row = firstRow; row <= lastRow && row < m_nRows; ++row) {
        const int rowHeight = GetRowHeight(row);
        if (rowHeight <= 0)
            continue;
        int left = 0;
        bool firstPrintedCol = true;
        for (int col = firstCol; col <= lastCol && col < m_nCols; ++col) {
            const int colWidth = GetColumnWidth(col);
            if (colWidth <= 0)
                continue;
            const GridRect rect{left, top, left + colWidth - 1, top + rowHeight - 1};
            if (CGridCellBase* cell = GetCell(row, col))
                cell->PrintCell(painter, row, col, rect);
            painter.setPen(QPen(Qt::black, 0));
            if (horizontal) {
                painter.drawLine(firstPrintedCol ? rect.left : rect.left - 1, rect.bottom, rect.right, rect.bottom);
                if (firstPrintedRow)
                    painter.drawLine(rect.left, rect.top, rect.right, rect.top);
            }
            if (vertical) {
                painter.drawLine(rect.right, firstPrintedRow ? rect.top : rect.top - 1, rect.right, rect.bottom);
                if (firstPrintedCol)
                    painter.drawLine(rect.left, rect.top, rect.left, rect.bottom);
            }
            left += colWidth;
            firstPrintedCol = false;
        }
        top += rowHeight;
        firstPrintedRow = false;
    }
    painter.restore();
}

void CGridCtrl::PrintColumnHeadings(QPainter& painter, GridPrintInfo&)
{
    PrintCells(painter, 0, m_nFixedRows - 1, m_printBand.firstCol, m_printBand.lastCol, 0, m_printHeadingWidth,
        GetFixedRowHeight());
}

void CGridCtrl::PrintRowButtons(QPainter& painter, GridPrintInfo&)
{
    PrintCells(painter, m_printRows.firstRow, m_printRows.lastRow, 0, m_nFixedCols - 1, m_printRows.offset,
        GetFixedColumnWidth(), m_printLayout.rowPageHeight);
}

void CGridCtrl::PrintHeader(QPainter& painter, GridPrintInfo& info)
{
    const QString right = QString::fromStdString(loadString(kIdsAppTitle));
    const QString centre = m_pWindow != nullptr ? QString::fromStdString(m_pWindow->ownerTitle()) : QString();
    const QRect rect = toQRect(info.drawRect);

    painter.save();
    painter.setFont(printerFont(true));
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::TransparentMode);
    if (!centre.isEmpty())
        painter.drawText(rect, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, centre);
    if (!right.isEmpty())
        painter.drawText(rect, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, right);
    painter.restore();

    painter.save();
    painter.setPen(QPen(Qt::black, 0));
    painter.drawLine(info.drawRect.left, info.drawRect.bottom, info.drawRect.right, info.drawRect.bottom);
    painter.restore();
}

void CGridCtrl::PrintFooter(QPainter& painter, GridPrintInfo& info)
{
    const QString left = QString::fromStdString(pageText(loadString(kIdsPageOf), info.currentPage, info.maxPage));
    const QString right = QLocale::system().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
    const QRect rect = toQRect(info.drawRect);

    painter.save();
    painter.setPen(QPen(Qt::black, 0));
    painter.drawLine(info.drawRect.left, info.drawRect.top, info.drawRect.right, info.drawRect.top);
    painter.setFont(printerFont(true));
    painter.setBackgroundMode(Qt::TransparentMode);
    if (!left.isEmpty())
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, left);
    if (!right.isEmpty())
        painter.drawText(rect, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, right);
    painter.restore();
}
