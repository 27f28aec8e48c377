#include "view/PlanView.h"

#include "model/CKzevDoc.h"
#include "platform/AngleConstants.h"
#include "model/ResultValues.h"
#include "platform/Services.h"
#include "view/WorkSystemValues.h"

#include <cmath>

namespace kzev {

PlanView::PlanView() = default;

std::string FormatValueByMagnitude(double value)
{
    return FormatAdaptive(value);
}

// ---- Lifecycle ---------------------------------------------------------------

CRoom* PlanView::room() const
{
    if (!m_document || m_roomIndex < 0 || static_cast<std::size_t>(m_roomIndex) >= m_document->m_rooms.size())
        return nullptr;
    return &m_document->m_rooms[static_cast<std::size_t>(m_roomIndex)];
}

CViewSettings* PlanView::viewSettings() const
{
    if (m_settingsOverride)
        return m_settingsOverride;
    CRoom* current = room();
    return current ? &current->CurrentViewSettings() : nullptr;
}

int PlanView::currentMode() const
{
    const CRoom* current = room();
    if (!current)
        return 0;
    const int mode = current->m_currentMode;
    return mode >= 0 && static_cast<std::size_t>(mode) < current->m_modes.size() ? mode : 0;
}

int PlanView::SelectRoomFromTree()
{
    const std::optional<int> selected = services().view->selectedRoom();
    if (!selected)
        return 0;
    if (!m_document || *selected < 0 || static_cast<std::size_t>(*selected) >= m_document->m_rooms.size())
        return 0;
    // The tree sets the selected objects itself whenever its selection changes.
    m_roomIndex = *selected;
    const CRoom& current = *room();
    m_roomSize = { current.m_length, current.m_width, current.m_height };
    return 1;
}

void PlanView::RefreshView(int /*resetProjection*/, int /*resetCamera*/)
{
    if (SelectRoomFromTree() == 0)
        return;
    // The 3-D projection, camera and display list join here once the 3-D view exists.
    ComputeSceneExtents();
    if (m_invalidate)
        m_invalidate();
}

void PlanView::setViewDirection(int viewCode)
{
    SelectRoomFromTree();
    CViewSettings* settings = viewSettings();
    if (!settings)
        return;
    settings->m_viewCode = viewCode;
    RefreshView(1, 1);
}

void PlanView::setEditedObjects(CLampSystem* lampSystem, CWorkSystem* area, CXSystem* obstacles)
{
    m_editedLampSystem = lampSystem;
    m_editedArea = area;
    m_editedObstacles = obstacles;
}

void PlanView::setAimingLine(const CVector& from, const CVector& to, bool shown)
{
    m_aimingPoints = { from, to };
    m_aimingShown = shown;
}

void PlanView::setSelectionRect(bool shown, int left, int top, int right, int bottom)
{
    m_selectionShown = shown;
    m_selectionRect = { left, top, right, bottom };
}

void PlanView::drawPlan(IDrawSurface& surface, int clientWidth, int clientHeight)
{
    m_fittedClient = { clientWidth, clientHeight };
    m_outputScale = 1.0;
    if (SelectRoomFromTree() == 0)
        return;
    CRoom& current = *room();
    const CViewSettings* settings = viewSettings();
    if (!settings)
        return;

    ComputeSceneExtents();
    m_roomSize = { current.m_length, current.m_width, current.m_height };
    m_drawingSelection = m_treeSelection;
    surface.selectBrush(std::nullopt);

    layOutForClient(surface, clientWidth, clientHeight);

    m_displayMode = 1;
    const int mode = currentMode();
    const bool calculated = current.m_surfacesUpToDate == 1;
    const bool results = current.m_resultsValid == 1;
    auto on = [](std::int32_t flag) { return flag == 1; };

    if (m_results && calculated && on(settings->m_fillSurfaces))
        m_results->drawSurfaceFill(*this, surface, mode);
    if (m_results && calculated && on(settings->m_surfaceLabels))
        m_results->drawSurfaceValues(*this, surface, mode);
    if (on(settings->m_drawRoom)) {
        surface.selectPen(scaled(slotPen(0)));
        DrawRoomBox(surface);
    }
    if (on(settings->m_drawObstacles))
        DrawObstacleSystems(surface);
    if (on(settings->m_drawPoints))
        DrawWorkSystems(surface, mode);
    if (m_results && results && on(settings->m_pointLabels))
        m_results->drawPointValues(*this, surface, mode);
    if (results && on(settings->m_relief))
        DrawValueRelief(surface, mode);
    if (m_results && results && on(settings->m_isolines))
        m_results->drawIsolines(*this, surface, mode);
    if (results && on(settings->m_glareMarks))
        DrawGlareMarks(surface, 0);
    if (m_results && results)
        m_results->drawResultSummary(*this, surface, mode);
    if (on(settings->m_luminaires)) {
        DrawLuminaires(surface, 1, mode);
        if (on(settings->m_luminaireCoordinates))
            DrawLengthTexts(surface);
        if (m_aimingShown) {
            surface.selectPen(scaled(slotPen(1)));
            WorldMoveTo(surface, m_aimingPoints[0].x, m_aimingPoints[0].y, m_aimingPoints[0].z);
            WorldLineTo(surface, m_aimingPoints[1].x, m_aimingPoints[1].y, m_aimingPoints[1].z);
        }
    }
    if (on(settings->m_luminaireAxes))
        DrawLuminaireAxes(surface);

    if (m_selectionShown) {
        surface.frameRect(m_selectionRect[0], m_selectionRect[1], m_selectionRect[2], m_selectionRect[3],
            rgb(4, 0, 0));
    }
}

// ---- Projection ----------------------------------------------------------------

void PlanView::ComputeSceneExtents()
{
    // A drag maps the cursor through the layout it started with; extents that grew under it would move the object away.
    if (m_layoutHeld)
        return;
    syncProjection();
    m_projection.computeSceneExtents(room());
}

void PlanView::syncProjection()
{
    if (const CViewSettings* settings = viewSettings()) {
        m_projection.setViewCode(settings->m_viewCode);
        m_projection.setDepthEffect(settings->m_draw3D == 1);
        m_projection.setVanishingFractions(settings->m_displayValue5, settings->m_displayValue6);
    }
}

void PlanView::ComputePlanLayout(IDrawSurface& surface, int roomIndex, int left, int top, int right, int bottom,
    int print, int topOffset, int gap)
{
    syncProjection();
    LayoutInput input;
    input.left = left;
    input.top = top;
    input.right = right;
    input.bottom = bottom;
    input.print = print == 1;
    input.topOffset = topOffset;
    input.gap = gap;
    input.textHeight = surface.textExtent("Áj").cy;
    input.outputScale = m_outputScale;
    input.centre = print == 0;
    if (m_document && roomIndex >= 0 && static_cast<std::size_t>(roomIndex) < m_document->m_rooms.size()) {
        const CRoom& target = m_document->m_rooms[static_cast<std::size_t>(roomIndex)];
        input.zoom = target.m_roomValue5;
        input.printScale = m_pageScale > 0 ? m_pageScale : target.m_printScale;
    }
    if (m_document) {
        input.marginLeft = m_document->m_leftMargin;
        input.marginRight = m_document->m_rightMargin;
        input.marginBottom = m_document->m_bottomMargin;
    }
    m_projection.computePlanLayout(input);
}

void PlanView::ProjectPoint(double x, double y, double z, int& px, int& py) const
{
    const DevicePoint p = m_projection.project(x, y, z);
    px = p.x;
    py = p.y;
}

void PlanView::WorldMoveTo(IDrawSurface& surface, double x, double y, double z) const
{
    const DevicePoint p = m_projection.project(x, y, z);
    surface.moveTo(p.x, p.y);
}

void PlanView::WorldLineTo(IDrawSurface& surface, double x, double y, double z) const
{
    const DevicePoint p = m_projection.project(x, y, z);
    surface.lineTo(p.x, p.y);
}

Pen PlanView::slotPen(int slot) const
{
    return PlanPens::kFixed[static_cast<std::size_t>(std::clamp(slot, 0, 5))];
}

Pen PlanView::scaled(Pen pen) const
{
    if (pen.width > 0)
        pen.width = ScaleSize(pen.width);
    return pen;
}

// ---- Room box and obstacles ------------------------------------------------------

void PlanView::DrawRoomBox(IDrawSurface& surface) const
{
    const CRoom* current = room();
    if (!current)
        return;
    const double l = current->m_length;
    const double w = current->m_width;
    const double h = current->m_height;
    for (const double z : { 0.0, h }) {
        WorldMoveTo(surface, 0.0, 0.0, z);
        WorldLineTo(surface, l, 0.0, z);
        WorldLineTo(surface, l, w, z);
        WorldLineTo(surface, 0.0, w, z);
        WorldLineTo(surface, 0.0, 0.0, z);
    }
    for (const auto& [x, y] : { std::pair { 0.0, 0.0 }, std::pair { l, 0.0 }, std::pair { l, w }, std::pair { 0.0, w } }) {
        WorldMoveTo(surface, x, y, 0.0);
        WorldLineTo(surface, x, y, h);
    }
}

namespace {

// The obstacle model keeps the two drawing styles in flags of its own: the
// lattice of a raster, and the dashed outline.
bool isLattice(const CXSystem& obstacles)
{
    return obstacles.m_extra1 == 1;
}

bool isDashed(const CXSystem& obstacles)
{
    return obstacles.m_drawingFlag == 1;
}

void line(const PlanView& plan, IDrawSurface& surface, const CVector& from, const CVector& to)
{
    plan.WorldMoveTo(surface, from.x, from.y, from.z);
    plan.WorldLineTo(surface, to.x, to.y, to.z);
}

} // namespace

void PlanView::DrawObstacleBox(IDrawSurface& surface, const CXSystem& obstacles, const CVector& p) const
{
    const CVector& a = obstacles.m_edgeA;
    const CVector& b = obstacles.m_edgeB;
    const CVector& c = obstacles.m_edgeC;
    for (const CVector& base : { p, p + c }) {
        WorldMoveTo(surface, base.x, base.y, base.z);
        for (const CVector& corner : { base + a, base + a + b, base + b, base })
            WorldLineTo(surface, corner.x, corner.y, corner.z);
    }
    for (const CVector& corner : { p, p + a, p + a + b, p + b })
        line(*this, surface, corner, corner + c);
}

void PlanView::DrawObstacleSystems(IDrawSurface& surface) const
{
    const CRoom* current = room();
    if (!current)
        return;
    for (std::size_t k = 0; k < current->m_obstacleSystems.size(); ++k) {
        const int index = static_cast<int>(k);
        const CXSystem* source = &current->m_obstacleSystems[k];
        int slot = 0;
        if (index == m_drawingSelection.obstacle && m_editedObstacles) {
            source = m_editedObstacles;
            slot = isDashed(*source) ? 3 : 1;
        } else if (isDashed(*source)) {
            slot = index == m_treeSelection.obstacle ? 3 : 2;
        } else {
            slot = index == m_treeSelection.obstacle ? 1 : 0;
        }
        const CXSystem& obstacles = *source;
        if (obstacles.m_off == 1 || !obstacles.IsWithinLimits())
            continue;
        surface.selectPen(scaled(slotPen(slot)));
        auto at = [&obstacles](std::int32_t i, std::int32_t j) {
            return obstacles.m_origin + static_cast<double>(i) * obstacles.m_spacing1
                + static_cast<double>(j) * obstacles.m_spacing2;
        };
        if (isLattice(obstacles)) {
            for (std::int32_t i = 0; i < obstacles.m_count1; ++i) {
                for (std::int32_t j = 0; j <= obstacles.m_count2; ++j)
                    line(*this, surface, at(i, j), at(i, j) + obstacles.m_spacing1);
            }
            for (std::int32_t i = 0; i <= obstacles.m_count1; ++i) {
                for (std::int32_t j = 0; j < obstacles.m_count2; ++j)
                    line(*this, surface, at(i, j), at(i, j) + obstacles.m_spacing2);
            }
            continue;
        }
        for (std::int32_t i = 0; i < obstacles.m_count1; ++i) {
            for (std::int32_t j = 0; j < obstacles.m_count2; ++j)
                DrawObstacleBox(surface, obstacles, at(i, j));
        }
    }
}

// ---- Visual-task areas ---------------------------------------------------------

int PlanView::IsWorkSystemShown(const CWorkSystem& area) const
{
    const std::int32_t code = area.m_quantityCode;
    const bool special = code == 89 || code == 141 || code == 161;
    switch (m_displayMode) {
    case 1: {
        const CViewSettings* settings = viewSettings();
        if (!settings)
            return 0;
        if (code == 89)
            return settings->m_showUgr == 1 ? 1 : 0;
        if (code == 141)
            return settings->m_showRoadLuminance == 1 ? 1 : 0;
        if (code == 161)
            return settings->m_showGr == 1 ? 1 : 0;
        return settings->m_showIlluminance == 1 ? 1 : 0;
    }
    case 2: return special ? 0 : 1;
    case 3: return code == 89 ? 1 : 0;
    case 4: return code == 141 ? 1 : 0;
    case 5: return code == 161 ? 1 : 0;
    default: return 1;
    }
}

const CWorkSystem& PlanView::areaSource(std::size_t k, int& slot) const
{
    const CRoom& current = *room();
    const int index = static_cast<int>(k);
    if (index == m_drawingSelection.area && m_editedArea) {
        slot = 1;
        return *m_editedArea;
    }
    slot = index == m_treeSelection.area ? 1 : 0;
    return current.m_workSystems[k];
}

bool PlanView::areaPassesRoomFilter(std::size_t k, const CWorkSystem& area, int mode) const
{
    const CRoom& current = *room();
    if (current.m_viewSettings.m_allAreas != 1)
        return static_cast<int>(k) == m_drawingSelection.area;
    if (current.m_modes.size() > 1)
        return area.m_modeIndex == mode;
    return area.m_excluded != 1;
}

void PlanView::drawCross(IDrawSurface& surface, const CVector& point, int length) const
{
    const DevicePoint p = m_projection.project(point.x, point.y, point.z);
    for (const DevicePoint d : { DevicePoint { 0, -length }, DevicePoint { 0, length }, DevicePoint { -length, 0 },
             DevicePoint { length, 0 } }) {
        surface.moveTo(p.x, p.y);
        LineToRelative(surface, d.x, d.y);
    }
}

namespace {

// The view's own flag of the area: whether points hidden by obstacles are left out of the plan.
bool omitsExcludedPoints(const CWorkSystem& area)
{
    return area.m_extra1 == 1;
}

} // namespace

void PlanView::DrawWorkSystems(IDrawSurface& surface, int mode) const
{
    const CRoom* current = room();
    if (!current)
        return;
    for (std::size_t k = 0; k < current->m_workSystems.size(); ++k) {
        int slot = 0;
        const CWorkSystem& area = areaSource(k, slot);
        if (IsWorkSystemShown(area) == 0 || !areaPassesRoomFilter(k, area, mode))
            continue;
        const Pen pen = scaled(slotPen(slot));
        surface.selectPen(pen);
        if (area.m_quantityCode == 160 || area.m_quantityCode == 141) {
            const DevicePoint p = m_projection.project(area.m_cameraPosition.x, area.m_cameraPosition.y,
                area.m_cameraPosition.z);
            const int s3 = ScaleSize(3);
            surface.ellipse(p.x - s3, p.y + s3, p.x + s3, p.y - s3);
            drawCross(surface, area.m_cameraPosition, ScaleSize(5));
        }
        const int length = ScaleSize(2);
        if (!area.HasUsableGrid())
            continue;
        for (std::int32_t i = 0; i < area.m_count1; ++i) {
            for (std::int32_t j = 0; j < area.m_count2; ++j) {
                const std::size_t index = static_cast<std::size_t>(i) * static_cast<std::size_t>(area.m_count2)
                    + static_cast<std::size_t>(j);
                // A point array shorter than the grid leaves the missing points unmarked as excluded.
                const bool excluded = index < area.m_points.size() && area.m_points[index].m_off == 1;
                if (excluded && omitsExcludedPoints(area))
                    continue;
                surface.selectPen(excluded ? scaled(PlanPens::kSwitchedOff) : pen);
                drawCross(surface, area.PointPosition(i, j), length);
            }
        }
    }
}

// ---- Glare marks and relief ---------------------------------------------------

namespace {

int nearest(double value)
{
    if (!std::isfinite(value))
        return 0;
    return static_cast<int>(value < 0.0 ? value - 0.5 : value + 0.5);
}

} // namespace

void PlanView::DrawGlareMarks(IDrawSurface& surface, int print) const
{
    const CRoom* current = room();
    const CViewSettings* settings = viewSettings();
    if (!current || !settings || settings->m_glareMarks < 1)
        return;
    const bool paper = print == 1;
    const double length = settings->m_glareMarkSize * (paper ? 2.0 : 1.0);
    const double head = paper ? 5.0 : 2.5;
    const double ySign = paper ? 1.0 : -1.0;
    for (std::size_t k = 0; k < current->m_workSystems.size(); ++k) {
        int slot = 0;
        const CWorkSystem& area = areaSource(k, slot);
        const std::int32_t code = area.m_quantityCode;
        if (IsWorkSystemShown(area) == 0 || area.m_excluded == 1 || (code != 89 && code != 161) || area.m_points.empty()
            || !area.HasUsableGrid() || area.m_resultsStale == 1)
            continue;
        const double limit = code == 89 ? area.m_viewSettings.m_ugrLimit : area.m_viewSettings.m_grLimit;
        for (std::int32_t i = 0; i < area.m_count1; ++i) {
            for (std::int32_t j = 0; j < area.m_count2; ++j) {
                const std::size_t index = static_cast<std::size_t>(i) * static_cast<std::size_t>(area.m_count2)
                    + static_cast<std::size_t>(j);
                if (index >= area.m_points.size())
                    continue;
                const CPointCalc& point = area.m_points[index];
                if (point.m_off == 1)
                    continue;
                const std::vector<double>& values = code == 89 ? point.m_ugrByDirection : point.m_grByDirection;
                const CVector at = area.PointPosition(i, j);
                const DevicePoint p = m_projection.project(at.x, at.y, at.z);
                for (std::int32_t d = 0; d < area.m_directionCount; ++d) {
                    if (static_cast<std::size_t>(d) >= values.size())
                        break;
                    // A direction without a rating is neither within the limit nor over it.
                    if (CPointCalc::IsNotComputed(values[static_cast<std::size_t>(d)]))
                        continue;
                    const int angle = area.m_firstDirection + d * area.m_directionStep;
                    const double a = kDegToRad * angle;
                    const int tipX = nearest(length * std::cos(a));
                    const int tipY = nearest(ySign * length * std::sin(a));
                    const bool within = values[static_cast<std::size_t>(d)] <= limit;
                    surface.selectPen(scaled(slotPen(within ? 4 : 5)));
                    surface.moveTo(p.x, p.y);
                    LineToRelative(surface, tipX, tipY);
                    for (const int turn : within ? std::array { 135, 225 } : std::array { 90, -90 }) {
                        const double b = kDegToRad * (angle + turn);
                        surface.moveTo(p.x + tipX, p.y + tipY);
                        LineToRelative(surface, nearest(head * std::cos(b)), nearest(ySign * head * std::sin(b)));
                    }
                }
            }
        }
    }
}

void PlanView::DrawValueRelief(IDrawSurface& surface, int mode) const
{
    const CRoom* current = room();
    if (!current)
        return;
    const std::array<double, 3> size { current->m_length, current->m_width, current->m_height };
    for (std::size_t k = 0; k < current->m_workSystems.size(); ++k) {
        int slot = 0;
        const CWorkSystem& area = areaSource(k, slot);
        if (IsWorkSystemShown(area) == 0 || !areaPassesRoomFilter(k, area, mode) || area.m_resultsStale == 1)
            continue;
        const std::int32_t rows = area.m_count1;
        const std::int32_t columns = area.m_count2;
        if (rows <= 0 || columns <= 0 || !area.HasUsableGrid())
            continue;
        const double maximum = areaMaximum(area);
        // Without a value range the relief stays flat rather than dividing by zero.
        const bool scalable = std::isfinite(maximum) && std::fabs(maximum) > 1e-12;
        const std::array<double, 3> step1 { area.m_step1.x, area.m_step1.y, area.m_step1.z };
        const std::array<double, 3> step2 { area.m_step2.x, area.m_step2.y, area.m_step2.z };
        auto lifted = [&](std::int32_t i, std::int32_t j) {
            const CVector at = area.PointPosition(i, j);
            std::array<double, 3> c { at.x, at.y, at.z };
            const std::size_t index = static_cast<std::size_t>(i) * static_cast<std::size_t>(columns)
                + static_cast<std::size_t>(j);
            const double value = index < area.m_points.size() ? gridPointValue(area, area.m_points[index]) : 0.0;
            if (scalable) {
                for (std::size_t axis = 0; axis < 3; ++axis) {
                    if (std::fabs(step1[axis]) < 1e-12 && std::fabs(step2[axis]) < 1e-12)
                        c[axis] += value * size[axis] / maximum * 0.7;
                }
            }
            return c;
        };
        surface.selectPen(scaled(slotPen(slot)));
        for (std::int32_t i = 0; i < rows; ++i) {
            for (std::int32_t j = 0; j < columns; ++j) {
                const auto c = lifted(i, j);
                if (j == 0)
                    WorldMoveTo(surface, c[0], c[1], c[2]);
                else
                    WorldLineTo(surface, c[0], c[1], c[2]);
            }
        }
        for (std::int32_t j = 0; j < columns; ++j) {
            for (std::int32_t i = 0; i < rows; ++i) {
                const auto c = lifted(i, j);
                if (i == 0)
                    WorldMoveTo(surface, c[0], c[1], c[2]);
                else
                    WorldLineTo(surface, c[0], c[1], c[2]);
            }
        }
    }
}

// ---- Length labels -----------------------------------------------------------------

void PlanView::drawLengthLabel(IDrawSurface& surface, const std::string& text, double x, double y, double z) const
{
    WorldMoveTo(surface, x, y, z);
    const DevicePoint at = surface.currentPosition();
    const TextSize extent = surface.textExtent(text);
    // Centred horizontally by the alignment, vertically by the half height.
    surface.textOut(at.x, at.y - extent.cy / 2, text);
}

void PlanView::DrawLengthTexts(IDrawSurface& surface) const
{
    const CRoom* current = room();
    if (!current)
        return;
    const std::int32_t unit = m_document ? m_document->m_unitMm : 1;
    surface.selectPen(scaled(slotPen(0)));
    surface.setTextAlign(TextAlign::Center);
    for (const CLampSystem& system : current->m_lampSystems) {
        if (system.m_switchedOff == 1)
            continue;
        auto label = [&](const CVector& step, std::int32_t i) {
            const CVector p = system.m_origin + static_cast<double>(i) * step;
            if (std::fabs(step.x) > 0.0001)
                drawLengthLabel(surface, formatLength(p.x, unit), p.x, 0.0, p.z);
            else
                drawLengthLabel(surface, formatLength(p.y, unit), 0.0, p.y, p.z);
        };
        for (std::int32_t i = 0; i < system.m_count1; ++i)
            label(system.m_pitch1, i);
        for (std::int32_t j = 0; j < system.m_count2; ++j)
            label(system.m_pitch2, j);
    }
    surface.setTextAlign(TextAlign::Left | TextAlign::Top);
}

} // namespace kzev
