#include "print/PageFlow.h"

#include <algorithm>

namespace kzev {

PageFrame pageFrame(int paperWidth, int paperHeight, int leftMm, int topMm, int rightMm, int bottomMm)
{
    PageFrame frame;
    frame.paperWidth = paperWidth;
    frame.paperHeight = paperHeight;
    frame.left = 10 * leftMm;
    frame.right = paperWidth - 10 * rightMm;
    frame.top = -10 * topMm;
    frame.bottom = 10 * bottomMm - paperHeight;
    frame.centreX = frame.left + (frame.right - frame.left) / 2;
    const int w = frame.right - frame.left - 650;
    frame.tab1 = frame.left + w / 3 + 500;
    frame.tab2 = frame.left + 2 * w / 3 + 500;
    return frame;
}

PageFlow::PageFlow(const PageFrame& frame, int requestedPage, bool counting, int lineHeight)
    : m_frame(frame)
    , m_requested(requestedPage)
    , m_counting(counting)
    , m_line(std::max(lineHeight, 1))
    , m_y(frame.top)
{
    recompute();
}

void PageFlow::newPage(int y)
{
    ++m_page;
    m_y = y;
    recompute();
}

void PageFlow::skipTo(int page)
{
    m_page = std::max(m_page, page);
    recompute();
}

bool PageFlow::ensureRoom(int lines)
{
    if (m_y - lines * m_line > m_frame.bottom)
        return false;
    newPage(m_frame.top - 3 * m_line);
    return true;
}

} // namespace kzev
