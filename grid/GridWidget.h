#pragma once

#include "grid/CGridCtrl.h"
#include "grid/IGridWindow.h"
#include "grid/QtTextMeasure.h"

#include <QAbstractScrollArea>

#include <memory>

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

    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool next) override;
    bool viewportEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void init();
    void onScrollAction(Qt::Orientation orientation, int action);
    void onScrollValue(Qt::Orientation orientation, int value);

    std::unique_ptr<CGridCtrl> m_grid;
    QtTextMeasure m_measure;
    bool m_syncing = false;
    bool m_inResize = false;
};

} // namespace kzev
