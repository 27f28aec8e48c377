#include "view/CKzevView.h"

#include "model/CKzevDoc.h"
#include "model/CLuminaire.h"
#include "platform/AppFolders.h"
#include "platform/FileIo.h"
#include "platform/StringTable.h"
#include "platform/qt/QtPainterSurface.h"
#include "platform/qt/TextFit.h"
#include "view/gl/COpenGLBase.h"
#include "view/gl/GLScene.h"

#include <QApplication>
#include <QClipboard>
#include <QWheelEvent>

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>

#include <climits>

namespace {

CKzevView* g_view = nullptr;

/**
 * The document's luminaires: the list index that resolution wrote into the
 * lamp system, and the legend name of its luminaire and lamp.
 */
class DocumentLuminaires final : public kzev::ILuminaireSource {
public:
    const CLuminaire* luminaire(CLampSystem& system) override
    {
        CKzevDoc* doc = kzev::theDocument();
        if (!doc || doc->ResolveLuminaire(system, 0) == 0)
            return nullptr;
        // Nothing that paints may ask the user: a lamp that is not found was reported when the project came in.
        doc->ResolveLamp(system, 0);
        const std::int32_t index = system.m_luminaireIndex;
        if (index < 0 || static_cast<std::size_t>(index) >= doc->m_luminaires.size())
            return nullptr;
        return &doc->m_luminaires[static_cast<std::size_t>(index)];
    }

    std::string typeText(const CLampSystem& system) override
    {
        CKzevDoc* doc = kzev::theDocument();
        return doc ? doc->FindLuminaireLampName(system) : std::string();
    }
};

QFont fontOf(const kzev::LogFont& logFont)
{
    QFont font(QString::fromStdString(logFont.faceName.empty() ? std::string("Arial") : logFont.faceName));
    if (logFont.height != 0)
        font.setPixelSize(std::abs(logFont.height));
    else
        font.setPixelSize(12);
    font.setBold(logFont.weight >= 700);
    font.setItalic(logFont.italic != 0);
    font.setUnderline(logFont.underline != 0);
    return font;
}

constexpr int kViewCommands[][2] = {
    { 32826, 112 }, { 32825, 113 }, { 32830, 114 }, { 32827, 115 }, { 32831, 116 }, { 32829, 117 },
};

} // namespace

