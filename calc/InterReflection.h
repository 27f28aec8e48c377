#pragma once

#include <cstdint>

class CRoom;
class CWorkSystem;

namespace kzev {

/** Largest number of parts an element is cut into along either side for one point. */
inline constexpr double kMaxElementParts = 100.0;

/**
 * Returns the luminous intensity (cd) that element `element` of a calculation
 * surface sends at theta degrees from its normal: a Lambertian source of
 * luminance ρ·E/π over the element's area, E being the maintained direct
 * plus reflected illuminance of the element's point. 0 for an element the
 * surface does not have.
 */
[[nodiscard]] double computeSurfaceTermMaintained(const CWorkSystem& surface, std::int32_t element, double theta);

/** As computeSurfaceTermMaintained, from the illuminances without maintenance factor. */
[[nodiscard]] double computeSurfaceTerm(const CWorkSystem& surface, std::int32_t element, double theta);

/**
 * The reflected pass: gathers into every point of the target the light that
 * the calculation surfaces of the mode reflect, each element being cut into
 * parts no longer than its distance divided by the room's division ratio (at
 * most 100 along either side). It sets the point's reflected illuminance of
 * the area plane, with and without maintenance factor, to the new total. A
 * visual-task area (normal mode 1) also gets the reflected light added into
 * its directional fields, the value towards the observer (the same sense as
 * the direct pass: light arriving from the observer's side) and the reflected
 * light per viewing direction; a calculation surface only the two plane
 * values.
 *
 * A surface does not light itself (same name), a surface that does not
 * reflect lights nothing, and between calculation surfaces one facing the
 * same way as the target lights nothing. Every obstacle box between shades
 * the light, except the box whose face the element lies on.
 *
 * A calculation surface as target gets the exact exchange of
 * SurfaceExchange, summing apart what the surfaces before it in the mode's
 * list give and what those after it give, as calcSurfaceBounce does, so that
 * a pass over each surface in turn gives what a bounce gives.
 *
 * Raises the step counter after each row of target points, also for an
 * excluded target, which is not touched. Returns false when the stop flag
 * was seen (values added so far stay), else true.
 */
[[nodiscard]] bool calcReflectedPoints(const CRoom& room, CWorkSystem& target, std::int32_t mode, std::int32_t& step);

} // namespace kzev
