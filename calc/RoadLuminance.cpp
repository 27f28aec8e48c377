#include "calc/RoadLuminance.h"

#include "calc/CalcCatalogue.h"
#include "calc/CalcProgress.h"
#include "calc/LuminaireFlux.h"
#include "calc/LuminaireFrame.h"
#include "calc/ObstacleScene.h"
#include "calc/PointBatches.h"
#include "calc/RoadTable.h"
#include "model/CRoom.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace kzev {

namespace {

constexpr int kNoScaleId = 63805;
constexpr int kIncompleteLineId = 63806;

// A luminaire below this height over the point sends no light onto the road there.
constexpr double kMinHeight = 1e-9;

struct RoadLuminaire {
    CVector position;
    LuminaireFrame frame;
};

// Everything one lamp system gives to the sum, resolved once per area.
struct RoadSystem {
    const CLuminaire* luminaire;
    // Uncertainty factor × maintenance factor × flux, as they stand in the sum.
    double factor;
    std::vector<RoadLuminaire> luminaires;
};

bool resolveSystems(const CRoom& room, const CalcCatalogue& catalogue, std::vector<RoadSystem>& systems)
{
    const auto lit = litLampSystems(room, catalogue);
    if (!lit)
        return false;
    for (const LitLampSystem& entry : *lit) {
        const CLampSystem& system = *entry.system;
        RoadSystem road { entry.luminaire, system.m_uncertaintyFactor * system.m_maintenanceFactor * entry.flux, {} };
        for (const COneLampSystem& one : system.m_luminaires) {
            if (one.m_switchedOff != 1)
                road.luminaires.push_back({ one.m_position, LuminaireFrame(one) });
        }
        systems.push_back(std::move(road));
    }
    return true;
}

// Says in the log what of the table file will read as zeros.
void logTableRemarks(const RoadTable& table, const std::filesystem::path& file)
{
    ICalcLog& log = *services().log;
    for (const std::int32_t line : table.m_incompleteLines)
        log.addLine(formatC(loadString(kIncompleteLineId).c_str(), file.string().c_str(), static_cast<int>(line)));
    if (table.m_scale == 0.0)
        log.addLine(formatC(loadString(kNoScaleId).c_str(), file.string().c_str()));
}

CVector onGround(const CVector& v)
{
    return { v.x, v.y, 0.0 };
}

} // namespace

bool calcRoadLuminance(const CRoom& room, CWorkSystem& area, const CalcCatalogue& catalogue,
    const std::filesystem::path& dataFolder)
{
    const std::optional<RoadTable> table = readRoadTable(dataFolder, room.m_roadSurfaceClass);
    if (!table)
        return false;
    logTableRemarks(*table, roadTablePath(dataFolder, room.m_roadSurfaceClass));

    std::vector<RoadSystem> systems;
    if (!resolveSystems(room, catalogue, systems))
        return false;

    const ObstacleScene obstacles(room);
    const double scale = table->m_scale;
    const CVector observer = onGround(area.m_cameraPosition);
    IMessagePump& pump = *services().pump;
    const std::size_t rows = static_cast<std::size_t>(std::max(area.m_count1, 0));
    const std::size_t perRow = static_cast<std::size_t>(std::max(area.m_count2, 0));

    // Each point is summed whole by one thread, in the same order: results do not depend on the threads.
    const auto computePoint = [&](std::size_t k) {
        if (k >= area.m_points.size())
            return true;
        CPointCalc& point = area.m_points[k];
        if (point.m_off == 1)
            return true;
        // On its own the pass answers a stop at the next lamp system, as it serves the window there.
        const bool alone = pointRunsAlone();
        if (alone)
            reportCalcProgress();
        const CVector p = area.PointPosition(static_cast<std::int32_t>(k / perRow), static_cast<std::int32_t>(k % perRow));
        const CVector pGround = onGround(p);
        const CVector observation = pGround - observer;
        double luminance = 0.0;
        for (const RoadSystem& system : systems) {
            if (alone)
                pump.pump();
            if (stopRequested())
                return false;
            for (const RoadLuminaire& luminaire : system.luminaires) {
                const CVector& q = luminaire.position;
                const double h = q.z - p.z;
                if (!(h > kMinHeight))
                    continue;
                const double tau = obstacles.transmittance(q, p, false);
                if (tau == 0.0)
                    continue;
                const PhotometricAngles angles = luminaire.frame.anglesTowards(p - q);
                const double intensity = system.luminaire->GetIntensity(angles.c, angles.gamma);
                const CVector incidence = onGround(q) - pGround;
                // The surface's table is over the angle of incidence from the vertical,
                // whatever way the luminaire is aimed.
                const double tanGamma = incidence.Length() / h;
                const double beta = AngleBetween(incidence, observation);
                const double r = table->lookup(beta, tanGamma);
                luminance += intensity / h / h * system.factor * r * tau * scale * 0.000001;
            }
        }
        point.value(CPointCalc::kRoadLuminance) = luminance;
        return true;
    };
    // A point fails only when it saw the stop flag.
    return runPointBatches(rows, perRow, computePoint) == BatchOutcome::done;
}

} // namespace kzev
