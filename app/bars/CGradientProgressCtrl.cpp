#include "app/bars/CGradientProgressCtrl.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

namespace {

std::uint32_t toColourRef(const QColor& colour)
{
    return static_cast<std::uint32_t>(colour.red()) | (static_cast<std::uint32_t>(colour.green()) << 8)
        | (static_cast<std::uint32_t>(colour.blue()) << 16);
}

QColor toQColor(std::uint32_t colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
        static_cast<int>((colour >> 16) & 0xFF));
}

QRect toQRect(const kzev::BarRect& rect)
{
    return QRect(rect.left, rect.top, rect.width(), rect.height());
}

} // namespace

CGradientProgressCtrl::CGradientProgressCtrl(QWidget* parent)
    : QWidget(parent)
    , m_textColour(toColourRef(palette().color(QPalette::Active, QPalette::HighlightedText)))
    , m_secondTextColour(toColourRef(palette().color(QPalette::Active, QPalette::ButtonText)))
{
    setObjectName(QStringLiteral("CGradientProgressCtrl"));
    const std::uint32_t caption = toColourRef(palette().color(QPalette::Active, QPalette::Highlight));
    m_bar.setColours({ caption, caption });
    m_bar.setBkColour(toColourRef(palette().color(QPalette::Active, QPalette::Button)));
    // The paint covers the whole area; nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CGradientProgressCtrl::changed(int previousPos)
{
    if (previousPos != m_bar.pos() || (m_bar.style() & kzev::GradientBar::StyleMovingBand))
        update();
}

void CGradientProgressCtrl::SetRange(int lower, int upper)
{
    m_bar.setRange(lower, upper);
    update();
}

int CGradientProgressCtrl::SetPos(int position)
{
    const int previous = m_bar.setPos(position);
    changed(previous);
    return previous;
}

int CGradientProgressCtrl::OffsetPos(int delta)
{
    const int previous = m_bar.offsetPos(delta);
    changed(previous);
    return previous;
}

int CGradientProgressCtrl::SetStep(int step)
{
    return m_bar.setStep(step);
}

int CGradientProgressCtrl::StepIt()
{
    const int previous = m_bar.stepIt();
    changed(previous);
    return previous;
}

std::uint32_t CGradientProgressCtrl::SetBarColour(std::uint32_t first, std::uint32_t second)
{
    const std::uint32_t result = m_bar.setBarColour(first, second);
    update();
    return result;
}

void CGradientProgressCtrl::SetColours(std::vector<std::uint32_t> colours)
{
    m_bar.setColours(std::move(colours));
    update();
}

std::uint32_t CGradientProgressCtrl::SetBkColour(std::uint32_t colour)
{
    const std::uint32_t result = m_bar.setBkColour(colour);
    update();
    return result;
}

void CGradientProgressCtrl::SetText(const std::string& text, std::uint32_t style)
{
    m_bar.setText(text, style);
    update();
}

void CGradientProgressCtrl::ModifyStyle(std::uint32_t remove, std::uint32_t add)
{
    m_bar.setStyle((m_bar.style() & ~remove) | add);
    update();
}

QSize CGradientProgressCtrl::sizeHint() const
{
    return QSize(150, fontMetrics().height() + 4);
}

void CGradientProgressCtrl::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect client = rect();
    painter.fillRect(client, toQColor(m_bar.bkColour()));

    // A thin sunken frame; the bar is drawn inside it.
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(client.topLeft(), client.topRight());
    painter.drawLine(client.topLeft(), client.bottomLeft());
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(client.bottomLeft(), client.bottomRight());
    painter.drawLine(client.topRight(), client.bottomRight());
    const QRect inner = client.adjusted(1, 1, -1, -1);
    if (inner.isEmpty())
        return;
    const kzev::BarRect bar { inner.left(), inner.top(), inner.left() + inner.width(), inner.top() + inner.height() };

    const bool vertical = (m_bar.style() & kzev::GradientBar::StyleVertical) != 0;
    const int length = vertical ? bar.height() : bar.width();
    const auto [from, to] = m_bar.filledSpan(length);
    // Fewer than 256 colours cannot show a gradient: one band of the start colour.
    const bool lowColourDepth = depth() < 8;
    for (const kzev::ColourBand& band : m_bar.filledBands(from, to, 0, length, lowColourDepth))
        painter.fillRect(toQRect(m_bar.mapBand(bar, band.from, band.to)), toQColor(band.colour));

    const std::string text = m_bar.displayText();
    if (text.empty())
        return;
    const QString shown = QString::fromStdString(text);
    const QRect filled = toQRect(m_bar.mapBand(bar, from, to));
    const QRect textRect = toQRect(bar);
    painter.setFont(font());
    painter.setClipRect(filled.intersected(event->rect()));
    painter.setPen(toQColor(m_textColour));
    painter.drawText(textRect, Qt::AlignCenter, shown);
    painter.setClipRegion(QRegion(textRect).subtracted(QRegion(filled)).intersected(event->rect()));
    painter.setPen(toQColor(m_secondTextColour));
    painter.drawText(textRect, Qt::AlignCenter, shown);
}
