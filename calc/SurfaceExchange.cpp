#include "calc/SurfaceExchange.h"

#include "calc/ElementSampling.h"
#include "calc/PolygonFormFactor.h"
#include "model/CRoom.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kzev {

SurfaceExchange::SurfaceExchange(const CRoom& room, std::span<const CWorkSystem> surfaces)
    : m_obstacles(room)
    , m_surfaces(surfaces)
    , m_ratio(room.m_divisionRatio)
    , m_surfaceMaintenance(room.m_reflectanceReductionInUse)
{
    m_sources.reserve(surfaces.size());
    for (const CWorkSystem& s : surfaces)
        m_sources.push_back(makeSource(s, m_obstacles));
}

void SurfaceExchange::takeLight(std::size_t k)
{
    kzev::takeLight(m_sources.at(k), m_surfaces[k]);
}

SurfaceExchange::Target SurfaceExchange::target(const CWorkSystem& surface) const
{
    Target t;
    t.normal = surface.m_normal.Normalized();
    t.hasNormal = t.normal.Length() > 0.5;
    t.step1 = surface.m_step1;
    t.step2 = surface.m_step2;
    t.lengthU = surface.m_step1.Length();
    t.lengthV = surface.m_step2.Length();
    t.spread = 0.5 * (std::fabs(DotProduct(t.step1, t.normal)) + std::fabs(DotProduct(t.step2, t.normal)));
    for (std::size_t k = 0; k < m_surfaces.size(); ++k) {
        if (lightsTarget(m_surfaces[k], surface))
            t.sources.push_back(static_cast<std::uint32_t>(k));
    }
    return t;
}

// The share of an element's light at p that the obstacles let through, over its parts weighted
// by what each gives.
double SurfaceExchange::visibleShare(const SourceElement& element, std::size_t index, const Source& source,
    const ObstacleScene::View& view, const CVector& p, const CVector& normal,
    std::span<const ObstacleScene::BoxRef> surfaceBoxes, std::span<const ObstacleScene::GridSpan> spans,
    bool surfaceStopped, std::vector<ObstacleScene::BoxRef>& boxes, std::vector<ObstacleScene::BoxRef>& rowBoxes) const
{
    // Every part is stopped whole, each letting through 0, when its surface is.
    bool stopped = surfaceStopped;
    if (!stopped) {
        // The boxes the element's bundle may meet, from the runs of the surface's grid.
        bool perhaps = false;
        boxes.clear();
        const std::size_t listed = surfaceBoxes.size();
        if (listed > 0) {
            const auto columns = static_cast<std::size_t>(source.columns);
            const auto column = static_cast<std::int32_t>(index % columns);
            const ObstacleScene::GridSpan* row = spans.data() + (index / columns) * listed;
            for (std::size_t i = 0; i < listed; ++i) {
                if (column < row[i].low || column > row[i].high)
                    continue;
                boxes.push_back(surfaceBoxes[i]);
                perhaps = perhaps || (column >= row[i].insideLow && column <= row[i].insideHigh);
            }
        }
        // Nothing can be in the way: every part lets all through, and the sums below would give
        // exactly 1.
        if (boxes.empty())
            return 1.0;
        stopped = perhaps && m_obstacles.bundleStopped(element.corners, p, boxes);
    }
    const Parts parts = partsOf(element, source, Distance(element.centre, p), m_ratio);
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
            m_obstacles.gatherBundleAmong(view, ends, boxes, rowBoxes, rowPerhaps);
            rowShaded = !rowBoxes.empty();
            rowStopped = rowPerhaps && m_obstacles.bundleStopped(ends, p, rowBoxes);
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
            if (rowShaded && !rowStopped && m_obstacles.crossingAmong(rowList, q, p, t, true) == 0)
                t = 1.0;
            through += weight * t;
        }
    }
    return all > 0.0 ? through / all : 1.0;
}

void SurfaceExchange::viewFrom(const CVector& p, ObstacleScene::View& view) const
{
    if (!m_obstacles.empty())
        m_obstacles.viewFrom(p, view);
}

void SurfaceExchange::gather(
    const Target& target, const CVector& p, std::size_t from, std::size_t to, PlaneSums& sums) const
{
    if (!target.hasNormal)
        return;
    const auto first = std::lower_bound(target.sources.begin(), target.sources.end(), from);
    if (first == target.sources.end() || *first >= to)
        return;
    ObstacleScene::View view;
    viewFrom(p, view);
    gather(target, p, view, from, to, sums);
}

