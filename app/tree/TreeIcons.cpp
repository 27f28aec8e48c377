// The pictures of the project tree and of the workspace bar's tabs, drawn on a
// 16 x 16 grid in the palette of the command pictures, so that a lamp system
// looks the same in the tree and on the toolbar.

#include "app/tree/TreeIcons.h"

#include "app/icons/CommandIcons.h"
#include "app/icons/IconPalette.h"
#include "app/tree/ProjectTreeLayout.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

#include <functional>

namespace kzev {

namespace {

using namespace iconPalette;

void folder(QPainter& p)
{
    p.setPen(QPen(QColor(160, 120, 40), 0.8));
    p.setBrush(kFolder);
    QPolygonF shape;
    shape << QPointF(0.5, 3.5) << QPointF(5.5, 3.5) << QPointF(7, 5) << QPointF(15.5, 5) << QPointF(15.5, 14.5)
          << QPointF(0.5, 14.5);
    p.drawPolygon(shape);
}

void luminaire(QPainter& p, QRectF body)
{
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(kLamp);
    p.drawRect(body);
    p.setPen(QPen(kLamp.darker(130), 0.8));
    const qreal bottom = body.bottom() + 1;
    p.drawLine(QPointF(body.left() + 1, bottom), QPointF(body.left() - 1, bottom + 3));
    p.drawLine(QPointF(body.center().x(), bottom), QPointF(body.center().x(), bottom + 3.5));
    p.drawLine(QPointF(body.right() - 1, bottom), QPointF(body.right() + 1, bottom + 3));
}

void pointGrid(QPainter& p, QRectF box, bool ringOnly)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kTask);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            if (ringOnly && i > 0 && i < 3 && j > 0 && j < 3)
                continue;
            const QPointF at(box.left() + box.width() * i / 3.0, box.top() + box.height() * j / 3.0);
            p.drawEllipse(at, 1.1, 1.1);
        }
    }
}

void box(QPainter& p, QRectF front)
{
    const qreal d = front.width() * 0.35;
    p.setPen(QPen(kInk, 0.7));
    p.setBrush(kObstacle.lighter(130));
    QPolygonF top;
    top << front.topLeft() << front.topLeft() + QPointF(d, -d) << front.topRight() + QPointF(d, -d)
        << front.topRight();
    p.drawPolygon(top);
    p.setBrush(kObstacle.darker(110));
    QPolygonF side;
    side << front.topRight() << front.topRight() + QPointF(d, -d) << front.bottomRight() + QPointF(d, -d)
         << front.bottomRight();
    p.drawPolygon(side);
    p.setBrush(kObstacle);
    p.drawRect(front);
}

void modeDial(QPainter& p, QPointF centre, qreal radius)
{
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(kMode.lighter(150));
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(kMode.darker(120), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(radius * 0.55, -radius * 0.55));
}

void room(QPainter& p)
{
    p.setPen(QPen(kRoom, 1.4));
    p.setBrush(QColor(225, 232, 242));
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    // A door gap on the near wall.
    p.setPen(QPen(QColor(225, 232, 242), 1.6));
    p.drawLine(QPointF(9, 13.5), QPointF(12, 13.5));
    p.setPen(QPen(kRoom, 0.8));
    p.drawLine(QPointF(9, 13.5), QPointF(11, 10.8));
}

void lampSystem(QPainter& p)
{
    luminaire(p, QRectF(2.5, 2.5, 11, 3.5));
}

void linkMark(QPainter& p, bool outgoing)
{
    // An arrow into the corner for a derived system, out of it for a source.
    p.setPen(QPen(outgoing ? kAccent : kBlue, 1.3, Qt::SolidLine, Qt::RoundCap));
    const QPointF inner(11, 11);
    const QPointF corner(15, 15);
    const QPointF from = outgoing ? inner : corner;
    const QPointF to = outgoing ? corner : inner;
    p.drawLine(from, to);
    const QPointF back = (from - to) * 0.45;
    p.drawLine(to, to + QPointF(back.x(), 0));
    p.drawLine(to, to + QPointF(0, back.y()));
}

} // namespace

QIcon treeIcon(int number)
{
    switch (number) {
    case TreeIcon::Room: return drawnIcon(room);
    case TreeIcon::LampFolder:
        return drawnIcon([](QPainter& p) {
            folder(p);
            luminaire(p, QRectF(5.5, 7.5, 7, 2.5));
        });
    case TreeIcon::LampSystem: return drawnIcon(lampSystem);
    case TreeIcon::AreaFolder:
        return drawnIcon([](QPainter& p) {
            folder(p);
            pointGrid(p, QRectF(4.5, 7.5, 7, 5), false);
        });
    case TreeIcon::Area:
        return drawnIcon([](QPainter& p) {
            p.setPen(QPen(kTask, 0.6));
            p.setBrush(QColor(210, 240, 215));
            p.drawRect(QRectF(1.5, 1.5, 13, 13));
            pointGrid(p, QRectF(3.5, 3.5, 9, 9), false);
        });
    case TreeIcon::ObstacleFolder:
        return drawnIcon([](QPainter& p) {
            folder(p);
            box(p, QRectF(5, 8.5, 5, 4.5));
        });
    case TreeIcon::Obstacle: return drawnIcon([](QPainter& p) { box(p, QRectF(2, 6, 8, 8)); });
    case TreeIcon::ModeFolder:
        return drawnIcon([](QPainter& p) {
            folder(p);
            modeDial(p, QPointF(8.5, 10), 3.2);
        });
    case TreeIcon::Mode: return drawnIcon([](QPainter& p) { modeDial(p, QPointF(8, 8), 6); });
    case TreeIcon::DerivedLampSystem:
        return drawnIcon([](QPainter& p) {
            lampSystem(p);
            linkMark(p, false);
        });
    case TreeIcon::SourceLampSystem:
        return drawnIcon([](QPainter& p) {
            lampSystem(p);
            linkMark(p, true);
        });
    case TreeIcon::Surroundings:
        return drawnIcon([](QPainter& p) {
            p.setPen(QPen(kTask, 0.6, Qt::DashLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(1.5, 1.5, 13, 13));
            pointGrid(p, QRectF(3.5, 3.5, 9, 9), true);
        });
    default: return QIcon();
    }
}

QIcon workspaceTabIcon(int number)
{
    switch (number) {
    case 0: return treeIcon(TreeIcon::Room);
    case 1:
        return drawnIcon([](QPainter& p) {
            // A database drum.
            p.setPen(QPen(kInk, 0.8));
            p.setBrush(kBlue.lighter(160));
            p.drawRect(QRectF(3, 4, 10, 9));
            p.setPen(Qt::NoPen);
            p.drawRect(QRectF(3.4, 11, 9.2, 2));
            p.setPen(QPen(kInk, 0.8));
            p.drawEllipse(QRectF(3, 11, 10, 4));
            p.drawEllipse(QRectF(3, 2, 10, 4));
        });
    default: return QIcon();
    }
}

} // namespace kzev