namespace kzev {

CKzevView* theView()
{
    return g_view;
}

QPixmap splashPicture()
{
    try {
        const std::vector<std::uint8_t> bytes = kzev::readWholeFile(appFolders().PathExe + "Kzev.bmp");
        QPixmap picture;
        if (bytes.size() <= INT_MAX && picture.loadFromData(bytes.data(), static_cast<uint>(bytes.size())))
            return picture;
    } catch (const kzev::FileError&) {
        // No picture of the program's folder: the built-in one.
    }
    // The built-in picture: a luminaire over a lit floor and the program's name.
    const QSize size(480, 300);
    QPixmap picture(size);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(236, 240, 246));
    sky.setColorAt(1, QColor(200, 210, 226));
    p.fillRect(picture.rect(), sky);
    const QPointF lamp(360, 50);
    QPolygonF cone;
    cone << lamp + QPointF(-16, 8) << lamp + QPointF(16, 8) << QPointF(450, 240) << QPointF(270, 240);
    QLinearGradient light(lamp, QPointF(lamp.x(), 240));
    light.setColorAt(0, QColor(255, 236, 150, 220));
    light.setColorAt(1, QColor(255, 236, 150, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(light);
    p.drawPolygon(cone);
    p.setBrush(QColor(90, 96, 110));
    p.drawRect(QRectF(lamp.x() - 24, lamp.y() - 4, 48, 12));
    p.setBrush(QColor(255, 236, 150, 120));
    p.drawEllipse(QPointF(360, 240), 95, 14);
    p.setPen(QColor(30, 40, 70));
    const QString name = QString::fromStdString(loadString(61921));
    const QRect nameBox(24, 70, 300, 50);
    constexpr int nameFlags = Qt::AlignLeft | Qt::AlignVCenter;
    QFont title = p.font();
    title.setPointSize(24);
    title.setBold(true);
    // Measured, so that no font cuts the program's name.
    p.setFont(fittedFont(title, name, nameBox, nameFlags));
    p.drawText(nameBox, nameFlags, name);
    p.setPen(QColor(30, 40, 70, 160));
    p.setBrush(Qt::NoBrush);
    p.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    return picture;
}

} // namespace kzev

CKzevView::CKzevView(QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_documentLuminaires(std::make_unique<DocumentLuminaires>())
{
    g_view = this;
    setObjectName(QStringLiteral("CKzevView"));
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
    QPalette white = viewport()->palette();
    white.setColor(QPalette::Base, Qt::white);
    viewport()->setPalette(white);
    m_plan.setDocument(kzev::theDocument());
    m_plan.setLuminaireSource(m_documentLuminaires.get());
    m_plan.setResultLayers(&m_resultLayers);
    m_plan.setInvalidate([this] { viewport()->update(); });
    m_glScene = std::make_unique<kzev::GLScene>(m_plan);
    setFocusPolicy(Qt::WheelFocus);
    // A drag mode runs its step on every move, with the button held or not.
    viewport()->setMouseTracking(true);
}

CKzevView::~CKzevView()
{
    // The OpenGL window draws through the scene, so it goes first.
    delete m_gl;
    m_gl = nullptr;
    if (g_view == this)
        g_view = nullptr;
}

void CKzevView::RefreshView(int resetProjection, int resetCamera)
{
    m_plan.setDocument(kzev::theDocument());
    m_plan.RefreshView(resetProjection, resetCamera);
    if (m_plan.SelectRoomFromTree() == 0) {
        // The room that was drawn may be gone: what it left on screen goes at once.
        viewport()->update();
        sync3D();
        return;
    }
    // The camera follows a new projection; view settings never shown in 3-D get theirs now.
    const CViewSettings* settings = m_plan.viewSettings();
    if (resetProjection == 1 || (settings && settings->m_viewVector1 == settings->m_viewVector2))
        m_glScene->ComputeGLEyeTarget();
    if (m_gl)
        m_gl->rebuildScene(m_plan.currentMode());
    sync3D();
}

void CKzevView::requestLayout()
{
    m_plan.requestLayout();
    viewport()->update();
}

void CKzevView::setTreeSelection(int lampSystem, int area, int obstacle)
{
    m_plan.setTreeSelection({ lampSystem, area, obstacle });
}

void CKzevView::setSceneShown(bool shown)
{
    m_plan.setSceneShown(shown);
    viewport()->update();
    sync3D();
}

std::optional<int> CKzevView::viewCode()
{
    m_plan.setDocument(kzev::theDocument());
    m_plan.SelectRoomFromTree();
    const CViewSettings* settings = m_plan.viewSettings();
    if (!settings)
        return std::nullopt;
    return settings->m_viewCode;
}

bool CKzevView::OnViewDirectionCommand(int commandId)
{
    for (const auto& [id, code] : kViewCommands) {
        if (id == commandId) {
            m_plan.setDocument(kzev::theDocument());
            m_plan.setViewDirection(code);
            // The 3-D camera looks along the new direction too.
            RefreshView(1, 1);
            return true;
        }
    }
    return false;
}

void CKzevView::setLuminaireSource(kzev::ILuminaireSource* source)
{
    m_plan.setLuminaireSource(source ? source : m_documentLuminaires.get());
    viewport()->update();
}

QPixmap CKzevView::grabPlan()
{
    if (m_gl && m_gl->isVisible())
        return QPixmap::fromImage(m_gl->grabFramebuffer());
    return viewport()->grab();
}

kzev::ScrollSize CKzevView::clientSize() const
{
    return { viewport()->width(), viewport()->height() };
}

kzev::DevicePoint CKzevView::scrollPosition() const
{
    return { horizontalScrollBar()->value(), verticalScrollBar()->value() };
}

void CKzevView::totalSizeChanged()
{
    updateScrollBars();
    viewport()->update();
}

void CKzevView::OnZoomIn()
{
    if (!sceneShown())
        return;
    m_plan.zoomIn(clientSize());
    totalSizeChanged();
}

void CKzevView::OnZoomOut()
{
    if (!sceneShown())
        return;
    m_plan.zoomOut(clientSize());
    totalSizeChanged();
}

void CKzevView::OnZoomFit()
{
    if (!sceneShown())
        return;
    m_plan.zoomFit(clientSize());
    totalSizeChanged();
}

void CKzevView::OnEditCopy()
{
    if (!sceneShown())
        return;
    const QImage picture = grabPlan().toImage();
    if (picture.isNull()) {
        QApplication::beep();
        return;
    }
    QApplication::clipboard()->setImage(picture);
    viewport()->update();
}

void CKzevView::wheelEvent(QWheelEvent* event)
{
    m_plan.setDocument(kzev::theDocument());
    if (!sceneShown() || m_plan.SelectRoomFromTree() == 0) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    // One step per notch of 120; finer wheels gather their turns first.
    m_wheelRemainder += event->angleDelta().y();
    const int notches = m_wheelRemainder / 120;
    m_wheelRemainder -= notches * 120;
    event->accept();
    for (int n = 0; n < std::abs(notches); ++n) {
        const int delta = notches > 0 ? 120 : -120;
        if (is3D()) {
            m_glScene->moveEyeByWheel(delta);
            if (m_gl)
                m_gl->rebuildScene(m_plan.currentMode());
            continue;
        }
        const QPoint mouse = event->position().toPoint();
        const std::optional<kzev::DevicePoint> scrollTo
            = m_plan.zoomByWheel(clientSize(), delta, scrollPosition(), { mouse.x(), mouse.y() });
        totalSizeChanged();
        if (scrollTo) {
            horizontalScrollBar()->setValue(scrollTo->x);
            verticalScrollBar()->setValue(scrollTo->y);
        }
    }
}

// ---- 3-D view ----------------------------------------------------------------------------

bool CKzevView::is3D() const
{
    const CViewSettings* settings = m_plan.viewSettings();
    return settings && settings->m_displaySwitch == 1;
}

COpenGLBase& CKzevView::glWindow()
{
    if (!m_gl) {
        m_gl = new COpenGLBase(*m_glScene, viewport());
        m_gl->setGeometry(viewport()->rect());
        m_gl->hide();
        m_gl->rebuildScene(m_plan.currentMode());
    }
    return *m_gl;
}

void CKzevView::sync3D()
{
    // Without OpenGL windows the view says so in place of the picture.
    const bool shown = sceneShown() && m_plan.room() && is3D() && COpenGLBase::windowsAvailable();
    if (!shown) {
        if (m_gl)
            m_gl->hide();
        return;
    }
    COpenGLBase& gl = glWindow();
    gl.setGeometry(viewport()->rect());
    gl.show();
    updateScrollBars();
}

void CKzevView::OnToggleOGLGraphics()
{
    m_plan.setDocument(kzev::theDocument());
    if (m_plan.SelectRoomFromTree() == 0)
        return;
    CViewSettings* settings = m_plan.viewSettings();
    if (!settings)
        return;
    settings->m_displaySwitch = settings->m_displaySwitch == 1 ? 0 : 1;
    RefreshView(1, 1);
    viewport()->update();
}

kzev::CommandState CKzevView::OnUpdateToggleOGLGraphics()
{
    m_plan.setDocument(kzev::theDocument());
    if (m_plan.SelectRoomFromTree() == 0 || !m_plan.viewSettings())
        return {};
    return { sceneShown(), is3D() };
}

void CKzevView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    // While a print lets the window answer, the plan holds page layouts: the picture from before stays.
    if (!m_shownWhilePrinting.isNull()) {
        painter.drawPixmap(0, 0, m_shownWhilePrinting);
        return;
    }
    OnDraw(painter);
}

void CKzevView::OnDraw(QPainter& painter)
{
    m_plan.setDocument(kzev::theDocument());
    if (!m_plan.sceneShown()) {
        drawSplash(painter);
        return;
    }
    // The 3-D picture is the OpenGL window's; it is put in place outside the paint.
    m_plan.SelectRoomFromTree();
    const bool glShown = m_gl && m_gl->isVisible();
    if (is3D() != glShown)
        QMetaObject::invokeMethod(this, [this] { sync3D(); }, Qt::QueuedConnection);
    if (is3D()) {
        if (!COpenGLBase::windowsAvailable()) {
            painter.setPen(Qt::black);
            painter.drawText(viewport()->rect(), Qt::AlignCenter | Qt::TextWordWrap,
                QString::fromStdString(kzev::loadString(63343)));
        }
        return;
    }
    if (const CRoom* room = m_plan.room())
        m_resultLayers.setSurfaceLuminance(room->m_luminanceOnSurfaces == 1);
    if (CKzevDoc* doc = kzev::theDocument())
        painter.setFont(fontOf(doc->m_logFont));
    painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    kzev::QtPainterSurface surface(painter);
    m_plan.drawPlan(surface, viewport()->width(), viewport()->height());
    updateScrollBars();
}

void CKzevView::drawSplash(QPainter& painter)
{
    const QPixmap picture = kzev::splashPicture();
    const int left = (viewport()->width() - picture.width()) / 2;
    const int top = (viewport()->height() - picture.height()) / 2;
    painter.drawPixmap(left, top, picture);
}

void CKzevView::updateScrollBars()
{
    const QSize client = viewport()->size();
    if (m_gl && m_gl->isVisible()) {
        // The 3-D picture always fills the window: nothing to scroll.
        horizontalScrollBar()->setRange(0, 0);
        verticalScrollBar()->setRange(0, 0);
        return;
    }
    horizontalScrollBar()->setPageStep(client.width());
    verticalScrollBar()->setPageStep(client.height());
    horizontalScrollBar()->setRange(0, std::max(0, m_plan.totalWidth() - client.width()));
    verticalScrollBar()->setRange(0, std::max(0, m_plan.totalHeight() - client.height()));
}

void CKzevView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    // A plan fitted to the window keeps fitting it; a zoomed one keeps its size.
    if (m_plan.clientResized(clientSize()))
        viewport()->update();
    if (m_gl)
        m_gl->setGeometry(viewport()->rect());
    updateScrollBars();
}

