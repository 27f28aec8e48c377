#include "print/ui/ReportPass.h"

#include "model/CKzevDoc.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "platform/qt/QtPainterSurface.h"
#include "print/HtmlWriter.h"
#include "view/CKzevView.h"

#include <QImage>

#include <algorithm>
#include <cmath>

namespace kzev {

ReportPass::ReportPass(IDrawSurface& surface, CKzevView& view, CKzevDoc& doc, PageFlow& flow,
    double pixelsPerUnit)
    : m_surface(surface)
    , m_qt(dynamic_cast<QtPainterSurface*>(&surface))
    , m_view(view)
    , m_doc(doc)
    , m_flow(flow)
    , m_pixelsPerUnit(pixelsPerUnit > 0.0 ? pixelsPerUnit : 1.0)
{
}

void ReportPass::font(int number)
{
    if (m_qt)
        m_qt->selectFont(m_view.printFont(number));
}

int ReportPass::text(int x, int y, const std::string& value, unsigned align)
{
    if (m_flow.drawing() && !value.empty()) {
        m_surface.setTextAlign(align | TextAlign::Top);
        m_surface.textOut(x, y, value);
    }
    return m_surface.textExtent(value.empty() ? std::string(kReportProbe) : value).cy;
}

int ReportPass::width(const std::string& value)
{
    return m_surface.textExtent(value).cx;
}

void ReportPass::heading(const std::string& value)
{
    font(kReportHeading);
    paragraph(value);
    font(kReportNormal);
}

int ReportPass::label(int y, const std::string& value)
{
    // A label wider than its column goes on over more lines rather than across the frame's rule
    // at left - 20; half a millimetre stays clear of it.
    const int column = frame().left + 460;
    const std::vector<std::string> lines = wrapped(value, 475);
    if (lines.empty())
        return text(column, y, value, TextAlign::Right);
    int height = 0;
    for (const std::string& line : lines)
        height += text(column, y - height, line, TextAlign::Right);
    return height;
}

void ReportPass::row(const std::string& label, const std::string& value, const std::string& unit)
{
    const PageFrame& f = frame();
    const int y = m_flow.y();
    int height = this->label(y, label);
    height = std::max(height, text(f.right - 150, y, unit, TextAlign::Left));
    // A value wider than its column goes on over more lines, broken between words.
    const int span = f.right - 190 - (f.left + 500);
    int valueHeight = 0;
    std::string line;
    std::size_t start = 0;
    while (start <= value.size()) {
        const std::size_t end = std::min(value.find(' ', start), value.size());
        const std::string word = value.substr(start, end - start);
        const std::string longer = line.empty() ? word : line + " " + word;
        if (!line.empty() && width(longer) > span) {
            valueHeight += text(f.left + 500, y - valueHeight, line, TextAlign::Left);
            line = word;
        } else {
            line = longer;
        }
        start = end + 1;
    }
    valueHeight += text(f.left + 500, y - valueHeight, line, TextAlign::Left);
    m_flow.down(std::max(height, valueHeight));
}

void ReportPass::row3(const std::string& label, const std::string& a, const std::string& b, const std::string& c,
    const std::string& unit)
{
    const PageFrame& f = frame();
    const int y = m_flow.y();
    int height = this->label(y, label);
    height = std::max(height, text(f.left + 500, y, a, TextAlign::Left));
    if (!b.empty())
        height = std::max(height, text(f.tab1, y, b, TextAlign::Left));
    if (!c.empty())
        height = std::max(height, text(f.tab2, y, c, TextAlign::Left));
    height = std::max(height, text(f.right - 150, y, unit, TextAlign::Left));
    m_flow.down(height);
}

void ReportPass::lengthRow(const std::string& label, const CVector& v)
{
    row3(label, length(v.x), length(v.y), length(v.z), lengthUnit());
}

void ReportPass::headingRow(const std::string& label, const std::string& value, const std::string& unit)
{
    font(kReportBold);
    row(label, value, unit);
    ruleBetween();
    font(kReportNormal);
}

void ReportPass::ruleBetween()
{
    if (m_flow.drawing()) {
        const PageFrame& f = frame();
        m_surface.moveTo(f.left - 20, m_flow.y() - 20);
        m_surface.lineTo(f.right, m_flow.y() - 20);
    }
    m_flow.down(40);
}

namespace {

/** Returns the length of the UTF-8 sequence that starts with the byte. */
std::size_t sequenceLength(unsigned char lead)
{
    return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

} // namespace

std::size_t ReportPass::fittingBytes(const std::string& value, std::size_t from, int span)
{
    // The longest run of whole characters from the start that is no wider than the span.
    std::size_t end = from;
    while (end < value.size()) {
        const std::size_t next = std::min(value.size(), end + sequenceLength(static_cast<unsigned char>(value[end])));
        if (width(value.substr(from, next - from)) > span)
            break;
        end = next;
    }
    return end - from;
}

std::vector<std::string> ReportPass::wrapped(const std::string& value, int span)
{
    std::vector<std::string> lines;
    std::string lineText;
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t end = value.find(' ', start);
        if (end == std::string::npos)
            end = value.size();
        std::string word = value.substr(start, end - start);
        const std::string longer = lineText.empty() ? word : lineText + " " + word;
        if (width(longer) <= span) {
            lineText = longer;
        } else {
            if (!lineText.empty())
                lines.push_back(lineText);
            // A word wider than the span (a path, a long number) is broken between its characters.
            while (width(word) > span) {
                const std::size_t cut = std::max<std::size_t>(fittingBytes(word, 0, span),
                    sequenceLength(static_cast<unsigned char>(word[0])));
                lines.push_back(word.substr(0, cut));
                word.erase(0, cut);
            }
            lineText = word;
        }
        start = end + 1;
    }
    if (!lineText.empty())
        lines.push_back(lineText);
    return lines;
}

std::string ReportPass::shortened(const std::string& value, int span)
{
    if (width(value) <= span)
        return value;
    static const std::string ellipsis = "\u2026";
    return value.substr(0, fittingBytes(value, 0, std::max(0, span - width(ellipsis)))) + ellipsis;
}

void ReportPass::paragraph(const std::string& value)
{
    for (const std::string& line : wrapped(value, frame().right - frame().left))
        m_flow.down(text(frame().left, m_flow.y(), line, TextAlign::Left));
}

void ReportPass::headingWithBlock(const std::string& value, int gapLines, int blockLines)
{
    font(kReportHeading);
    int height = 0;
    for (const std::string& line : wrapped(value, frame().right - frame().left))
        height += m_surface.textExtent(line).cy;
    font(kReportNormal);
    // A heading never stays alone at the foot of a page: it goes over with its block.
    if (m_flow.y() - height - (gapLines + blockLines) * m_flow.line() <= frame().bottom)
        m_flow.newPage(frame().top - 3 * m_flow.line());
    heading(value);
    m_flow.downLines(gapLines);
}

void ReportPass::closeBlock(int top)
{
    if (m_flow.drawing()) {
        const PageFrame& f = frame();
        const int bottom = m_flow.y() - 20;
        m_surface.selectPen(Pen {});
        m_surface.frameRect(f.left - 20, top + 20, f.right, bottom, rgb(0, 0, 0));
        for (const int x : { f.left + 480, f.right - 170 }) {
            m_surface.moveTo(x, top + 20);
            m_surface.lineTo(x, bottom);
        }
    }
    m_flow.downLines(2);
}

std::string ReportPass::length(double metres) const
{
    return m_doc.m_unitMm == 1 ? formatC("%1.0lf", withoutNegativeZero(metres * 1000.0, 0))
                               : formatC("%1.3lf", withoutNegativeZero(metres, 3));
}

std::string ReportPass::lengthUnit() const
{
    return loadString(m_doc.m_unitMm == 1 ? 61749 : 61750);
}

void ReportPass::picture(const QImage& image, int x, int y, int boxWidth, int boxHeight)
{
    if (!m_flow.drawing() || image.isNull() || boxWidth <= 0 || boxHeight <= 0)
        return;
    // The longer side fills the box, the shorter one keeps the picture's shape and is centred.
    const double scale = std::min(static_cast<double>(boxWidth) / image.width(),
        static_cast<double>(boxHeight) / image.height());
    const int fitWidth = static_cast<int>(image.width() * scale);
    const int fitHeight = static_cast<int>(image.height() * scale);
    const int left = x + (boxWidth - fitWidth) / 2;
    const int top = y - (boxHeight - fitHeight) / 2;
    const RgbImage pixels = rgbImageOf(image);
    // The surface places pictures in device pixels, y downwards from the paper's top.
    const double k = m_pixelsPerUnit;
    m_surface.drawImage(static_cast<int>(std::lround(left * k)), static_cast<int>(std::lround(-top * k)),
        static_cast<int>(std::lround(fitWidth * k)), static_cast<int>(std::lround(fitHeight * k)), pixels);
}

void ReportPass::addContents(const std::string& title)
{
    m_titles.push_back(title);
    m_pages.push_back(m_flow.page());
}

std::string reportRoomLabel(const CRoom& room)
{
    return room.m_number.empty() ? room.m_name : room.m_number + " " + room.m_name;
}

} // namespace kzev
