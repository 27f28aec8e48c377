// The command pictures. Standard commands take the desktop theme's icons (with
// Qt's own as fallback); the program's commands are drawn here on a 16 x 16
// grid in one small palette, so the toolbars look of a piece.

#include "app/icons/CommandIcons.h"
#include "app/icons/IconPalette.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

#include <functional>

namespace kzev {

namespace {

using namespace iconPalette;

QIcon themed(const char* name, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QString::fromLatin1(name), QApplication::style()->standardIcon(fallback));
}


void letter(QPainter& p, const QString& text, QRectF where, const QColor& colour)
{
    QFont font = p.font();
    font.setPixelSize(static_cast<int>(where.height()));
    font.setBold(true);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(where, Qt::AlignCenter, text);
}

void plus(QPainter& p)
{
    p.setPen(QPen(kAccent, 1.6));
    p.drawLine(QPointF(12.5, 9.5), QPointF(12.5, 15.5));
    p.drawLine(QPointF(9.5, 12.5), QPointF(15.5, 12.5));
}

void roomBox(QPainter& p)
{
    p.setPen(QPen(kRoom, 1.2));
    p.setBrush(QColor(220, 228, 240));
    p.drawRect(QRectF(1.5, 2.5, 11, 9));
}

void lampDot(QPainter& p, QPointF at, double r = 1.8)
{
    p.setPen(QPen(kInk, 0.6));
    p.setBrush(kLamp);
    p.drawEllipse(at, r, r);
}

void lampGrid(QPainter& p)
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j)
            lampDot(p, QPointF(3 + 4 * i, 4 + 5 * j));
}

void taskGrid(QPainter& p)
{
    p.setPen(QPen(kTask, 0.8));
    p.setBrush(QColor(210, 240, 215));
    p.drawRect(QRectF(1.5, 2.5, 10, 8));
    p.setBrush(kTask);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j)
            p.drawEllipse(QPointF(4 + 3 * i, 5 + 3 * j), 0.8, 0.8);
}

void obstacle(QPainter& p, QRectF box)
{
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(kObstacle);
    p.drawRect(box);
}

/** A room plan with its L corner filled (0 bottom-left, 1 bottom-right, 2 top-right, 3 top-left). */
void corner(QPainter& p, int which)
{
    p.setPen(QPen(kRoom, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    const QPointF at[] = { { 1.5, 8.5 }, { 8.5, 8.5 }, { 8.5, 1.5 }, { 1.5, 1.5 } };
    obstacle(p, QRectF(at[which], QSizeF(6, 6)));
}

/** A room box seen from one side, the seen face filled (0 floor, 1 ceiling, 2..5 walls 1-4). */
void viewFace(QPainter& p, int face)
{
    const QPointF a(2, 5), b(10, 5), c(14, 1.5), d(6, 1.5);
    const QPointF dz(0, 9);
    QPolygonF poly;
    switch (face) {
    case 0: poly << a + dz << b + dz << c + dz << d + dz; break;
    case 1: poly << a << b << c << d; break;
    case 2: poly << a << b << b + dz << a + dz; break;
    case 3: poly << b << c << c + dz << b + dz; break;
    case 4: poly << d << c << c + dz << d + dz; break;
    default: poly << a << d << d + dz << a + dz; break;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 170, 230));
    p.drawPolygon(poly);
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(QPolygonF() << a << b << c << d);
    p.drawPolygon(QPolygonF() << a + dz << b + dz << c + dz << d + dz);
    for (const QPointF& corner : { a, b, c, d })
        p.drawLine(corner, corner + dz);
}

void sheet(QPainter& p)
{
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 1.5, 10, 13));
}

void cadDraw(QPainter& p, const QString& variant)
{
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(QColor(235, 235, 235));
    p.drawRect(QRectF(1.5, 1.5, 13, 10));
    p.setPen(QPen(kAccent, 1.2));
    p.drawLine(QPointF(3, 9), QPointF(7, 4));
    p.drawLine(QPointF(7, 4), QPointF(12, 8));
    letter(p, variant, QRectF(8, 9, 8, 7), kBlue);
}

} // namespace

QIcon drawnIcon(const std::function<void(QPainter&)>& paint)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(2.0, 2.0);
        paint(p);
    }
    pixmap.setDevicePixelRatio(2.0);
    return QIcon(pixmap);
}