void CKzevView::scrollContentsBy(int, int)
{
    viewport()->update();
}

void CKzevView::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_contextMenu)
        m_contextMenu(event->globalPos());
}

// ---- Mouse -------------------------------------------------------------------------------

namespace {

kzev::MouseKeys keysOf(const QMouseEvent& event)
{
    const Qt::MouseButtons buttons = event.buttons();
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    return { buttons.testFlag(Qt::LeftButton), buttons.testFlag(Qt::MiddleButton), buttons.testFlag(Qt::RightButton),
        modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::ControlModifier) };
}

kzev::DevicePoint pointOf(const QMouseEvent& event)
{
    const QPoint at = event.position().toPoint();
    return { at.x(), at.y() };
}

} // namespace

bool CKzevView::planReadyForMouse()
{
    m_plan.setDocument(kzev::theDocument());
    if (!sceneShown() || is3D())
        return false;
    return m_plan.SelectRoomFromTree() != 0;
}

void CKzevView::applyMouseOutcome(const kzev::MouseOutcome& outcome)
{
    using Cursor = kzev::MouseOutcome::Cursor;
    if (outcome.cursor == Cursor::Move)
        viewport()->setCursor(Qt::SizeAllCursor);
    else if (outcome.cursor == Cursor::Arrow)
        viewport()->setCursor(Qt::ArrowCursor);
    if (outcome.scrollTo) {
        horizontalScrollBar()->setValue(outcome.scrollTo->x);
        verticalScrollBar()->setValue(outcome.scrollTo->y);
    }
    if (outcome.repaint)
        viewport()->update();
    if (outcome.calculate && m_calculate && !m_calculating) {
        const CKzevDoc* doc = kzev::theDocument();
        if (doc && doc->m_calcRunning == 1)
            return;
        m_calculating = true;
        m_calculate();
        m_calculating = false;
    }
}

