#include "calc/InterReflection.h"

#include "calc/CalcProgress.h"
#include "calc/ObstacleScene.h"
#include "calc/PointBatches.h"
#include "calc/ReflectedRays.h"
#include "calc/SurfaceExchange.h"
#include "calc/SurfaceSources.h"
#include "model/CRoom.h"
#include "platform/Services.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <span>
#include <vector>

namespace kzev {
namespace {

// Intensity at theta of a Lambertian element lit by illuminance e.
double surfaceTerm(const CWorkSystem& surface, double e, double theta)
{
    const CVector u = surface.m_step1.Normalized();
    const CVector v = surface.m_step2.Normalized();
    return (1.0 - DotProduct(u, v)) * std::cos(DegToRad(theta)) * surface.m_step1.Length() * surface.m_step2.Length()
        * e * surface.m_reflectance * kInversePi;
}

const CPointCalc* elementPoint(const CWorkSystem& surface, std::int32_t element)
{
    if (element < 0 || static_cast<std::size_t>(element) >= surface.m_points.size())
        return nullptr;
    return &surface.m_points[static_cast<std::size_t>(element)];
}

// The surfaces of the mode that light an area, dark ones left out.
std::vector<Source> collectSources(
    const CRoom& room, const CWorkSystem& target, std::int32_t mode, const ObstacleScene& obstacles)
{
    std::vector<Source> sources;
    if (mode < 0 || static_cast<std::size_t>(mode) >= room.m_modes.size())
        return sources;
    for (const CWorkSystem& s : room.m_modes[static_cast<std::size_t>(mode)].m_surfaces) {
        if (!lightsTarget(s, target))
            continue;
        Source source = makeSource(s, obstacles);
        // A dark surface sends nothing anywhere; it is not worth a ray.
        if (source.lit)
            sources.push_back(std::move(source));
    }
    return sources;
}

// Unit viewing directions of a visual-task area.
std::vector<CVector> viewingDirections(const CWorkSystem& target)
{
    std::vector<CVector> directions;
    for (std::int32_t j = 0; j < target.m_directionCount; ++j) {
        const double azimuth = DegToRad(static_cast<double>(target.m_firstDirection) + j * target.m_directionStep);
        CVector w;
        if (target.m_tilt == 90)
            w = CVector { 0.0, 0.0, 1.0 };
        else if (target.m_tilt == -90)
            w = CVector { 0.0, 0.0, -1.0 };
        else
            w = CVector { std::cos(azimuth), std::sin(azimuth), std::tan(DegToRad(target.m_tilt)) };
        directions.push_back(w.Normalized());
    }
    return directions;
}

// Adds what one point of an area gathered to it.
void finishPoint(CPointCalc& point, const RaySums& sums)
{
    for (int i = 0; i < 4; ++i)
        point.value(CPointCalc::kVerticalXPlus + i) += sums.vertical[i];
    point.value(CPointCalc::kHorizontalZPlus) += sums.belowAbove[0];
    point.value(CPointCalc::kHorizontal) += sums.belowAbove[1];
    point.value(CPointCalc::kCylindrical) += sums.horizontalComponent;
    point.value(CPointCalc::kSpherical) += 0.25 * sums.spherical;
    point.value(CPointCalc::kNormalPlus) += sums.normal[0];
    point.value(CPointCalc::kNormalMinus) += sums.normal[1];
    point.value(CPointCalc::kCamera) += sums.observer;
    point.value(CPointCalc::kReflectedOverDirections) += sums.overDirections;
    point.m_reflectedByDirection.assign(sums.byDirection.size(), 0.0);
    for (std::size_t w = 0; w < sums.byDirection.size(); ++w)
        point.m_reflectedByDirection[w] += sums.byDirection[w];
    if (sums.planeMaintained > 0.0)
        point.value(CPointCalc::kReflectedMaintained) = sums.planeMaintained;
    if (sums.planeInitial > 0.0)
        point.value(CPointCalc::kReflectedInitial) = sums.planeInitial;
}

} // namespace

double computeSurfaceTermMaintained(const CWorkSystem& surface, std::int32_t element, double theta)
{
    const CPointCalc* p = elementPoint(surface, element);
    return p ? surfaceTerm(surface,
                   p->value(CPointCalc::kDirectMaintained) + p->value(CPointCalc::kReflectedMaintained), theta)
             : 0.0;
}

double computeSurfaceTerm(const CWorkSystem& surface, std::int32_t element, double theta)
{
    const CPointCalc* p = elementPoint(surface, element);
    return p ? surfaceTerm(
                   surface, p->value(CPointCalc::kDirectInitial) + p->value(CPointCalc::kReflectedInitial), theta)
             : 0.0;
}

namespace {

// Where the surface stands in the list, or the list's size when it is not there.
std::size_t listPosition(std::span<const CWorkSystem> surfaces, const CWorkSystem& target)
{
    for (std::size_t k = 0; k < surfaces.size(); ++k) {
        if (&surfaces[k] == &target)
            return k;
    }
    return surfaces.size();
}

// Between calculation surfaces the exchange is exact. A point sums apart what the surfaces before
// its own in the list give and what those after it give, as a bounce over all the surfaces does;
// a target that is not in the list takes every surface as one before it.
bool reflectIntoSurface(const CRoom& room, CWorkSystem& target, std::int32_t mode, std::int32_t& step)
{
    const std::span<const CWorkSystem> surfaces = mode >= 0 && static_cast<std::size_t>(mode) < room.m_modes.size()
        ? std::span<const CWorkSystem>(room.m_modes[static_cast<std::size_t>(mode)].m_surfaces)
        : std::span<const CWorkSystem>();
    const SurfaceExchange exchange(room, surfaces);
    const SurfaceExchange::Target plane = exchange.target(target);
    const std::size_t k = listPosition(surfaces, target);
    const std::size_t rows = static_cast<std::size_t>(std::max(target.m_count1, 0));
    const std::size_t perRow = static_cast<std::size_t>(std::max(target.m_count2, 0));
    // Each point gathers whole on one thread, in the same order: results do not depend on the threads.
    const auto computePoint = [&](std::size_t record) {
        if (record >= target.m_points.size())
            return true;
        const CVector p = target.PointPosition(static_cast<std::int32_t>(record / perRow),
            static_cast<std::int32_t>(record % perRow));
        ObstacleScene::View view;
        exchange.viewFrom(p, view);
        PlaneSums before;
        exchange.gather(plane, p, view, 0, k, before);
        PlaneSums after;
        exchange.gather(plane, p, view, k + 1, surfaces.size(), after);
        setSurfacePoint(target.m_points[record], before, after);
        return true;
    };
    return runPointBatches(rows, perRow, step, computePoint) == BatchOutcome::done;
}

bool reflectIntoArea(const CRoom& room, CWorkSystem& target, std::int32_t mode, std::int32_t& step)
{
    CVector normal = CrossProduct(target.m_step1, target.m_step2).Normalized();
    if (normal.z < 0.0)
        normal = -1.0 * normal;
    // A degenerate plane has no normal: its plane values get nothing rather than NaN.
    const bool hasNormal = normal.Length() > 0.5;

    const ObstacleScene obstacles(room);
    const std::vector<Source> sources = collectSources(room, target, mode, obstacles);
    const std::vector<CVector> directions = viewingDirections(target);
    const bool anyObstacle = !obstacles.empty();
    const double ratio = room.m_divisionRatio;
    const double surfaceMaintenance = room.m_reflectanceReductionInUse;
    std::atomic<bool> anyLight { false };

    // The rays of the parts of every element to an area's point.
    const auto gatherRays = [&](const CVector& p, RayGatherer& gatherer) {
        std::vector<ObstacleScene::BoxRef> boxes;
        std::vector<ObstacleScene::BoxRef> rowBoxes;
        std::vector<ObstacleScene::BoxRef> surfaceBoxes;
        std::vector<ObstacleScene::GridSpan> spans;
        ObstacleScene::View view;
        if (anyObstacle)
            obstacles.viewFrom(p, view);
        for (const Source& source : sources) {
            // The obstacles of the whole surface first: its elements look only among those.
            bool surfaceShaded = false;
            if (anyObstacle) {
                bool perhaps = false;
                obstacles.gatherBundle(view, source.corners, source.skipCode, source.ownBox, surfaceBoxes, perhaps);
                if (perhaps && obstacles.bundleStopped(source.corners, p, surfaceBoxes))
                    continue;
                surfaceShaded = !surfaceBoxes.empty();
                // Which of those each element's bundle may meet, row by row of the surface's grid.
                if (surfaceShaded)
                    obstacles.gridSpans(view, source.corners, source.corners[0], source.stepU, source.stepV,
                        source.rows, source.columns, surfaceBoxes, spans);
            }
            const std::size_t listed = surfaceBoxes.size();
            for (std::size_t index = 0; index < source.elements.size(); ++index) {
                const SourceElement& element = source.elements[index];
                if (element.maintained == 0.0 && element.initial == 0.0)
                    continue;
                const double d0 = Distance(element.centre, p);
                if (!(d0 > 0.001))
                    continue;
                // A point behind the element's plane, or in it, gets nothing from any of its parts.
                if (DotProduct(p - element.centre, source.normal) + source.offPlane + roundingSlack(p, element.centre)
                    < 0.0001)
                    continue;
                const Parts parts = partsOf(element, source, d0, ratio);
                bool shaded = false;
                if (surfaceShaded) {
                    bool perhaps = false;
                    const std::int32_t column = static_cast<std::int32_t>(index % static_cast<std::size_t>(source.columns));
                    const ObstacleScene::GridSpan* row
                        = spans.data() + (index / static_cast<std::size_t>(source.columns)) * listed;
                    boxes.clear();
                    for (std::size_t i = 0; i < listed; ++i) {
                        if (column < row[i].low || column > row[i].high)
                            continue;
                        boxes.push_back(surfaceBoxes[i]);
                        perhaps = perhaps || (column >= row[i].insideLow && column <= row[i].insideHigh);
                    }
                    shaded = !boxes.empty();
                    // Not one part gets through.
                    if (perhaps && obstacles.bundleStopped(element.corners, p, boxes))
                        continue;
                }
                const double perPart = 1.0 / (parts.m1 * parts.m2);
                const double maintained = surfaceMaintenance * element.maintained * perPart;
                const double initial = element.initial * perPart;
                const int columns = static_cast<int>(parts.m2);
                const PartGrid grid { parts.first, source.unitU, source.unitV, source.normal, parts.partU, parts.partV,
                    static_cast<int>(parts.m1), columns, maintained, initial };
                // The rays are tested four at a time and added in their order; rays of short rows,
                // which share the element's list, are taken together.
                CVector ends[4];
                CVector dirs[4];
                double dns[4];
                int waiting = 0;
                std::span<const ObstacleScene::BoxRef> waitingList;
                const auto flush = [&] {
                    if (waiting == 0)
                        return;
                    std::int32_t hit[4];
                    double through[4];
                    obstacles.crossingAmong4(waitingList, ends, p, waiting, hit, through, true);
                    for (int i = 0; i < waiting; ++i) {
                        const double t = hit[i] != 0 ? through[i] : 1.0;
                        if (hit[i] != 0 && t <= 1e-5)
                            continue;
                        gatherer.add(dirs[i], dns[i], maintained * t, initial * t);
                    }
                    waiting = 0;
                };
                for (int r = 0; r < grid.rows; ++r) {
                    // A long row is a bundle of its own: most rows are wholly clear or wholly stopped.
                    bool rowShaded = shaded;
                    std::span<const ObstacleScene::BoxRef> rowList = boxes;
                    const CVector row = parts.first + (r * parts.partU) * source.unitU;
                    const bool ownList = shaded && columns >= kRowBundle;
                    if (ownList) {
                        const std::array<CVector, 2> rowEnds { row,
                            row + ((columns - 1) * parts.partV) * source.unitV };
                        bool rowPerhaps = false;
                        obstacles.gatherBundleAmong(view, rowEnds, boxes, rowBoxes, rowPerhaps);
                        if (rowPerhaps && obstacles.bundleStopped(rowEnds, p, rowBoxes))
                            continue;
                        rowShaded = !rowBoxes.empty();
                        rowList = rowBoxes;
                    }
                    if (!rowShaded) {
                        flush();
                        gatherer.addRow(p, grid, r);
                        continue;
                    }
                    waitingList = rowList;
                    for (int s = 0; s < columns; ++s) {
                        const CVector q = row + (s * parts.partV) * source.unitV;
                        const CVector dir = p - q;
                        const double dn = DotProduct(dir, source.normal);
                        // The point lies behind the part or in its plane.
                        if (dn < 0.0001)
                            continue;
                        ends[waiting] = q;
                        dirs[waiting] = dir;
                        dns[waiting] = dn;
                        if (++waiting == 4)
                            flush();
                    }
                    // The next row's list takes the place of this one's.
                    if (ownList)
                        flush();
                }
                flush();
            }
        }
    };

    const std::size_t rows = static_cast<std::size_t>(std::max(target.m_count1, 0));
    const std::size_t perRow = static_cast<std::size_t>(std::max(target.m_count2, 0));
    const CVector planeNormal = hasNormal ? normal : CVector { 0.0, 0.0, 0.0 };
    // Each point gathers whole on one thread, in the same order: results do not depend on the threads.
    const auto computePoint = [&](std::size_t record) {
        if (record >= target.m_points.size())
            return true;
        CPointCalc& point = target.m_points[record];
        const CVector p = target.PointPosition(static_cast<std::int32_t>(record / perRow),
            static_cast<std::int32_t>(record % perRow));
        RayGatherer gatherer(planeNormal, target.m_cameraPosition - p, directions);
        gatherRays(p, gatherer);
        const RaySums sums = gatherer.finish();
        if (sums.anyLight)
            anyLight.store(true, std::memory_order_relaxed);
        finishPoint(point, sums);
        return true;
    };
    const BatchOutcome outcome = runPointBatches(rows, perRow, step, computePoint);
    // The area keeps the last viewing direction it was lit in, as the glare pass expects.
    if (anyLight.load() && !directions.empty())
        target.m_viewDirection = directions.back();
    return outcome == BatchOutcome::done;
}

} // namespace

bool calcReflectedPoints(const CRoom& room, CWorkSystem& target, std::int32_t mode, std::int32_t& step)
{
    if (target.m_excluded == 1) {
        for (std::int32_t i = 0; i < target.m_count1; ++i)
            advanceCalcStep(step);
        return true;
    }
    return target.m_normalMode == 1 ? reflectIntoArea(room, target, mode, step)
                                    : reflectIntoSurface(room, target, mode, step);
}

} // namespace kzev
