#pragma once

#include <cstddef>
#include <cstdint>

class CLampSystem;

namespace kzev {

/**
 * Rebuilds the luminaires of a regular lamp system from its origin, pitches
 * and counts: for i over count 1 (outer) and j over count 2 (inner) one
 * luminaire at origin + i·pitch 1 + j·pitch 2 with the system's axes. Every
 * luminaire gets the factor 1.0 for each of the room's modeCount modes; no
 * switched-off flag is carried over.
 */
void layOutRegularLuminaires(CLampSystem& system, std::size_t modeCount);

/**
 * The same grid as layOutRegularLuminaires, but luminaire k = i·count 2 + j
 * keeps the switched-off flag that luminaire k had before, as the design page
 * regenerates a system while the user edits it.
 */
void rebuildRegularLuminaires(CLampSystem& system, std::size_t modeCount);

/** Origin, pitch and count of a regular layout along one room axis. */
struct AxisLayout {
    double origin = 0.0;
    double pitch = 0.0;
    std::int32_t count = 1;
    /** Set when the pitch given was below 0.0001 m and one row was laid instead. */
    bool pitchRejected = false;
};

/**
 * Layout by count along an axis of the given extent: centred, the extent is
 * cut into count equal cells with a luminaire in the middle of each; not
 * centred, the rows run from the given origin to the far wall.
 */
[[nodiscard]] AxisLayout layOutAxisByCount(double extent, std::int32_t count, double origin, bool centre);

/**
 * Layout by pitch along an axis: as many rows as fit the extent (centred) or
 * the stretch from the origin to the far wall (not centred), at least one; a
 * centred layout moves the origin so the rows sit in the middle.
 */
[[nodiscard]] AxisLayout layOutAxisByPitch(double extent, double pitch, double origin, bool centre);

} // namespace kzev
