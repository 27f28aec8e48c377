#include "calc/SurfaceBounce.h"

#include "calc/CalcProgress.h"
#include "calc/PointBatches.h"
#include "calc/SurfaceExchange.h"
#include "model/CRoom.h"
#include "platform/Services.h"

#include <algorithm>
#include <vector>

namespace kzev {
namespace {

// The surfaces before a block are gathered in one pass over all its elements; a block closes once
// it holds this many elements, so that its own surfaces, which wait for each other, are little work.
constexpr std::size_t kBlockElements = 64;

bool computed(const CWorkSystem& surface)
{
    return surface.m_reflectedComponent != 0 && surface.m_excluded != 1;
}

std::size_t elementCount(const CWorkSystem& surface)
{
    const std::size_t grid
        = static_cast<std::size_t>(std::max(surface.m_count1, 0)) * static_cast<std::size_t>(std::max(surface.m_count2, 0));
    return std::min(grid, surface.m_points.size());
}

CVector elementPosition(const CWorkSystem& surface, std::size_t record)
{
    const auto perRow = static_cast<std::size_t>(std::max(surface.m_count2, 1));
    return surface.PointPosition(static_cast<std::int32_t>(record / perRow), static_cast<std::int32_t>(record % perRow));
}

} // namespace

bool calcSurfaceBounce(
    CRoom& room, std::int32_t mode, std::int32_t& step, const std::function<void(std::size_t surface)>& turn)
{
    if (mode < 0 || static_cast<std::size_t>(mode) >= room.m_modes.size())
        return true;
    std::vector<CWorkSystem>& surfaces = room.m_modes[static_cast<std::size_t>(mode)].m_surfaces;
    const std::size_t n = surfaces.size();
    SurfaceExchange exchange(room, surfaces);

    // The elements of the surfaces computed, numbered in the order of the list.
    std::vector<SurfaceExchange::Target> targets(n);
    std::vector<std::size_t> firstElement(n + 1, 0);
    std::vector<std::uint32_t> owner;
    for (std::size_t k = 0; k < n; ++k) {
        firstElement[k] = owner.size();
        if (!computed(surfaces[k]))
            continue;
        targets[k] = exchange.target(surfaces[k]);
        owner.insert(owner.end(), elementCount(surfaces[k]), static_cast<std::uint32_t>(k));
    }
    firstElement[n] = owner.size();
    // What each element gets from the surfaces before its own and from those after it.
    std::vector<PlaneSums> before(owner.size());
    std::vector<PlaneSums> after(owner.size());
    const auto gatherInto = [&](std::size_t element, std::size_t from, std::size_t to, PlaneSums& sums) {
        const std::size_t k = owner[element];
        exchange.gather(targets[k], elementPosition(surfaces[k], element - firstElement[k]), from, to, sums);
    };
    const auto finished = [](BatchOutcome outcome) { return outcome == BatchOutcome::done && !stopRequested(); };

    // The surfaces after an element's own still hold the light of the bounce before: every
    // element of every surface gathers it at once.
    if (!finished(runPointBatches(1, owner.size(), [&](std::size_t element) {
            gatherInto(element, owner[element] + 1, n, after[element]);
            return true;
        })))
        return false;

    for (std::size_t a = 0; a < n;) {
        std::size_t b = a;
        std::size_t held = 0;
        while (b < n && held < kBlockElements) {
            held += firstElement[b + 1] - firstElement[b];
            ++b;
        }
        // Every surface before the block has this bounce's light now.
        const std::size_t offset = firstElement[a];
        if (a > 0 && held > 0
            && !finished(runPointBatches(1, held, [&](std::size_t i) {
                   gatherInto(offset + i, 0, a, before[offset + i]);
                   return true;
               })))
            return false;
        // Within the block each surface waits for those before it.
        for (std::size_t k = a; k < b; ++k) {
            turn(k);
            CWorkSystem& surface = surfaces[k];
            if (surface.m_reflectedComponent == 0)
                continue;
            const auto rows = static_cast<std::size_t>(std::max(surface.m_count1, 0));
            if (surface.m_excluded == 1) {
                for (std::size_t r = 0; r < rows; ++r)
                    advanceCalcStep(step);
                continue;
            }
            const std::size_t first = firstElement[k];
            const std::size_t count = firstElement[k + 1] - first;
            const auto setPoint = [&](std::size_t record) {
                if (record < count) {
                    gatherInto(first + record, a, k, before[first + record]);
                    setSurfacePoint(surface.m_points[record], before[first + record], after[first + record]);
                }
                return true;
            };
            if (!finished(runPointBatches(rows, static_cast<std::size_t>(std::max(surface.m_count2, 0)), step, setPoint)))
                return false;
            exchange.takeLight(k);
        }
        a = b;
    }
    return true;
}

} // namespace kzev
