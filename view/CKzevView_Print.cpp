// The view's printing hooks: the print composer counts and draws the pages,
// the view prepares the printer, its fonts and the rooms, and puts its own
// state back when the print ends.

#include "view/CKzevView.h"

#include "model/CKzevDoc.h"
#include "model/CLuminaire.h"
#include "platform/qt/QtPainterSurface.h"
#include "view/gl/COpenGLBase.h"
#include "view/gl/GLScene.h"
#include "view/gl/OffscreenLayout.h"

#include <QImage>
#include <QPageRanges>
#include <QPainter>
#include <QPrinter>

#include <cmath>
#include <vector>

namespace {

// The print fonts are made from the document's display font: its height in
// logical units gives trunc(-72 x height / 10) tenths of a point.
std::array<QFont, 6> makePrintFonts()
{
    QFont base(QStringLiteral("Arial"));
    base.setPointSizeF(9.0);
    if (const CKzevDoc* doc = kzev::theDocument()) {
        const kzev::LogFont& log = doc->m_logFont;
        if (!log.faceName.empty())
            base.setFamily(QString::fromStdString(log.faceName));
        const double tenths = std::trunc(-72.0 * log.height / 10.0);
        // A height of 0 or a cell height (positive) still gives a readable size.
        if (std::fabs(tenths) >= 10.0)
            base.setPointSizeF(std::min(std::fabs(tenths) / 10.0, 200.0));
        base.setItalic(log.italic != 0);
    }
    std::array<QFont, 6> fonts { base, base, base, base, base, base };
    fonts[1].setWeight(QFont::Bold);
    fonts[2].setUnderline(true);
    fonts[3].setUnderline(true);
    fonts[3].setWeight(QFont::Bold);
    fonts[4].setPointSizeF(base.pointSizeF() * 1.5);
    fonts[4].setItalic(true);
    fonts[5].setPointSizeF(base.pointSizeF() * 2.0);
    fonts[5].setWeight(QFont::Bold);
    return fonts;
}

kzev::PrintInfo pageOf(QPrinter& printer)
{
    kzev::PrintInfo info;
    const int dpi = std::max(printer.resolution(), 1);
    const QRect paint = printer.pageLayout().paintRectPixels(dpi);
    info.pagePixels = { paint.width(), paint.height() };
    info.pixelsPerMm = dpi / 25.4;
    return info;
}

} // namespace

bool CKzevView::OnPreparePrinting(QPrinter& printer, kzev::PrintInfo& info)
{
    if (!m_composer)
        return false;
    const kzev::PrintInfo page = pageOf(printer);
    info.pagePixels = page.pagePixels;
    info.pixelsPerMm = page.pixelsPerMm;
    info.minPage = 1;
    m_plan.setOutputScale(1.0);
    m_plan.setDocument(kzev::theDocument());
    if (m_catalogueSheet) {
        info.maxPage = 1;
        return true;
    }
    // The pages are counted on a surface that measures text as the printer does.
    // The fonts exist already: the pages are counted with the fonts they are printed in.
    m_printFonts = makePrintFonts();
    const std::array<QFont, 6>& fonts = m_printFonts;
    QImage measure(1, 1, QImage::Format_RGB32);
    const int dotsPerMetre = static_cast<int>(std::lround(printer.resolution() / 0.0254));
    measure.setDotsPerMeterX(dotsPerMetre);
    measure.setDotsPerMeterY(dotsPerMetre);
    QPainter painter(&measure);
    painter.setFont(fonts[0]);
    kzev::QtPainterSurface surface(painter, true);
    if (const CKzevDoc* doc = kzev::theDocument()) {
        for (std::size_t room = 0; room < doc->m_rooms.size(); ++room)
            m_composer->prepareRoom(static_cast<int>(room));
    }
    info.maxPage = m_composer->ComposePage(surface, info, 1);
    return info.maxPage >= info.minPage;
}

void CKzevView::OnBeginPrinting(QPainter& painter, kzev::PrintInfo& info)
{
    if (m_catalogueSheet) {
        info.minPage = 1;
        info.maxPage = 1;
    }
    m_printFonts = makePrintFonts();
    painter.setFont(m_printFonts[0]);
}

void CKzevView::OnPrint(kzev::IDrawSurface& surface, kzev::PrintInfo& info)
{
    if (m_composer)
        m_composer->ComposePage(surface, info, 0);
}

void CKzevView::OnEndPrinting()
{
    m_plan.setViewSettingsOverride(nullptr);
    m_plan.setOutputScale(1.0);
    m_plan.setPageOutput(false);
    m_glScene->setPrintRoom(-1);
    m_printFonts = {};
    // The plan rectangle is in page units now; the next paint lays the screen out again.
    viewport()->update();
}

