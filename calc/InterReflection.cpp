#include "calc/InterReflection.h"

#include "calc/CalcProgress.h"
#include "calc/ElementSampling.h"
#include "calc/PolygonFormFactor.h"
#include "calc/ObstacleScene.h"
#include "calc/ObstacleShading.h"
#include "calc/PointBatches.h"
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
        source.rows = std::max(s.m_count1, 0);
        source.columns = std::max(s.m_count2, 0);
        const double shape = (1.0 - DotProduct(source.unitU, source.unitV)) * source.lengthU * source.lengthV
            * s.m_reflectance * kInversePi;
        bool lit = false;
        for (std::int32_t a = 0; a < source.rows; ++a) {
            for (std::int32_t b = 0; b < source.columns; ++b) {
                const std::size_t index = static_cast<std::size_t>(a) * static_cast<std::size_t>(source.columns)
                    + static_cast<std::size_t>(b);
                SourceElement element { s.PointPosition(a, b), 0.0, 0.0, 0.0, 0.0 };
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

// What one target point gathers, added to the point once it is done.
struct PointSums {
    double vertical[4] {};    // values 1 to 4
    double belowAbove[2] {};  // values 5 and 6
    double horizontalComponent = 0.0;
    double spherical = 0.0;
    double normal[2] {};      // values 9 and 10
    double observer = 0.0;    // value 16
    double overDirections = 0.0; // value 17
    double planeMaintained = 0.0; // A_m
    double planeInitial = 0.0;    // A_i
};

void finishPoint(CPointCalc& point, const PointSums& sums, bool area)
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
    }
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

    // The share of an element's light at p that the obstacles let through, over its parts
    // weighted by what each gives.
    const auto visibleShare = [&](const SourceElement& element, const Source& source, const CVector& p) {
        const double d0 = Distance(element.centre, p);
        const double m1 = std::clamp(std::trunc(source.lengthU / d0 * ratio + 1.5), 1.0, kMaxElementParts);
        const double m2 = std::clamp(std::trunc(source.lengthV / d0 * ratio + 1.5), 1.0, kMaxElementParts);
        const double partU = source.lengthU / m1;
        const double partV = source.lengthV / m2;
        const CVector first = element.centre - ((m1 - 1.0) * partU * 0.5) * source.unitU
            - ((m2 - 1.0) * partV * 0.5) * source.unitV;
        double all = 0.0;
        double through = 0.0;
        for (int r = 0; r < static_cast<int>(m1); ++r) {
            for (int s = 0; s < static_cast<int>(m2); ++s) {
                const CVector q = first + (r * partU) * source.unitU + (s * partV) * source.unitV;
                const CVector dir = p - q;
                const double d2 = DotProduct(dir, dir);
                const double dn = DotProduct(dir, source.normal);
                if (!(dn > 0.0) || !(d2 > 0.0))
                    continue;
                const double weight = dn * std::fabs(DotProduct(dir, normal)) / (d2 * d2);
                all += weight;
                double t = 1.0;
                if (obstacles.crossing(q, p, t, true, source.skipCode, source.ownBox) == 0)
                    t = 1.0;
                through += weight * t;
            }
        }
        return all > 0.0 ? through / all : 1.0;
    };

    const std::size_t rows = static_cast<std::size_t>(std::max(target.m_count1, 0));
    const std::size_t perRow = static_cast<std::size_t>(std::max(target.m_count2, 0));
    // Each point gathers whole on one thread, in the same order: results do not depend on the threads.
    const auto computePoint = [&](std::size_t record) {
        if (record >= target.m_points.size())
            return true;
        CPointCalc& point = target.m_points[record];
        const CVector p = target.PointPosition(static_cast<std::int32_t>(record / perRow),
            static_cast<std::int32_t>(record % perRow));
        const CVector toObserver = target.m_cameraPosition - p;
        const double observerLength = toObserver.Length();
        if (area)
            point.m_reflectedByDirection.assign(directions.size(), 0.0);
        PointSums sums;

        for (const Source& source : sources) {
            for (std::int32_t a = 0; a < source.rows; ++a) {
                for (std::int32_t b = 0; b < source.columns; ++b) {
                    const SourceElement& element = source.elements[static_cast<std::size_t>(a)
                            * static_cast<std::size_t>(source.columns)
                        + static_cast<std::size_t>(b)];
                    if (element.maintained == 0.0 && element.initial == 0.0)
                        continue;
                    const double d0 = Distance(element.centre, p);
                    if (!(d0 > 0.001))
                        continue;
                    if (!area) {
                        // Between calculation surfaces the exchange is exact: the element's
                        // configuration factor averaged over the target element, so that what
                        // an element sends out reaches the others and nothing more.
                        if (!hasNormal)
                            continue;
                        const CVector halfU = 0.5 * source.stepU;
                        const CVector halfV = 0.5 * source.stepV;
                        const std::array<CVector, 4> corners { element.centre - halfU - halfV,
                            element.centre + halfU - halfV, element.centre + halfU + halfV,
                            element.centre - halfU + halfV };
                        const int samples1 = elementSamples(targetU, d0);
                        const int samples2 = elementSamples(targetV, d0);
                        double factor = 0.0;
                        for (int s1 = 0; s1 < samples1; ++s1) {
                            for (int s2 = 0; s2 < samples2; ++s2) {
                                const CVector ps = p + sampleOffset(s1, samples1) * target.m_step1
                                    + sampleOffset(s2, samples2) * target.m_step2;
                                // Only a sample in front of the element sees it.
                                if (DotProduct(ps - element.centre, source.normal) > 0.0)
                                    factor += pointToPolygonFactor(ps, normal, corners);
                            }
                        }
                        factor /= samples1 * samples2;
                        if (!(factor > 0.0))
                            continue;
                        const double shown = anyObstacle ? visibleShare(element, source, p) : 1.0;
                        sums.planeMaintained += surfaceMaintenance * element.exitanceMaintained * factor * shown;
                        sums.planeInitial += element.exitanceInitial * factor * shown;
                        anyLight.store(true, std::memory_order_relaxed);
                        continue;
                    }
                    // A point close to an element still gets its light: the parts are
                    // capped rather than the element dropped.
                    const double m1
                        = std::clamp(std::trunc(source.lengthU / d0 * ratio + 1.5), 1.0, kMaxElementParts);
                    const double m2
                        = std::clamp(std::trunc(source.lengthV / d0 * ratio + 1.5), 1.0, kMaxElementParts);
                    const double partU = source.lengthU / m1;
                    const double partV = source.lengthV / m2;
                    const CVector first = element.centre - ((m1 - 1.0) * partU * 0.5) * source.unitU
                        - ((m2 - 1.0) * partV * 0.5) * source.unitV;
                    const int parts1 = static_cast<int>(m1);
                    const int parts2 = static_cast<int>(m2);
                    for (int r = 0; r < parts1; ++r) {
                        for (int s = 0; s < parts2; ++s) {
                            const CVector q = first + (r * partU) * source.unitU + (s * partV) * source.unitV;
                            double t = 1.0;
                            if (anyObstacle) {
                                double crossed = 1.0;
                                if (obstacles.crossing(q, p, crossed, true, source.skipCode, source.ownBox) != 0) {
                                    if (crossed <= 1e-5)
                                        continue;
                                    t = crossed;
                                }
                            }
                            const CVector dir = p - q;
                            const double d = dir.Length();
                            if (!(d > 0.04))
                                continue;
                            const double dn = DotProduct(dir, source.normal);
                            // The point lies behind the element or in its plane.
                            if (dn < 0.0001)
                                continue;
                            const double cosTheta = dn / d;
                            const double k = 1.0 / d / d / m1 / m2;
                            const double em = k * surfaceMaintenance * element.maintained * cosTheta * t;
                            const double ei = k * t * element.initial * cosTheta;
                            const double cn = hasNormal ? std::fabs(DotProduct(dir, normal)) / d : 0.0;
                            sums.planeMaintained += cn * em;
                            sums.planeInitial += cn * ei;
                            anyLight.store(true, std::memory_order_relaxed);
                            if (!area)
                                continue;

                            const double cx = std::fabs(dir.x) / d;
                            const double cy = std::fabs(dir.y) / d;
                            const double cz = std::fabs(dir.z) / d;
                            sums.belowAbove[dir.z >= 0.0 ? 0 : 1] += em * cz;
                            sums.vertical[dir.x >= 0.0 ? 0 : 1] += em * cx;
                            sums.vertical[dir.y >= 0.0 ? 2 : 3] += em * cy;
                            sums.spherical += em;
                            sums.horizontalComponent += em * std::sqrt(cx * cx + cy * cy);
                            if (hasNormal)
                                sums.normal[DotProduct(dir, normal) >= 0.0 ? 0 : 1] += em * cn;
                            // Light that arrives from the observer's side, as in the direct pass.
                            const double towardsObserver = DotProduct(dir, toObserver);
                            if (towardsObserver < 0.0 && observerLength > 0.0)
                                sums.observer += em * (-towardsObserver / d / observerLength);
                            if (ei > 0.0) {
                                for (std::size_t w = 0; w < directions.size(); ++w) {
                                    const double along = DotProduct(directions[w], dir);
                                    if (along < 0.0) {
                                        const double share = -along / d * ei;
                                        sums.overDirections += share;
                                        point.m_reflectedByDirection[w] += share;
                                    }
                                }
                            }
                        }
                    }
                }
            }
        }
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
