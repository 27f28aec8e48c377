#include "dialogs/BindingPicture.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <functional>

namespace {

// The room in picture units, y upwards; the source system sits near its first corner.
constexpr double kLength = 1.0;
constexpr double kWidth = 0.64;
constexpr double kMargin = 4.0;
constexpr double kLamp = 0.08;
// Three luminaires in an L, so that a mirrored copy looks different from a shifted one.
constexpr std::array<QPointF, 3> kSource { QPointF(0.10, 0.10), QPointF(0.24, 0.10), QPointF(0.10, 0.22) };
const QPointF kShift(0.50, 0.25);

QPointF derived(int option, QPointF p)
{
    switch (option) {
    case 0: return { p.x(), kWidth - p.y() };
    case 1: return { kLength - p.x(), p.y() };
    case 2: return { kLength - p.x(), kWidth - p.y() };
    default: return p + kShift;
    }
}

} // namespace

QColor BindingPicture::sourceColour()
{
    return QColor(0x1f, 0x4e, 0x9a);
}

QColor BindingPicture::copyColour()
{
    return QColor(0xd0, 0x45, 0x1b);
}

BindingPicture::BindingPicture(int option, QAbstractButton* choice, QWidget* parent)
    : QWidget(parent)
    , m_option(option)
    , m_choice(choice)
{
    setFixedSize(sizeHint());
    if (m_choice) {
        setToolTip(m_choice->text());
        setAccessibleName(m_choice->text());
    }
    setCursor(Qt::PointingHandCursor);
}

QSize BindingPicture::sizeHint() const
{
    return { 72, 50 };
}

void BindingPicture::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const double scale = (width() - 2.0 * kMargin) / kLength;
    const double bottom = kMargin + kWidth * scale;
    const auto at = [&](QPointF p) { return QPointF(kMargin + p.x() * scale, bottom - p.y() * scale); };
    const auto lamp = [&](QPointF centre) {
        const QPointF c = at(centre);
        const double half = kLamp * scale / 2.0;
        return QRectF(c.x() - half, c.y() - half, 2.0 * half, 2.0 * half);
    };

    painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1.0));
    painter.drawRect(QRectF(at({ 0.0, kWidth }), at({ kLength, 0.0 })));

    const auto system = [&](const QColor& colour, const std::function<QPointF(QPointF)>& place) {
        painter.setPen(QPen(colour, 1.0));
        painter.setBrush(colour);
        QPolygonF outline;
        for (const QPointF& p : kSource) {
            painter.drawRect(lamp(place(p)));
            outline << at(place(p));
        }
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(outline);
    };
    system(sourceColour(), [](QPointF p) { return p; });

    // The axis, centre or shift, drawn under the copy.
    painter.setRenderHint(QPainter::Antialiasing);
    QPen axis(Qt::black, 1.0, Qt::DashDotLine);
    painter.setPen(axis);
    switch (m_option) {
    case 0: painter.drawLine(at({ -0.04, kWidth / 2.0 }), at({ kLength + 0.04, kWidth / 2.0 })); break;
    case 1: painter.drawLine(at({ kLength / 2.0, -0.04 }), at({ kLength / 2.0, kWidth + 0.04 })); break;
    case 2:
        // The other diagonal keeps clear of the luminaires; the copy turns about the room's centre.
        painter.drawLine(at({ 0.0, kWidth }), at({ kLength, 0.0 }));
        painter.setBrush(Qt::black);
        painter.drawEllipse(at({ kLength / 2.0, kWidth / 2.0 }), 2.0, 2.0);
        painter.setBrush(Qt::NoBrush);
        break;
    default: {
        painter.setPen(QPen(Qt::black, 1.0));
        // From centre to centre, kept clear of both systems.
        const QPointF centre(0.17, 0.16);
        const QPointF from = at(centre + 0.28 * kShift);
        const QPointF to = at(centre + 0.72 * kShift);
        painter.drawLine(from, to);
        QPainterPath head;
        const QPointF back = (from - to) / std::max(1.0, QLineF(from, to).length());
        const QPointF side(-back.y(), back.x());
        head.moveTo(to);
        head.lineTo(to + 6.0 * back + 3.0 * side);
        head.lineTo(to + 6.0 * back - 3.0 * side);
        head.closeSubpath();
        painter.fillPath(head, Qt::black);
        break;
    }
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    system(copyColour(), [this](QPointF p) { return derived(m_option, p); });
}

void BindingPicture::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_choice && m_choice->isEnabled()) {
        m_choice->click();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}
