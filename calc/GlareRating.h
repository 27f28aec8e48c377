#pragma once

#include <cstdint>

class CRoom;
class CWorkSystem;

namespace kzev {

class CalcCatalogue;

/**
 * Computes the glare rating GR of outdoor work places at every point of the
 * area for each of its viewing directions:
 * GR = 27 + 24 log10(Lvl / Lve^0.9), with the luminaires' veiling luminance
 * Lvl = 10 Σ E·cos θ / θ² (θ in degrees, 1.5 to 60 from the line of sight,
 * E at the eye normal to the light, maintained, as the area's mode dims
 * the luminaires) and the surroundings' Lve = 0.035 ρ Eav / pi from the
 * work place, the first area of the area's mode that holds the horizontal
 * illuminance, wherever it stands in the list (its reflectance and its
 * maintained mean illuminance, so that both terms are of the one state the
 * mode's summaries show).
 * Writes list 2 (GR per direction; a negative GR is stored as 0) and value
 * 21 (the largest) of every point, and the area's viewing direction.
 *
 * The points are rated on every core, each whole by one thread, so the
 * results do not depend on the number of threads; the step counter is raised
 * after each row of points.
 *
 * Returns false without writing anything, after a message, when the work
 * place holds no illuminance or no reflectance; false also when the stop
 * flag was seen (the points rated keep their new values) or a lamp system is
 * not resolved (after a message).
 */
bool computeGlareRatingGr(const CRoom& room, CWorkSystem& area, std::int32_t& step, const CalcCatalogue& catalogue);

/** The same with a step counter of its own, for a caller that counts no steps. */
bool computeGlareRatingGr(const CRoom& room, CWorkSystem& area, const CalcCatalogue& catalogue);

/**
 * The calculation run's GR step for one area. An area whose mode has no work
 * place with light and reflectance gets the message and no GR (its points
 * not computed, never an earlier run's values) and the run goes on: true.
 * False only when the stop flag was seen or a lamp system is not resolved.
 */
bool runGrPass(const CRoom& room, CWorkSystem& area, std::int32_t& step, const CalcCatalogue& catalogue);

} // namespace kzev
