// The printed report laid out in tenths of a millimetre (y negative downwards)
// on the printer's surface, with the view's print fonts: title page, contents,
// the legend of the luminaires, then every room with its blocks, result tables
// and plans.

#include "print/ui/SheetComposer.h"

#include "catalogue/ui/PictureDrawing.h"
#include "model/CKzevDoc.h"
#include "platform/AppFolders.h"
#include "platform/ProfileStore.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "platform/qt/QtPainterSurface.h"
#include "print/PageFlow.h"
#include "print/ui/CatalogueSheet.h"
#include "print/ui/ReportPass.h"
#include "view/CKzevView.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace kzev {

namespace {

std::string afterLastSeparator(const std::string& path)
{
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

QImage logo()
{
    return readLuminairePicture((std::filesystem::path(appFolders().PathExe) / "Kzev.jpg").string());
}

} // namespace

SheetComposer::SheetComposer(CKzevView& view, RoomOrder rooms)
    : m_view(view)
    , m_rooms(std::move(rooms))
{
}

void SheetComposer::prepareRoom(int /*roomIndex*/)
{
    // The report prints the stored results as they are: nothing is recomputed for it.
}

int SheetComposer::ComposePage(IDrawSurface& surface, PrintInfo& info, int counting)
{
    if (m_view.catalogueSheet()) {
        CKzevDoc* doc = theDocument();
        const CLuminaire* luminaire = m_view.sheetLuminaire();
        if (counting == 1 || !doc || !luminaire)
            return 1;
        const double pixelsPerUnit = info.pixelsPerMm / 10.0;
        if (auto* qt = dynamic_cast<QtPainterSurface*>(&surface)) {
            qt->setPageUnits(pixelsPerUnit);
            qt->setBlackLines(doc->m_printColor != 1);
        }
        surface.selectBrush(std::nullopt);
        surface.setTextColour(rgb(0, 0, 0));
        const PageFrame frame = pageFrame(static_cast<int>(std::lround(info.pagePixels.cx / pixelsPerUnit)),
            static_cast<int>(std::lround(info.pagePixels.cy / pixelsPerUnit)), doc->m_leftMargin, doc->m_topMargin,
            doc->m_rightMargin, doc->m_bottomMargin);
        PageFlow flow(frame, 1, false, 1);
        flow.newPage(frame.top);
        ReportPass pass(surface, m_view, *doc, flow, pixelsPerUnit);
        return PrintLuminaireSheet(pass, *luminaire);
    }
    if (counting != 1)
        return composeOnce(surface, info, false);
    if (CKzevDoc* doc = theDocument())
        doc->BuildLuminaireLegend();
    // The contents page lists where the rooms begin, and its own length moves them:
    // the counting pass lays the report out until the contents stop changing.
    m_titles.clear();
    m_pages.clear();
    int pages = 1;
    for (int round = 0; round < 4; ++round) {
        const std::vector<int> before = m_pages;
        pages = composeOnce(surface, info, true);
        if (m_pages == before && round > 0)
            break;
    }
    return pages;
}

int SheetComposer::composeOnce(IDrawSurface& surface, const PrintInfo& info, bool counting)
{
    CKzevDoc* doc = theDocument();
    if (!doc || doc->m_rooms.empty())
        return 1;
    auto* qt = dynamic_cast<QtPainterSurface*>(&surface);
    const double pixelsPerUnit = info.pixelsPerMm / 10.0;
    if (qt) {
        qt->setPageUnits(pixelsPerUnit);
        // A print without colours draws its lines and texts black.
        qt->setBlackLines(doc->m_printColor != 1);
    }
    const int paperWidth = static_cast<int>(std::lround(info.pagePixels.cx / pixelsPerUnit));
    const int paperHeight = static_cast<int>(std::lround(info.pagePixels.cy / pixelsPerUnit));
    const PageFrame frame = pageFrame(paperWidth, paperHeight, doc->m_leftMargin, doc->m_topMargin,
        doc->m_rightMargin, doc->m_bottomMargin);
    if (qt)
        qt->selectFont(m_view.printFont(kReportNormal));
    surface.selectBrush(std::nullopt);
    surface.selectPen(Pen {});
    surface.setTextColour(rgb(0, 0, 0));
    const int line = std::max(surface.textExtent(kReportProbe).cy, 1);

    const int requested = info.currentPage;
    PageFlow flow(frame, requested, counting, line);
    ReportPass pass(surface, m_view, *doc, flow, pixelsPerUnit);
    const std::vector<int> order = m_rooms ? m_rooms() : std::vector<int> {};

    // Page header of the requested page, and its footer.
    if (!counting) {
        PageFlow header(frame, requested, false, line);
        for (int k = 0; k < requested; ++k)
            header.newPage(frame.top);
        ReportPass top(surface, m_view, *doc, header, pixelsPerUnit);
        if (doc->m_printHeadpage == 1 && requested != 1) {
            // The page number stands in the middle of the top line and the logo at the right edge:
            // a project text that would reach either is shortened on its line.
            const std::string number = formatC(loadString(61793).c_str(), requested);
            const int numberX = (frame.left + frame.right - 40) / 2;
            const int numberLeft = numberX - top.width(number) / 2;
            for (const std::string* value : { &doc->m_building, &doc->m_projectName }) {
                if (value->empty())
                    continue;
                const int end = header.y() == frame.top ? numberLeft - 40 : frame.right - 150 - 40;
                header.down(top.text(frame.left, header.y(), top.shortened(*value, end - frame.left), TextAlign::Left));
            }
            top.text(numberX, frame.top, number, TextAlign::Center);
            top.picture(logo(), frame.right - 150, frame.top, 150, 2 * (frame.top - header.y()) + 150);
        }
        const std::string footer = profileStore().getString("Main", "Footer", "Kzev");
        top.text((frame.left + frame.right - 40) / 2, frame.bottom, footer, TextAlign::Center);
    }

    // Every page is laid out by walking the report from its start, but a page
    // after the front matter or a room need not lay those out again: the
    // counting pass knows where they end.
    const bool skipFront = !counting && m_frontLast > 0 && requested > m_frontLast;
    if (skipFront) {
        flow.skipTo(m_frontLast);
    } else {
        if (doc->m_printHeadprogram == 1) {
            flow.newPage(frame.top);
            pass.font(kReportTitle);
            const int titleId = doc->m_projectType == 0 ? 61736 : doc->m_projectType == 2 ? 61985 : 62024;
            const int titleHeight = pass.text(frame.centreX, -3 * paperHeight / 10, loadString(titleId), TextAlign::Center);
            if (flow.drawing())
                pass.picture(logo(), frame.centreX - frame.right / 4, -3 * paperHeight / 10 - 2 * titleHeight,
                    frame.right / 2, frame.right / 2);
            pass.font(kReportNormal);
            const std::string company = doc->m_projectCompany.empty() ? doc->m_company : doc->m_projectCompany;
            const std::string designer = doc->m_projectDesigner.empty() ? doc->m_designer : doc->m_projectDesigner;
            const std::pair<int, std::string> rows[] = { { 62017, doc->m_building }, { 61932, doc->m_projectName },
                { 61737, company }, { 61738, designer }, { 61739, afterLastSeparator(doc->GetPathName().string()) },
                { 62025, afterLastSeparator(doc->m_dwgFile) }, { 61915, doc->m_date } };
            // A long value goes on over more lines from the centre to the right edge; the rows
            // start higher when they would otherwise run into the footer.
            const int indent = pass.width(" : ");
            const int span = frame.right - frame.centreX - indent;
            std::vector<std::pair<std::string, std::vector<std::string>>> lines;
            int height = 0;
            for (const auto& [id, value] : rows) {
                if (value.empty())
                    continue;
                lines.emplace_back(loadString(id), pass.wrapped(value, span));
                height += static_cast<int>(lines.back().second.size()) * line;
            }
            int y = std::max(-8 * paperHeight / 10, frame.bottom + 2 * line + height);
            for (const auto& [label, valueLines] : lines) {
                pass.text(frame.centreX, y, label, TextAlign::Right);
                for (std::size_t k = 0; k < valueLines.size(); ++k) {
                    y -= k == 0 ? pass.text(frame.centreX, y, " : " + valueLines[k], TextAlign::Left)
                                : pass.text(frame.centreX + indent, y, valueLines[k], TextAlign::Left);
                }
            }
        }

        if (doc->m_printContent == 1 || doc->m_printLuminaires == 1)
            flow.newPage(frame.top - 7 * line);
        if (doc->m_printContent == 1) {
            pass.font(kReportHeading);
            pass.text(frame.left, flow.y(), loadString(62021), TextAlign::Left);
            flow.downLines(2);
            pass.font(kReportNormal);
            for (std::size_t k = 0; k < m_titles.size() && k < m_pages.size(); ++k) {
                pass.ensureRoom(10);
                pass.text(frame.left, flow.y(), m_titles[k], TextAlign::Left);
                flow.down(pass.text(frame.right - 300, flow.y(), std::to_string(m_pages[k]), TextAlign::Right));
            }
            flow.downLines(3);
        }
        if (!doc->m_remark.empty()) {
            pass.ensureRoom(6);
            pass.paragraph(doc->m_remark);
            flow.downLines(3);
        } else {
            flow.downLines(2);
        }

        printLuminaireLegend(pass);
    }
    if (counting)
        m_frontLast = flow.page();
    std::vector<RoomPages> roomPages;

    for (const int index : order) {
        if (index < 0 || static_cast<std::size_t>(index) >= doc->m_rooms.size())
            continue;
        const CRoom& room = doc->m_rooms[static_cast<std::size_t>(index)];
        if (room.m_roomFlag == 1)
            continue;
        if (!counting) {
            const auto known = std::find_if(m_roomPages.begin(), m_roomPages.end(),
                [index](const RoomPages& pages) { return pages.room == index; });
            if (known != m_roomPages.end() && known->first == flow.page() + 1 && known->last < requested) {
                flow.skipTo(known->last);
                continue;
            }
            if (flow.page() >= requested)
                break;
        }
        flow.newPage(frame.top);
        const int first = flow.page();
        pass.font(kReportNormal);
        pass.addContents(reportRoomLabel(room));
        printRoomBlocks(pass, room);
        printResultTables(pass, room);
        printRoomPlans(pass, index);
        roomPages.push_back({ index, first, flow.page() });
    }
    if (counting) {
        m_titles = pass.titles();
        m_pages = pass.pages();
        m_roomPages = std::move(roomPages);
    }
    return std::max(flow.page(), 1);
}

} // namespace kzev
