#pragma once

namespace kzev {

/**
 * The frame of a printed page in tenths of a millimetre, x to the right from
 * the paper's left edge, y negative downwards from its top edge.
 */
struct PageFrame {
    int paperWidth = 0;
    int paperHeight = 0;
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
    int centreX = 0;
    int tab1 = 0;
    int tab2 = 0;
};

/** Returns the frame of paper of the given size (0.1 mm) with margins in whole millimetres. */
[[nodiscard]] PageFrame pageFrame(int paperWidth, int paperHeight, int leftMm, int topMm, int rightMm, int bottomMm);

/**
 * The running state of one pass over the report: the baseline, the page
 * counter and whether what is laid out now is really drawn (only on the
 * requested page of a printing pass).
 */
class PageFlow {
public:
    PageFlow(const PageFrame& frame, int requestedPage, bool counting, int lineHeight);

    [[nodiscard]] int y() const { return m_y; }
    void setY(int y) { m_y = y; }
    void down(int units) { m_y -= units; }
    void downLines(int lines) { m_y -= lines * m_line; }
    [[nodiscard]] int page() const { return m_page; }
    [[nodiscard]] int line() const { return m_line; }
    [[nodiscard]] bool drawing() const { return m_drawing; }
    [[nodiscard]] const PageFrame& frame() const { return m_frame; }

    /** Starts the next page with y on the given line. */
    void newPage(int y);
    /**
     * Passes over what ends on the given page without laying it out again:
     * the page counter becomes that page (never less than it is).
     */
    void skipTo(int page);
    /** Starts the next page below the page header when fewer than the lines are left; true when it did. */
    bool ensureRoom(int lines);

private:
    void recompute() { m_drawing = !m_counting && m_page == m_requested; }

    PageFrame m_frame;
    int m_requested;
    bool m_counting;
    int m_line;
    int m_y;
    int m_page = 0;
    bool m_drawing = false;
};

} // namespace kzev
