#include "calc/InterReflection.h"

#include "calc/CalcProgress.h"
#include "calc/ElementSampling.h"
#include "calc/PolygonFormFactor.h"
#include "calc/ObstacleScene.h"
#include "calc/ObstacleShading.h"
#include "calc/PointBatches.h"
#include "calc/ReflectedRays.h"
#include "model/CRoom.h"
#include "platform/Services.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <vector>

namespace kzev {
namespace {

// 1 / pi with pi taken as 3.141592, as everywhere in the program.
constexpr double kInversePi = 0.3183099524062959;

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

// One element of a source: its centre and its intensity normal to it (cd),
// maintained and initial, so that I(θ) = intensity × cos θ.
struct SourceElement {
    CVector centre;
    double maintained;
    double initial;
    // Its exitance ρ·E, maintained and initial, for the exact exchange between surfaces.
    double exitanceMaintained;
    double exitanceInitial;
    std::array<CVector, 4> corners;
};

// One source surface, with what the pass needs of it computed once.
struct Source {
    CVector unitU;
    CVector unitV;
    CVector stepU;
    CVector stepV;
    CVector normal;
    double lengthU;
    double lengthV;
    // A face of an obstacle box is not shaded by its own box; every other box shades it.
    std::int32_t skipCode;
    ObstacleBoxId ownBox;
    std::int32_t rows;    // elements along U
    std::int32_t columns; // elements along V
    // How far the parts of an element can stand off its plane, its sides not quite square to the normal.
    double offPlane;
    // The corners of the whole surface, for culling the obstacles of all its elements at once.
    std::array<CVector, 4> corners;
    std::vector<SourceElement> elements;
};

std::vector<Source> collectSources(
    const CRoom& room, const CWorkSystem& target, std::int32_t mode, const ObstacleScene& obstacles)
{
    std::vector<Source> sources;
    if (mode < 0 || static_cast<std::size_t>(mode) >= room.m_modes.size())
        return sources;
    for (const CWorkSystem& s : room.m_modes[static_cast<std::size_t>(mode)].m_surfaces) {
        if (s.m_name == target.m_name || s.m_reflectedComponent == 0)
            continue;
        if (target.m_normalMode == 0 && DotProduct(s.m_normal, target.m_normal) > 0.001)
            continue;
        Source source;
        source.unitU = s.m_step1.Normalized();
        source.unitV = s.m_step2.Normalized();
        source.stepU = s.m_step1;
        source.stepV = s.m_step2;
        source.normal = s.m_normal.Normalized();
        source.lengthU = s.m_step1.Length();
        source.lengthV = s.m_step2.Length();
        source.skipCode = kNoSkippedObstacle;
        if (s.m_surfaceNumber >= 10) {
            source.ownBox = obstacles.boxOfFace(s.m_surfaceNumber - 10, s.m_origin, s.m_normal);
            // A face whose box cannot be told leaves its whole system out, as it always did.
            if (source.ownBox.system < 0)
                source.skipCode = s.m_surfaceNumber;
        }
        source.offPlane = 0.5
            * (source.lengthU * std::fabs(DotProduct(source.unitU, source.normal))
                + source.lengthV * std::fabs(DotProduct(source.unitV, source.normal)));
        source.rows = std::max(s.m_count1, 0);
        {
            const CVector start = s.m_origin - 0.5 * s.m_step1 - 0.5 * s.m_step2;
            const CVector alongU = static_cast<double>(std::max(s.m_count1, 0)) * s.m_step1;
            const CVector alongV = static_cast<double>(std::max(s.m_count2, 0)) * s.m_step2;
            source.corners = { start, start + alongU, start + alongU + alongV, start + alongV };
        }
        source.columns = std::max(s.m_count2, 0);
        const double shape = (1.0 - DotProduct(source.unitU, source.unitV)) * source.lengthU * source.lengthV
            * s.m_reflectance * kInversePi;
        bool lit = false;
        for (std::int32_t a = 0; a < source.rows; ++a) {
            for (std::int32_t b = 0; b < source.columns; ++b) {
                const std::size_t index = static_cast<std::size_t>(a) * static_cast<std::size_t>(source.columns)
                    + static_cast<std::size_t>(b);
                SourceElement element { s.PointPosition(a, b), 0.0, 0.0, 0.0, 0.0, {} };
                const CVector halfU = 0.5 * source.stepU;
                const CVector halfV = 0.5 * source.stepV;
                element.corners = { element.centre - halfU - halfV, element.centre + halfU - halfV,
                    element.centre + halfU + halfV, element.centre - halfU + halfV };
                if (index < s.m_points.size()) {
                    const CPointCalc& p = s.m_points[index];
                    const double maintained
                        = p.value(CPointCalc::kDirectMaintained) + p.value(CPointCalc::kReflectedMaintained);
                    const double initial = p.value(CPointCalc::kDirectInitial) + p.value(CPointCalc::kReflectedInitial);
                    element.maintained = shape * maintained;
                    element.initial = shape * initial;
                    element.exitanceMaintained = s.m_reflectance * maintained;
                    element.exitanceInitial = s.m_reflectance * initial;
                }
                lit = lit || element.maintained != 0.0 || element.initial != 0.0;
                source.elements.push_back(element);
            }
        }
        // A dark surface sends nothing anywhere; it is not worth a ray.
        if (lit)
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

// Adds what one target point gathered to it.
void finishPoint(CPointCalc& point, const RaySums& sums, bool area)
{
    if (area) {
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
    }
    if (sums.planeMaintained > 0.0)
        point.value(CPointCalc::kReflectedMaintained) = sums.planeMaintained;
    if (sums.planeInitial > 0.0)
        point.value(CPointCalc::kReflectedInitial) = sums.planeInitial;
}

// Rows of at least this many parts are culled against the obstacles row by row.
constexpr int kRowBundle = 6;

// More than the rounding of a product of positions near a and b, so that a cull never drops what
// the exact test would keep.
double roundingSlack(const CVector& a, const CVector& b)
{
    return 1e-9
        * (1.0 + std::max({ std::fabs(a.x), std::fabs(a.y), std::fabs(a.z), std::fabs(b.x), std::fabs(b.y),
            std::fabs(b.z) }));
}

// The parts an element is cut into for a point at distance d0: m1 × m2 of them, the first at
// `first`, the others partU and partV apart along the element's sides.
struct Parts {
    double m1;
    double m2;
    double partU;
    double partV;
    CVector first;
};

Parts partsOf(const SourceElement& element, const Source& source, double d0, double ratio)
{
    // A point close to an element still gets its light: the parts are capped rather than the
    // element dropped.
    Parts parts;
    parts.m1 = std::clamp(std::trunc(source.lengthU / d0 * ratio + 1.5), 1.0, kMaxElementParts);
    parts.m2 = std::clamp(std::trunc(source.lengthV / d0 * ratio + 1.5), 1.0, kMaxElementParts);
    parts.partU = source.lengthU / parts.m1;
    parts.partV = source.lengthV / parts.m2;
    parts.first = element.centre - ((parts.m1 - 1.0) * parts.partU * 0.5) * source.unitU
        - ((parts.m2 - 1.0) * parts.partV * 0.5) * source.unitV;
    return parts;
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

bool calcReflectedPoints(const CRoom& room, CWorkSystem& target, std::int32_t mode, std::int32_t& step)
{
    if (target.m_excluded == 1) {
        for (std::int32_t i = 0; i < target.m_count1; ++i)
            advanceCalcStep(step);
        return true;
    }

    const bool area = target.m_normalMode == 1;
    CVector normal;
    if (area) {
        normal = CrossProduct(target.m_step1, target.m_step2).Normalized();
        if (normal.z < 0.0)
            normal = -1.0 * normal;
    } else {
        normal = target.m_normal.Normalized();
    }
    // A degenerate plane has no normal: its plane values get nothing rather than NaN.
    const bool hasNormal = normal.Length() > 0.5;

    const ObstacleScene obstacles(room);
    const std::vector<Source> sources = collectSources(room, target, mode, obstacles);
    const std::vector<CVector> directions = area ? viewingDirections(target) : std::vector<CVector> {};
    const bool anyObstacle = !obstacles.empty();
    const double ratio = room.m_divisionRatio;
    const double surfaceMaintenance = room.m_reflectanceReductionInUse;
    std::atomic<bool> anyLight { false };
    const double targetU = target.m_step1.Length();
    const double targetV = target.m_step2.Length();
    // How far the samples of a target element stand off its point along a unit vector.
    const auto sampleSpread = [&](const CVector& unit) {
        return 0.5 * (std::fabs(DotProduct(target.m_step1, unit)) + std::fabs(DotProduct(target.m_step2, unit)));
    };
    const double targetSpread = sampleSpread(normal);
    std::vector<double> sourceSpread;
    for (const Source& source : sources)
        sourceSpread.push_back(sampleSpread(source.normal));

    // The share of an element's light at p that the obstacles let through, over its parts
    // weighted by what each gives.
    const auto visibleShare = [&](const SourceElement& element, const Source& source, const ObstacleScene::View& view,
                                  const CVector& p, std::span<const ObstacleScene::BoxRef> surfaceBoxes,
                                  bool surfaceStopped, std::vector<ObstacleScene::BoxRef>& boxes,
                                  std::vector<ObstacleScene::BoxRef>& rowBoxes) {
        // Every part is stopped whole, each letting through 0, when its surface is.
        bool stopped = surfaceStopped;
        if (!stopped) {
            bool perhaps = false;
            obstacles.gatherBundleAmong(view, element.corners, surfaceBoxes, boxes, perhaps);
            // Nothing can be in the way: every part lets all through, and the sums below would
            // give exactly 1.
            if (boxes.empty())
                return 1.0;
            stopped = perhaps && obstacles.bundleStopped(element.corners, p, boxes);
        }
        const Parts parts = partsOf(element, source, Distance(element.centre, p), ratio);
        const int columns = static_cast<int>(parts.m2);
        double all = 0.0;
        double through = 0.0;
        for (int r = 0; r < static_cast<int>(parts.m1); ++r) {
            const CVector row = parts.first + (r * parts.partU) * source.unitU;
            // As for the rays of an area, a long row is culled as a bundle of its own.
            bool rowStopped = stopped;
            bool rowShaded = !stopped;
            std::span<const ObstacleScene::BoxRef> rowList = boxes;
            if (!stopped && columns >= kRowBundle) {
                const std::array<CVector, 2> ends { row, row + ((columns - 1) * parts.partV) * source.unitV };
                bool rowPerhaps = false;
                obstacles.gatherBundleAmong(view, ends, boxes, rowBoxes, rowPerhaps);
                rowShaded = !rowBoxes.empty();
                rowStopped = rowPerhaps && obstacles.bundleStopped(ends, p, rowBoxes);
                rowList = rowBoxes;
            }
            for (int s = 0; s < columns; ++s) {
                const CVector q = row + (s * parts.partV) * source.unitV;
                const CVector dir = p - q;
                const double d2 = DotProduct(dir, dir);
                const double dn = DotProduct(dir, source.normal);
                if (!(dn > 0.0) || !(d2 > 0.0))
                    continue;
                const double weight = dn * std::fabs(DotProduct(dir, normal)) / (d2 * d2);
                all += weight;
                double t = rowStopped ? 0.0 : 1.0;
                if (rowShaded && !rowStopped && obstacles.crossingAmong(rowList, q, p, t, true) == 0)
                    t = 1.0;
                through += weight * t;
            }
        }
        return all > 0.0 ? through / all : 1.0;
    };

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

    // Between calculation surfaces the exchange is exact: each element's configuration factor
    // averaged over the target element, so that what an element sends out reaches the others
    // and nothing more.
    const auto exchange = [&](const CVector& p) {
        RaySums sums;
        std::vector<ObstacleScene::BoxRef> boxes;
        std::vector<ObstacleScene::BoxRef> rowBoxes;
        std::vector<ObstacleScene::BoxRef> surfaceBoxes;
        std::vector<CVector> samples;
        ObstacleScene::View view;
        if (anyObstacle)
            obstacles.viewFrom(p, view);
        for (std::size_t k = 0; k < sources.size(); ++k) {
            const Source& source = sources[k];
            // The obstacles of the whole surface first, as for the rays of an area.
            bool surfaceStopped = false;
            if (anyObstacle) {
                bool perhaps = false;
                obstacles.gatherBundle(view, source.corners, source.skipCode, source.ownBox, surfaceBoxes, perhaps);
                surfaceStopped = perhaps && obstacles.bundleStopped(source.corners, p, surfaceBoxes);
            }
            for (const SourceElement& element : source.elements) {
                if (element.maintained == 0.0 && element.initial == 0.0)
                    continue;
                const double d0 = Distance(element.centre, p);
                if (!(d0 > 0.001))
                    continue;
                const double slack = roundingSlack(p, element.centre);
                // Every sample behind the element's plane, or the element behind the target's:
                // no sample sees any of it.
                if (DotProduct(p - element.centre, source.normal) + sourceSpread[k] + slack <= 0.0)
                    continue;
                double ahead = DotProduct(element.corners[0] - p, normal);
                for (std::size_t c = 1; c < element.corners.size(); ++c)
                    ahead = std::max(ahead, DotProduct(element.corners[c] - p, normal));
                if (ahead + targetSpread + slack <= 0.0)
                    continue;
                const int samples1 = elementSamples(targetU, d0);
                const int samples2 = elementSamples(targetV, d0);
                samples.clear();
                for (int s1 = 0; s1 < samples1; ++s1) {
                    for (int s2 = 0; s2 < samples2; ++s2) {
                        const CVector ps = p + sampleOffset(s1, samples1) * target.m_step1
                            + sampleOffset(s2, samples2) * target.m_step2;
                        // Only a sample in front of the element sees it.
                        if (DotProduct(ps - element.centre, source.normal) > 0.0)
                            samples.push_back(ps);
                    }
                }
                double factor = sumOfPolygonFactors(samples, normal, element.corners);
                factor /= samples1 * samples2;
                if (!(factor > 0.0))
                    continue;
                const double shown = anyObstacle
                    ? visibleShare(element, source, view, p, surfaceBoxes, surfaceStopped, boxes, rowBoxes)
                    : 1.0;
                sums.planeMaintained += surfaceMaintenance * element.exitanceMaintained * factor * shown;
                sums.planeInitial += element.exitanceInitial * factor * shown;
                sums.anyLight = true;
            }
        }
        return sums;
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
        RaySums sums;
        if (area) {
            RayGatherer gatherer(planeNormal, target.m_cameraPosition - p, directions);
            gatherRays(p, gatherer);
            sums = gatherer.finish();
        } else if (hasNormal) {
            // A degenerate plane has no normal: it gets nothing rather than NaN.
            sums = exchange(p);
        }
        if (sums.anyLight)
            anyLight.store(true, std::memory_order_relaxed);
        finishPoint(point, sums, area);
        return true;
    };
    const BatchOutcome outcome = runPointBatches(rows, perRow, step, computePoint);
    // The area keeps the last viewing direction it was lit in, as the glare pass expects.
    if (area && anyLight.load() && !directions.empty())
        target.m_viewDirection = directions.back();
    return outcome == BatchOutcome::done;
}

} // namespace kzev
