#include "calc/DirectIlluminance.h"

#include "calc/CalcCatalogue.h"
#include "calc/CalcProgress.h"
#include "calc/ElementSampling.h"
#include "calc/IntensityTable.h"
#include "calc/LuminaireFlux.h"
#include "calc/ObstacleScene.h"
#include "calc/PartSourceBatch.h"
#include "calc/PointBatches.h"
#include "model/CRoom.h"
#include "platform/Services.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>
#include <vector>

namespace kzev {

namespace {

constexpr int kBadDivisionId = 61476;


void addToPoint(CPointCalc& point, const PointSums& sums)
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
    if (sums.bothFaces > 0.0)
        point.value(CPointCalc::kDirectMaintained) = sums.bothFaces;
    if (sums.bothFacesInitial > 0.0)
        point.value(CPointCalc::kDirectInitial) = sums.bothFacesInitial;
}

// One luminaire position that gives light in the pass's mode, with all its part sources need.
struct LitPosition {
    CVector position;
    CVector reference; // C0, along the width
    CVector optical;   // gamma 0
    CVector length;    // C90, along the length
    CVector c0;        // C0 square to the optical axis, for the C angle
    double luminousLength; // m
    double luminousWidth;
    double factor; // mode factor × uncertainty factor × flux / 1000
    double maintenance;
    const IntensityTable* table;
};

// The lit positions of every lamp system, in the order of the systems, with the run's tables.
bool litPositions(const CRoom& room, const CalcCatalogue& catalogue, std::size_t mode, std::vector<LitPosition>& lit)
{
    const auto systems = litLampSystems(room, catalogue);
    if (!systems)
        return false;
    for (const LitLampSystem& entry : *systems) {
        const CLampSystem& system = *entry.system;
        const CLuminaire* luminaire = entry.luminaire;
        const IntensityTable* table = catalogue.intensityTable(system.m_luminaireIndex);
        if (!table)
            return false;
        // A round luminous area (no width) is laid out as the square around it, in this pass only.
        const auto& dimensions = luminaire->m_luminousDimensions;
        const double length = dimensions[kLuminousLength];
        const double width = dimensions[kLuminousWidth] < 1e-5 ? length : dimensions[kLuminousWidth];
        for (const COneLampSystem& position : system.m_luminaires) {
            const double k = position.ModeFactor(mode);
            if (!(k > 0.001) || position.m_switchedOff == 1)
                continue;
            LitPosition p;
            p.position = position.m_position;
            p.reference = position.m_c0Axis.Normalized();
            p.optical = position.m_opticalAxis.Normalized();
            p.length = CrossProduct(p.reference, p.optical).Normalized();
            p.c0 = CrossProduct(p.optical, p.length);
            p.luminousLength = length;
            p.luminousWidth = width;
            p.factor = k * 0.001 * system.m_uncertaintyFactor * entry.flux;
            p.maintenance = system.m_maintenanceFactor;
            p.table = table;
            lit.push_back(p);
        }
    }
    return true;
}

// trunc without the library call: exact for every double, NaN stays NaN.
inline double wholePart(double x)
{
    return std::fabs(x) < 4503599627370496.0 ? static_cast<double>(static_cast<std::int64_t>(x)) : x;
}

} // namespace

namespace {

// What the pass needs of one area: its plane and its grid.
struct AreaPlane {
    CWorkSystem* area = nullptr;
    CVector unitNormal;
    // A calculation surface (its normal given, not taken from its grid) holds the mean of each element.
    bool elementMean = false;
    double elementU = 0.0;
    double elementV = 0.0;
    std::size_t perRow = 0;
    std::size_t first = 0; // the pass's index of the area's first point
};

AreaPlane planeOf(CWorkSystem& area, std::size_t first)
{
    const CVector axisZ { 0.0, 0.0, 1.0 };
    CVector normal;
    if (area.m_normalMode == 1) {
        normal = CrossProduct(area.m_step1, area.m_step2).Normalized();
        if (DotProduct(normal, axisZ) < 0.0)
            normal = -1.0 * normal;
    } else {
        normal = area.m_normal.Normalized();
    }
    // A degenerate plane has no normal: its plane fields get nothing rather than NaN.
    const double normalLength = normal.Length();
    AreaPlane plane;
    plane.area = &area;
    plane.unitNormal = normalLength > 0.5 ? (1.0 / normalLength) * normal : CVector { 0.0, 0.0, 0.0 };
    plane.elementMean = area.m_normalMode == 0;
    plane.elementU = area.m_step1.Length();
    plane.elementV = area.m_step2.Length();
    plane.perRow = static_cast<std::size_t>(std::max(area.m_count2, 0));
    plane.first = first;
    return plane;
}

} // namespace

