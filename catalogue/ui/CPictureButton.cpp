#include "catalogue/ui/CPictureButton.h"

#include <QMouseEvent>
#include <QPainter>

CPictureButton::CPictureButton(QWidget* parent)
    : QAbstractButton(parent)
{
    setObjectName(QString::number(kControlId));
    setFocusPolicy(Qt::NoFocus);
    setMinimumSize(160, 160);
}

void CPictureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Cleared with the menu colour, as the area is whenever another luminaire is chosen.
    painter.fillRect(rect(), palette().color(QPalette::Button));
    if (m_drawer)
        m_drawer(painter, rect());
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CPictureButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
    event->accept();
}
