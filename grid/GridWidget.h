#pragma once

#include "grid/CGridCtrl.h"
#include "grid/IGridWindow.h"
#include "grid/QtTextMeasure.h"

#include <QAbstractScrollArea>
#include <QPointer>

#include <functional>
#include <memory>

class CInPlaceEdit;
class QDrag;
class CTitleTip;
class QMenu;

namespace kzev {

/**
 * The window of a grid: paints it, mirrors its scroll bars and hands keys, scrolling
 * and size changes to it. The grid's logic stays in CGridCtrl.
 */
class GridWidget : public QAbstractScrollArea, public IGridWindow {
    Q_OBJECT
public:
    /** Shows a grid of its own. */
    explicit GridWidget(QWidget* parent = nullptr);
    /** Shows the given grid (for grids of a derived class). */
    explicit GridWidget(std::unique_ptr<CGridCtrl> grid, QWidget* parent = nullptr);
    ~GridWidget() override;

    [[nodiscard]] CGridCtrl& grid() { return *m_grid; }
    [[nodiscard]] const CGridCtrl& grid() const { return *m_grid; }

    // IGridWindow
    [[nodiscard]] GridSize clientSize() const override;
    [[nodiscard]] int scrollBarExtent() const override;
    void showScrollBars(bool horizontal, bool vertical) override;
    void syncScrollBars() override;
    void invalidateRect(const GridRect& rect) override;
    void invalidateAll() override;
    [[nodiscard]] const ITextMeasure* textMeasure() const override { return &m_measure; }
    void takeFocus() override;
    void setCursorShape(GridCursor cursor) override;
    unsigned startTimer(unsigned id, int interval) override;
    void killTimer(unsigned id) override;
    void postCommand() override;
    [[nodiscard]] std::string ownerTitle() const override;
    IInPlaceEditor* openInPlaceEditor(const InPlaceEditRequest& request) override;
    void showTitleTip(const TitleTipRequest& request) override;
    void hideTitleTip() override;
    bool setClipboardText(const std::string& text) override;
    [[nodiscard]] std::optional<std::string> clipboardText() const override;
    unsigned doDragDrop(const std::string& text) override;

    /** The open in-place editor, null when none. */
    [[nodiscard]] CInPlaceEdit* inPlaceEditor() const;
    /** The title tip window, null until it was first needed. */
    [[nodiscard]] CTitleTip* titleTip() const { return m_titleTip; }
    /** Fills the grid's context menu with its edit commands and printing, enabled by their update handlers. */
    void fillContextMenu(QMenu& menu);
    /** Asks for a printer (or a PDF file) and prints the grid. */
    void printWithDialog();

    /** Runs a drag and returns what the drop did; by default the desktop's own loop. */
    using DragLoop = std::function<Qt::DropAction(QDrag&)>;
    /** Replaces the desktop's drag loop (empty restores it), for a window system that has none. */
    static void setDragLoop(DragLoop loop);

    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool next) override;
    bool viewportEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

signals:
    /** A left release on a cell (posted after the release, as the grid's command to its owner). */
    void cellCommand();

private:
    void init();
    void onScrollAction(Qt::Orientation orientation, int action);
    void onScrollValue(Qt::Orientation orientation, int value);

    std::unique_ptr<CGridCtrl> m_grid;
    QtTextMeasure m_measure;
    bool m_syncing = false;
    bool m_inResize = false;
    QPointer<CInPlaceEdit> m_editor;
    CTitleTip* m_titleTip = nullptr;
    int m_timerId = 0;
    QPoint m_lastMouse; ///< the pointer's last place in viewport coordinates, outside it too
};

} // namespace kzev