bool CKzevView::cameraReadyForMouse()
{
    m_plan.setDocument(kzev::theDocument());
    return sceneShown() && m_plan.SelectRoomFromTree() != 0 && is3D();
}

void CKzevView::mousePressEvent(QMouseEvent* event)
{
    if (cameraReadyForMouse()) {
        m_cameraLast = event->position().toPoint();
        event->accept();
        return;
    }
    if (!planReadyForMouse()) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    if (event->button() == Qt::LeftButton)
        applyMouseOutcome(m_mouse.OnLButtonDown(pointOf(*event)));
    else if (event->button() == Qt::MiddleButton)
        applyMouseOutcome(m_mouse.OnMButtonDown(pointOf(*event), scrollPosition()));
    event->accept();
}

void CKzevView::mouseMoveEvent(QMouseEvent* event)
{
    if (cameraReadyForMouse()) {
        // The middle button moves the camera: eye and target, with Shift the eye alone.
        if (event->buttons().testFlag(Qt::MiddleButton)) {
            const QPoint at = event->position().toPoint();
            m_glScene->moveCameraByDrag(at.x() - m_cameraLast.x(), at.y() - m_cameraLast.y(),
                event->modifiers().testFlag(Qt::ShiftModifier));
            m_cameraLast = at;
            if (m_gl) {
                m_gl->rebuildScene(m_plan.currentMode());
                m_gl->update();
            }
            if (CKzevDoc* doc = kzev::theDocument())
                doc->SetModifiedFlag(true);
        }
        event->accept();
        return;
    }
    if (!planReadyForMouse()) {
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    applyMouseOutcome(m_mouse.OnMouseMove(pointOf(*event), keysOf(*event), scrollPosition()));
    event->accept();
}

void CKzevView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!planReadyForMouse()) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    if (event->button() == Qt::LeftButton)
        applyMouseOutcome(m_mouse.OnLButtonUp(pointOf(*event), scrollPosition()));
    else if (event->button() == Qt::MiddleButton)
        applyMouseOutcome(m_mouse.OnMButtonUp(pointOf(*event)));
    event->accept();
}

void CKzevView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!planReadyForMouse() || event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    applyMouseOutcome(m_mouse.OnLButtonDblClk(pointOf(*event), keysOf(*event), scrollPosition()));
    event->accept();
}