bool calcPointIlluminance(const CRoom& room, CWorkSystem& area, std::int32_t mode, std::int32_t& step,
    const CalcCatalogue& catalogue)
{
    CWorkSystem* const one[] = { &area };
    return calcPointIlluminance(room, one, mode, step, catalogue);
}

bool calcPointIlluminance(const CRoom& room, std::span<CWorkSystem* const> areas, std::int32_t mode,
    std::int32_t& step, const CalcCatalogue& catalogue)
{
    // The areas' points one after another, row by row; an excluded area only counts its rows.
    std::vector<AreaPlane> planes;
    std::vector<std::size_t> rowEnds;
    std::size_t total = 0;
    for (CWorkSystem* area : areas) {
        const std::size_t rows = static_cast<std::size_t>(std::max(area->m_count1, 0));
        if (area->m_excluded == 1) {
            for (std::size_t i = 0; i < rows; ++i)
                advanceCalcStep(step);
            continue;
        }
        planes.push_back(planeOf(*area, total));
        for (std::size_t i = 0; i < rows; ++i) {
            total += planes.back().perRow;
            rowEnds.push_back(total);
        }
    }
    if (planes.empty())
        return true;

    const std::size_t modeIndex = mode < 0 ? static_cast<std::size_t>(-1) : static_cast<std::size_t>(mode);
    std::vector<LitPosition> lit;
    if (!litPositions(room, catalogue, modeIndex, lit))
        return false;
    LuminaireSpots spots;
    for (const LitPosition& lum : lit)
        spots.add(lum.position, lum.luminousLength, lum.luminousWidth, lum.c0, lum.length, lum.optical);

    const ObstacleScene obstacles(room);
    const bool anyObstacle = !obstacles.empty();
    const double ratio = room.m_divisionRatio;
    // The unit direction from p to the observer; none when the observer stands at p.
    const auto towardsObserver = [](const CWorkSystem& area, const CVector& p) {
        const CVector toObserver = area.m_cameraPosition - p;
        const double observerLength = toObserver.Length();
        return observerLength > 0.0 ? (1.0 / observerLength) * toObserver : CVector { 0.0, 0.0, 0.0 };
    };

    // Adds the part source at q as seen from p with its factor, unless an obstacle blocks it.
    const auto addSource = [&](const CVector& p, const CVector& q, double factor, const LitPosition& lum,
                               const CVector& observer, PartSourceBatch& batch) {
        double t = 1.0;
        if (anyObstacle) {
            double crossed = 1.0;
            if (obstacles.crossing(q, p, crossed, true) != 0) {
                if (crossed <= 1e-5)
                    return;
                t = crossed;
            }
        }
        const CVector ray = p - q;
        batch.add(ray, DotProduct(ray, lum.c0), DotProduct(ray, lum.length), DotProduct(ray, lum.optical),
            DotProduct(ray, observer), factor * t, factor * t * lum.maintenance, *lum.table);
    };

    // Adds the part sources of one luminaire at distance d0 from p, weighted, its length and width
    // over d0 times the ratio given; false when it cannot be divided.
    const auto addLuminaire = [&](const CVector& p, double weight, const LitPosition& lum, double d0,
                                  double lengthRatio, double widthRatio, const CVector& observer,
                                  PartSourceBatch& batch) {
        if (!(d0 > 0.04))
            return true;
        const double n1Raw = wholePart(lengthRatio) + 1.0;
        const double n2Raw = wholePart(widthRatio) + 1.0;
        if (!(n1Raw >= 1e-9) || !(n2Raw >= 1e-9))
            return false;
        // Most luminaires are far from most points: one part, at the luminaire's centre.
        if (n1Raw == 1.0 && n2Raw == 1.0) {
            addSource(p, lum.position, lum.factor * weight, lum, observer, batch);
            return true;
        }
        // A point close to a long luminaire still gets its light: the parts
        // are capped rather than the luminaire dropped.
        const double n1 = n1Raw < kMaxLuminaireParts ? n1Raw : kMaxLuminaireParts;
        const double n2 = n2Raw < kMaxLuminaireParts ? n2Raw : kMaxLuminaireParts;
        const int parts1 = static_cast<int>(n1);
        const int parts2 = static_cast<int>(n2);

        const double partLength = lum.luminousLength / n1;
        const double partWidth = lum.luminousWidth / n2;
        const CVector first = lum.position - ((n2 - 1.0) * partWidth * 0.5) * lum.reference
            - ((n1 - 1.0) * partLength * 0.5) * lum.length;
        const double factor = lum.factor * weight / (n1 * n2);
        const double maintained = factor * lum.maintenance;
        for (int r = 0; r < parts1; ++r) {
            for (int s = 0; s < parts2; ++s) {
                const CVector q = first + (s * partWidth) * lum.reference + (r * partLength) * lum.length;
                if (anyObstacle) {
                    addSource(p, q, factor, lum, observer, batch);
                    continue;
                }
                const CVector ray = p - q;
                batch.add(ray, DotProduct(ray, lum.c0), DotProduct(ray, lum.length), DotProduct(ray, lum.optical),
                    DotProduct(ray, observer), factor, maintained, *lum.table);
            }
        }
        return true;
    };

    // Each point is summed whole by one thread, in the same order: results do not depend on the threads.
    const auto computePoint = [&](std::size_t index) {
        // The area whose points hold the index: the last that starts at it or before.
        const auto next = std::upper_bound(planes.begin(), planes.end(), index,
            [](std::size_t i, const AreaPlane& plane) { return i < plane.first; });
        const AreaPlane& plane = *(next - 1);
        CWorkSystem& area = *plane.area;
        const std::size_t record = index - plane.first;
        if (record >= area.m_points.size())
            return true;
        CPointCalc& point = area.m_points[record];
        const std::size_t perRow = plane.perRow;
        const CVector p = area.PointPosition(static_cast<std::int32_t>(record / perRow),
            static_cast<std::int32_t>(record % perRow));
        PartSourceBatch batch(plane.unitNormal);
        if (!plane.elementMean) {
            const CVector observer = towardsObserver(area, p);
            LuminaireSpots::Seen seen;
            for (std::size_t from = 0; from < lit.size(); from += LuminaireSpots::kChunk) {
                const std::size_t count = std::min(LuminaireSpots::kChunk, lit.size() - from);
                spots.measure(p, ratio, observer, from, count, seen);
                for (std::size_t j = 0; j < count; ++j) {
                    const LitPosition& lum = lit[from + j];
                    if (seen.whole[j] == 0.0) {
                        const double d0 = seen.distance[j];
                        if (!addLuminaire(p, 1.0, lum, d0, lum.luminousLength / d0 * ratio,
                                lum.luminousWidth / d0 * ratio, observer, batch))
                            return false;
                        continue;
                    }
                    double t = 1.0;
                    if (anyObstacle) {
                        double crossed = 1.0;
                        if (obstacles.crossing(lum.position, p, crossed, true) != 0) {
                            if (crossed <= 1e-5)
                                continue;
                            t = crossed;
                        }
                    }
                    batch.add(CVector { seen.x[j], seen.y[j], seen.z[j] }, seen.c0[j], seen.c90[j], seen.optical[j],
                        seen.observer[j], lum.factor * t, lum.factor * t * lum.maintenance, *lum.table);
                }
            }
        } else {
            for (const LitPosition& lum : lit) {
                // A calculation surface takes the mean over its element: the element is
                // sampled finer the nearer the luminaire is, as the luminaire is cut.
                const double dc = Distance(p, lum.position);
                const int samples1 = elementSamples(plane.elementU, dc);
                const int samples2 = elementSamples(plane.elementV, dc);
                const double sampleWeight = 1.0 / (samples1 * samples2);
                for (int s1 = 0; s1 < samples1; ++s1) {
                    for (int s2 = 0; s2 < samples2; ++s2) {
                        const CVector ps = p + sampleOffset(s1, samples1) * area.m_step1
                            + sampleOffset(s2, samples2) * area.m_step2;
                        const double d0 = Distance(ps, lum.position);
                        if (!addLuminaire(ps, sampleWeight, lum, d0, lum.luminousLength / d0 * ratio,
                                lum.luminousWidth / d0 * ratio, towardsObserver(area, ps), batch))
                            return false;
                    }
                }
            }
        }
        addToPoint(point, batch.finish());
        return true;
    };
    switch (runPointBatches(rowEnds, step, computePoint)) {
    case BatchOutcome::done:
        return true;
    case BatchOutcome::stopped:
        return false;
    case BatchOutcome::failed:
        messageBoxId(kBadDivisionId, MessageIcon::Error);
        return false;
    }
    return true;
}

} // namespace kzev
