#include "grid/GridWidget.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

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

} // namespace

GridWidget::GridWidget(QWidget* parent) : GridWidget(std::make_unique<CGridCtrl>(), parent) {}

GridWidget::GridWidget(std::unique_ptr<CGridCtrl> grid, QWidget* parent)
    : QAbstractScrollArea(parent), m_grid(std::move(grid))
{
    init();
}

GridWidget::~GridWidget()
{
    m_grid->AttachWindow(nullptr);
}

void GridWidget::init()
{
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
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

} // namespace kzev
