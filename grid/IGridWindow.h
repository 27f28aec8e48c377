#pragma once

#include "grid/GridTypes.h"

#include <optional>
#include <string>

namespace kzev {

class IInPlaceEditor;
class ITextMeasure;
struct InPlaceEditRequest;

/**
 * The window that shows a grid, as the grid's logic sees it: its client size, its
 * scroll bars and its invalidation, and the pieces of the desktop it reaches through
 * the window (pointer, timer, clipboard, drag and drop, editor and tip windows). The
 * widget implements it; tests use a fake, which may leave the desktop pieces out.
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

    /** Takes the keyboard focus. */
    virtual void takeFocus() {}
    /** Shows the cursor shape over the window. */
    virtual void setCursorShape(GridCursor) {}
    /** Starts a repeating timer whose ticks reach the grid's OnTimer; returns its id, 0 when none. */
    virtual unsigned startTimer(unsigned, int) { return 0; }
    virtual void killTimer(unsigned) {}
    /** Tells the owner that a left release happened on a cell (after the event, not within it). */
    virtual void postCommand() {}
    /** The text of the window that holds the grid (the first ancestor with one). */
    [[nodiscard]] virtual std::string ownerTitle() const { return {}; }

    /** Opens an in-place editor over a cell; null when the window cannot edit. */
    virtual IInPlaceEditor* openInPlaceEditor(const InPlaceEditRequest&) { return nullptr; }
    /** Shows the title tip when its text does not fit; hides it. */
    virtual void showTitleTip(const TitleTipRequest&) {}
    virtual void hideTitleTip() {}

    /** Puts text on the system clipboard; FALSE when it cannot be had. */
    virtual bool setClipboardText(const std::string&) { return false; }
    /** Returns the clipboard's plain text, none when it holds no text. */
    [[nodiscard]] virtual std::optional<std::string> clipboardText() const { return std::nullopt; }
    /** Drags the text out with copy and move allowed; returns the effect of the drop. */
    virtual unsigned doDragDrop(const std::string&) { return dropeffect::None; }
};

} // namespace kzev
