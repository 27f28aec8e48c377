#pragma once

class CRoom;
class CWorkSystem;

namespace kzev {

class CalcCatalogue;

/** How a threshold-increment calculation ended. */
enum class ThresholdIncrementOutcome {
    Stored,      ///< the area's threshold increment was written
    Stopped,     ///< the stop flag was seen; the area's result is left as it was
    NotComputed, ///< the room or area gives no basis for it; said in the log, result left as it was
};

/**
 * The threshold increment TI (per cent) of a road field: a driver's eye 1.5 m
 * high is set back 2.75 × (H − 1.5) m plus half a row step before each row of
 * the field, in the driving direction, and looks 1 degree down the road. The
 * veiling luminance at the eye, Lv = 10 · Σ E · cos θ / θ² over the
 * luminaires seen between 1.5 and 60 degrees from the line of sight, gives
 * TI = 65 · Lv / L^0.8 with L the field's average road luminance turned back
 * into the initial one (divided by the area's maintenance ratio). The largest
 * TI over the rows is stored.
 *
 * H is the height of the first lamp system's origin. Regular lamp systems are
 * continued by whole pitches along the road up to 500 m before and after the
 * field; the field's own luminaires stay as they are, with their own aim and
 * switches. Luminaires are point sources of their initial flux.
 *
 * A room without lamp systems, an origin whose height is still the
 * placeholder, an average luminance of 0 or an unresolved lamp system give a
 * line in the calculation log and no result.
 */
ThresholdIncrementOutcome computeThresholdIncrement(const CRoom& room, CWorkSystem& area,
    const CalcCatalogue& catalogue);

} // namespace kzev
