#include "calc/GlareRating.h"

#include "calc/CalcCatalogue.h"
#include "calc/GlareGeometry.h"
#include "calc/LuminaireFlux.h"
#include "calc/ObstacleShading.h"
#include "model/CRoom.h"
#include "model/Quantity.h"
#include "platform/Services.h"

#include <cmath>
#include <optional>
#include <vector>

namespace kzev {

namespace {

constexpr int kNoWorkPlaceId = 61987;

// 0.035 / pi with pi taken as 3.141592.
constexpr double kVeilingFactor = 0.011140848334220358;

// Mean illuminance without the maintenance factor over the work place's
// points that are not hidden; none when there is no such point.
std::optional<double> workPlaceIlluminance(const CWorkSystem& workPlace)
{
    double sum = 0.0;
    int count = 0;
    for (const CPointCalc& point : workPlace.m_points) {
        if (point.m_off == 1)
            continue;
        sum += point.value(CPointCalc::kDirectInitial) + point.value(CPointCalc::kReflectedInitial);
        ++count;
    }
    if (count == 0)
        return std::nullopt;
    return sum / count;
}


} // namespace

bool computeGlareRatingGr(const CRoom& room, CWorkSystem& area, const CalcCatalogue& catalogue)
{
    std::optional<double> meanIlluminance;
    double reflectance = 0.0;
    if (!room.m_workSystems.empty()) {
        const CWorkSystem& workPlace = room.m_workSystems.front();
        reflectance = workPlace.m_reflectance;
        if (workPlace.m_quantityCode == quantityCode(Quantity::Horizontal))
            meanIlluminance = workPlaceIlluminance(workPlace);
    }
    // A work place without light would make the surroundings' luminance 0 and GR infinite.
    if (!meanIlluminance || !(*meanIlluminance > 1e-9) || !(reflectance >= 0.0001)) {
        messageBoxId(kNoWorkPlaceId, MessageIcon::Error);
        return false;
    }
    const double surroundings = reflectance * *meanIlluminance * kVeilingFactor;
    const double surroundingsTerm = std::pow(surroundings, 0.9);

    const auto lit = litLampSystems(room, catalogue);
    if (!lit)
        return false;
    const std::vector<LitLampSystem>& systems = *lit;

    const bool anyObstacle = !room.m_obstacleSystems.empty();
    IMessagePump& pump = *services().pump;

    for (std::int32_t i = 0; i < area.m_count1; ++i) {
        for (std::int32_t j = 0; j < area.m_count2; ++j) {
            const std::size_t pointIndex = static_cast<std::size_t>(i) * static_cast<std::size_t>(area.m_count2)
                + static_cast<std::size_t>(j);
            if (pointIndex >= area.m_points.size())
                break;
            const CVector eye = area.PointPosition(i, j);
            std::vector<double> ratings;
            double largest = 0.0;

            for (std::int32_t k = 0; k < area.m_directionCount; ++k) {
                const CVector view = viewingDirection(directionAzimuth(area, k), area.m_tilt);
                area.m_viewDirection = view;
                double sum = 0.0;

                for (const LitLampSystem& entry : systems) {
                    const double maintenance = entry.system->m_maintenanceFactor;
                    for (const COneLampSystem& position : entry.system->m_luminaires) {
                        if (position.m_switchedOff == 1)
                            continue;
                        const CVector a = position.m_c0Axis.Normalized();
                        const CVector o = position.m_opticalAxis.Normalized();
                        const CVector& q = position.m_position;
                        pump.pump();
                        if (stopRequested())
                            return false;
                        double t = 1.0;
                        if (anyObstacle) {
                            double crossed = 1.0;
                            if (findObstacleOnRay(q, eye, room, crossed, true) != 0) {
                                if (crossed <= 1e-5)
                                    continue;
                                t = crossed;
                            }
                        }
                        const double d = Distance(q, eye);
                        if (d <= 1e-9)
                            continue;
                        const CVector u = eye - q;
                        const double gamma = AngleBetween(u, o);
                        const double c = fullCircleCAngle(u, a, o);
                        const double eyeIlluminance = entry.luminaire->GetIntensity(c, gamma) * 0.001 / (d * d)
                            * maintenance * t * entry.flux;
                        const CVector s = q - eye;
                        if (DotProduct(s, view) < 0.0)
                            continue;
                        const double theta = AngleBetween(s, view);
                        if (theta < 1.5 || theta > 60.0)
                            continue;
                        sum += eyeIlluminance * std::cos(DegToRad(theta)) / (theta * theta);
                    }
                }

                if (sum <= 1e-6) {
                    ratings.push_back(0.0);
                    continue;
                }
                const double rating = 24.0 * std::log10(10.0 * sum / surroundingsTerm) + 27.0;
                if (!(rating >= 0.0)) {
                    ratings.push_back(0.0);
                    continue;
                }
                ratings.push_back(rating);
                if (rating > largest)
                    largest = rating;
            }
            CPointCalc& point = area.m_points[pointIndex];
            point.m_grByDirection = std::move(ratings);
            point.value(CPointCalc::kGr) = largest;
        }
    }
    return true;
}

} // namespace kzev
