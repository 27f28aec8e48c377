#pragma once

#include "calc/LumenMethodTable.h"

#include <array>
#include <cstdint>
#include <filesystem>

class CLampSystem;
class CRoom;

namespace kzev {

class CalcCatalogue;

/** What the lumen method computes: Em from the count, or the count from Em. */
enum class LumenMethodMode : std::int32_t { EmFromCount = 0, CountFromEm = 1 };

/** Transfer terms of the cavity method for one set of reflectances. */
struct LumenTransfer {
    double rhoWall = 0.0;
    double rhoCeilingCavity = 0.0;
    double rhoFloorCavity = 0.0;
    double m = 0.0;
    double d = 0.0;
    double k = 0.0;
    double g = 0.0;
};

/** The working values of one lumen-method evaluation, for the design page and tests. */
struct LumenMethodDetail {
    double floorArea = 0.0;
    double luminaireFlux = 0.0;
    double roomCavityRatio = 0.0;
    double ceilingCavityRatio = 0.0;
    double floorCavityRatio = 0.0;
    double formFactor = 0.0;
    LumenTransfer initial;
    LumenTransfer maintained;
    /** Flux of each downward zone (5, 15, .. 85 degrees) per lumen of the luminaire's lamps. */
    std::array<double, kLumenZones> zoneFlux {};
    /** Direct share of each downward zone read from the table. */
    std::array<double, kLumenZones> directShare {};
    double spacingToHeight = 0.0;
    double directDownward = 0.0;
    double remainingDownward = 0.0;
    double upward = 0.0;
    /** Share of the luminaire flux reaching the work plane, initial and maintained reflectances. */
    double workPlane = 0.0;
    double workPlaneMaintained = 0.0;
    double ceiling = 0.0;
    double ceilingMaintained = 0.0;
    /** Number of estimates made (three in mode 1, one otherwise). */
    int iterations = 0;
};

/**
 * The lumen (cavity) method for one lamp system in its room: in mode 1 the
 * number of luminaires needed for the system's Em, otherwise Em from its
 * number of luminaires. On success writes the count, Em and the results
 * A1..A7 and B1..B6 into the system and returns true; on any failure shows a
 * message box (error icon), leaves the system unchanged and returns false.
 * The table is read from the data folder at every call. The room's
 * reflectance reduction in use and the system's maintenance factor are those
 * the maintenance-factor calculation left.
 */
[[nodiscard]] bool calcLumenMethod(CLampSystem& system, const CRoom& room, LumenMethodMode mode,
    const CalcCatalogue& catalogue, const std::filesystem::path& dataFolder, LumenMethodDetail* detail = nullptr);

/**
 * Reads the table file of the data folder; shows 61446 (cannot open) or
 * 61474 (bad data) with the path and returns false on failure.
 */
[[nodiscard]] bool readLumenMethodTableReporting(const std::filesystem::path& dataFolder, LumenMethodTable& table);

} // namespace kzev
