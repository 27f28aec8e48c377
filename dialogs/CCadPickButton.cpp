#include "dialogs/CCadPickButton.h"

#include "model/CKzevDoc.h"
#include "model/CadKind.h"

#include <QPainter>
#include <QPixmap>

QIcon cadButtonIcon(int iconId)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor colour = iconId == kzev::kCadIconOther ? QColor(0, 110, 190) : QColor(190, 30, 30);
    painter.setPen(QPen(colour, 1.5));
    painter.setBrush(colour.lighter(180));
    painter.drawRect(QRectF(1.5, 1.5, 13, 13));
    QFont font = painter.font();
    font.setPixelSize(iconId == kzev::kCadIconAcadLt ? 7 : 10);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(colour.darker(150));
    const QString letters = iconId == kzev::kCadIconAcadLt ? QStringLiteral("LT")
        : iconId == kzev::kCadIconAcad                     ? QStringLiteral("A")
                                                           : QStringLiteral("C");
    painter.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, letters);
    return QIcon(pixmap);
}

CCadPickButton::CCadPickButton(QWidget* parent)
    : QPushButton(parent)
{
    setAutoDefault(false);
    setToolTip(QStringLiteral("Určit ve výkresu CAD"));
}

bool CCadPickButton::attach(CKzevDoc& doc)
{
    if (doc.DetectCadApplication() != 1) {
        hide();
        return false;
    }
    setIcon(cadButtonIcon(doc.m_cadIconId & 0xFFFF));
    setIconSize(QSize(16, 16));
    kzev::preparePicker(m_picker, doc);
    show();
    return true;
}
