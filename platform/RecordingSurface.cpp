#include "platform/RecordingSurface.h"

namespace kzev {

namespace {

// Characters, not bytes: a Czech letter is one character of two bytes.
int characterCount(const std::string& text)
{
    int count = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    }
    return count;
}

} // namespace

RecordingSurface::RecordingSurface(bool printing, int charWidth, int lineHeight)
    : m_printing(printing)
    , m_charWidth(charWidth)
    , m_lineHeight(lineHeight)
{
}

void RecordingSurface::selectPen(const Pen& pen)
{
    m_pen = pen;
    DrawOp op;
    op.kind = DrawOp::Kind::Pen;
    op.pen = pen;
    m_ops.push_back(op);
}

void RecordingSurface::selectBrush(std::optional<ColorRef> colour)
{
    DrawOp op;
    op.kind = DrawOp::Kind::Brush;
    op.colour = colour;
    m_ops.push_back(op);
}

void RecordingSurface::moveTo(int x, int y)
{
    m_position = { x, y };
    DrawOp op;
    op.kind = DrawOp::Kind::MoveTo;
    op.points = { m_position };
    m_ops.push_back(op);
}

void RecordingSurface::lineTo(int x, int y)
{
    DrawOp op;
    op.kind = DrawOp::Kind::LineTo;
    op.pen = m_pen;
    op.points = { m_position, { x, y } };
    m_ops.push_back(op);
    m_position = { x, y };
}

void RecordingSurface::polygon(const std::vector<DevicePoint>& points)
{
    DrawOp op;
    op.kind = DrawOp::Kind::Polygon;
    op.pen = m_pen;
    op.points = points;
    m_ops.push_back(op);
}

void RecordingSurface::ellipse(int left, int top, int right, int bottom)
{
    DrawOp op;
    op.kind = DrawOp::Kind::Ellipse;
    op.pen = m_pen;
    op.points = { { left, top }, { right, bottom } };
    m_ops.push_back(op);
}

void RecordingSurface::drawImage(int left, int top, int width, int height, const RgbImage&)
{
    DrawOp op;
    op.kind = DrawOp::Kind::Image;
    op.points = { { left, top }, { left + width, top + height } };
    m_ops.push_back(op);
}

void RecordingSurface::frameRect(int left, int top, int right, int bottom, ColorRef colour)
{
    DrawOp op;
    op.kind = DrawOp::Kind::FrameRect;
    op.points = { { left, top }, { right, bottom } };
    op.colour = colour;
    m_ops.push_back(op);
}

void RecordingSurface::setTextAlign(unsigned align)
{
    m_align = align;
    DrawOp op;
    op.kind = DrawOp::Kind::TextAlign;
    op.align = align;
    m_ops.push_back(op);
}

void RecordingSurface::setTextColour(ColorRef colour)
{
    DrawOp op;
    op.kind = DrawOp::Kind::TextColour;
    op.colour = colour;
    m_ops.push_back(op);
}

void RecordingSurface::textOut(int x, int y, const std::string& text)
{
    DrawOp op;
    op.kind = DrawOp::Kind::Text;
    op.pen = m_pen;
    op.points = { { x, y } };
    op.text = text;
    op.align = m_align;
    m_ops.push_back(op);
}

TextSize RecordingSurface::textExtent(const std::string& text)
{
    return { characterCount(text) * m_charWidth, m_lineHeight };
}

std::vector<RecordedLine> RecordingSurface::lines() const
{
    std::vector<RecordedLine> result;
    for (const DrawOp& op : m_ops) {
        if (op.kind == DrawOp::Kind::LineTo)
            result.push_back({ op.points[0], op.points[1], op.pen });
    }
    return result;
}

std::vector<RecordedLine> RecordingSurface::lines(const Pen& pen) const
{
    std::vector<RecordedLine> result;
    for (const RecordedLine& line : lines()) {
        if (line.pen == pen)
            result.push_back(line);
    }
    return result;
}

std::vector<RecordedText> RecordingSurface::texts() const
{
    std::vector<RecordedText> result;
    for (const DrawOp& op : m_ops) {
        if (op.kind == DrawOp::Kind::Text)
            result.push_back({ op.points[0], op.text, op.align });
    }
    return result;
}

std::vector<DrawOp> RecordingSurface::ops(DrawOp::Kind kind) const
{
    std::vector<DrawOp> result;
    for (const DrawOp& op : m_ops) {
        if (op.kind == kind)
            result.push_back(op);
    }
    return result;
}

} // namespace kzev
