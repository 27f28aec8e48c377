#include "view/PlanView.h"

namespace kzev {

void PlanView::holdLayout(bool held)
{
    m_layoutHeld = held;
    if (!held && m_invalidate)
        m_invalidate();
}

void PlanView::layOutForClient(IDrawSurface& surface, int clientWidth, int clientHeight)
{
    if (m_layoutHeld && m_totalWidth > 0 && m_totalHeight > 0) {
        // The layout the press saw stays until the release.
    } else if (m_layoutRequested || m_totalWidth <= 0 || m_totalHeight <= 0) {
        m_totalWidth = clientWidth;
        m_totalHeight = clientHeight;
        ComputePlanLayout(surface, m_roomIndex, 0, 0, clientWidth, clientHeight, 0, 0, 0);
        m_layoutRequested = false;
    } else {
        ComputePlanLayout(surface, m_roomIndex, 0, 0, m_totalWidth, m_totalHeight, 0, 0, 0);
    }
}

void PlanView::zoomIn(ScrollSize client)
{
    setTotalSize(PlanZoom::zoomIn(totalSize(), client));
}

void PlanView::zoomOut(ScrollSize client)
{
    setTotalSize(PlanZoom::zoomOut(totalSize(), client));
}

void PlanView::zoomFit(ScrollSize client)
{
    setTotalSize(PlanZoom::fit(client));
}

std::optional<DevicePoint> PlanView::zoomByWheel(ScrollSize client, int delta, DevicePoint scroll, DevicePoint mouse)
{
    const WheelZoom zoom = PlanZoom::wheel(totalSize(), client, delta, scroll, mouse);
    setTotalSize(zoom.total);
    return zoom.scrollTo;
}

bool PlanView::clientResized(ScrollSize client)
{
    // The client has its new size already, so the fit is judged against the size the plan last had.
    const bool fitted = totalSize() == m_fittedClient;
    if (fitted)
        setTotalSize(client);
    m_fittedClient = client;
    return fitted;
}

} // namespace kzev
