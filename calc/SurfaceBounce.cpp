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

// What the views of the obstacles held through a bounce may take: the elements next in turn
// whose views fit are gathered for ahead of their turn, so that memory grows with the elements
// plus the obstacles, not with their product. Never fewer elements than keep every core busy.
constexpr std::size_t kViewBytes = std::size_t { 64 } << 20;
constexpr std::size_t kLeastWindow = 256;

// heldViews 0: as many as fit in kViewBytes, never fewer than kLeastWindow.
bool bounce(CRoom& room, std::int32_t mode, std::int32_t& step, const std::function<void(std::size_t surface)>& turn,
    std::size_t heldViews)
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

    // Each element's view of the obstacles is held from the pass that first gathers for it until
    // its surface is set, for a window of the elements next in turn whose views fit in
    // kViewBytes; an element the window did not reach works its view out at its turn and gathers
    // all then. Its sums are the same either way: what it gets from the surfaces after its own
    // (whose light is that of the bounce before until their turn) and, added in the order of the
    // list, what it gets from those before its own, each once that surface has had its turn.
    const std::size_t total = owner.size();
    if (heldViews == 0)
        heldViews = std::max(kViewBytes / std::max<std::size_t>(exchange.viewBytes(), 1), kLeastWindow);
    const std::size_t window = std::max<std::size_t>(std::min(heldViews, total), 1);
    std::vector<ObstacleScene::View> views(std::min(window, total)); // element e's in views[e % window]
    std::vector<PlaneSums> before(total);
    std::vector<PlaneSums> after(total);
    std::vector<std::size_t> taken(total, 0); // before[e] holds the surfaces before this one
    std::vector<std::uint8_t> held(total, 0);
    std::size_t heldEnd = 0; // the elements from here on have not entered the window
    const auto takeUpTo = [&](std::size_t e, std::size_t to) {
        exchange.gather(targets[owner[e]], positions[e], views[e % window], taken[e], to, before[e]);
        taken[e] = to;
    };
    // The elements from heldEnd up to the window's end enter it: their views, what the surfaces
    // after their own give, and what those before `to` give. Done once half the window is free,
    // so that an entering pass is long and its points alike.
    const auto enter = [&](std::size_t from, std::size_t to) {
        heldEnd = std::max(heldEnd, from);
        const std::size_t end = std::min(total, from + window);
        if (end <= heldEnd || (end - heldEnd < window / 2 && end < total))
            return true;
        const std::size_t start = heldEnd;
        heldEnd = end;
        return finished(runPointBatches(1, end - start, [&](std::size_t i) {
            const std::size_t e = start + i;
            const std::size_t k = owner[e];
            ObstacleScene::View& view = views[e % window];
            exchange.viewFrom(positions[e], view);
            exchange.gather(targets[k], positions[e], view, k + 1, n, after[e]);
            takeUpTo(e, to);
            held[e] = 1;
            return true;
        }));
    };
    if (!enter(0, 0))
        return false;

    // A surface's own elements take what they still lack just before it is set, and the elements
    // of the window's later surfaces take what has gathered for them in one pass as soon as that
    // is enough to share, so that little waits for a surface.
    std::size_t waitingPairs = 0;
    for (std::size_t j = 0; j < n; ++j) {
        turn(j);
        CWorkSystem& surface = surfaces[j];
        if (surface.m_reflectedComponent != 0) {
            const std::size_t first = firstElement[j];
            const std::size_t count = firstElement[j + 1] - first;
            const auto setPoint = [&](std::size_t record) {
                if (record >= count)
                    return true;
                const std::size_t e = first + record;
                if (held[e] != 0) {
                    takeUpTo(e, j);
                } else {
                    // Not reached by the window: its view for this point alone.
                    thread_local ObstacleScene::View own;
                    exchange.viewFrom(positions[e], own);
                    exchange.gather(targets[j], positions[e], own, j + 1, n, after[e]);
                    exchange.gather(targets[j], positions[e], own, 0, j, before[e]);
                }
                setSurfacePoint(surface.m_points[record], before[e], after[e]);
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
        if (j + 1 == n)
            continue;
        const std::size_t later = firstElement[j + 1];
        const std::size_t wereHeld = std::max(heldEnd, later);
        if (!enter(later, j + 1))
            return false;
        // The element pairs this surface's light adds for the later surfaces it may light.
        const std::size_t sending = elementCount(surface);
        for (std::size_t k = j + 1; k < n; ++k) {
            if (std::ranges::binary_search(targets[k].sources, static_cast<std::uint32_t>(j)))
                waitingPairs += sending * (firstElement[k + 1] - firstElement[k]);
        }
        if (waitingPairs < kSharedPairs)
            continue;
        waitingPairs = 0;
        const auto takeWaiting = [&](std::size_t i) {
            takeUpTo(later + i, j + 1);
            return true;
        };
        if (!finished(runPointBatches(1, wereHeld - later, takeWaiting)))
            return false;
    }
    return true;
}

} // namespace

bool calcSurfaceBounce(
    CRoom& room, std::int32_t mode, std::int32_t& step, const std::function<void(std::size_t surface)>& turn)
{
    return bounce(room, mode, step, turn, 0);
}

bool calcSurfaceBounce(CRoom& room, std::int32_t mode, std::int32_t& step,
    const std::function<void(std::size_t surface)>& turn, std::size_t heldViews)
{
    return bounce(room, mode, step, turn, std::max<std::size_t>(heldViews, 1));
}

} // namespace kzev
