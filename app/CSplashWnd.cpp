#include "app/CSplashWnd.h"

#include "platform/StringTable.h"
#include "platform/qt/TextFit.h"

#include <QApplication>
#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>

namespace {

bool g_enabled = false;
CSplashWnd* g_splash = nullptr;

/** Offers every event of the application to the splash while it is shown. */
class SplashFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (CSplashWnd::PreTranslateAppMessage(event))
            return true;
        return QObject::eventFilter(watched, event);
    }
};

SplashFilter* g_filter = nullptr;

} // namespace

void CSplashWnd::EnableSplashScreen(bool enable)
{
    g_enabled = enable;
}

CSplashWnd* CSplashWnd::instance()
{
    return g_splash;
}

void CSplashWnd::ShowSplashScreen(QWidget* parent)
{
    if (!g_enabled || g_splash)
        return;
    g_splash = new CSplashWnd(parent);
    g_splash->show();
    g_splash->repaint();
}

bool CSplashWnd::PreTranslateAppMessage(const QEvent* event)
{
    if (!g_splash || !event)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        HideSplashScreen();
        return true;
    default:
        return false;
    }
}

void CSplashWnd::HideSplashScreen()
{
    if (!g_splash)
        return;
    CSplashWnd* splash = g_splash;
    g_splash = nullptr;
    QWidget* owner = splash->parentWidget();
    splash->hide();
    splash->deleteLater();
    if (owner)
        owner->update();
}

CSplashWnd::CSplashWnd(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , m_bitmap(drawPicture())
{
    setObjectName(QStringLiteral("CSplashWnd"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
    setFixedSize(m_bitmap.size());

    // Centred over the owner, or over the screen while the owner has no place yet.
    QRect over = parent && parent->isVisible() ? parent->frameGeometry() : QRect();
    if (over.isEmpty() && QGuiApplication::primaryScreen())
        over = QGuiApplication::primaryScreen()->availableGeometry();
    move(over.center() - rect().center());

    if (!g_filter) {
        g_filter = new SplashFilter(qApp);
        qApp->installEventFilter(g_filter);
    }
    QTimer::singleShot(kTimeoutMs, this, [] { HideSplashScreen(); });
}

CSplashWnd::~CSplashWnd()
{
    if (g_splash == this)
        g_splash = nullptr;
    if (g_filter && !g_splash) {
        qApp->removeEventFilter(g_filter);
        delete g_filter;
        g_filter = nullptr;
    }
}

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_bitmap);
}

QPixmap CSplashWnd::drawPicture()
{
    const QSize size(440, 260);
    QPixmap picture(size);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(18, 32, 64));
    sky.setColorAt(1, QColor(40, 70, 120));
    p.fillRect(picture.rect(), sky);

    // A luminaire over a lit floor.
    const QPointF lamp(330, 40);
    QPainterPath cone;
    cone.moveTo(lamp + QPointF(-14, 6));
    cone.lineTo(lamp + QPointF(14, 6));
    cone.lineTo(QPointF(410, 200));
    cone.lineTo(QPointF(250, 200));
    cone.closeSubpath();
    QLinearGradient light(lamp, QPointF(lamp.x(), 200));
    light.setColorAt(0, QColor(255, 240, 170, 200));
    light.setColorAt(1, QColor(255, 240, 170, 30));
    p.fillPath(cone, light);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 220, 230));
    p.drawRect(QRectF(lamp.x() - 20, lamp.y() - 4, 40, 10));
    p.setBrush(QColor(255, 240, 170, 90));
    p.drawEllipse(QPointF(330, 200), 85, 12);

    p.setPen(Qt::white);
    const QString name = QString::fromStdString(kzev::loadString(61921));
    const QRect nameBox(24, 60, 270, 40);
    constexpr int nameFlags = Qt::AlignLeft | Qt::AlignVCenter;
    QFont title = p.font();
    title.setPointSize(22);
    title.setBold(true);
    p.setFont(kzev::fittedFont(title, name, nameBox, nameFlags));
    p.drawText(nameBox, nameFlags, name);
    const QString purpose = QString::fromStdString(kzev::loadString(61736));
    const QRect purposeBox(24, 104, 220, 60);
    constexpr int purposeFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    QFont small = title;
    small.setPointSize(9);
    small.setBold(false);
    p.setFont(kzev::fittedFont(small, purpose, purposeBox, purposeFlags));
    p.drawText(purposeBox, purposeFlags, purpose);
    p.setPen(QColor(255, 255, 255, 120));
    p.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    return picture;
}
