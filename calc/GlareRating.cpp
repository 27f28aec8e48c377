#include "calc/GlareRating.h"

#include "calc/CalcCatalogue.h"
#include "calc/GlareGeometry.h"
#include "calc/LuminaireFlux.h"
#include "calc/LuminaireFrame.h"
#include "calc/ObstacleScene.h"
#include "calc/PointBatches.h"
#include "model/CRoom.h"
#include "model/Quantity.h"
#include "platform/Services.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace kzev {

namespace {

constexpr int kNoWorkPlaceId = 61987;

// 0.035 / pi with pi taken as 3.141592.
constexpr double kVeilingFactor = 0.011140848334220358;

// Maintained mean illuminance over the work place's points that are not
// hidden; none when there is no such point. The luminaires' veiling
// luminance carries the maintenance factor and the mode's dimming, as this
// illuminance does: both terms of GR then describe the same state of the
// installation.
std::optional<double> workPlaceIlluminance(const CWorkSystem& workPlace)
{
    double sum = 0.0;
    int count = 0;
    for (const CPointCalc& point : workPlace.m_points) {
        if (point.m_off == 1)
            continue;
        sum += point.value(CPointCalc::kDirectMaintained) + point.value(CPointCalc::kReflectedMaintained);
        ++count;
    }
    if (count == 0)
        return std::nullopt;
    return sum / count;
}


// One luminaire position that is switched on, with what the sum needs of it
// worked out once per pass; in the order of the systems and their positions.
struct VeilingSource {
    CVector position;
    LuminaireFrame frame;
    const CLuminaire* luminaire;
    double maintenance;
    double flux; // lm, times the mode's factor and the uncertainty factor, as the direct pass takes it
};

// The luminaires as the mode lights them: a luminaire the mode leaves dark gives no
// veiling luminance, a dimmed one its dimmed share.
std::vector<VeilingSource> veilingSources(const std::vector<LitLampSystem>& systems, std::int32_t mode)
{
    std::vector<VeilingSource> sources;
    for (const LitLampSystem& entry : systems) {
        for (const COneLampSystem& position : entry.system->m_luminaires) {
            const double k = outputInMode(position, mode);
            if (k > 0.0)
                sources.push_back({ position.m_position, LuminaireFrame(position), entry.luminaire,
                    entry.system->m_maintenanceFactor, k * entry.system->m_uncertaintyFactor * entry.flux });
        }
    }
    return sources;
}

// The work place of an area: the first area of the area's mode that holds the
// horizontal illuminance, so that its light is of the same lighting as the
// luminaires the area is rated against. Glare areas of the mode may come before it.
const CWorkSystem* workPlaceOf(const CRoom& room, const CWorkSystem& area)
{
    for (const CWorkSystem& candidate : room.m_workSystems) {
        if (candidate.m_modeIndex == area.m_modeIndex
            && candidate.m_quantityCode == quantityCode(Quantity::Horizontal))
            return &candidate;
    }
    return nullptr;
}

enum class GrOutcome { Rated, NoWorkPlace, Ended };

GrOutcome rateArea(const CRoom& room, CWorkSystem& area, std::int32_t& step, const CalcCatalogue& catalogue)
{
    std::optional<double> meanIlluminance;
    double reflectance = 0.0;
    if (const CWorkSystem* workPlace = workPlaceOf(room, area)) {
        reflectance = workPlace->m_reflectance;
        meanIlluminance = workPlaceIlluminance(*workPlace);
    }
    // A work place without light would make the surroundings' luminance 0 and GR infinite.
    if (!meanIlluminance || !(*meanIlluminance > 1e-9) || !(reflectance >= 0.0001)) {
        messageBoxId(kNoWorkPlaceId, MessageIcon::Error);
        return GrOutcome::NoWorkPlace;
    }
    const double surroundings = reflectance * *meanIlluminance * kVeilingFactor;
    const double surroundingsTerm = std::pow(surroundings, 0.9);

    const auto lit = litLampSystems(room, catalogue);
    if (!lit)
        return GrOutcome::Ended;
    const std::vector<VeilingSource> sources = veilingSources(*lit, area.m_modeIndex);
    const ObstacleScene obstacles(room);
    std::vector<CVector> views;
    for (std::int32_t k = 0; k < area.m_directionCount; ++k)
        views.push_back(viewingDirection(directionAzimuth(area, k), area.m_tilt));

    const std::size_t rows = static_cast<std::size_t>(std::max(area.m_count1, 0));
    const std::size_t perRow = static_cast<std::size_t>(std::max(area.m_count2, 0));
    // Each point is rated whole by one thread: results do not depend on the threads.
    const auto ratePoint = [&](std::size_t pointIndex) {
        if (pointIndex >= area.m_points.size())
            return true;
        const CVector eye = area.PointPosition(static_cast<std::int32_t>(pointIndex / perRow),
            static_cast<std::int32_t>(pointIndex % perRow));
        std::vector<double> ratings;
        ratings.reserve(views.size());
        // With no luminaire lit there is no veiling luminance to rate: no value, not "no glare".
        double largest = sources.empty() ? CPointCalc::kNotComputed : 0.0;

        for (const CVector& view : views) {
            double sum = 0.0;
            for (const VeilingSource& source : sources) {
                const CVector& q = source.position;
                const CVector s = q - eye;
                if (DotProduct(s, view) < 0.0)
                    continue;
                const double theta = AngleBetween(s, view);
                if (theta < 1.5 || theta > 60.0)
                    continue;
                const double t = obstacles.transmittance(q, eye, true);
                if (t == 0.0)
                    continue;
                const CVector u = eye - q;
                const double length = u.Length();
                // Distance(q, eye): its floor of 1e-5 keeps a luminaire at the eye finite.
                const double d = length < 1e-5 ? 1e-5 : length;
                const PhotometricAngles angles = source.frame.anglesTowards(u, length);
                const double eyeIlluminance = source.luminaire->GetIntensity(angles.c, angles.gamma) * 0.001
                    / (d * d) * source.maintenance * t * source.flux;
                sum += eyeIlluminance * std::cos(DegToRad(theta)) / (theta * theta);
            }

            if (sum <= 1e-6) {
                ratings.push_back(sources.empty() ? CPointCalc::kNotComputed : 0.0);
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
        return true;
    };
    const BatchOutcome outcome = runPointBatches(rows, perRow, step, ratePoint);
    // The area keeps the last direction it was looked along.
    if (rows * perRow > 0 && !area.m_points.empty() && !views.empty())
        area.m_viewDirection = views.back();
    return outcome == BatchOutcome::done ? GrOutcome::Rated : GrOutcome::Ended;
}

} // namespace

bool computeGlareRatingGr(const CRoom& room, CWorkSystem& area, const CalcCatalogue& catalogue)
{
    std::int32_t rowsDone = 0;
    return computeGlareRatingGr(room, area, rowsDone, catalogue);
}

bool computeGlareRatingGr(const CRoom& room, CWorkSystem& area, std::int32_t& step, const CalcCatalogue& catalogue)
{
    return rateArea(room, area, step, catalogue) == GrOutcome::Rated;
}

bool runGrPass(const CRoom& room, CWorkSystem& area, std::int32_t& step, const CalcCatalogue& catalogue)
{
    const GrOutcome outcome = rateArea(room, area, step, catalogue);
    if (outcome != GrOutcome::NoWorkPlace)
        return outcome == GrOutcome::Rated;
    // The message said why; an earlier run's values must not pass for this run's, nor 0 for no glare.
    for (CPointCalc& point : area.m_points) {
        point.m_grByDirection.clear();
        point.value(CPointCalc::kGr) = CPointCalc::kNotComputed;
    }
    return true;
}

} // namespace kzev
