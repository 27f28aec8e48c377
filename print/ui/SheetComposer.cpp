// The printed report laid out in tenths of a millimetre (y negative downwards)
// on the printer's surface, with the view's print fonts.

#include "print/ui/SheetComposer.h"

#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "platform/qt/QtPainterSurface.h"
#include "print/PageFlow.h"
#include "print/ResultSummary.h"
#include "view/CKzevView.h"

#include <array>
#include <cmath>

namespace kzev {

namespace {

constexpr int kNormal = 1;
constexpr int kBold = 2;
constexpr int kHeading = 5;
constexpr int kTitle = 6;
constexpr const char* kProbe = "Ájg12345";

std::string afterLastSeparator(const std::string& path)
{
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string roomLabel(const CRoom& room)
{
    return room.m_number.empty() ? room.m_name : room.m_number + " " + room.m_name;
}

/** One walk over the report: the text routines measure always and draw only on the requested page. */
class Pass {
public:
    Pass(IDrawSurface& surface, const CKzevView& view, const CKzevDoc& doc, PageFlow& flow)
        : m_surface(surface)
        , m_qt(dynamic_cast<QtPainterSurface*>(&surface))
        , m_view(view)
        , m_doc(doc)
        , m_flow(flow)
    {
    }

    void font(int number)
    {
        if (m_qt)
            m_qt->selectFont(m_view.printFont(number));
    }

    /** Writes the text with its top at y when drawing; returns its height. */
    int text(int x, int y, const std::string& value, unsigned align)
    {
        if (m_flow.drawing() && !value.empty()) {
            m_surface.setTextAlign(align | TextAlign::Top);
            m_surface.textOut(x, y, value);
        }
        return m_surface.textExtent(value.empty() ? std::string(kProbe) : value).cy;
    }

    /** A block row: label, value and unit; y moves down by the row's height. */
    void row(const std::string& label, const std::string& value, const std::string& unit)
    {
        const PageFrame& f = m_flow.frame();
        const int y = m_flow.y();
        int height = text(f.left + 460, y, label, TextAlign::Right);
        height = std::max(height, text(f.left + 500, y, value, TextAlign::Left));
        height = std::max(height, text(f.right - 150, y, unit, TextAlign::Left));
        m_flow.down(height);
    }

    void rule()
    {
        if (!m_flow.drawing())
            return;
        const PageFrame& f = m_flow.frame();
        m_surface.moveTo(f.left - 20, m_flow.y() - 20);
        m_surface.lineTo(f.right, m_flow.y() - 20);
    }

    /** A rule under the rows so far; the next row starts clear of it. */
    void ruleBetween()
    {
        rule();
        m_flow.down(40);
    }

    /** Writes the text word-wrapped between the frame's edges; y moves down by its lines. */
    void paragraph(const std::string& value)
    {
        const PageFrame& f = m_flow.frame();
        const int width = f.right - f.left;
        std::string lineText;
        std::size_t start = 0;
        while (start <= value.size()) {
            std::size_t end = value.find(' ', start);
            if (end == std::string::npos)
                end = value.size();
            const std::string word = value.substr(start, end - start);
            const std::string longer = lineText.empty() ? word : lineText + " " + word;
            if (!lineText.empty() && m_surface.textExtent(longer).cx > width) {
                m_flow.down(text(f.left, m_flow.y(), lineText, TextAlign::Left));
                lineText = word;
            } else {
                lineText = longer;
            }
            start = end + 1;
        }
        if (!lineText.empty())
            m_flow.down(text(f.left, m_flow.y(), lineText, TextAlign::Left));
    }

    /** Closes the block opened at top: its frame and the column rules; y moves down 2 lines. */
    void closeBlock(int top)
    {
        if (m_flow.drawing()) {
            const PageFrame& f = m_flow.frame();
            const int bottom = m_flow.y() - 20;
            m_surface.frameRect(f.left - 20, top + 20, f.right, bottom, rgb(0, 0, 0));
            for (const int x : { f.left + 480, f.right - 170 }) {
                m_surface.moveTo(x, top + 20);
                m_surface.lineTo(x, bottom);
            }
        }
        m_flow.downLines(2);
    }

    std::string length(double metres) const
    {
        return m_doc.m_unitMm == 1 ? formatC("%1.0lf", metres * 1000.0) : formatC("%1.3lf", metres);
    }
    std::string lengthUnit() const { return loadString(m_doc.m_unitMm == 1 ? 61749 : 61750); }

    void roomBlock(const CRoom& room)
    {
        const bool dimensions = m_doc.m_printRoomdim == 1;
        const bool reflectances = m_doc.m_printRoomro == 1;
        if (!dimensions && !reflectances)
            return;
        const std::string dash = loadString(61767);
        int top = m_flow.y();
        if (dimensions) {
            m_flow.downLines(3);
            font(kTitle);
            m_flow.down(text(m_flow.frame().left, m_flow.y(), roomLabel(room), TextAlign::Left));
            m_flow.downLines(2);
            top = m_flow.y();
            font(kBold);
            row(loadString(61742), roomLabel(room), dash);
            row(loadString(62008), room.m_requirement, dash);
            ruleBetween();
            font(kNormal);
            row(loadString(61743), length(room.m_length), lengthUnit());
            row(loadString(61744), length(room.m_width), lengthUnit());
            row(loadString(61745), length(room.m_height), lengthUnit());
        }
        font(kNormal);
        if (reflectances) {
            if (dimensions)
                ruleBetween();
            const std::string format = loadString(61462);
            row(loadString(61746), formatC(format.c_str(), room.m_ceilingReflectance), dash);
            const auto& w = room.m_wallReflectances;
            row(loadString(61747), formatC("%1.2lf  %1.2lf  %1.2lf  %1.2lf", w[0], w[1], w[2], w[3]), dash);
            row(loadString(61748), formatC(format.c_str(), room.m_floorReflectance), dash);
        }
        closeBlock(top);
    }

    /** The title of every calculated area and its result summary line. */
    void areaSummaries(const CRoom& room)
    {
        if (room.m_resultsValid != 1 || m_doc.m_printPoint != 1)
            return;
        // Illuminance, road luminance, UGR, GR; inside each the modes in order and their areas.
        static constexpr std::array<int, 4> kGroups { 0, 141, 89, 161 };
        const bool oneMode = room.m_modes.size() <= 1;
        for (const int group : kGroups) {
            for (std::size_t mode = 0; mode < std::max<std::size_t>(room.m_modes.size(), 1); ++mode) {
                for (const CWorkSystem& area : room.m_workSystems) {
                    const int code = area.m_quantityCode;
                    const bool inGroup = group == 0 ? code != 141 && code != 89 && code != 161 : code == group;
                    if (!inGroup || area.m_modeIndex != static_cast<int>(mode))
                        continue;
                    if (oneMode && area.m_excluded == 1)
                        continue;
                    areaSummary(room, area);
                }
            }
        }
    }

    void areaSummary(const CRoom& room, const CWorkSystem& area)
    {
        const std::string line = resultSummaryLine(area, room, m_doc.m_projectType);
        m_flow.ensureRoom(10);
        font(kHeading);
        m_flow.down(text(m_flow.frame().left, m_flow.y(), area.m_name + " - " + quantityTitle(area), TextAlign::Left));
        font(kNormal);
        if (!line.empty())
            m_flow.down(text(m_flow.frame().left, m_flow.y(), line, TextAlign::Left));
        if (!line.empty())
            valueTable(area);
        m_flow.downLines(2);
    }

    /** Minimum, mean and maximum with their unit, and the uniformities named by what they divide. */
    void valueTable(const CWorkSystem& area)
    {
        const int code = area.m_quantityCode;
        const SummaryFigures f = storedSummaryFigures(area);
        const bool illuminance = code != 141 && code != 89 && code != 161 && code != 166 && code != 167;
        const std::string unit = illuminance ? loadString(61805) : code == 141 || code == 166 || code == 167 ? loadString(61812) : std::string();
        font(kBold);
        const int x = m_flow.frame().left;
        // Wide enough for the longest label, the uniformity's.
        const int w = std::max(m_surface.textExtent(loadString(61881) + "moje rezerva").cx,
            m_surface.textExtent(loadString(61889) + " Emin/Emax" + "moje rezerva").cx);
        const auto valueRow = [&](const std::string& label, const std::string& value) {
            const int y = m_flow.y();
            text(x, y, label, TextAlign::Left);
            m_flow.down(text(x + w, y, value, TextAlign::Right));
        };
        m_flow.downLines(1);
        valueRow(loadString(61881), formatC("%8.1lf", f.minimum) + " " + unit);
        valueRow(loadString(61883), formatC("%8.1lf", f.mean) + " " + unit);
        valueRow(loadString(61882), formatC("%8.1lf", f.maximum) + " " + unit);
        // The two uniformities, each labelled by its own divisor.
        if (illuminance && f.mean > 1e-5)
            valueRow(loadString(61889) + " Emin/Em", formatC("%8.2lf", f.minimum / f.mean));
        if (illuminance && f.maximum > 1e-5)
            valueRow(loadString(61889) + " Emin/Emax", formatC("%8.2lf", f.minimum / f.maximum));
        font(kNormal);
    }

    static std::string quantityTitle(const CWorkSystem& area)
    {
        switch (area.m_quantityCode) {
        case 89: return loadString(61867);
        case 141: return loadString(61831);
        case 161: return loadString(62022);
        default: return loadString(area.m_viewSettings.m_addDaylight == 1 ? 61962 : 61982);
        }
    }

    IDrawSurface& m_surface;
    QtPainterSurface* m_qt;
    const CKzevView& m_view;
    const CKzevDoc& m_doc;
    PageFlow& m_flow;
};

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
    if (counting != 1)
        return composeOnce(surface, info, false);
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
    const CKzevDoc* doc = theDocument();
    if (!doc || doc->m_rooms.empty())
        return 1;
    auto* qt = dynamic_cast<QtPainterSurface*>(&surface);
    const double pixelsPerUnit = info.pixelsPerMm / 10.0;
    if (qt)
        qt->setPageUnits(pixelsPerUnit);
    const int paperWidth = static_cast<int>(std::lround(info.pagePixels.cx / pixelsPerUnit));
    const int paperHeight = static_cast<int>(std::lround(info.pagePixels.cy / pixelsPerUnit));
    const PageFrame frame = pageFrame(paperWidth, paperHeight, doc->m_leftMargin, doc->m_topMargin,
        doc->m_rightMargin, doc->m_bottomMargin);
    if (qt)
        qt->selectFont(m_view.printFont(kNormal));
    surface.selectBrush(std::nullopt);
    surface.selectPen(Pen {});
    surface.setTextColour(rgb(0, 0, 0));
    const int line = std::max(surface.textExtent(kProbe).cy, 1);

    const int requested = info.currentPage;
    PageFlow flow(frame, requested, counting, line);
    Pass pass(surface, m_view, *doc, flow);
    const std::vector<int> order = m_rooms ? m_rooms() : std::vector<int> {};

    // Page header of the requested page, and its footer.
    if (!counting) {
        PageFlow header(frame, requested, false, line);
        header.newPage(frame.top);
        for (int k = 1; k < requested; ++k)
            header.newPage(frame.top);
        Pass top(surface, m_view, *doc, header);
        if (doc->m_printHeadpage == 1 && requested != 1) {
            for (const std::string* value : { &doc->m_building, &doc->m_projectName }) {
                if (!value->empty())
                    header.down(top.text(frame.left, header.y(), *value, TextAlign::Left));
            }
            top.text((frame.left + frame.right - 40) / 2, frame.top,
                formatC(loadString(61793).c_str(), requested), TextAlign::Center);
        }
        const std::string footer = profileStore().getString("Main", "Footer", "Kzev");
        top.text((frame.left + frame.right - 40) / 2, frame.bottom, footer, TextAlign::Center);
    }

    if (doc->m_printHeadprogram == 1) {
        flow.newPage(frame.top);
        pass.font(kTitle);
        const int titleId = doc->m_projectType == 0 ? 61736 : doc->m_projectType == 2 ? 61985 : 62024;
        pass.text(frame.centreX, -3 * paperHeight / 10, loadString(titleId), TextAlign::Center);
        pass.font(kNormal);
        int y = -8 * paperHeight / 10;
        const std::string company = doc->m_projectCompany.empty() ? doc->m_company : doc->m_projectCompany;
        const std::string designer = doc->m_projectDesigner.empty() ? doc->m_designer : doc->m_projectDesigner;
        const std::pair<int, std::string> rows[] = { { 62017, doc->m_building }, { 61932, doc->m_projectName },
            { 61737, company }, { 61738, designer }, { 61739, afterLastSeparator(doc->GetPathName().string()) },
            { 62025, afterLastSeparator(doc->m_dwgFile) }, { 61915, doc->m_date } };
        for (const auto& [id, value] : rows) {
            if (value.empty())
                continue;
            pass.text(frame.centreX, y, loadString(id), TextAlign::Right);
            y -= pass.text(frame.centreX, y, " : " + value, TextAlign::Left);
        }
    }

    if (doc->m_printContent == 1) {
        flow.newPage(frame.top - 7 * line);
        pass.font(kHeading);
        pass.text(frame.left, flow.y(), loadString(62021), TextAlign::Left);
        flow.downLines(2);
        pass.font(kNormal);
        for (std::size_t k = 0; k < m_titles.size() && k < m_pages.size(); ++k) {
            flow.ensureRoom(10);
            pass.text(frame.left, flow.y(), m_titles[k], TextAlign::Left);
            flow.down(pass.text(frame.right - 300, flow.y(), std::to_string(m_pages[k]), TextAlign::Right));
        }
        flow.downLines(3);
        if (!doc->m_remark.empty()) {
            flow.ensureRoom(6);
            pass.paragraph(doc->m_remark);
            flow.downLines(3);
        }
    }

    std::vector<std::string> titles;
    std::vector<int> pages;
    for (const int index : order) {
        if (index < 0 || static_cast<std::size_t>(index) >= doc->m_rooms.size())
            continue;
        const CRoom& room = doc->m_rooms[static_cast<std::size_t>(index)];
        flow.newPage(frame.top);
        titles.push_back(roomLabel(room));
        pages.push_back(flow.page());
        pass.roomBlock(room);
        pass.areaSummaries(room);
    }
    if (counting) {
        m_titles = std::move(titles);
        m_pages = std::move(pages);
    }
    return std::max(flow.page(), 1);
}

} // namespace kzev
