#pragma once

#include "grid/GridTypes.h"

namespace kzev {

class ITextMeasure;

/**
 * The window that shows a grid, as the grid's logic sees it: its client size, its
 * scroll bars and its invalidation. The widget implements it; tests use a fake.
 */
class IGridWindow {
public:
    virtual ~IGridWindow() = default;
    /** Returns the client area (without the scroll bars shown). */
    [[nodiscard]] virtual GridSize clientSize() const = 0;
    /** Returns the width of a vertical scroll bar and the height of a horizontal one. */
    [[nodiscard]] virtual int scrollBarExtent() const = 0;
    /** Shows or hides the scroll bars. */
    virtual void showScrollBars(bool horizontal, bool vertical) = 0;
    /** Takes over the grid's scroll ranges, pages and positions. */
    virtual void syncScrollBars() = 0;
    /** Marks a client rectangle for repainting. */
    virtual void invalidateRect(const GridRect& rect) = 0;
    /** Marks the whole client area for repainting. */
    virtual void invalidateAll() = 0;
    /** Returns the measure of the window's device, null when none can be had. */
    [[nodiscard]] virtual const ITextMeasure* textMeasure() const = 0;
};

} // namespace kzev
