#include "grid/GridWidget.h"

#include "grid/CInPlaceEdit.h"
#include "grid/CTitleTip.h"
#include "grid/GridPrinting.h"
#include "platform/StringTable.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QStyle>
#include <QTimerEvent>
#include <QWheelEvent>

#include <algorithm>

namespace kzev {

namespace {

/** Returns the grid's key code of a Qt key, 0 for keys the grid leaves alone. */
unsigned gridKey(int key)
{
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return vk::Tab;
    case Qt::Key_PageUp:
        return vk::Prior;
    case Qt::Key_PageDown:
        return vk::Next;
    case Qt::Key_End:
        return vk::End;
    case Qt::Key_Home:
        return vk::Home;
    case Qt::Key_Left:
        return vk::Left;
    case Qt::Key_Up:
        return vk::Up;
    case Qt::Key_Right:
        return vk::Right;
    case Qt::Key_Down:
        return vk::Down;
    case Qt::Key_Insert:
        return vk::Insert;
    case Qt::Key_Delete:
        return vk::Delete;
    case Qt::Key_F2:
        return vk::F2;
    case Qt::Key_Escape:
        return vk::Escape;
    default:
        // Letters share their codes with the upper-case characters.
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return static_cast<unsigned>(key);
        return 0;
    }
}

KeyModifiers modifiersOf(Qt::KeyboardModifiers modifiers)
{
    KeyModifiers result;
    result.shift = (modifiers & Qt::ShiftModifier) != 0;
    result.ctrl = (modifiers & Qt::ControlModifier) != 0;
    return result;
}

GridPoint pointOf(const QPoint& point)
{
    return {point.x(), point.y()};
}

// The edit commands of the context menu: their texts in the string table.
constexpr int kIdsCut = 62812;
constexpr int kIdsCopy = 62813;
constexpr int kIdsPaste = 62814;
constexpr int kIdsSelectAll = 62815;
constexpr int kIdsPrint = 62816;

GridWidget::DragLoop& dragLoop()
{
    static GridWidget::DragLoop loop;
    return loop;
}

QString menuText(int id)
{
    return QString::fromStdString(loadString(id));
}

} // namespace

GridWidget::GridWidget(QWidget* parent) : GridWidget(std::make_unique<CGridCtrl>(), parent) {}

GridWidget::GridWidget(std::unique_ptr<CGridCtrl> grid, QWidget* parent)
    : QAbstractScrollArea(parent), m_grid(std::move(grid))
{
    init();
}

GridWidget::~GridWidget()
{
    // The editor and the tip go before the grid they talk to.
    if (m_editor) {
        m_editor->detach();
        delete m_editor.data();
    }
    delete m_titleTip;
    m_grid->AttachWindow(nullptr);
}

void GridWidget::init()
{
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    viewport()->setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
        [this](int action) { onScrollAction(Qt::Horizontal, action); });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
        [this](int action) { onScrollAction(Qt::Vertical, action); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this,
        [this](int value) { onScrollValue(Qt::Horizontal, value); });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
        [this](int value) { onScrollValue(Qt::Vertical, value); });
    m_grid->AttachWindow(this);
}

GridSize GridWidget::clientSize() const
{
    return {viewport()->width(), viewport()->height()};
}

