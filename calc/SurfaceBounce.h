#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

class CRoom;

namespace kzev {

/**
 * One bounce of the inter-reflection over the calculation surfaces of a
 * mode: every surface that reflects gathers from the others in the order of
 * the list, from those before it the light of this bounce, as
 * calcReflectedPoints over each surface in turn does and with the same
 * values to the last bit. The work is spread over every core across the
 * surfaces: what the elements next in turn get from the surfaces after their
 * own (whose light this bounce has not changed yet) is gathered at once, and
 * what they get from the surfaces that have had their turn is gathered in
 * one pass once enough of it waits; a surface's own elements take the rest
 * just before it is set. Each element's view of the obstacles is held from
 * the first such pass until its turn, for as many elements as fit in a few
 * tens of megabytes (never fewer than a few hundred), so that memory grows
 * with the elements plus the obstacles; an element beyond them works its
 * view out at its turn and gathers all then. Each element's sums are made
 * in the order of the list, by one thread at a time, so the values do not
 * depend on the number of threads.
 *
 * turn(k) is called for every surface k in the order of the list, on the
 * calling thread, before its values are set. The step counter is raised for
 * each row of a surface that reflects once it is set, also of an excluded
 * one, which is not touched but lights the others; the window is served
 * between batches. Returns false when the stop flag was seen: the surfaces
 * set by then keep their new values, the others those of the bounce before.
 */
[[nodiscard]] bool calcSurfaceBounce(
    CRoom& room, std::int32_t mode, std::int32_t& step, const std::function<void(std::size_t surface)>& turn);

/** The same, holding the obstacle views of at most heldViews elements (at least one) at a time. */
[[nodiscard]] bool calcSurfaceBounce(CRoom& room, std::int32_t mode, std::int32_t& step,
    const std::function<void(std::size_t surface)>& turn, std::size_t heldViews);

} // namespace kzev
