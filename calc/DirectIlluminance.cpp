#include "calc/DirectIlluminance.h"

#include "calc/CalcCatalogue.h"
#include "calc/CalcProgress.h"
#include "calc/ElementSampling.h"
#include "calc/LuminaireFlux.h"
#include "calc/ObstacleScene.h"
#include "calc/PointBatches.h"
#include "model/CRoom.h"
#include "platform/Services.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace kzev {

namespace {

constexpr int kBadDivisionId = 61476;


// Sums of one point over all part sources, added to the point once it is done.
struct PointSums {
    double vertical[4] {}; // values 1 to 4
    double belowAbove[2] {}; // values 5 and 6
    double horizontalComponent = 0.0; // value 7
    double spherical = 0.0; // value 8
    double normal[2] {}; // values 9 and 10
    double observer = 0.0; // value 16
    double bothFaces = 0.0; // S1
    double bothFacesInitial = 0.0; // S2
};

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

// The unit axes of one luminaire position, which do not depend on the point.
struct PositionAxes {
    CVector reference; // C0, along the width
    CVector optical;   // gamma 0
    CVector length;    // C90, along the length
    CVector c0;        // C0 square to the optical axis, for the C angle
};

// Everything the pass needs of one lamp system, resolved once per area.
struct ResolvedSystem {
    const CLampSystem* system;
    const CLuminaire* luminaire;
    double flux;
    double length; // of the luminous area, m
    double width;
    std::size_t firstAxes; // index of its first position in the axes list
};

// Checks every lamp system that takes part and prepares what the points need of it.
bool resolveSystems(const CRoom& room, const CalcCatalogue& catalogue, std::vector<ResolvedSystem>& resolved,
    std::vector<PositionAxes>& axes)
{
    resolved.clear();
    axes.clear();
    const auto lit = litLampSystems(room, catalogue);
    if (!lit)
        return false;
    for (const LitLampSystem& entry : *lit) {
        const CLampSystem& system = *entry.system;
        const CLuminaire* luminaire = entry.luminaire;
        // A round luminous area (no width) is laid out as the square around it, in this pass only.
        const auto& dimensions = luminaire->m_luminousDimensions;
        const double length = dimensions[kLuminousLength];
        const double width = dimensions[kLuminousWidth] < 1e-5 ? length : dimensions[kLuminousWidth];
        resolved.push_back({ &system, luminaire, entry.flux, length, width, axes.size() });
        for (const COneLampSystem& position : system.m_luminaires) {
            PositionAxes a;
            a.reference = position.m_c0Axis.Normalized();
            a.optical = position.m_opticalAxis.Normalized();
            a.length = CrossProduct(a.reference, a.optical).Normalized();
            a.c0 = CrossProduct(a.optical, a.length);
            axes.push_back(a);
        }
    }
    return true;
}

} // namespace