int GridWidget::scrollBarExtent() const
{
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

void GridWidget::showScrollBars(bool horizontal, bool vertical)
{
    setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void GridWidget::syncScrollBars()
{
    m_syncing = true;
    const auto sync = [this](QScrollBar* bar, int which) {
        bar->setRange(0, m_grid->GetScrollLimit(which));
        bar->setPageStep(std::max(1, m_grid->GetScrollPage(which)));
        bar->setSingleStep(m_grid->GetDefaultCell(false, false)->GetHeight());
        bar->setValue(m_grid->GetScrollPos32(which));
    };
    sync(horizontalScrollBar(), CGridCtrl::kHorz);
    sync(verticalScrollBar(), CGridCtrl::kVert);
    m_syncing = false;
}

void GridWidget::invalidateRect(const GridRect& rect)
{
    viewport()->update(QRect(rect.left, rect.top, rect.width(), rect.height()));
}

void GridWidget::invalidateAll()
{
    viewport()->update();
}

QSize GridWidget::sizeHint() const
{
    const int frame = 2 * frameWidth();
    return {std::min(800, m_grid->GetVirtualWidth() + frame), std::min(600, m_grid->GetVirtualHeight() + frame)};
}

void GridWidget::paintEvent(QPaintEvent* event)
{
    // Qt's backing store already buffers the window, so the grid paints straight into it.
    QPainter painter(viewport());
    const QRect area = event->rect();
    m_grid->OnDraw(painter, {area.left(), area.top(), area.left() + area.width(), area.top() + area.height()});
}

bool GridWidget::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Resize && !m_inResize) {
        m_inResize = true;
        m_grid->OnSize();
        m_inResize = false;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void GridWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        m_grid->OnSysColorChange(systemColours(palette()));
    QAbstractScrollArea::changeEvent(event);
}

void GridWidget::onScrollAction(Qt::Orientation orientation, int action)
{
    if (m_syncing)
        return;
    ScrollCode code;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        code = ScrollCode::LineDown;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        code = ScrollCode::LineUp;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        code = ScrollCode::PageDown;
        break;
    case QAbstractSlider::SliderPageStepSub:
        code = ScrollCode::PageUp;
        break;
    case QAbstractSlider::SliderToMinimum:
        code = ScrollCode::Top;
        break;
    case QAbstractSlider::SliderToMaximum:
        code = ScrollCode::Bottom;
        break;
    default:
        return; // a dragged thumb arrives as a value
    }
    const int which = orientation == Qt::Horizontal ? CGridCtrl::kHorz : CGridCtrl::kVert;
    if (which == CGridCtrl::kHorz)
        m_grid->OnHScroll(code);
    else
        m_grid->OnVScroll(code);
    // The grid steps by whole rows and columns; the bar lands where the grid did.
    QScrollBar* bar = orientation == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    m_syncing = true;
    bar->setSliderPosition(m_grid->GetScrollPos32(which));
    m_syncing = false;
}

void GridWidget::onScrollValue(Qt::Orientation orientation, int value)
{
    if (m_syncing)
        return;
    const int which = orientation == Qt::Horizontal ? CGridCtrl::kHorz : CGridCtrl::kVert;
    if (value == m_grid->GetScrollPos32(which))
        return;
    if (which == CGridCtrl::kHorz)
        m_grid->OnHScroll(ScrollCode::ThumbTrack, value);
    else
        m_grid->OnVScroll(ScrollCode::ThumbTrack, value);
}

void GridWidget::scrollContentsBy(int, int)
{
    // The grid invalidates what its scrolling moved.
}

bool GridWidget::focusNextPrevChild(bool next)
{
    // Tab moves between cells while the grid handles it; keyPressEvent hands it on at the ends.
    if (m_grid->GetHandleTabKey())
        return false;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

void GridWidget::keyPressEvent(QKeyEvent* event)
{
    hideTitleTip();
    KeyModifiers modifiers;
    modifiers.shift = (event->modifiers() & Qt::ShiftModifier) != 0 || event->key() == Qt::Key_Backtab;
    modifiers.ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
    const unsigned key = gridKey(event->key());

    if (key != 0 && m_grid->OnKeyDown(key, modifiers)) {
        event->accept();
        return;
    }
    if (key == vk::Tab && !modifiers.ctrl) {
        QAbstractScrollArea::focusNextPrevChild(!modifiers.shift);
        event->accept();
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint() && m_grid->OnChar(text.at(0).unicode(), modifiers)) {
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}


// ---- the desktop pieces the grid reaches ----------------------------------------------------

void GridWidget::takeFocus()
{
    setFocus(Qt::MouseFocusReason);
}

void GridWidget::setCursorShape(GridCursor cursor)
{
    switch (cursor) {
    case GridCursor::SizeNS:
        viewport()->setCursor(Qt::SizeVerCursor);
        break;
    case GridCursor::SizeWE:
        viewport()->setCursor(Qt::SizeHorCursor);
        break;
    case GridCursor::Arrow:
        viewport()->setCursor(Qt::ArrowCursor);
        break;
    case GridCursor::Unchanged:
        break;
    }
}

unsigned GridWidget::startTimer(unsigned, int interval)
{
    if (m_timerId != 0)
        QObject::killTimer(m_timerId);
    m_timerId = QObject::startTimer(interval);
    return static_cast<unsigned>(m_timerId);
}

void GridWidget::killTimer(unsigned)
{
    if (m_timerId != 0)
        QObject::killTimer(m_timerId);
    m_timerId = 0;
}

void GridWidget::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_timerId) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    m_grid->OnTimer(CGridCtrl::kAutoScrollTimer, pointOf(m_lastMouse));
}

