#include "view/ResultLayers.h"

#include "calc/IsolineTracer.h"
#include "calc/ResultShading.h"
#include "model/CKzevDoc.h"
#include "model/CRoom.h"
#include "model/ResultSummary.h"
#include "view/PlanPens.h"

#include <algorithm>

namespace kzev {

namespace {

// The room-surface areas of the mode; a mode the room does not have shows mode 0.
const std::vector<CWorkSystem>* surfacesOfMode(const CRoom& room, int mode)
{
    if (room.m_modes.empty())
        return nullptr;
    const std::size_t index = mode >= 0 && static_cast<std::size_t>(mode) < room.m_modes.size()
        ? static_cast<std::size_t>(mode)
        : 0;
    return &room.m_modes[index].m_surfaces;
}

DevicePoint project(const PlanView& plan, const CVector& point)
{
    return plan.projection().project(point.x, point.y, point.z);
}

// The summary as one row when it fits the width, else broken at its wide gaps into as few rows as fit.
std::vector<std::string> fitSummaryRows(IDrawSurface& surface, const std::string& text, int width)
{
    if (width <= 0 || surface.textExtent(text).cx <= width)
        return { text };
    std::vector<std::string> words;
    std::size_t start = 0;
    for (std::size_t gap = text.find("  "); gap != std::string::npos; gap = text.find("  ", start)) {
        std::size_t end = gap;
        while (end < text.size() && text[end] == ' ')
            ++end;
        words.push_back(text.substr(start, end - start));
        start = end;
    }
    words.push_back(text.substr(start));
    std::vector<std::string> rows;
    std::string row;
    for (const std::string& word : words) {
        if (!row.empty() && surface.textExtent(row + word).cx > width) {
            rows.push_back(row);
            row.clear();
        }
        row += word;
    }
    if (!row.empty())
        rows.push_back(row);
    return rows;
}

ResultLayers::Box rightBelowBox(DevicePoint at, TextSize extent)
{
    return { at.x, at.y, at.x + extent.cx, at.y + extent.cy };
}

ResultLayers::Box centredBox(DevicePoint at, TextSize extent)
{
    return { at.x - extent.cx / 2, at.y, at.x + extent.cx - extent.cx / 2, at.y + extent.cy };
}

void writeLabel(const PlanView& plan, IDrawSurface& surface, const ValueLabel& label)
{
    const DevicePoint at = project(plan, label.at);
    surface.textOut(at.x, at.y, label.text);
}

} // namespace

void ResultLayers::drawSurfaceFill(PlanView& plan, IDrawSurface& surface, int mode)
{
    const CRoom* room = plan.room();
    const CViewSettings* settings = plan.viewSettings();
    const std::vector<CWorkSystem>* surfaces = room ? surfacesOfMode(*room, mode) : nullptr;
    if (!surfaces || !settings)
        return;
    const std::vector<FalseColourCell> cells = falseColourCells(*surfaces, settings->m_viewCode);
    if (cells.empty())
        return;
    const Pen previous = surface.pen();
    surface.selectPen(Pen { PenStyle::None, 0, 0 });
    std::vector<DevicePoint> corners(4);
    for (const FalseColourCell& cell : cells) {
        for (std::size_t k = 0; k < 4; ++k)
            corners[k] = project(plan, cell.corners[k]);
        surface.selectBrush(cell.colour);
        surface.polygon(corners);
    }
    surface.selectBrush(std::nullopt);
    surface.selectPen(previous);
}

void ResultLayers::drawSurfaceValues(PlanView& plan, IDrawSurface& surface, int mode)
{
    const CRoom* room = plan.room();
    const CViewSettings* settings = plan.viewSettings();
    const std::vector<CWorkSystem>* surfaces = room ? surfacesOfMode(*room, mode) : nullptr;
    if (!surfaces || !settings)
        return;
    surface.setTextAlign(TextAlign::Center);
    for (const CWorkSystem& area : *surfaces) {
        if (surfaceLeftOutInView(area.m_surfaceKind, settings->m_viewCode))
            continue;
        for (const ValueLabel& label : surfaceValueLabels(area, m_surfaceLuminance))
            writeLabel(plan, surface, label);
    }
    surface.setTextAlign(TextAlign::Left);
}

std::vector<ResultLayers::Box> ResultLayers::valueBoxes(PlanView& plan, IDrawSurface& surface, int mode) const
{
    std::vector<Box> boxes;
    const CRoom* room = plan.room();
    if (!room)
        return boxes;
    for (std::size_t k = 0; k < room->m_workSystems.size(); ++k) {
        int slot = 0;
        const CWorkSystem& area = plan.areaSource(k, slot);
        if (plan.IsWorkSystemShown(area) == 0 || !plan.areaPassesRoomFilter(k, area, mode) || area.m_resultsStale == 1)
            continue;
        for (const ValueLabel& label : pointValueLabels(area))
            boxes.push_back(rightBelowBox(project(plan, label.at), surface.textExtent(label.text)));
    }
    return boxes;
}

void ResultLayers::drawPointValues(PlanView& plan, IDrawSurface& surface, int mode)
{
    const CRoom* room = plan.room();
    if (!room)
        return;
    // Each value hangs to the right below its point, clear of the point's cross and glare marks.
    surface.setTextAlign(TextAlign::Left | TextAlign::Top);
    surface.setTextColour(kLabelBlack);
    for (std::size_t k = 0; k < room->m_workSystems.size(); ++k) {
        int slot = 0;
        const CWorkSystem& area = plan.areaSource(k, slot);
        surface.selectPen(slot == 1 ? PlanPens::kFixed[1] : PlanPens::kFixed[0]);
        if (plan.IsWorkSystemShown(area) == 0 || !plan.areaPassesRoomFilter(k, area, mode) || area.m_resultsStale == 1)
            continue;
        for (const ValueLabel& label : pointValueLabels(area)) {
            surface.setTextColour(label.colour);
            writeLabel(plan, surface, label);
        }
    }
    surface.setTextColour(kLabelBlack);
    surface.setTextAlign(TextAlign::Left);
}

void ResultLayers::drawIsolines(PlanView& plan, IDrawSurface& surface, int mode)
{
    const CRoom* room = plan.room();
    if (!room || !plan.viewSettings())
        return;
    // Labels of the lines keep clear of the values written at the points and of each other.
    m_taken = plan.viewSettings()->m_pointLabels == 1 ? valueBoxes(plan, surface, mode) : std::vector<Box>();
    for (std::size_t k = 0; k < room->m_workSystems.size(); ++k) {
        const CWorkSystem& area = room->m_workSystems[k];
        if (!plan.areaPassesRoomFilter(k, area, mode) || plan.IsWorkSystemShown(area) == 0 || area.m_resultsStale == 1)
            continue;
        surface.selectPen(
            Pen { PenStyle::Solid, plan.ScaleSize(1), isolinePenColour(*plan.viewSettings(), IsolinePen::AtLimit) });
        m_grid.load(area);
        DrawIsolines(plan, surface, area);
    }
    m_taken.clear();
}

void ResultLayers::drawResultSummary(PlanView& plan, IDrawSurface& surface, int mode)
{
    const CRoom* room = plan.room();
    if (!room)
        return;
    const CWorkSystem* area = summaryArea(*room, plan.drawingSelection().area, mode);
    if (!area)
        return;
    const std::int32_t projectType = plan.document() ? plan.document()->m_projectType : 0;
    const std::string line = resultSummaryLine(*area, *room, projectType);
    if (line.empty())
        return;
    const int margin = plan.ScaleSize(10);
    const int width = plan.totalWidth() > 0 ? plan.totalWidth() - 2 * margin : 0;
    surface.setTextAlign(TextAlign::Left | TextAlign::Top);
    surface.setTextColour(kLabelBlack);
    int y = margin;
    for (const std::string& row : fitSummaryRows(surface, GetQuantityName(area->m_quantityCode) + ": " + line, width)) {
        surface.textOut(margin, y, row);
        y += surface.textExtent(row).cy;
    }
}

void ResultLayers::DrawIsolines(const PlanView& plan, IDrawSurface& surface, const CWorkSystem& area)
{
    const CViewSettings* settings = plan.viewSettings();
    if (!settings || m_grid.empty())
        return;
    const IsolineLevels levels = isolineLevelsOf(area);
    const int width = plan.ScaleSize(1);
    surface.setTextAlign(TextAlign::Center);
    // One label every third segment, or the first after it where the label covers no value written at
    // the points; the count runs on over lines and levels.
    int segments = 0;
    for (const std::string& text : levels.texts) {
        const double level = isolineLevelValue(text);
        const ColorRef colour = isolinePenColour(*settings, isolinePenFor(level, levels.limit));
        surface.selectPen(Pen { PenStyle::Solid, width, colour });
        const std::string label = isolineLabel(level);
        for (const Isoline& line : traceIsolines(m_grid, level)) {
            const CVector start = m_grid.roomPoint(line.points.front().u, line.points.front().v);
            plan.WorldMoveTo(surface, start.x, start.y, start.z);
            for (std::size_t n = 1; n < line.points.size(); ++n) {
                const CVector p = m_grid.roomPoint(line.points[n].u, line.points[n].v);
                plan.WorldLineTo(surface, p.x, p.y, p.z);
                if (++segments >= 3) {
                    const DevicePoint at = project(plan, p);
                    const TextSize extent = surface.textExtent(label);
                    const Box box = centredBox(at, extent);
                    // A gap of about a blank keeps a label from reading as part of the value beside it.
                    const Box padded { box.left - extent.cy / 3, box.top, box.right + extent.cy / 3, box.bottom };
                    if (std::any_of(m_taken.begin(), m_taken.end(),
                            [&](const Box& other) { return padded.overlaps(other); }))
                        continue;
                    segments = 0;
                    surface.textOut(at.x, at.y, label);
                    // Later labels, of this line and of the others, keep clear of this one.
                    m_taken.push_back(padded);
                    plan.WorldMoveTo(surface, p.x, p.y, p.z);
                }
            }
        }
    }
    surface.setTextAlign(TextAlign::Left);
}

} // namespace kzev
