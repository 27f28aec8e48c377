#include "cad/ui/DrawingCanvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kzev {

namespace {

constexpr double kMinScale = 1e-6;
constexpr double kMaxScale = 1e4;

// AutoCAD colour index to a colour on a white sheet (white and yellow would vanish).
QColor aciColour(int index)
{
    switch (index) {
    case 1: return QColor(220, 0, 0);
    case 2: return QColor(170, 140, 0);
    case 3: return QColor(0, 150, 0);
    case 4: return QColor(0, 150, 170);
    case 5: return QColor(0, 0, 220);
    case 6: return QColor(190, 0, 190);
    default: return QColor(30, 30, 30);
    }
}

// The lines of a text; a paragraph text's lines wrap at blanks to the width of its box
// (none when 0), as a CAD program wraps them; a word wider than the box stays whole.
QStringList textLines(const QString& content, const QFontMetricsF& metrics, double width)
{
    QStringList out;
    for (const QString& paragraph : content.split('\n')) {
        if (width <= 0.0) {
            out << paragraph;
            continue;
        }
        QString line;
        for (const QString& word : paragraph.split(' ')) {
            const QString longer = line.isEmpty() ? word : line + ' ' + word;
            if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
                out << line;
                line = word;
            } else {
                line = longer;
            }
        }
        out << line;
    }
    return out;
}

} // namespace

DrawingCanvas::DrawingCanvas(CadDrawing& drawing, CadCommandProcessor& processor, QWidget* parent)
    : QWidget(parent)
    , m_drawing(drawing)
    , m_processor(processor)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 240);
    setAutoFillBackground(true);
    QPalette sheet = palette();
    sheet.setColor(QPalette::Window, Qt::white);
    setPalette(sheet);
}

DrawingPoint DrawingCanvas::toDrawing(const QPointF& at) const
{
    const QPointF centre(width() / 2.0, height() / 2.0);
    return { m_origin.x() + (at.x() - centre.x()) / m_scale, m_origin.y() - (at.y() - centre.y()) / m_scale, 0.0 };
}

QPointF DrawingCanvas::toScreen(const DrawingPoint& at) const
{
    return { width() / 2.0 + (at.x - m_origin.x()) * m_scale, height() / 2.0 - (at.y - m_origin.y()) * m_scale };
}

void DrawingCanvas::zoomExtents()
{
    const auto box = m_drawing.extents();
    DrawingPoint low { 0.0, 0.0, 0.0 };
    DrawingPoint high { 10000.0, 7000.0, 0.0 };
    if (box) {
        low = box->first;
        high = box->second;
    }
    const double w = std::max(high.x - low.x, 1.0);
    const double h = std::max(high.y - low.y, 1.0);
    m_scale = std::clamp(std::min((width() - 40) / w, (height() - 40) / h), kMinScale, kMaxScale);
    m_origin = { (low.x + high.x) / 2.0, (low.y + high.y) / 2.0 };
    m_fitted = true;
    update();
}

void DrawingCanvas::beginPointRequest(const std::optional<DrawingPoint>& base)
{
    m_requested = true;
    m_requestBase = base;
    setCursor(Qt::CrossCursor);
    update();
}

void DrawingCanvas::endPointRequest()
{
    m_requested = false;
    m_requestBase.reset();
    unsetCursor();
    update();
}

bool DrawingCanvas::asking() const { return m_requested || m_processor.wantsPoint(); }

std::optional<DrawingPoint> DrawingCanvas::base() const
{
    return m_requested ? m_requestBase : m_processor.rubberBandBase();
}

void DrawingCanvas::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!m_fitted)
        zoomExtents();
}

void DrawingCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto colourOf = [this](const DrawingEntity& e) {
        if (e.color != 256)
            return aciColour(e.color);
        const int layer = m_drawing.findLayer(e.layer);
        return aciColour(layer >= 0 ? m_drawing.layers()[static_cast<std::size_t>(layer)].color : 7);
    };
    // A CAD text's height is the height of its capitals; the font is sized to match.
    const double capRatio = [&] {
        QFont probe = painter.font();
        probe.setPixelSize(100);
        const double cap = QFontMetricsF(probe).capHeight() / 100.0;
        return cap > 0.1 ? cap : 0.7;
    }();
    // A one-line text stands on its baseline at its point (or by its justification);
    // a paragraph text hangs from the point of its box its attachment names.
    const auto text = [&](const DrawingPoint& at, double height, double rotation, const QString& content,
                          TextJustification justification, int attachment, double boxWidth) {
        const double pixels = height * m_scale;
        if (pixels < 2.0)
            return;
        QFont font = painter.font();
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels / capRatio))));
        painter.setFont(font);
        painter.save();
        painter.translate(toScreen(at));
        painter.rotate(-rotation * 180.0 / std::numbers::pi);
        const QFontMetricsF metrics(font);
        const bool paragraph = attachment >= 1 && attachment <= 9;
        const QStringList lines = textLines(content, metrics, paragraph ? boxWidth * m_scale : 0.0);
        const double cap = metrics.capHeight();
        int column = justification == TextJustification::Middle ? 1 : 0;
        double y = justification == TextJustification::TopLeft ? cap
            : justification == TextJustification::Middle      ? cap / 2.0
                                                              : 0.0;
        double spacing = metrics.lineSpacing();
        if (paragraph) {
            // Baselines 5/3 of the height apart, as a CAD program spaces paragraph lines.
            spacing = cap * 5.0 / 3.0;
            column = (attachment - 1) % 3;
            const int row = (attachment - 1) / 3;
            const double block = cap + spacing * static_cast<double>(lines.size() - 1);
            y = cap - (row == 0 ? 0.0 : row == 1 ? block / 2.0 : block);
        }
        for (const QString& line : lines) {
            const double x = -metrics.horizontalAdvance(line) * (column / 2.0);
            painter.drawText(QPointF(x, y), line);
            y += spacing;
        }
        painter.restore();
    };

    for (const DrawingEntity& e : m_drawing.entities()) {
        painter.setPen(QPen(colourOf(e), 0));
        switch (e.kind) {
        case DrawingEntityKind::Line:
            painter.drawLine(toScreen(e.points[0]), toScreen(e.points[1]));
            break;
        case DrawingEntityKind::Polyline: {
            QPolygonF outline;
            for (const DrawingPoint& p : e.points)
                outline << toScreen(p);
            if (e.closed)
                painter.drawPolygon(outline);
            else
                painter.drawPolyline(outline);
            break;
        }
        case DrawingEntityKind::Text:
            text(e.points.front(), e.height, e.rotation, QString::fromStdString(e.text), e.justification,
                e.attachment, e.boxWidth);
            break;
        case DrawingEntityKind::Block: {
            for (const auto& [a, b] : blockOutline(m_drawing, e))
                painter.drawLine(toScreen(a), toScreen(b));
            const double c = std::cos(e.rotation);
            const double s = std::sin(e.rotation);
            int row = 0;
            for (const DrawingAttribute& attribute : e.attributes) {
                if (attribute.invisible || attribute.text.empty())
                    continue;
                const double u = 6.0 * e.scale[0];
                const double v = -row * attribute.height * 1.5;
                const DrawingPoint at { e.points[0].x + u * c - v * s, e.points[0].y + u * s + v * c, 0.0 };
                text(at, attribute.height, e.rotation, QString::fromStdString(attribute.text),
                    TextJustification::Left, 0, 0.0);
                ++row;
            }
            break;
        }
        }
    }

    // A polyline in the making and the rubber band to the mouse.
    painter.setPen(QPen(QColor(0, 120, 215), 0, Qt::DashLine));
    const auto preview = m_processor.preview();
    for (std::size_t i = 1; i < preview.size(); ++i)
        painter.drawLine(toScreen(preview[i - 1]), toScreen(preview[i]));
    if (asking() && m_mouse) {
        if (const auto from = base())
            painter.drawLine(toScreen(*from), *m_mouse);
        painter.setPen(QPen(QColor(0, 120, 215), 0));
        painter.drawLine(QPointF(0, m_mouse->y()), QPointF(width(), m_mouse->y()));
        painter.drawLine(QPointF(m_mouse->x(), 0), QPointF(m_mouse->x(), height()));
    }
}

void DrawingCanvas::wheelEvent(QWheelEvent* event)
{
    const QPointF at = event->position();
    const DrawingPoint before = toDrawing(at);
    const double steps = event->angleDelta().y() / 120.0;
    m_scale = std::clamp(m_scale * std::pow(1.25, steps), kMinScale, kMaxScale);
    // The point under the mouse stays where it is.
    const DrawingPoint after = toDrawing(at);
    m_origin += QPointF(before.x - after.x, before.y - after.y);
    update();
    event->accept();
}

void DrawingCanvas::mousePressEvent(QMouseEvent* event)
{
    const bool pan = event->button() == Qt::MiddleButton
        || (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier));
    if (pan) {
        m_panFrom = event->position();
        setCursor(Qt::ClosedHandCursor);
        return;
    }
    if (event->button() == Qt::LeftButton && asking()) {
        const DrawingPoint p = toDrawing(event->position());
        emit pointPicked(p.x, p.y);
    }
}

void DrawingCanvas::mouseMoveEvent(QMouseEvent* event)
{
    m_mouse = event->position();
    if (m_panFrom) {
        const QPointF shift = event->position() - *m_panFrom;
        m_origin += QPointF(-shift.x() / m_scale, shift.y() / m_scale);
        m_panFrom = event->position();
    }
    const DrawingPoint p = toDrawing(event->position());
    emit cursorMoved(p.x, p.y);
    update();
}

void DrawingCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_panFrom && (event->button() == Qt::MiddleButton || event->button() == Qt::LeftButton)) {
        m_panFrom.reset();
        if (asking())
            setCursor(Qt::CrossCursor);
        else
            unsetCursor();
    }
}

} // namespace kzev