void CKzevView::printPlan(kzev::IDrawSurface& surface, int roomIndex, CViewSettings& settings, int mode,
    int displayMode, int area, kzev::ScrollSize paper, int depth, const kzev::PageFraming& framing)
{
    m_plan.setDocument(kzev::theDocument());
    m_plan.setViewSettingsOverride(&settings);
    m_plan.setDisplayMode(displayMode);
    m_plan.drawPagePlan(surface, roomIndex, mode, area, paper.cx, paper.cy, depth, framing);
    m_plan.setViewSettingsOverride(nullptr);
}

kzev::PageFraming CKzevView::planFraming(int roomIndex, CViewSettings& settings, int area, int width, int height)
{
    m_plan.setDocument(kzev::theDocument());
    m_plan.setViewSettingsOverride(&settings);
    const kzev::PageFraming framing = m_plan.pagePlanFraming(roomIndex, area, width, height);
    m_plan.setViewSettingsOverride(nullptr);
    return framing;
}

bool CKzevView::printScene(kzev::IDrawSurface& surface, int roomIndex, CViewSettings& settings, int mode,
    const QRect& devicePixels)
{
    if (devicePixels.width() <= 0 || devicePixels.height() <= 0)
        return false;
    m_plan.setDocument(kzev::theDocument());
    // The print places its own camera: on a copy, so the room keeps the one the user set.
    CViewSettings camera = settings;
    m_plan.setViewSettingsOverride(&camera);
    m_glScene->setPrintRoom(roomIndex);
    // The picture keeps the shape of the window the user sees the scene in, fitted into the rectangle;
    // about 150 dots per inch on a page is plenty for a rendered room and keeps the render quick.
    constexpr int kLargestSide = 1800;
    const QSize window = viewport()->size().isEmpty() ? QSize(4, 3) : viewport()->size();
    const double fit = std::min(static_cast<double>(devicePixels.width()) / window.width(),
        static_cast<double>(devicePixels.height()) / window.height());
    const double width = window.width() * fit;
    const double height = window.height() * fit;
    const double shrink = std::min(1.0, kLargestSide / std::max(width, height));
    const kzev::ScrollSize size { std::max(1, static_cast<int>(width * shrink)), std::max(1, static_cast<int>(height * shrink)) };
    const QImage picture = glWindow().RenderToImage(size, mode);
    m_glScene->setPrintRoom(-1);
    m_plan.setViewSettingsOverride(nullptr);
    if (picture.isNull())
        return false;
    const kzev::RgbImage image = kzev::rgbImageOf(picture);
    const kzev::PictureRect target = kzev::OffscreenLayout::target({ image.width, image.height },
        { devicePixels.width(), devicePixels.height() });
    surface.drawImage(devicePixels.left() + target.left, devicePixels.top() + target.top, target.width, target.height,
        image);
    return true;
}

void CKzevView::setSheetLuminaire(const CLuminaire& luminaire)
{
    m_sheetLuminaire = std::make_unique<CLuminaire>(luminaire);
}

const QFont& CKzevView::printFont(int number) const
{
    return m_printFonts[static_cast<std::size_t>(std::clamp(number, 1, 6) - 1)];
}

int CKzevView::countPages(QPrinter& printer)
{
    kzev::PrintInfo info;
    const bool counted = OnPreparePrinting(printer, info);
    OnEndPrinting();
    return counted ? info.maxPage : 0;
}

bool CKzevView::printDocument(QPrinter& printer, bool preview, const kzev::PageProgress& progress)
{
    m_printStopped = false;
    if (progress)
        m_shownWhilePrinting = viewport()->grab();
    kzev::PrintInfo info;
    info.preview = preview;
    if (!OnPreparePrinting(printer, info)) {
        m_shownWhilePrinting = QPixmap();
        OnEndPrinting();
        return false;
    }
    // The pages the print dialog's ranges name, within those the report has.
    std::vector<int> pages;
    const QPageRanges ranges = printer.printRange() == QPrinter::PageRange ? printer.pageRanges() : QPageRanges();
    for (int page = info.minPage; page <= info.maxPage; ++page) {
        if (ranges.isEmpty() || ranges.contains(page))
            pages.push_back(page);
    }
    QPainter painter;
    if (pages.empty() || !painter.begin(&printer)) {
        m_shownWhilePrinting = QPixmap();
        OnEndPrinting();
        return false;
    }
    OnBeginPrinting(painter, info);
    const int total = static_cast<int>(pages.size());
    for (int k = 0; k < total; ++k) {
        if (k > 0)
            printer.newPage();
        info.currentPage = pages[static_cast<std::size_t>(k)];
        // Every page starts from the printer's own units, whatever the previous page set.
        painter.save();
        {
            kzev::QtPainterSurface surface(painter, true);
            OnPrint(surface, info);
        }
        painter.restore();
        // A stop after the last page comes too late to leave anything out.
        if (progress && !progress(k + 1, total) && k + 1 < total) {
            m_printStopped = true;
            break;
        }
    }
    painter.end();
    m_shownWhilePrinting = QPixmap();
    OnEndPrinting();
    return !m_printStopped;
}
