#pragma once

#include "platform/DrawSurface.h"

#include <QColor>
#include <QTransform>

class QFont;
class QImage;
class QPainter;

namespace kzev {

/** Returns the Qt colour of a stored colour (0x00BBGGRR). */
[[nodiscard]] QColor toQColor(ColorRef colour);

/** Returns the picture as rows of red, green and blue bytes for a surface; empty for a null picture. */
[[nodiscard]] RgbImage rgbImageOf(const QImage& picture);

/**
 * The drawing surface on a QPainter: the screen, and later the printer and
 * PDF. On a page the caller chooses the page units with setPageUnits; text is
 * then still written upright.
 */
class QtPainterSurface final : public IDrawSurface {
public:
    explicit QtPainterSurface(QPainter& painter, bool printing = false);

    /**
     * Maps page units of the given size (in device pixels) with y growing
     * upwards, as a page in tenths of a millimetre is set up; origin at the
     * painter's current origin.
     */
    void setPageUnits(double devicePixelsPerUnit);
    /** With true every line and text is drawn black (a print without colours); fills keep theirs. */
    void setBlackLines(bool black) { m_blackLines = black; }
    /** Selects the font that text is written and measured in. */
    void selectFont(const QFont& font);

    void selectPen(const Pen& pen) override;
    [[nodiscard]] Pen pen() const override { return m_pen; }
    void selectBrush(std::optional<ColorRef> colour) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    [[nodiscard]] DevicePoint currentPosition() const override { return m_position; }
    void polygon(const std::vector<DevicePoint>& points) override;
    void ellipse(int left, int top, int right, int bottom) override;
    void frameRect(int left, int top, int right, int bottom, ColorRef colour) override;
    void setTextAlign(unsigned align) override { m_align = align; }
    [[nodiscard]] unsigned textAlign() const override { return m_align; }
    void setTextColour(ColorRef colour) override { m_textColour = colour; }
    void textOut(int x, int y, const std::string& text) override;
    [[nodiscard]] TextSize textExtent(const std::string& text) override;
    void drawImage(int left, int top, int width, int height, const RgbImage& image) override;
    [[nodiscard]] bool isPrinting() const override { return m_printing; }
    void clipTo(int left, int top, int right, int bottom) override;
    void clearClip() override;

private:
    QPainter& m_painter;
    bool m_printing;
    QTransform m_base;
    double m_unitScale = 1.0;
    Pen m_pen;
    DevicePoint m_position;
    unsigned m_align = 0;
    ColorRef m_textColour = 0;
    bool m_blackLines = false;
};

} // namespace kzev
