// The plan as the printed report draws it: on a page in tenths of a
// millimetre, at the room's print scale, without the screen's summary line.

#include "view/PlanView.h"

#include "model/CKzevDoc.h"

#include <algorithm>
#include <cmath>

namespace kzev {

int roundScaleAtLeast(double scale)
{
    if (!std::isfinite(scale) || scale <= 1.0)
        return 1;
    for (double decade = 1.0; decade < 1e9; decade *= 10.0) {
        for (const double step : { 1.0, 2.0, 2.5, 5.0 }) {
            const double candidate = step * decade;
            // 2.5 counts from 25 up: a scale is a whole number.
            if (candidate == std::floor(candidate) && candidate >= scale - 1e-9)
                return static_cast<int>(candidate);
        }
    }
    return 1000000000;
}

PageFraming PlanView::pagePlanFraming(int roomIndex, int area, int width, int height) const
{
    PageFraming framing;
    if (!m_document || roomIndex < 0 || static_cast<std::size_t>(roomIndex) >= m_document->m_rooms.size())
        return framing;
    const CRoom& target = m_document->m_rooms[static_cast<std::size_t>(roomIndex)];
    framing.scale = std::max(target.m_printScale, 0);
    const CViewSettings* settings = viewSettings();
    if (!settings)
        settings = &target.m_viewSettings;
    if (area < 0 || static_cast<std::size_t>(area) >= target.m_workSystems.size() || width <= 0
        || height <= 0)
        return framing;
    const int code = settings->m_viewCode;
    if (code > ViewCode::Ceiling && code <= ViewCode::Ceiling + 4)
        return framing; // a wall's plan keeps the room's frame
    const CWorkSystem& field = target.m_workSystems[static_cast<std::size_t>(area)];
    if (field.m_count1 <= 0 || field.m_count2 <= 0)
        return framing;
    ViewProjection scene;
    scene.computeSceneExtents(&target);
    std::array<double, 3> low { 1e300, 1e300, 1e300 };
    std::array<double, 3> high { -1e300, -1e300, -1e300 };
    for (const int i : { 0, field.m_count1 - 1 }) {
        for (const int j : { 0, field.m_count2 - 1 }) {
            const CVector p = field.m_origin + static_cast<double>(i) * field.m_step1 + static_cast<double>(j) * field.m_step2;
            const std::array<double, 3> c { p.x, p.y, p.z };
            for (std::size_t k = 0; k < 3; ++k) {
                low[k] = std::min(low[k], c[k]);
                high[k] = std::max(high[k], c[k]);
            }
        }
    }
    const std::array<double, 3>& sceneLow = scene.sceneMinimum();
    const std::array<double, 3>& sceneHigh = scene.sceneMaximum();
    const double areaWidth = high[0] - low[0];
    const double areaDepth = high[1] - low[1];
    if (!std::isfinite(areaWidth) || !std::isfinite(areaDepth)
        || (areaWidth >= 0.5 * (sceneHigh[0] - sceneLow[0]) && areaDepth >= 0.5 * (sceneHigh[1] - sceneLow[1])))
        return framing;
    // The area with what stands around it: a tenth of its size, a metre at least, within the scene.
    const double margin = std::max(1.0, 0.1 * std::max(areaWidth, areaDepth));
    framing.ownExtent = true;
    framing.minimum = sceneLow;
    framing.maximum = sceneHigh;
    for (std::size_t k = 0; k < 2; ++k) {
        framing.minimum[k] = std::max(sceneLow[k], low[k] - margin);
        framing.maximum[k] = std::min(sceneHigh[k], high[k] + margin);
    }
    // 1:n puts 10000 / n tenths of a millimetre on a metre.
    const double needed = std::max((framing.maximum[0] - framing.minimum[0]) * 10000.0 / width,
        (framing.maximum[1] - framing.minimum[1]) * 10000.0 / height);
    if (target.m_printScale < needed)
        framing.scale = roundScaleAtLeast(needed);
    return framing;
}

void PlanView::drawPagePlan(IDrawSurface& surface, int roomIndex, int mode, int area, int paperWidth,
    int paperHeight, int depth, const PageFraming& framing)
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
    if (framing.ownExtent) {
        m_projection.setSceneExtents(framing.minimum, framing.maximum);
        m_pageScale = framing.scale;
    }
    ComputePlanLayout(surface, roomIndex, 0, 0, paperWidth, paperHeight, 1, depth, 0);
    m_pageScale = 0;
    // Only the framed part is drawn: what lies beyond it stays off the page.
    if (framing.ownExtent) {
        const PlanRect& plan = m_projection.planRect();
        surface.clipTo(plan.left, plan.top, plan.right, plan.bottom);
    }

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
    if (framing.ownExtent)
        surface.clearClip();
    m_treeSelection = tree;
    m_roomIndex = shownRoom;
    m_roomSize = shownSize;
}

} // namespace kzev
