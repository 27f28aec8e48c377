#include "calc/ThresholdIncrement.h"

#include "calc/CalcCatalogue.h"
#include "calc/LuminaireFlux.h"
#include "calc/LuminaireFrame.h"
#include "calc/PointBatches.h"
#include "model/CRoom.h"
#include "model/RegularLayout.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace kzev {

namespace {

constexpr int kNoLampSystemId = 63800;
constexpr int kNoLuminanceId = 63801;
constexpr int kPlaceholderHeightId = 63802;
constexpr int kUnresolvedId = 63803;

constexpr double kEyeHeight = 1.5;
// How far the road is continued beyond the field on either side, metres.
constexpr double kRoadBeyondField = 500.0;
constexpr double kMaxAddedPitches = 10000.0;
// Smaller average luminances count as none: TI would have no finite value.
constexpr double kMinLuminance = 1e-6;

struct GlareSource {
    CVector position;
    LuminaireFrame frame;
    const CLuminaire* luminaire;
    double flux;
};

void logLine(int id, const std::string& areaName, const std::string& systemName = {})
{
    services().log->addLine(formatC(loadString(id).c_str(), areaName.c_str(), systemName.c_str()));
}

/**
 * Continues a regular system by whole pitches along the road: n pitches of
 * at most 500 m before its first row and as many after its last. The field's
 * own luminaires keep their places, aim and switches; the added ones take the
 * system's common axes. A system without a pitch along x stays as it is.
 */
std::vector<COneLampSystem> continuedAlongRoad(const CLampSystem& system, std::size_t modeCount)
{
    const double pitch = system.m_pitch1.x;
    if (system.m_nonRegular != 0 || !(std::fabs(pitch) > 1e-6) || system.m_count1 < 1 || system.m_count2 < 1)
        return system.m_luminaires;
    // A pitch of a few centimetres is no road lighting; the cap keeps the copy's size sane.
    const auto added = static_cast<std::int32_t>(
        std::min(std::trunc(kRoadBeyondField / std::fabs(pitch)), kMaxAddedPitches));
    CLampSystem longer = system;
    longer.m_count1 = system.m_count1 + 2 * added;
    longer.m_origin = system.m_origin - static_cast<double>(added) * system.m_pitch1;
    layOutRegularLuminaires(longer, modeCount);
    const std::size_t shift = static_cast<std::size_t>(added) * static_cast<std::size_t>(system.m_count2);
    for (std::size_t k = 0; k < system.m_luminaires.size() && shift + k < longer.m_luminaires.size(); ++k)
        longer.m_luminaires[shift + k] = system.m_luminaires[k];
    return longer.m_luminaires;
}

} // namespace

ThresholdIncrementOutcome computeThresholdIncrement(const CRoom& room, CWorkSystem& area,
    const CalcCatalogue& catalogue)
{
    if (room.m_lampSystems.empty()) {
        logLine(kNoLampSystemId, area.m_name);
        return ThresholdIncrementOutcome::NotComputed;
    }
    const CLampSystem& first = room.m_lampSystems.front();
    // A negative height stands for "at the mounting height" until the design page fills it in.
    const double mountingHeight = first.m_origin.z;
    if (mountingHeight < 0.0) {
        logLine(kPlaceholderHeightId, area.m_name, first.m_name);
        return ThresholdIncrementOutcome::NotComputed;
    }
    double luminance = area.m_avg[CWorkSystem::kSlotRoadLuminance];
    if (std::fabs(area.m_maintenanceRatio) > 0.001)
        luminance /= area.m_maintenanceRatio;
    if (!(luminance > kMinLuminance)) {
        logLine(kNoLuminanceId, area.m_name);
        return ThresholdIncrementOutcome::NotComputed;
    }

    // The lamp systems do not change from row to row: continue them once.
    std::vector<GlareSource> sources;
    for (const CLampSystem& system : room.m_lampSystems) {
        if (system.m_switchedOff == 1)
            continue;
        const CLuminaire* luminaire = catalogue.luminaire(system.m_luminaireIndex);
        const std::optional<double> flux = luminaire ? luminaireFlux(system, *luminaire, catalogue) : std::nullopt;
        if (!luminaire || !flux) {
            logLine(kUnresolvedId, area.m_name, system.m_name);
            return ThresholdIncrementOutcome::NotComputed;
        }
        for (const COneLampSystem& one : continuedAlongRoad(system, room.m_modes.size())) {
            if (one.m_switchedOff != 1)
                sources.push_back({ one.m_position, LuminaireFrame(one), luminaire, *flux });
        }
    }

    const double direction = area.m_drivingDirection == 1 ? 1.0 : -1.0;
    const double setBack = (mountingHeight - kEyeHeight) * 2.75 + area.m_step1.x * 0.5;
    const CVector sight = CVector { direction, 0.0, -std::tan(DegToRad(1.0)) }.Normalized();
    const double luminanceFactor = 65.0 / std::pow(luminance, 0.8);
    IMessagePump& pump = *services().pump;

    const std::size_t rows = static_cast<std::size_t>(std::max(area.m_count1, 0));
    if (rows > 0)
        area.m_viewDirection = sight;
    std::vector<double> rowTi(rows, 0.0);
    // Each row's sum is taken whole by one thread, in the same order: results do not depend on the threads.
    const auto computeRow = [&](std::size_t row) {
        // On its own the pass answers a stop at the next luminaire, as it serves the window there.
        const bool alone = pointRunsAlone();
        // The driver approaches the row: he stands before it in his own direction.
        const CVector eye { area.m_origin.x + static_cast<double>(row) * area.m_step1.x - direction * setBack,
            area.m_origin.y + area.m_step1.y, kEyeHeight };
        double sum = 0.0;
        for (const GlareSource& source : sources) {
            if (alone)
                pump.pump();
            if (stopRequested())
                return false;
            const CVector towardsEye = eye - source.position;
            const double d = towardsEye.Length();
            if (!(d > 1e-9))
                continue;
            // Only luminaires seen 1.5 to 60 degrees from the line of sight count: the angle first.
            const CVector towardsLuminaire = source.position - eye;
            if (DotProduct(towardsLuminaire, sight) < 0.0)
                continue;
            const double theta = AngleBetween(towardsLuminaire, sight);
            if (!(theta >= 1.5 && theta <= 60.0))
                continue;
            const PhotometricAngles angles = source.frame.anglesTowards(towardsEye, d);
            const double normalIlluminance
                = source.luminaire->GetIntensity(angles.c, angles.gamma) * 0.001 / d / d * source.flux;
            sum += std::cos(DegToRad(theta)) * normalIlluminance / theta / theta;
        }
        rowTi[row] = sum <= 1e-6 ? 0.0 : luminanceFactor * sum * 10.0;
        return true;
    };
    // A row fails only when it saw the stop flag.
    if (runPointBatches(rows, 1, computeRow) != BatchOutcome::done)
        return ThresholdIncrementOutcome::Stopped;
    double tiMax = 0.0;
    for (const double ti : rowTi) {
        if (ti >= 0.0 && ti > tiMax)
            tiMax = ti;
    }
    area.m_thresholdIncrement = tiMax;
    return ThresholdIncrementOutcome::Stored;
}

} // namespace kzev