void GridWidget::postCommand()
{
    QMetaObject::invokeMethod(this, &GridWidget::cellCommand, Qt::QueuedConnection);
}

std::string GridWidget::ownerTitle() const
{
    for (const QWidget* widget = parentWidget(); widget != nullptr; widget = widget->parentWidget())
        if (!widget->windowTitle().isEmpty())
            return widget->windowTitle().toStdString();
    return {};
}

CInPlaceEdit* GridWidget::inPlaceEditor() const
{
    return m_editor.data();
}

IInPlaceEditor* GridWidget::openInPlaceEditor(const InPlaceEditRequest& request)
{
    if (m_editor) {
        m_editor->detach();
        m_editor->deleteLater();
    }
    m_editor = new CInPlaceEdit(viewport(), *m_grid, request);
    return m_editor.data();
}

void GridWidget::showTitleTip(const TitleTipRequest& request)
{
    if (m_titleTip == nullptr)
        m_titleTip = new CTitleTip(viewport());
    m_titleTip->Show(request);
}

void GridWidget::hideTitleTip()
{
    if (m_titleTip != nullptr)
        m_titleTip->Hide();
}

bool GridWidget::setClipboardText(const std::string& text)
{
    QClipboard* board = QGuiApplication::clipboard();
    if (board == nullptr)
        return false;
    board->setText(QString::fromStdString(text));
    return true;
}

std::optional<std::string> GridWidget::clipboardText() const
{
    const QClipboard* board = QGuiApplication::clipboard();
    const QMimeData* data = board != nullptr ? board->mimeData() : nullptr;
    if (data == nullptr || !data->hasText())
        return std::nullopt;
    return data->text().toStdString();
}

void GridWidget::setDragLoop(DragLoop loop)
{
    dragLoop() = std::move(loop);
}

unsigned GridWidget::doDragDrop(const std::string& text)
{
    auto* data = new QMimeData;
    data->setText(QString::fromStdString(text));
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    const Qt::DropAction action =
        dragLoop() ? dragLoop()(*drag) : drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    drag->deleteLater();
    if (action == Qt::MoveAction)
        return dropeffect::Move;
    if (action == Qt::CopyAction)
        return dropeffect::Copy;
    return dropeffect::None;
}

// ---- mouse ------------------------------------------------------------------------------------

void GridWidget::mousePressEvent(QMouseEvent* event)
{
    hideTitleTip();
    m_lastMouse = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        m_grid->OnLButtonDown(modifiersOf(event->modifiers()), pointOf(m_lastMouse));
    event->accept();
}

void GridWidget::mouseMoveEvent(QMouseEvent* event)
{
    m_lastMouse = event->position().toPoint();
    if (m_titleTip != nullptr && m_titleTip->isVisible()) {
        const GridRect& hover = m_titleTip->hoverRect();
        if (m_lastMouse.x() < hover.left || m_lastMouse.x() >= hover.right || m_lastMouse.y() < hover.top
            || m_lastMouse.y() >= hover.bottom)
            m_titleTip->Hide();
    }
    m_grid->OnMouseMove(modifiersOf(event->modifiers()), pointOf(m_lastMouse));
    event->accept();
}

