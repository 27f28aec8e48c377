#pragma once

#include <filesystem>

class CRoom;
class CWorkSystem;

namespace kzev {

class CalcCatalogue;

/**
 * The road-luminance pass: writes into every point of a road field that is
 * not inside an obstacle the luminance of the road surface seen from the
 * area's observer (its camera position), summed over every luminaire of the
 * room that is switched on:
 *
 *   L += I · r(β, tan γ) · s / 1000 / h² · uncertainty · maintenance · τ
 *
 * with I in cd per 1000 lm times the luminaire's flux, r the value of the
 * room's road-surface table and s its scale, h the luminaire's height above
 * the point, γ the angle of incidence at the point (from the vertical), β the
 * plan angle between the directions observer → point and point → luminaire,
 * and τ the transmittance of the obstacles between. Each luminaire is taken
 * as aimed, with its own optical and C0 axes; mode factors do not apply.
 *
 * Returns true when every point was done; false when the table cannot be
 * read or a lamp system is not resolved (after a message) or the stop flag
 * was seen (the points done so far keep their new values).
 */
[[nodiscard]] bool calcRoadLuminance(const CRoom& room, CWorkSystem& area, const CalcCatalogue& catalogue,
    const std::filesystem::path& dataFolder);

} // namespace kzev