bool calcPointIlluminance(const CRoom& room, CWorkSystem& area, std::int32_t mode, std::int32_t& step,
    const CalcCatalogue& catalogue)
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
    const bool hasNormal = normalLength > 0.5;

    std::vector<ResolvedSystem> systems;
    std::vector<PositionAxes> axesList;
    if (area.m_excluded != 1 && !resolveSystems(room, catalogue, systems, axesList))
        return false;

    const ObstacleScene obstacles(room);
    const bool anyObstacle = !obstacles.empty();
    const double ratio = room.m_divisionRatio;
    // A calculation surface (its normal given, not taken from its grid) holds the mean of each element.
    const bool elementMean = area.m_normalMode == 0;
    const double elementU = area.m_step1.Length();
    const double elementV = area.m_step2.Length();
    const std::size_t modeIndex = mode < 0 ? static_cast<std::size_t>(-1) : static_cast<std::size_t>(mode);

    // Adds the light of one luminaire at point p, weighted; false when it cannot be divided.
    const auto addLuminaire = [&](const CVector& p, double weight, double k, const COneLampSystem& position,
                                  const PositionAxes& axis, const ResolvedSystem& resolved, PointSums& sums) {
        const CLuminaire& luminaire = *resolved.luminaire;
        const double luminaireLength = resolved.length;
        const double luminaireWidth = resolved.width;
        const double maintenance = resolved.system->m_maintenanceFactor;
        const double uncertainty = resolved.system->m_uncertaintyFactor;
        const CVector toObserver = area.m_cameraPosition - p;
        const double observerLength = toObserver.Length();
        const double d0 = Distance(p, position.m_position);
        if (!(d0 > 0.04))
            return true;

        const double n1Raw = std::trunc(luminaireLength / d0 * ratio) + 1.0;
        const double n2Raw = std::trunc(luminaireWidth / d0 * ratio) + 1.0;
        if (!(n1Raw >= 1e-9) || !(n2Raw >= 1e-9))
            return false;
        // A point close to a long luminaire still gets its light: the parts
        // are capped rather than the luminaire dropped.
        const double n1 = std::fmin(n1Raw, kMaxLuminaireParts);
        const double n2 = std::fmin(n2Raw, kMaxLuminaireParts);
        const int parts1 = static_cast<int>(n1);
        const int parts2 = static_cast<int>(n2);

        const double partLength = luminaireLength / n1;
        const double partWidth = luminaireWidth / n2;
        const CVector& reference = axis.reference;
        const CVector& optical = axis.optical;
        const CVector& lengthAxis = axis.length;
        const CVector first = position.m_position - ((n2 - 1.0) * partWidth * 0.5) * reference
            - ((n1 - 1.0) * partLength * 0.5) * lengthAxis;

        for (int r = 0; r < parts1; ++r) {
            for (int s = 0; s < parts2; ++s) {
                const CVector q = first + (s * partWidth) * reference + (r * partLength) * lengthAxis;
                double t = 1.0;
                if (anyObstacle) {
                    double crossed = 1.0;
                    if (obstacles.crossing(q, p, crossed, true) != 0) {
                        if (crossed <= 1e-5)
                            continue;
                        t = crossed;
                    }
                }
                const CVector dir = p - q;
                // Distance(q, p), whose floor of 1e-5 the 0.04 test makes moot.
                const double length = dir.Length();
                const double d = length;
                if (!(d > 0.04))
                    continue;
                // The axes are unit vectors: both angles follow from the ray's components along them.
                const double gamma = AngleOfCosine(DotProduct(dir, optical) / length);
                const double towardsC0 = DotProduct(dir, axis.c0);
                const double towardsC90 = DotProduct(dir, lengthAxis);
                double c = 0.0;
                if (towardsC0 * towardsC0 + towardsC90 * towardsC90 > 1e-10) {
                    c = RadToDeg(std::atan2(towardsC90, towardsC0));
                    if (c < 0.0)
                        c += 360.0;
                }
                const double intensity = luminaire.GetIntensity(c, gamma);
                const double initial
                    = intensity * k * 0.001 / d / d / n1 / n2 * uncertainty * t * resolved.flux * weight;
                const double e = intensity * k * 0.001 / d / d / n1 / n2 * uncertainty * maintenance
                    * t * resolved.flux * weight;

                // The cosines of AbsCosBetween, with the ray's length taken once.
                const double cx = std::fabs(dir.x) / length;
                const double cy = std::fabs(dir.y) / length;
                const double cz = std::fabs(dir.z) / length;
                sums.vertical[dir.x >= 0.0 ? 0 : 1] += e * cx;
                sums.vertical[dir.y >= 0.0 ? 2 : 3] += e * cy;
                sums.belowAbove[dir.z >= 0.0 ? 0 : 1] += e * cz;
                sums.spherical += e;
                sums.horizontalComponent += e * std::sqrt(cx * cx + cy * cy);
                const double cn
                    = hasNormal ? std::fabs(DotProduct(dir, normal)) / length / normalLength : 0.0;
                sums.normal[DotProduct(dir, normal) >= 0.0 ? 0 : 1] += e * cn;
                if (DotProduct(dir, toObserver) < 0.0)
                    sums.observer += e * (std::fabs(DotProduct(dir, toObserver)) / length / observerLength);
                sums.bothFaces += e * cn;
                // Taken without the maintenance factor rather than divided by it,
                // so a factor of 0 gives the initial value and not NaN.
                sums.bothFacesInitial += initial * cn;
            }
        }
        return true;
    };

    const std::size_t rows = static_cast<std::size_t>(std::max(area.m_count1, 0));
    const std::size_t perRow = static_cast<std::size_t>(std::max(area.m_count2, 0));
    if (area.m_excluded == 1) {
        for (std::size_t i = 0; i < rows; ++i)
            advanceCalcStep(step);
        return true;
    }

    // Each point is summed whole by one thread, in the same order: results do not depend on the threads.
    const auto computePoint = [&](std::size_t record) {
        if (record >= area.m_points.size())
            return true;
        CPointCalc& point = area.m_points[record];
        const CVector p = area.PointPosition(static_cast<std::int32_t>(record / perRow),
            static_cast<std::int32_t>(record % perRow));
        PointSums sums;
        for (const ResolvedSystem& resolved : systems) {
            const CLampSystem& system = *resolved.system;
            const PositionAxes* axes = axesList.data() + resolved.firstAxes;
            for (const COneLampSystem& position : system.m_luminaires) {
                const PositionAxes& axis = *axes++;
                const double k = position.ModeFactor(modeIndex);
                if (!(k > 0.001) || position.m_switchedOff == 1)
                    continue;
                // A calculation surface takes the mean over its element: the element is
                // sampled finer the nearer the luminaire is, as the luminaire is cut.
                int samples1 = 1;
                int samples2 = 1;
                if (elementMean) {
                    const double dc = Distance(p, position.m_position);
                    samples1 = elementSamples(elementU, dc);
                    samples2 = elementSamples(elementV, dc);
                }
                const double sampleWeight = 1.0 / (samples1 * samples2);
                for (int s1 = 0; s1 < samples1; ++s1) {
                    for (int s2 = 0; s2 < samples2; ++s2) {
                        const CVector ps = elementMean
                            ? p + sampleOffset(s1, samples1) * area.m_step1 + sampleOffset(s2, samples2) * area.m_step2
                            : p;
                        if (!addLuminaire(ps, sampleWeight, k, position, axis, resolved, sums))
                            return false;
                    }
                }
            }
        }
        addToPoint(point, sums);
        return true;
    };
    switch (runPointBatches(rows, perRow, step, computePoint)) {
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