QIcon glyphIcon(Glyph glyph)
{
    switch (glyph) {
    case Glyph::None: return {};
    case Glyph::FileNew: return themed("document-new", QStyle::SP_FileIcon);
    case Glyph::FileOpen: return themed("document-open", QStyle::SP_DialogOpenButton);
    case Glyph::FileSave: return themed("document-save", QStyle::SP_DialogSaveButton);
    case Glyph::EditCopy:
        return QIcon::fromTheme(QStringLiteral("edit-copy"), drawnIcon([](QPainter& p) {
            p.setPen(QPen(kInk, 0.8));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(1.5, 1.5, 8, 10));
            p.drawRect(QRectF(6.5, 4.5, 8, 10));
        }));
    case Glyph::FilePrint:
        return QIcon::fromTheme(QStringLiteral("document-print"), drawnIcon([](QPainter& p) {
            sheet(p);
            p.setPen(QPen(kInk, 0.8));
            p.setBrush(QColor(200, 200, 200));
            p.drawRect(QRectF(0.5, 7.5, 15, 6));
        }));
    case Glyph::PrintPreview:
        return QIcon::fromTheme(QStringLiteral("document-print-preview"), drawnIcon([](QPainter& p) {
            sheet(p);
            p.setPen(QPen(kBlue, 1.4));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(7, 7), 3.5, 3.5);
            p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
        }));
    case Glyph::Help: return themed("help-about", QStyle::SP_MessageBoxQuestion);
    case Glyph::Exit: return themed("application-exit", QStyle::SP_DialogCloseButton);

    case Glyph::ViewFloor: return drawnIcon([](QPainter& p) { viewFace(p, 0); });
    case Glyph::ViewCeiling: return drawnIcon([](QPainter& p) { viewFace(p, 1); });
    case Glyph::ViewWall1: return drawnIcon([](QPainter& p) { viewFace(p, 2); });
    case Glyph::ViewWall2: return drawnIcon([](QPainter& p) { viewFace(p, 3); });
    case Glyph::ViewWall3: return drawnIcon([](QPainter& p) { viewFace(p, 4); });
    case Glyph::ViewWall4: return drawnIcon([](QPainter& p) { viewFace(p, 5); });
    case Glyph::DisplaySettings:
        return drawnIcon([](QPainter& p) {
            roomBox(p);
            p.setPen(QPen(kInk, 1.0));
            for (double y : { 5.0, 8.0 })
                p.drawLine(QPointF(3.5, y), QPointF(10.5, y));
            p.setBrush(kAccent);
            p.drawEllipse(QPointF(12, 12), 3, 3);
        });
    case Glyph::DisplayedValues: return drawnIcon([](QPainter& p) { letter(p, QStringLiteral("lx"), QRectF(0, 1, 16, 14), kBlue); });
    case Glyph::DisplaySwitch:
        return drawnIcon([](QPainter& p) {
            roomBox(p);
            p.setPen(QPen(kAccent, 1.2));
            p.drawLine(QPointF(3, 10), QPointF(7, 6));
            p.drawLine(QPointF(7, 6), QPointF(11, 8));
        });
    case Glyph::View3d: return drawnIcon([](QPainter& p) { letter(p, QStringLiteral("3D"), QRectF(0, 2, 16, 12), kBlue); });
    case Glyph::NamedViewLoad:
    case Glyph::NamedViewSave:
        return drawnIcon([glyph](QPainter& p) {
            viewFace(p, 0);
            QPainterPath arrow;
            const bool load = glyph == Glyph::NamedViewLoad;
            arrow.moveTo(12, load ? 16 : 9);
            arrow.lineTo(15.5, load ? 12 : 13);
            arrow.lineTo(8.5, load ? 12 : 13);
            arrow.closeSubpath();
            p.fillPath(arrow, load ? kTask : kAccent);
        });
    case Glyph::ZoomIn:
    case Glyph::ZoomOut:
    case Glyph::ZoomFit:
        return drawnIcon([glyph](QPainter& p) {
            p.setPen(QPen(kInk, 1.4));
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
            p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
            p.setPen(QPen(kBlue, 1.2));
            if (glyph != Glyph::ZoomFit)
                p.drawLine(QPointF(4.5, 6.5), QPointF(8.5, 6.5));
            if (glyph == Glyph::ZoomIn)
                p.drawLine(QPointF(6.5, 4.5), QPointF(6.5, 8.5));
            if (glyph == Glyph::ZoomFit)
                p.drawRect(QRectF(4.5, 4.5, 4, 4));
        });

    case Glyph::CalcStart:
        return drawnIcon([](QPainter& p) {
            QPainterPath triangle;
            triangle.moveTo(4, 2);
            triangle.lineTo(14, 8);
            triangle.lineTo(4, 14);
            triangle.closeSubpath();
            p.fillPath(triangle, QColor(40, 160, 60));
            p.setPen(QPen(kInk, 0.6));
            p.drawPath(triangle);
        });
    case Glyph::CalcSettings:
        return drawnIcon([](QPainter& p) {
            taskGrid(p);
            p.setPen(QPen(kInk, 1.6));
            p.drawLine(QPointF(10, 15), QPointF(15, 10));
        });
    case Glyph::CalcStop:
        return drawnIcon([](QPainter& p) {
            p.setPen(QPen(kInk, 0.6));
            p.setBrush(kAccent);
            p.drawRoundedRect(QRectF(3, 3, 10, 10), 1.5, 1.5);
        });

    case Glyph::NewRoom: return drawnIcon([](QPainter& p) { roomBox(p); plus(p); });
    case Glyph::NewRoad:
        return drawnIcon([](QPainter& p) {
            p.fillRect(QRectF(0, 3, 13, 8), QColor(110, 110, 110));
            p.setPen(QPen(Qt::white, 1.0, Qt::DashLine));
            p.drawLine(QPointF(0, 7), QPointF(13, 7));
            plus(p);
        });
    case Glyph::NewLampSystem: return drawnIcon([](QPainter& p) { lampGrid(p); plus(p); });
    case Glyph::DerivedLampSystem:
        return drawnIcon([](QPainter& p) {
            lampDot(p, QPointF(3, 4));
            lampDot(p, QPointF(3, 11));
            p.setPen(QPen(kBlue, 0.8, Qt::DashLine));
            p.drawLine(QPointF(7.5, 1), QPointF(7.5, 15));
            lampDot(p, QPointF(12, 4));
            lampDot(p, QPointF(12, 11));
        });
    case Glyph::CancelBinding:
        return drawnIcon([](QPainter& p) {
            lampDot(p, QPointF(3, 8));
            lampDot(p, QPointF(13, 8));
            p.setPen(QPen(kAccent, 1.4));
            p.drawLine(QPointF(6, 4), QPointF(10, 12));
            p.drawLine(QPointF(10, 4), QPointF(6, 12));
        });
    case Glyph::NewTaskArea: return drawnIcon([](QPainter& p) { taskGrid(p); plus(p); });
    case Glyph::TaskSurroundings:
        return drawnIcon([](QPainter& p) {
            p.setPen(QPen(kTask, 0.8, Qt::DashLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(0.5, 1.5, 13, 12));
            p.setPen(QPen(kTask, 0.8));
            p.setBrush(QColor(210, 240, 215));
            p.drawRect(QRectF(3.5, 4.5, 7, 6));
        });
    case Glyph::NewObstacles:
        return drawnIcon([](QPainter& p) {
            obstacle(p, QRectF(1.5, 2.5, 4, 4));
            obstacle(p, QRectF(7.5, 2.5, 4, 4));
            plus(p);
        });
    case Glyph::CornerL1: return drawnIcon([](QPainter& p) { corner(p, 0); });
    case Glyph::CornerL2: return drawnIcon([](QPainter& p) { corner(p, 1); });
    case Glyph::CornerL3: return drawnIcon([](QPainter& p) { corner(p, 2); });
    case Glyph::CornerL4: return drawnIcon([](QPainter& p) { corner(p, 3); });
    case Glyph::WallRow:
        return drawnIcon([](QPainter& p) {
            for (int i = 0; i < 4; ++i)
                obstacle(p, QRectF(0.5 + 4 * i, 6.5, 3, 3));
        });
    case Glyph::NewRaster:
        return drawnIcon([](QPainter& p) {
            p.setPen(QPen(kObstacle, 1.0));
            for (int i = 0; i < 4; ++i) {
                p.drawLine(QPointF(1.5 + 3 * i, 1.5), QPointF(1.5 + 3 * i, 10.5));
                p.drawLine(QPointF(1.5, 1.5 + 3 * i), QPointF(10.5, 1.5 + 3 * i));
            }
            plus(p);
        });
    case Glyph::Properties:
        return QIcon::fromTheme(QStringLiteral("document-properties"), drawnIcon([](QPainter& p) {
            sheet(p);
            p.setPen(QPen(kInk, 1.0));
            for (double y : { 5.0, 8.0, 11.0 })
                p.drawLine(QPointF(4.5, y), QPointF(10.5, y));
        }));
    case Glyph::Delete:
        return QIcon::fromTheme(QStringLiteral("edit-delete"), drawnIcon([](QPainter& p) {
            p.setPen(QPen(kAccent, 2.0));
            p.drawLine(QPointF(3, 3), QPointF(13, 13));
            p.drawLine(QPointF(13, 3), QPointF(3, 13));
        }));
    case Glyph::SplitRows:
        return drawnIcon([](QPainter& p) {
            lampGrid(p);
            p.setPen(QPen(kAccent, 1.0));
            p.drawLine(QPointF(0, 6.5), QPointF(16, 6.5));
        });
    case Glyph::SplitColumns:
        return drawnIcon([](QPainter& p) {
            lampGrid(p);
            p.setPen(QPen(kAccent, 1.0));
            p.drawLine(QPointF(5, 0), QPointF(5, 16));
            p.drawLine(QPointF(9, 0), QPointF(9, 16));
        });
    case Glyph::CopyLampSystem:
    case Glyph::PasteLampSystem:
        return drawnIcon([glyph](QPainter& p) {
            p.setPen(QPen(kInk, 0.8));
            p.setBrush(glyph == Glyph::PasteLampSystem ? QColor(230, 200, 140) : Qt::white);
            p.drawRect(QRectF(1.5, 1.5, 9, 11));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(6.5, 5.5, 8, 9));
            lampDot(p, QPointF(9, 8), 1.3);
            lampDot(p, QPointF(12, 8), 1.3);
            lampDot(p, QPointF(9, 12), 1.3);
            lampDot(p, QPointF(12, 12), 1.3);
        });

    case Glyph::CadImport:
        return drawnIcon([](QPainter& p) {
            cadDraw(p, QString());
            QPainterPath arrow;
            arrow.moveTo(12, 16);
            arrow.lineTo(15.5, 12);
            arrow.lineTo(8.5, 12);
            arrow.closeSubpath();
            p.fillPath(arrow, kTask);
        });
    case Glyph::CadDraw1: return drawnIcon([](QPainter& p) { cadDraw(p, QStringLiteral("1")); });
    case Glyph::CadDraw2: return drawnIcon([](QPainter& p) { cadDraw(p, QStringLiteral("2")); });
    case Glyph::CadDraw3: return drawnIcon([](QPainter& p) { cadDraw(p, QStringLiteral("3")); });
    case Glyph::KnepImport:
        return drawnIcon([](QPainter& p) {
            p.setPen(QPen(kInk, 0.8));
            p.setBrush(QColor(255, 230, 120));
            p.drawEllipse(QPointF(6, 6), 4, 4);
            QPainterPath arrow;
            arrow.moveTo(12, 16);
            arrow.lineTo(15.5, 11);
            arrow.lineTo(8.5, 11);
            arrow.closeSubpath();
            p.fillPath(arrow, kTask);
        });
    case Glyph::HtmlExport: return drawnIcon([](QPainter& p) { sheet(p); letter(p, QStringLiteral("<>"), QRectF(2, 4, 12, 8), kBlue); });
    case Glyph::DatabaseRecognition:
        return drawnIcon([](QPainter& p) {
            p.setPen(QPen(kInk, 0.8));
            p.setBrush(QColor(200, 215, 235));
            p.drawRect(QRectF(3.5, 4, 9, 9));
            p.drawEllipse(QRectF(3.5, 1.5, 9, 5));
            p.drawArc(QRectF(3.5, 10.5, 9, 5), 180 * 16, 180 * 16);
        });
    case Glyph::LuminaireLegend:
        return drawnIcon([](QPainter& p) {
            sheet(p);
            for (double y : { 4.5, 8.0, 11.5 }) {
                lampDot(p, QPointF(5, y), 1.2);
                p.setPen(QPen(kInk, 0.8));
                p.drawLine(QPointF(7.5, y), QPointF(11, y));
            }
        });
    case Glyph::RoomLegend:
        return drawnIcon([](QPainter& p) {
            sheet(p);
            p.setPen(QPen(kRoom, 0.8));
            for (double y : { 4.5, 8.0, 11.5 })
                p.drawRect(QRectF(4.5, y - 1.2, 2.4, 2.4));
            p.setPen(QPen(kInk, 0.8));
            for (double y : { 4.5, 8.0, 11.5 })
                p.drawLine(QPointF(8, y), QPointF(11, y));
        });
    case Glyph::SortRooms:
        return drawnIcon([](QPainter& p) {
            p.setPen(QPen(kRoom, 1.2));
            for (int i = 0; i < 3; ++i)
                p.drawLine(QPointF(2, 3.5 + 4 * i), QPointF(4 + 3 * i, 3.5 + 4 * i));
            p.setPen(QPen(kBlue, 1.2));
            p.drawLine(QPointF(13, 2), QPointF(13, 14));
            p.drawLine(QPointF(13, 14), QPointF(10.5, 11));
            p.drawLine(QPointF(13, 14), QPointF(15.5, 11));
        });
    case Glyph::TitleBlock:
        return drawnIcon([](QPainter& p) {
            sheet(p);
            p.setPen(QPen(kInk, 0.8));
            p.drawRect(QRectF(6.5, 10.5, 6, 4));
            p.drawLine(QPointF(6.5, 12.5), QPointF(12.5, 12.5));
        });
    }
    return {};
}

} // namespace kzev