void SurfaceExchange::gather(const Target& target, const CVector& p, const ObstacleScene::View& view,
    std::size_t from, std::size_t to, PlaneSums& sums) const
{
    if (!target.hasNormal)
        return;
    const auto first = std::lower_bound(target.sources.begin(), target.sources.end(), from);
    const auto last = std::lower_bound(first, target.sources.end(), to);
    if (first == last)
        return;
    const CVector& normal = target.normal;
    const bool anyObstacle = !m_obstacles.empty();
    // Lists of the thread's, kept for its next gather: an element gathers from each surface in a call of its own.
    thread_local std::vector<ObstacleScene::BoxRef> boxes;
    thread_local std::vector<ObstacleScene::BoxRef> rowBoxes;
    thread_local std::vector<ObstacleScene::BoxRef> surfaceBoxes;
    thread_local std::vector<ObstacleScene::GridSpan> spans;
    surfaceBoxes.clear();
    // At most kMostSamples² samples of the target element, on the stack: an element's gathers
    // come in pieces, each of which would grow a list anew.
    std::array<CVector, kMostSamples * kMostSamples> samples;
    for (auto k = first; k != last; ++k) {
        const Source& source = m_sources[*k];
        if (!source.lit)
            continue;
        // How far the samples of the target element stand off its point along the source's normal.
        const double sourceSpread = 0.5
            * (std::fabs(DotProduct(target.step1, source.normal)) + std::fabs(DotProduct(target.step2, source.normal)));
        // The obstacles of the whole surface first, as for the rays of an area.
        bool surfaceStopped = false;
        bool spansMade = false;
        if (anyObstacle) {
            bool perhaps = false;
            m_obstacles.gatherBundle(view, source.corners, source.skipCode, source.ownBox, surfaceBoxes, perhaps);
            surfaceStopped = perhaps && m_obstacles.bundleStopped(source.corners, p, surfaceBoxes);
        }
        for (std::size_t index = 0; index < source.elements.size(); ++index) {
            const SourceElement& element = source.elements[index];
            if (element.maintained == 0.0 && element.initial == 0.0)
                continue;
            const double d0 = Distance(element.centre, p);
            if (!(d0 > 0.001))
                continue;
            const double slack = roundingSlack(p, element.centre);
            // Every sample behind the element's plane, or the element behind the target's:
            // no sample sees any of it.
            if (DotProduct(p - element.centre, source.normal) + sourceSpread + slack <= 0.0)
                continue;
            double ahead = DotProduct(element.corners[0] - p, normal);
            for (std::size_t c = 1; c < element.corners.size(); ++c)
                ahead = std::max(ahead, DotProduct(element.corners[c] - p, normal));
            if (ahead + target.spread + slack <= 0.0)
                continue;
            const int samples1 = elementSamples(target.lengthU, d0);
            const int samples2 = elementSamples(target.lengthV, d0);
            std::size_t sampled = 0;
            for (int s1 = 0; s1 < samples1; ++s1) {
                for (int s2 = 0; s2 < samples2; ++s2) {
                    const CVector ps
                        = p + sampleOffset(s1, samples1) * target.step1 + sampleOffset(s2, samples2) * target.step2;
                    // Only a sample in front of the element sees it.
                    if (DotProduct(ps - element.centre, source.normal) > 0.0)
                        samples[sampled++] = ps;
                }
            }
            double factor = sumOfPolygonFactors(std::span(samples.data(), sampled), normal, element.corners);
            factor /= samples1 * samples2;
            if (!(factor > 0.0))
                continue;
            double shown = 1.0;
            if (anyObstacle) {
                // Which boxes each element's bundle may meet, row by row of the surface's grid,
                // once an element needs them.
                if (!surfaceStopped && !surfaceBoxes.empty() && !spansMade) {
                    m_obstacles.gridSpans(view, source.corners, source.corners[0], source.stepU, source.stepV,
                        source.rows, source.columns, surfaceBoxes, spans);
                    spansMade = true;
                }
                shown = visibleShare(
                    element, index, source, view, p, normal, surfaceBoxes, spans, surfaceStopped, boxes, rowBoxes);
            }
            sums.maintained += m_surfaceMaintenance * element.exitanceMaintained * factor * shown;
            sums.initial += element.exitanceInitial * factor * shown;
        }
    }
}

bool takesTurn(const CWorkSystem& surface)
{
    return surface.m_reflectedComponent != 0 && surface.m_excluded != 1;
}

std::size_t elementCount(const CWorkSystem& surface)
{
    const std::size_t grid = static_cast<std::size_t>(std::max(surface.m_count1, 0))
        * static_cast<std::size_t>(std::max(surface.m_count2, 0));
    return std::min(grid, surface.m_points.size());
}

void setSurfacePoint(CPointCalc& point, const PlaneSums& before, const PlaneSums& after)
{
    const double maintained = before.maintained + after.maintained;
    const double initial = before.initial + after.initial;
    if (maintained > 0.0)
        point.value(CPointCalc::kReflectedMaintained) = maintained;
    if (initial > 0.0)
        point.value(CPointCalc::kReflectedInitial) = initial;
}

} // namespace kzev
