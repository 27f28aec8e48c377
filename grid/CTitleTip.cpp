#include "grid/CTitleTip.h"

#include "grid/QtTextMeasure.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

using namespace kzev;

CTitleTip::CTitleTip(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_pParentWnd(parent)
{
    setObjectName(QStringLiteral("CTitleTip"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
}

void CTitleTip::Show(const TitleTipRequest& request)
{
    const GridRect& title = request.titleRect;
    if (title.isEmpty() || isVisible() || m_pParentWnd == nullptr)
        return;
    m_rectHover = request.hoverRect.isEmpty() ? title : request.hoverRect;
    // Only while the program is in use.
    if (QApplication::focusWidget() == nullptr)
        return;

    const QFont font = request.font.faceName.empty() && request.font.height == 0 ? m_pParentWnd->font()
                                                                                 : toQFont(request.font);
    const QString text = QStringLiteral(" ") + QString::fromStdString(request.text) + QStringLiteral(" ");
    const QFontMetrics metrics(font);
    const int textWidth = metrics.horizontalAdvance(text);
    const int right = title.left + request.xOffset + textWidth;
    // The text fits its cell: nothing to show.
    if (right + request.xOffset <= title.right - request.xOffset)
        return;

    m_text = text;
    setFont(font);
    const QPalette palette = QApplication::palette();
    m_backColour = request.backClr != kClrDefault ? toQColor(request.backClr) : palette.color(QPalette::ToolTipBase);
    m_textColour = request.textClr != kClrDefault ? toQColor(request.textClr) : palette.color(QPalette::ToolTipText);
    const QPoint topLeft = m_pParentWnd->mapToGlobal(QPoint(title.left + request.xOffset, title.top));
    setGeometry(topLeft.x(), topLeft.y(), right - title.left + 2, title.height());
    show();
    raise();
    update();
}

void CTitleTip::Hide()
{
    if (isVisible())
        hide();
}

void CTitleTip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_backColour);
    painter.setPen(QColor(0, 0, 0));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(m_textColour);
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
}
