#pragma once

class CKzevDoc;
class CLampSystem;
class CRoom;

namespace kzev {

/**
 * Luminous sides taller than this (metres) put a luminaire among those with
 * tall luminous sides, which the limiting-luminance curves treat apart.
 */
inline constexpr double kTallLuminousSides = 0.030;

/**
 * Judges the direct glare of the lamp system by the limiting-luminance
 * method: the luminaire's table luminances at gamma 45 to 85 degrees in the
 * two viewing planes against the limiting curves of the room's glare class
 * and the system's maintained illuminance, below the critical angle of each
 * plane. Fills the system's critical angles, luminance, limit and pass
 * tables and its two verdicts (applied; all cells pass). Where the method
 * does not apply (viewing upwards, dark ceiling or walls, a small room,
 * luminances not given) only the verdicts are set, to 0. With the
 * document's limiting-luminance log flag the steps go into the log.
 *
 * Returns false only when the luminaire or the lamp cannot be resolved
 * (the resolution reports it).
 */
bool calcGlareLimitingLuminance(CKzevDoc& doc, const CRoom& room, CLampSystem& system);

} // namespace kzev
