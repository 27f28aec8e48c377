// The plan as the printed report draws it: on a page in tenths of a
// millimetre, at the room's print scale, without the screen's summary line.

#include "view/PlanView.h"

#include "model/CKzevDoc.h"

namespace kzev {

void PlanView::drawPagePlan(IDrawSurface& surface, int roomIndex, int mode, int area, int paperWidth,
    int paperHeight, int depth)
{
    if (!m_document || roomIndex < 0 || static_cast<std::size_t>(roomIndex) >= m_document->m_rooms.size())
        return;
    const CViewSettings* settings = viewSettings();
    if (!settings)
        return;
    // The printed plan marks no object as selected; the tree's room and selection come back afterwards.
    const int shownRoom = m_roomIndex;
    const std::array<double, 3> shownSize = m_roomSize;
    m_roomIndex = roomIndex;
    const CRoom& current = *room();
    const TreeSelection tree = m_treeSelection;
    m_treeSelection = {};
    m_drawingSelection = { -1, area, -1 };
    m_roomSize = { current.m_length, current.m_width, current.m_height };
    m_outputScale = 1.0;
    m_pageOutput = true;
    surface.selectBrush(std::nullopt);
    ComputeSceneExtents();
    ComputePlanLayout(surface, roomIndex, 0, 0, paperWidth, paperHeight, 1, depth, 0);

    const bool calculated = current.m_surfacesUpToDate == 1;
    const bool results = current.m_resultsValid == 1;
    auto on = [](std::int32_t flag) { return flag == 1; };
    if (m_results && calculated && results && on(settings->m_fillSurfaces))
        m_results->drawSurfaceFill(*this, surface, mode);
    if (m_results && calculated && results && on(settings->m_surfaceLabels))
        m_results->drawSurfaceValues(*this, surface, mode);
    if (on(settings->m_drawRoom)) {
        surface.selectPen(scaled(slotPen(0)));
        DrawRoomBox(surface);
    }
    if (on(settings->m_luminaires)) {
        DrawLuminaires(surface, 1, mode);
        if (on(settings->m_luminaireCoordinates))
            DrawLengthTexts(surface);
    }
    if (on(settings->m_drawPoints))
        DrawWorkSystems(surface, mode);
    if (on(settings->m_drawObstacles))
        DrawObstacleSystems(surface);
    if (results) {
        if (m_results && on(settings->m_pointLabels))
            m_results->drawPointValues(*this, surface, mode);
        if (on(settings->m_relief))
            DrawValueRelief(surface, mode);
        if (m_results && on(settings->m_isolines))
            m_results->drawIsolines(*this, surface, mode);
        if (on(settings->m_glareMarks))
            DrawGlareMarks(surface, 1);
    }
    m_treeSelection = tree;
    m_roomIndex = shownRoom;
    m_roomSize = shownSize;
}

} // namespace kzev
