#pragma once

#include <cstdint>

class CLampSystem;
class CRoom;

namespace kzev {

class CalcCatalogue;

/**
 * Returns the lamp system's luminous intensities summed over a grid of
 * directions, elevations from startElevation to 89 degrees in 2-degree
 * steps and azimuths 1, 3, .. 359, each weighted by |cos e| and the
 * luminaire's flux in kilolumen: proportional to the flux of that zone.
 * A switched-off or unresolved system gives 0.
 */
[[nodiscard]] double lampSystemZonalIntensity(const CLampSystem& system, std::int32_t startElevation,
    const CalcCatalogue& catalogue);

/** Returns the zonal sum over the room's lamp systems (0 for none). */
[[nodiscard]] double sumZonalIntensity(const CRoom& room, std::int32_t startElevation, const CalcCatalogue& catalogue);

/**
 * Returns the share of upward flux: the zonal sum above the horizontal over
 * the sum of all directions; 0 when the luminaires emit nothing at all.
 */
[[nodiscard]] double upwardFluxShare(const CRoom& room, const CalcCatalogue& catalogue);

} // namespace kzev
