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

// Element pairs whose light waits for later surfaces before a pass over all of them takes it:
// enough work to be worth every core.
constexpr std::size_t kSharedPairs = 1024;

} // namespace

bool calcSurfaceBounce(
    CRoom& room, std::int32_t mode, std::int32_t& step, const std::function<void(std::size_t surface)>& turn)
{
    if (mode < 0 || static_cast<std::size_t>(mode) >= room.m_modes.size())
        return true;
    std::vector<CWorkSystem>& surfaces = room.m_modes[static_cast<std::size_t>(mode)].m_surfaces;
    const std::size_t n = surfaces.size();
    SurfaceExchange exchange(room, surfaces);

    // The elements of the surfaces that take their turn, numbered in the order of the list.
    std::vector<SurfaceExchange::Target> targets(n);
    std::vector<std::size_t> firstElement(n + 1, 0);
    std::vector<std::uint32_t> owner;
    std::vector<CVector> positions;
    for (std::size_t k = 0; k < n; ++k) {
        firstElement[k] = owner.size();
        if (!takesTurn(surfaces[k]))
            continue;
        targets[k] = exchange.target(surfaces[k]);
        const std::size_t count = elementCount(surfaces[k]);
        const auto perRow = static_cast<std::size_t>(std::max(surfaces[k].m_count2, 1));
        for (std::size_t record = 0; record < count; ++record) {
            owner.push_back(static_cast<std::uint32_t>(k));
            positions.push_back(surfaces[k].PointPosition(
                static_cast<std::int32_t>(record / perRow), static_cast<std::int32_t>(record % perRow)));
        }
    }
    firstElement[n] = owner.size();
    const auto finished = [](BatchOutcome outcome) { return outcome == BatchOutcome::done && !stopRequested(); };

    // What an element gets from the surfaces after its own, whose light is still that of the bounce
    // before until their turn, is gathered for every element at once, with the obstacles as each
    // element sees them.
    std::vector<ObstacleScene::View> views(owner.size());
    std::vector<PlaneSums> before(owner.size());
    std::vector<PlaneSums> after(owner.size());
    const auto gatherAfter = [&](std::size_t e) {
        const std::size_t k = owner[e];
        exchange.viewFrom(positions[e], views[e]);
        exchange.gather(targets[k], positions[e], views[e], k + 1, n, after[e]);
        return true;
    };
    if (!finished(runPointBatches(1, owner.size(), gatherAfter)))
        return false;

    // What it gets from those before its own is added in the order of the list, each surface's
    // light once that surface has had its turn: a surface's own elements take what they still
    // lack just before it is set, and the elements of all later surfaces take what has gathered
    // for them in one pass as soon as that is enough to share, so that little waits for a surface.
    std::vector<std::size_t> taken(owner.size(), 0); // before[e] holds the surfaces before this one
    const auto takeUpTo = [&](std::size_t e, std::size_t to) {
        exchange.gather(targets[owner[e]], positions[e], views[e], taken[e], to, before[e]);
        taken[e] = to;
    };
    std::size_t waitingPairs = 0;
    for (std::size_t j = 0; j < n; ++j) {
        turn(j);
        CWorkSystem& surface = surfaces[j];
        if (surface.m_reflectedComponent != 0) {
            const std::size_t first = firstElement[j];
            const std::size_t count = firstElement[j + 1] - first;
            const auto setPoint = [&](std::size_t record) {
                if (record < count) {
                    takeUpTo(first + record, j);
                    setSurfacePoint(surface.m_points[record], before[first + record], after[first + record]);
                }
                return true;
            };
            // An excluded surface keeps its values, and lights the others with them.
            if (surface.m_excluded == 1) {
                for (std::int32_t r = 0; r < surface.m_count1; ++r)
                    advanceCalcStep(step);
            } else {
                const auto rows = static_cast<std::size_t>(std::max(surface.m_count1, 0));
                const auto perRow = static_cast<std::size_t>(std::max(surface.m_count2, 0));
                if (!finished(runPointBatches(rows, perRow, step, setPoint)))
                    return false;
                exchange.takeLight(j);
            }
        }
        // The element pairs this surface's light adds for the later surfaces it may light.
        const std::size_t sending = elementCount(surface);
        for (std::size_t k = j + 1; k < n; ++k) {
            if (std::ranges::binary_search(targets[k].sources, static_cast<std::uint32_t>(j)))
                waitingPairs += sending * (firstElement[k + 1] - firstElement[k]);
        }
        if (waitingPairs < kSharedPairs || j + 1 == n)
            continue;
        waitingPairs = 0;
        const std::size_t later = firstElement[j + 1];
        const auto takeWaiting = [&](std::size_t i) {
            takeUpTo(later + i, j + 1);
            return true;
        };
        if (!finished(runPointBatches(1, owner.size() - later, takeWaiting)))
            return false;
    }
    return true;
}

} // namespace kzev