void GridWidget::mouseReleaseEvent(QMouseEvent* event)
{
    m_lastMouse = event->position().toPoint();
    const KeyModifiers modifiers = modifiersOf(event->modifiers());
    if (event->button() == Qt::LeftButton) {
        m_grid->OnLButtonUp(modifiers, pointOf(m_lastMouse));
        // Letting the mouse go reports where the pointer rests, so the cursor follows a border again.
        m_grid->OnMouseMove(modifiers, pointOf(m_lastMouse));
    } else if (event->button() == Qt::RightButton) {
        m_grid->OnRButtonUp(modifiers, pointOf(m_lastMouse));
        QMenu menu(this);
        fillContextMenu(menu);
        menu.exec(event->globalPosition().toPoint());
    }
    event->accept();
}

void GridWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    hideTitleTip();
    m_lastMouse = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        m_grid->OnLButtonDblClk(modifiersOf(event->modifiers()), pointOf(m_lastMouse));
    event->accept();
}

void GridWidget::wheelEvent(QWheelEvent* event)
{
    hideTitleTip();
    m_grid->OnMouseWheel(modifiersOf(event->modifiers()), event->angleDelta().y(), pointOf(event->position().toPoint()));
    event->accept();
}

void GridWidget::contextMenuEvent(QContextMenuEvent* event)
{
    // A right release shows the menu itself; here only the keyboard's menu key.
    if (event->reason() == QContextMenuEvent::Mouse) {
        event->accept();
        return;
    }
    QMenu menu(this);
    fillContextMenu(menu);
    menu.exec(event->globalPos());
}

void GridWidget::fillContextMenu(QMenu& menu)
{
    CGridCtrl& grid = *m_grid;
    const auto add = [&](int id, bool enabled, auto handler) {
        QAction* action = menu.addAction(menuText(id));
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, handler);
    };
    add(kIdsCut, grid.CanCut(), [this] { m_grid->OnEditCut(); });
    add(kIdsCopy, grid.CanCopy(), [this] { m_grid->OnEditCopy(); });
    add(kIdsPaste, grid.CanPaste(), [this] { m_grid->OnEditPaste(); });
    menu.addSeparator();
    add(kIdsSelectAll, grid.CanSelectAll(), [this] { m_grid->OnEditSelectAll(); });
    menu.addSeparator();
    add(kIdsPrint, grid.GetRowCount() > 0 && grid.GetColumnCount() > 0, [this] { printWithDialog(); });
}

void GridWidget::printWithDialog()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    printGrid(*m_grid, printer);
}

// ---- drops ------------------------------------------------------------------------------------

void GridWidget::dragEnterEvent(QDragEnterEvent* event)
{
    const unsigned effect = m_grid->OnDragEnter(event->mimeData()->hasText(), modifiersOf(event->modifiers()),
        pointOf(event->position().toPoint()));
    // The drag stays welcome over the grid; each move decides whether a drop may happen there.
    event->setDropAction(effect == dropeffect::Copy ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
}

void GridWidget::dragMoveEvent(QDragMoveEvent* event)
{
    const unsigned effect = m_grid->OnDragOver(event->mimeData()->hasText(), modifiersOf(event->modifiers()),
        pointOf(event->position().toPoint()));
    if (effect == dropeffect::None) {
        event->ignore();
        return;
    }
    event->setDropAction(effect == dropeffect::Copy ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
}

void GridWidget::dragLeaveEvent(QDragLeaveEvent* event)
{
    m_grid->OnDragLeave();
    event->accept();
}

void GridWidget::dropEvent(QDropEvent* event)
{
    const QMimeData* data = event->mimeData();
    std::optional<std::string> text;
    if (data != nullptr && data->hasText())
        text = data->text().toStdString();
    const bool copy = (event->modifiers() & Qt::ControlModifier) != 0;
    if (!m_grid->OnDrop(text, pointOf(event->position().toPoint()))) {
        event->ignore();
        return;
    }
    event->setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
}

} // namespace kzev
