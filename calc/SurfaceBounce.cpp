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

CVector elementPosition(const CWorkSystem& surface, std::size_t record)
{
    const auto perRow = static_cast<std::size_t>(std::max(surface.m_count2, 1));
    return surface.PointPosition(static_cast<std::int32_t>(record / perRow), static_cast<std::int32_t>(record % perRow));
}

// One piece of an element's sums: the surfaces from .. to − 1, summed from 0.
struct Piece {
    std::size_t element;
    std::size_t from;
    std::size_t to;
    std::size_t view;
    bool before;
    PlaneSums sums;
};

} // namespace

bool calcSurfaceBounce(
    CRoom& room, std::int32_t mode, std::int32_t& step, const std::function<void(std::size_t surface)>& turn)
{
    if (mode < 0 || static_cast<std::size_t>(mode) >= room.m_modes.size())
        return true;
    std::vector<CWorkSystem>& surfaces = room.m_modes[static_cast<std::size_t>(mode)].m_surfaces;
    const std::size_t n = surfaces.size();
    SurfaceExchange exchange(room, surfaces);
    const std::vector<std::size_t> starts = blockStarts(surfaces);
    const std::size_t blocks = starts.size() - 1;

    // The elements of the surfaces that take their turn, numbered in the order of the list.
    std::vector<SurfaceExchange::Target> targets(n);
    std::vector<std::size_t> firstElement(n + 1, 0);
    std::vector<std::uint32_t> owner;
    std::vector<std::size_t> blockOf(n, 0);
    for (std::size_t t = 0; t < blocks; ++t) {
        for (std::size_t k = starts[t]; k < starts[t + 1]; ++k) {
            blockOf[k] = t;
            firstElement[k] = owner.size();
            if (!takesTurn(surfaces[k]))
                continue;
            targets[k] = exchange.target(surfaces[k]);
            owner.insert(owner.end(), elementCount(surfaces[k]), static_cast<std::uint32_t>(k));
        }
    }
    firstElement[n] = owner.size();
    const auto position = [&](std::size_t element) {
        const std::size_t k = owner[element];
        return elementPosition(surfaces[k], element - firstElement[k]);
    };
    // What each element gets from the surfaces before its own and from those after it.
    std::vector<PlaneSums> before(owner.size());
    std::vector<PlaneSums> after(owner.size());
    const auto finished = [](BatchOutcome outcome) { return outcome == BatchOutcome::done && !stopRequested(); };

    // What an element gets from the surfaces after its own may be gathered at any time before its
    // surface's turn, as their light is still that of the bounce before; what it gets from the
    // blocks before its own, once their last surface has had its turn. A pass before each block
    // takes the latter for the block's elements and, to give every core work while they are few
    // or dear, the former for the elements of the next block; both piece by piece.
    std::vector<Piece> pieces;
    std::vector<std::size_t> viewed;
    std::vector<ObstacleScene::View> views;
    const auto addAfter = [&](std::size_t element) {
        const std::size_t k = owner[element];
        const std::size_t own = blockOf[k];
        pieces.push_back({ element, k + 1, starts[own + 1], viewed.size(), false, {} });
        for (std::size_t u = own + 1; u < blocks; ++u)
            pieces.push_back({ element, starts[u], starts[u + 1], viewed.size(), false, {} });
        viewed.push_back(element);
    };
    for (std::size_t t = 0; t < blocks; ++t) {
        const std::size_t a = starts[t];
        const std::size_t b = starts[t + 1];
        pieces.clear();
        viewed.clear();
        for (std::size_t e = firstElement[a]; e < firstElement[b]; ++e) {
            if (t == 0) {
                addAfter(e);
                continue;
            }
            for (std::size_t u = 0; u < t; ++u)
                pieces.push_back({ e, starts[u], starts[u + 1], viewed.size(), true, {} });
            viewed.push_back(e);
        }
        for (std::size_t e = firstElement[b]; t + 1 < blocks && e < firstElement[starts[t + 2]]; ++e)
            addAfter(e);
        views.resize(viewed.size());
        const auto view = [&](std::size_t i) {
            exchange.viewFrom(position(viewed[i]), views[i]);
            return true;
        };
        const auto gatherPiece = [&](std::size_t i) {
            Piece& piece = pieces[i];
            exchange.gather(targets[owner[piece.element]], position(piece.element), views[piece.view], piece.from,
                piece.to, piece.sums);
            return true;
        };
        if (!finished(runPointBatches(1, viewed.size(), view)) || !finished(runPointBatches(1, pieces.size(), gatherPiece)))
            return false;
        // The pieces of an element in the order of the list.
        for (const Piece& piece : pieces) {
            PlaneSums& sums = piece.before ? before[piece.element] : after[piece.element];
            sums.maintained += piece.sums.maintained;
            sums.initial += piece.sums.initial;
        }
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
                    exchange.gather(targets[k], position(first + record), a, k, before[first + record]);
                    setSurfacePoint(surface.m_points[record], before[first + record], after[first + record]);
                }
                return true;
            };
            if (!finished(runPointBatches(rows, static_cast<std::size_t>(std::max(surface.m_count2, 0)), step, setPoint)))
                return false;
            exchange.takeLight(k);
        }
    }
    return true;
}

} // namespace kzev
