#include "calc/UnifiedGlareRating.h"

#include "calc/CalcCatalogue.h"
#include "calc/CalcProgress.h"
#include "calc/GlareGeometry.h"
#include "calc/LuminaireFlux.h"
#include "calc/LuminaireFrame.h"
#include "calc/ObstacleScene.h"
#include "calc/PointBatches.h"
#include "calc/PositionIndexTable.h"
#include "model/CRoom.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <optional>
#include <vector>

namespace kzev {

namespace {

constexpr int kNoLuminousAreaId = 62003;
constexpr int kNoBackgroundId = 63700;

// Below this reflected illuminance at the eye (lux) the background counts as none.
constexpr double kNoBackgroundLux = 1e-6;

// The luminance of a luminous area is rated up to this angle from its axis;
// the eye further round sees it too edge-on, and the CIE tables leave it out.
constexpr double kLargestGamma = 85.0;

// Projected luminous area of the whole luminaire seen along toEye, at the
// given distance (unit axes a = C0, b = length, o = optical). A width of
// exactly 2 marks a sphere of diameter L, a width of 0 an upright cylinder of
// diameter L and height H.
double projectedArea(double length, double width, double height, const CVector& a, const CVector& b,
    const CVector& o, const CVector& toEye, double distance)
{
    if (std::fabs(width - 2.0) < 1e-9)
        return 0.785398 * length * length;
    if (std::fabs(width) < 1e-9) {
        const double cosTheta = DotProduct(toEye, o) / distance;
        const double sinTheta = std::sqrt(std::fmax(0.0, 1.0 - cosTheta * cosTheta));
        // The side of a cylinder shows as a rectangle of its diameter by its height.
        return std::fabs(cosTheta) * 0.785398 * length * length + sinTheta * height * length;
    }
    // Each face turned towards the eye shows its area × cosine; the others nothing.
    const double ca = std::fabs(DotProduct(toEye, a)) / distance;
    const double cb = std::fabs(DotProduct(toEye, b)) / distance;
    const double co = std::fabs(DotProduct(toEye, o)) / distance;
    return height * length * ca + height * width * cb + width * length * co;
}

// One luminaire position that the mode lights, with what the rating needs of
// it worked out once per pass; in the order of the systems and their positions.
struct GlareSource {
    CVector position;
    LuminaireFrame frame;
    const CLuminaire* luminaire;
    const CLampSystem* system;
    double flux; // lm, times the mode's factor
    double length;
    double width;
    double height;
};

// The luminaires as the area's mode lights them, the state its background
// comes from: a luminaire the mode leaves dark is no glare source, a dimmed
// one glares with its dimmed output.
std::vector<GlareSource> glareSources(const std::vector<LitLampSystem>& systems, std::int32_t mode)
{
    std::vector<GlareSource> sources;
    for (const LitLampSystem& entry : systems) {
        const auto& dimensions = entry.luminaire->m_luminousDimensions;
        for (const COneLampSystem& position : entry.system->m_luminaires) {
            const double k = outputInMode(position, mode);
            if (k > 0.0)
                sources.push_back({ position.m_position, LuminaireFrame(position), entry.luminaire, entry.system,
                    k * entry.flux, dimensions[kLuminousLength], dimensions[kLuminousWidth], dimensions[2] });
        }
    }
    return sources;
}

// The sine and cosine of the angle AngleBetween(a, b) gives: its snaps to 0
// and 180 degrees kept, and so is the hair above 90 degrees it gives for a
// cosine just above 0. The ratios of the position-index table follow from
// them without acos and tan.
struct SineCosine {
    double sine;
    double cosine;
};

SineCosine angleBetween(const CVector& a, const CVector& b)
{
    const double la = a.Length();
    const double lb = b.Length();
    if (std::fabs(la) <= 1e-5 || std::fabs(lb) <= 1e-5)
        return { 0.0, 1.0 };
    const double c = DotProduct(a, b) / la / lb;
    if (std::fabs(1.0 - c) <= 1e-5)
        return { 0.0, 1.0 };
    if (std::fabs(c + 1.0) <= 1e-5)
        return { 0.0, -1.0 };
    const double clamped = std::fabs(c) > 1.0 ? 1.0 : std::fabs(c);
    return { std::sqrt(1.0 - clamped * clamped), c >= 1e-5 ? clamped : -clamped };
}

// A viewing direction of the area with what the angles of the sources need of it.
struct ViewingDirection {
    CVector view;
    CVector upCrossView;
    SineCosine fromUp;
};

CVector upVector(const CWorkSystem& area)
{
    CVector n = CrossProduct(area.m_step1, area.m_step2);
    if (n.Length() < 0.001)
        return { 0.0, 0.0, 1.0 };
    n = n.Normalized();
    if (n.z < 0.0)
        n = -1.0 * n;
    return n;
}

} // namespace

double ReflectedPassBackground::eyeIlluminance(std::size_t point, std::size_t direction) const
{
    if (point >= m_area.m_points.size())
        return 0.0;
    const std::vector<double>& list = m_area.m_points[point].m_reflectedByDirection;
    return direction < list.size() ? list[direction] : 0.0;
}

bool computeUgr(const CRoom& room, CWorkSystem& area, std::int32_t& step, const CalcCatalogue& catalogue,
    const PositionIndexTable& table, const UgrBackground& background)
{
    const auto lit = litLampSystems(room, catalogue);
    if (!lit)
        return false;
    const std::vector<GlareSource> sources = glareSources(*lit, area.m_modeIndex);
    const ObstacleScene obstacles(room);

    const CVector up = upVector(area);
    std::vector<ViewingDirection> directions;
    for (std::int32_t k = 0; k < area.m_directionCount; ++k) {
        const CVector view = viewingDirection(directionAzimuth(area, k), area.m_tilt);
        directions.push_back({ view, CrossProduct(up, view), angleBetween(view, up) });
    }
    std::atomic<bool> backgroundMissing { false };

    const std::size_t rows = static_cast<std::size_t>(std::max(area.m_count1, 0));
    const std::size_t perRow = static_cast<std::size_t>(std::max(area.m_count2, 0));
    std::atomic<const CLampSystem*> withoutArea { nullptr };
    // Each point is rated whole by one thread: results do not depend on the threads.
    const auto ratePoint = [&](std::size_t pointIndex) {
        if (pointIndex >= area.m_points.size())
            return true;
        const CVector eye = area.PointPosition(static_cast<std::int32_t>(pointIndex / perRow),
            static_cast<std::int32_t>(pointIndex % perRow));
        // Built aside and stored whole, so a stop or an error never leaves a half-rated point.
        std::vector<double> ratings;
        ratings.reserve(directions.size());
        double largest = -1.0;
        bool notComputed = false;

        for (std::size_t k = 0; k < directions.size(); ++k) {
            const ViewingDirection& direction = directions[k];
            double sum = 0.0;
            for (const GlareSource& source : sources) {
                // The whole luminaire is rated at its centre, as the CIE formula counts it.
                const CVector& q = source.position;
                const CVector s = q - eye;
                const double d = s.Length();
                if (!(d > 1e-9))
                    continue;
                // Angles of the centre from the line of sight: tau sideways about the up
                // vector, delta above it. The table holds tan tau and tan |delta| from 0
                // up, so a centre 90 degrees or more away either way is outside it.
                const SineCosine tau = angleBetween(CrossProduct(up, s), direction.upCrossView);
                if (!(tau.cosine > 0.0))
                    continue;
                const SineCosine fromUp = angleBetween(s, up);
                const double sinDelta = direction.fromUp.sine * fromUp.cosine - direction.fromUp.cosine * fromUp.sine;
                const double cosDelta = direction.fromUp.cosine * fromUp.cosine + direction.fromUp.sine * fromUp.sine;
                if (!(cosDelta > 0.0))
                    continue;
                const double tr = tau.sine / tau.cosine;
                // H/R is over the distance along the line of sight, not over the
                // horizontal distance, as the position-index table is laid out.
                const double hr = std::fabs(sinDelta) / cosDelta / tau.cosine;
                const double p = table.lookup(tr, hr);
                if (!(p > 1e-5))
                    continue;
                const CVector u = eye - q;
                const LuminaireFrame& frame = source.frame;
                const PhotometricAngles angles = frame.anglesTowards(u, d);
                if (angles.gamma > kLargestGamma)
                    continue;
                const double t = obstacles.transmittance(q, eye, true);
                if (t == 0.0)
                    continue;
                const double area0 = projectedArea(source.length, source.width, source.height, frame.reference(),
                    frame.length(), frame.optical(), u, d);
                if (!(area0 > 1e-9)) {
                    const CLampSystem* none = nullptr;
                    withoutArea.compare_exchange_strong(none, source.system);
                    return false;
                }
                // L = I / A and ω = A / r² for a source of any size, as the makers' tables count it.
                const double omega = area0 / (d * d);
                const double intensity = source.luminaire->GetIntensity(angles.c, angles.gamma) * source.flux * 0.001;
                const double luminance = intensity / area0 * t;
                const double term = luminance * luminance * omega / (p * p);
                if (term > 1e-6)
                    sum += term;
            }

            // With no luminaire lit the formula has neither a term nor a background: no value, not "no glare".
            double rating = sources.empty() ? CPointCalc::kNotComputed : 0.0;
            if (sum > 0.0) {
                const double eyeIlluminance = background.eyeIlluminance(pointIndex, k);
                if (eyeIlluminance > kNoBackgroundLux) {
                    rating = 8.0 * std::log10(sum * 0.25 / eyeIlluminance * kModelPi);
                    if (!(rating > 1e-6) || !std::isfinite(rating))
                        rating = 0.0;
                } else {
                    // Without a background the formula has no value; 0 would read as no glare.
                    backgroundMissing.store(true, std::memory_order_relaxed);
                    rating = CPointCalc::kNotComputed;
                }
            }
            ratings.push_back(rating);
            if (CPointCalc::IsNotComputed(rating))
                notComputed = true;
            else if (rating > largest)
                largest = rating;
        }
        CPointCalc& point = area.m_points[pointIndex];
        point.m_ugrByDirection = std::move(ratings);
        // The largest of the directions is unknown while one of them is.
        point.value(CPointCalc::kUgr) = notComputed ? CPointCalc::kNotComputed : largest;
        return true;
    };
    const BatchOutcome outcome = runPointBatches(rows, perRow, step, ratePoint);
    // The area keeps the last direction it was looked along.
    if (rows * perRow > 0 && !directions.empty())
        area.m_viewDirection = directions.back().view;
    if (outcome == BatchOutcome::failed) {
        const CLampSystem* system = withoutArea.load();
        services().messageBox->show(
            formatC(loadString(kNoLuminousAreaId).c_str(), system ? system->m_name.c_str() : ""),
            MessageIcon::Error, MessageButtons::Ok);
        return false;
    }
    if (outcome == BatchOutcome::stopped)
        return false;
    if (backgroundMissing.load())
        services().log->addLine(loadString(kNoBackgroundId));
    return true;
}

bool runUgrPass(const CRoom& room, CWorkSystem& area, std::int32_t& step, const CalcCatalogue& catalogue,
    const std::filesystem::path& dataFolder)
{
    PositionIndexTable table;
    if (!loadPositionIndexTable(dataFolder, table))
        return false;
    // The reflected pass of this run filled the list only under these switches,
    // and only for an area whose normal follows its grid; otherwise it is stale.
    const bool reflected
        = room.m_reflectedComponent == 1 && area.m_reflectedComponent == 1 && area.m_normalMode == 1;
    if (reflected)
        return computeUgr(room, area, step, catalogue, table, ReflectedPassBackground(area));
    return computeUgr(room, area, step, catalogue, table, NoReflectedBackground());
}

} // namespace kzev
