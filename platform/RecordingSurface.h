#pragma once

#include "platform/DrawSurface.h"

#include <string>
#include <vector>

namespace kzev {

/** One operation on a recording surface. */
struct DrawOp {
    enum class Kind { Pen, Brush, MoveTo, LineTo, Polygon, Ellipse, FrameRect, TextAlign, TextColour, Text,
        Image };
    Kind kind = Kind::MoveTo;
    Pen pen;                          ///< Pen: the pen; LineTo, Polygon, Ellipse, Text: the pen in use
    std::vector<DevicePoint> points;  ///< MoveTo, Text: 1; LineTo: from and to; Polygon: all; Ellipse, FrameRect, Image: 2 corners
    std::string text;                 ///< Text
    unsigned align = 0;               ///< TextAlign and Text: the alignment in use
    std::optional<ColorRef> colour;   ///< Brush, TextColour, FrameRect
};

/** A drawn line segment with the pen it was drawn with. */
struct RecordedLine {
    DevicePoint from;
    DevicePoint to;
    Pen pen;
};

/** A written text with its anchor and alignment. */
struct RecordedText {
    DevicePoint at;
    std::string text;
    unsigned align = 0;
};

/**
 * A surface that draws nothing and keeps every operation in order, for tests
 * and for callers that want the geometry of a drawing. Text is measured as
 * a fixed number of units per character and a fixed line height.
 */
class RecordingSurface final : public IDrawSurface {
public:
    explicit RecordingSurface(bool printing = false, int charWidth = 7, int lineHeight = 14);

    void selectPen(const Pen& pen) override;
    [[nodiscard]] Pen pen() const override { return m_pen; }
    void selectBrush(std::optional<ColorRef> colour) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    [[nodiscard]] DevicePoint currentPosition() const override { return m_position; }
    void polygon(const std::vector<DevicePoint>& points) override;
    void ellipse(int left, int top, int right, int bottom) override;
    void frameRect(int left, int top, int right, int bottom, ColorRef colour) override;
    void setTextAlign(unsigned align) override;
    [[nodiscard]] unsigned textAlign() const override { return m_align; }
    void setTextColour(ColorRef colour) override;
    void textOut(int x, int y, const std::string& text) override;
    [[nodiscard]] TextSize textExtent(const std::string& text) override;
    void drawImage(int left, int top, int width, int height, const RgbImage& image) override;
    [[nodiscard]] bool isPrinting() const override { return m_printing; }

    [[nodiscard]] const std::vector<DrawOp>& ops() const { return m_ops; }
    /** Returns every line drawn, in order. */
    [[nodiscard]] std::vector<RecordedLine> lines() const;
    /** Returns the lines drawn with the pen. */
    [[nodiscard]] std::vector<RecordedLine> lines(const Pen& pen) const;
    /** Returns every text written, in order. */
    [[nodiscard]] std::vector<RecordedText> texts() const;
    /** Returns the operations of a kind. */
    [[nodiscard]] std::vector<DrawOp> ops(DrawOp::Kind kind) const;
    void clear() { m_ops.clear(); }

private:
    bool m_printing;
    int m_charWidth;
    int m_lineHeight;
    Pen m_pen;
    DevicePoint m_position;
    unsigned m_align = 0;
    std::vector<DrawOp> m_ops;
};

} // namespace kzev
