#include "view/PlanView.h"

namespace kzev {

double PlanView::DepthInView(const CVector& point) const
{
    const auto& minimum = m_projection.sceneMinimum();
    const auto& maximum = m_projection.sceneMaximum();
    switch (m_projection.viewCode()) {
    case ViewCode::Floor: return (maximum[2] - minimum[2]) - point.z;
    case ViewCode::Ceiling: return point.z;
    case ViewCode::Wall1: return (maximum[1] - minimum[1]) - point.y;
    case ViewCode::Wall2: return point.x;
    case ViewCode::Wall3: return point.y;
    case ViewCode::Wall4: return (maximum[0] - minimum[0]) - point.x;
    default: return 0.0;
    }
}

CVector PlanView::ScreenToRoom(int x, int y, double depth) const
{
    const auto& minimum = m_projection.sceneMinimum();
    const auto& maximum = m_projection.sceneMaximum();
    // The depth back to the coordinate along the view direction; other codes are drawn as the floor view.
    double along = (maximum[2] - minimum[2]) - depth;
    switch (m_projection.viewCode()) {
    case ViewCode::Ceiling: along = depth; break;
    case ViewCode::Wall1: along = (maximum[1] - minimum[1]) - depth; break;
    case ViewCode::Wall2: along = depth; break;
    case ViewCode::Wall3: along = depth; break;
    case ViewCode::Wall4: along = (maximum[0] - minimum[0]) - depth; break;
    default: break;
    }
    const std::array<double, 3> p = m_projection.unproject(x, y, along);
    return { p[0], p[1], p[2] };
}

} // namespace kzev
