#include "platform/qt/QtPainterSurface.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>

namespace kzev {

QColor toQColor(ColorRef colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
        static_cast<int>((colour >> 16) & 0xFF));
}

QtPainterSurface::QtPainterSurface(QPainter& painter, bool printing)
    : m_painter(painter)
    , m_printing(printing)
    , m_base(painter.transform())
{
    m_painter.setBrush(Qt::NoBrush);
    selectPen(Pen {});
}

void QtPainterSurface::setPageUnits(double devicePixelsPerUnit)
{
    m_unitScale = devicePixelsPerUnit > 0.0 ? devicePixelsPerUnit : 1.0;
    QTransform page = m_base;
    page.scale(m_unitScale, -m_unitScale);
    m_painter.setTransform(page);
    selectPen(m_pen);
}

void QtPainterSurface::selectFont(const QFont& font)
{
    m_painter.setFont(font);
}

void QtPainterSurface::selectPen(const Pen& pen)
{
    m_pen = pen;
    if (pen.style == PenStyle::None) {
        m_painter.setPen(Qt::NoPen);
        return;
    }
    QPen qpen(m_blackLines ? QColor(Qt::black) : toQColor(pen.colour));
    qpen.setStyle(pen.style == PenStyle::Dash ? Qt::DashLine : Qt::SolidLine);
    // Width 0 is the thinnest line the device can draw, whatever the scale.
    if (pen.width <= 0) {
        qpen.setWidth(0);
        qpen.setCosmetic(true);
    } else {
        qpen.setWidthF(pen.width);
    }
    m_painter.setPen(qpen);
}

void QtPainterSurface::selectBrush(std::optional<ColorRef> colour)
{
    if (colour)
        m_painter.setBrush(toQColor(*colour));
    else
        m_painter.setBrush(Qt::NoBrush);
}

void QtPainterSurface::clipTo(int left, int top, int right, int bottom)
{
    m_painter.setClipRect(QRect(QPoint(std::min(left, right), std::min(top, bottom)),
        QPoint(std::max(left, right), std::max(top, bottom))));
}

void QtPainterSurface::clearClip()
{
    m_painter.setClipping(false);
}

void QtPainterSurface::moveTo(int x, int y)
{
    m_position = { x, y };
}

void QtPainterSurface::lineTo(int x, int y)
{
    if (m_pen.style != PenStyle::None)
        m_painter.drawLine(m_position.x, m_position.y, x, y);
    m_position = { x, y };
}

void QtPainterSurface::polygon(const std::vector<DevicePoint>& points)
{
    QPolygon polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const DevicePoint& p : points)
        polygon << QPoint(p.x, p.y);
    m_painter.drawPolygon(polygon);
}

void QtPainterSurface::ellipse(int left, int top, int right, int bottom)
{
    m_painter.drawEllipse(QRect(QPoint(std::min(left, right), std::min(top, bottom)),
        QPoint(std::max(left, right) - 1, std::max(top, bottom) - 1)));
}

void QtPainterSurface::frameRect(int left, int top, int right, int bottom, ColorRef colour)
{
    const QPen saved = m_painter.pen();
    const QBrush savedBrush = m_painter.brush();
    QPen frame(m_blackLines ? QColor(Qt::black) : toQColor(colour));
    frame.setWidth(0);
    frame.setCosmetic(true);
    m_painter.setPen(frame);
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(QRect(QPoint(std::min(left, right), std::min(top, bottom)),
        QPoint(std::max(left, right) - 1, std::max(top, bottom) - 1)));
    m_painter.setPen(saved);
    m_painter.setBrush(savedBrush);
}

void QtPainterSurface::textOut(int x, int y, const std::string& text)
{
    const QString qtext = QString::fromStdString(text);
    // Text is laid out in device pixels so that it stays upright on a page whose y grows upwards.
    const QTransform current = m_painter.transform();
    const QPointF anchor = current.map(QPointF(x, y));
    const QFontMetrics metrics = m_painter.fontMetrics();
    double left = anchor.x();
    const int width = metrics.horizontalAdvance(qtext);
    switch (m_align & 6U) {
    case TextAlign::Center: left -= width / 2.0; break;
    case TextAlign::Right: left -= width; break;
    default: break;
    }
    double baseline = anchor.y() + metrics.ascent();
    switch (m_align & 24U) {
    case TextAlign::Bottom: baseline = anchor.y() - metrics.descent(); break;
    case TextAlign::Baseline: baseline = anchor.y(); break;
    default: break;
    }
    const QPen saved = m_painter.pen();
    m_painter.setTransform(QTransform());
    m_painter.setPen(m_blackLines ? QColor(Qt::black) : toQColor(m_textColour));
    m_painter.drawText(QPointF(left, baseline), qtext);
    m_painter.setTransform(current);
    m_painter.setPen(saved);
}

RgbImage rgbImageOf(const QImage& picture)
{
    RgbImage image;
    if (picture.isNull())
        return image;
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    image.width = rgb.width();
    image.height = rgb.height();
    image.pixels.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3);
    for (int y = 0; y < image.height; ++y)
        std::copy_n(rgb.constScanLine(y), static_cast<std::size_t>(image.width) * 3,
            image.pixels.begin() + static_cast<std::ptrdiff_t>(y) * image.width * 3);
    return image;
}

void QtPainterSurface::drawImage(int left, int top, int width, int height, const RgbImage& image)
{
    if (!image.valid() || width <= 0 || height <= 0)
        return;
    const QImage picture(image.pixels.data(), image.width, image.height, image.width * 3, QImage::Format_RGB888);
    const QTransform current = m_painter.transform();
    m_painter.setTransform(m_base);
    m_painter.drawImage(QRect(left, top, width, height), picture);
    m_painter.setTransform(current);
}

TextSize QtPainterSurface::textExtent(const std::string& text)
{
    const QFontMetrics metrics = m_painter.fontMetrics();
    const double cx = metrics.horizontalAdvance(QString::fromStdString(text)) / m_unitScale;
    const double cy = metrics.height() / m_unitScale;
    return { static_cast<int>(std::lround(cx)), static_cast<int>(std::lround(cy)) };
}

} // namespace kzev
