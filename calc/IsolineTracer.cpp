#include "calc/IsolineTracer.h"

#include "calc/IsolineGrid.h"
#include "model/CWorkSystem.h"
#include "platform/TextUtil.h"
#include "platform/TypedNumber.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kzev {

namespace {

constexpr double kOnLevel = 1e-12;

// One crossing of the level with a grid edge, and the isoline segments that
// meet there (at most one from each of the edge's two cells).
struct Crossing {
    IsolinePoint at;
    IsolinePoint high; // the end of the edge above the level
    std::array<int, 2> next { -1, -1 };
};

class LevelTracer {
public:
    LevelTracer(const IsolineGrid& grid, double level)
        : m_grid(grid)
        , m_level(level)
        , m_nudge(1e-9 * std::max(1.0, std::fabs(level)))
        , m_ni(grid.countI())
        , m_nj(grid.countJ())
        , m_edgeCrossing(static_cast<std::size_t>((m_ni - 1) * m_nj + m_ni * (m_nj - 1)), -1)
    {
    }

    std::vector<Isoline> trace()
    {
        findCrossings();
        linkCells();
        return chain();
    }

private:
    // A value on the level is taken just above it, so no value equals the level.
    double value(int i, int j) const
    {
        const double v = m_grid.value(i, j);
        return std::fabs(v - m_level) <= kOnLevel ? m_level + m_nudge : v;
    }
    bool above(int i, int j) const { return value(i, j) >= m_level; }

    int rowEdge(int i, int j) const { return j * (m_ni - 1) + i; }
    int columnEdge(int i, int j) const { return (m_ni - 1) * m_nj + i * (m_nj - 1) + j; }

    // Edge from grid point (i, j) to (i + di, j + dj), one step along one axis.
    void addCrossing(int edge, int i, int j, int di, int dj)
    {
        const int i2 = i + di;
        const int j2 = j + dj;
        if (m_grid.obstructed(i, j) || m_grid.obstructed(i2, j2))
            return;
        const double va = value(i, j);
        const double vb = value(i2, j2);
        if ((va >= m_level) == (vb >= m_level))
            return;
        const double t = std::fabs(vb - va) <= kOnLevel ? 0.0 : (m_level - va) / (vb - va);
        Crossing c;
        c.at = { i + t * di, j + t * dj };
        c.high = va >= m_level ? IsolinePoint { double(i), double(j) } : IsolinePoint { double(i2), double(j2) };
        m_edgeCrossing[static_cast<std::size_t>(edge)] = static_cast<int>(m_crossings.size());
        m_crossings.push_back(c);
    }

    void rowEdges(int j)
    {
        for (int i = 0; i + 1 < m_ni; ++i)
            addCrossing(rowEdge(i, j), i, j, 1, 0);
    }
    void columnEdges(int i)
    {
        for (int j = 0; j + 1 < m_nj; ++j)
            addCrossing(columnEdge(i, j), i, j, 0, 1);
    }

    // Border edges first, so open lines start at the border.
    void findCrossings()
    {
        const int lastI = m_ni - 1;
        const int lastJ = m_nj - 1;
        rowEdges(0);
        rowEdges(lastJ);
        columnEdges(0);
        columnEdges(lastI);
        for (int j = 1; j < lastJ; ++j)
            rowEdges(j);
        for (int i = 1; i < lastI; ++i)
            columnEdges(i);
    }

    void link(int a, int b)
    {
        if (a < 0 || b < 0)
            return;
        auto attach = [this](int from, int to) {
            auto& slots = m_crossings[static_cast<std::size_t>(from)].next;
            if (slots[0] < 0)
                slots[0] = to;
            else if (slots[1] < 0)
                slots[1] = to;
        };
        attach(a, b);
        attach(b, a);
    }

    void linkCells()
    {
        for (int j = 0; j + 1 < m_nj; ++j) {
            for (int i = 0; i + 1 < m_ni; ++i) {
                const int bottom = m_edgeCrossing[static_cast<std::size_t>(rowEdge(i, j))];
                const int top = m_edgeCrossing[static_cast<std::size_t>(rowEdge(i, j + 1))];
                const int left = m_edgeCrossing[static_cast<std::size_t>(columnEdge(i, j))];
                const int right = m_edgeCrossing[static_cast<std::size_t>(columnEdge(i + 1, j))];
                const int crossed = (bottom >= 0) + (top >= 0) + (left >= 0) + (right >= 0);
                if (crossed == 4) {
                    // Saddle: the segments cut off the two corners below the level.
                    if (!above(i, j)) {
                        link(bottom, left);   // around (i, j)
                        link(top, right);     // around (i + 1, j + 1)
                    } else {
                        link(bottom, right);  // around (i + 1, j)
                        link(left, top);      // around (i, j + 1)
                    }
                } else if (crossed == 2) {
                    std::array<int, 4> ends { bottom, right, top, left };
                    auto first = std::find_if(ends.begin(), ends.end(), [](int c) { return c >= 0; });
                    auto second = std::find_if(first + 1, ends.end(), [](int c) { return c >= 0; });
                    link(*first, *second);
                }
                // One crossing: the other side is obstructed and the line ends here.
            }
        }
    }

    // Follows the line from `start` away from `previous` while free crossings continue it.
    void walk(int start, int previous, std::vector<int>& path, std::vector<char>& used, bool& closed) const
    {
        int prev = previous;
        int cur = start;
        for (;;) {
            int next = -1;
            for (int n : m_crossings[static_cast<std::size_t>(cur)].next) {
                if (n < 0 || n == prev)
                    continue;
                if (!used[static_cast<std::size_t>(n)]) {
                    next = n;
                    break;
                }
                if (n == path.front() && path.size() >= 3)
                    closed = true;
            }
            if (next < 0)
                return;
            used[static_cast<std::size_t>(next)] = 1;
            path.push_back(next);
            prev = cur;
            cur = next;
        }
    }

    std::vector<Isoline> chain() const
    {
        std::vector<Isoline> lines;
        std::vector<char> used(m_crossings.size(), 0);
        for (std::size_t s = 0; s < m_crossings.size(); ++s) {
            if (used[s])
                continue;
            used[s] = 1;
            const int start = static_cast<int>(s);
            std::vector<int> path { start };
            bool closed = false;
            walk(start, -1, path, used, closed);
            if (!closed) {
                std::vector<int> back { start };
                bool unused = false;
                walk(start, path.size() > 1 ? path[1] : -1, back, used, unused);
                if (back.size() > 1) {
                    std::reverse(back.begin(), back.end());
                    back.insert(back.end(), path.begin() + 1, path.end());
                    path = std::move(back);
                }
            }
            if (path.size() < 2)
                continue;
            lines.push_back(toLine(path, closed));
        }
        return lines;
    }

    Isoline toLine(std::vector<int>& path, bool closed) const
    {
        // Walk so that the values above the level lie on the right.
        const Crossing& c0 = m_crossings[static_cast<std::size_t>(path[0])];
        const IsolinePoint& p1 = m_crossings[static_cast<std::size_t>(path[1])].at;
        const double dx = p1.u - c0.at.u;
        const double dy = p1.v - c0.at.v;
        const double side = dx * (c0.high.v - c0.at.v) - dy * (c0.high.u - c0.at.u);
        if (side > 0.0)
            std::reverse(path.begin(), path.end());

        Isoline line;
        line.closed = closed;
        line.points.reserve(path.size() + 1);
        for (int k : path)
            line.points.push_back(m_crossings[static_cast<std::size_t>(k)].at);
        if (closed)
            line.points.push_back(line.points.front());
        return line;
    }

    const IsolineGrid& m_grid;
    double m_level;
    double m_nudge;
    int m_ni;
    int m_nj;
    std::vector<int> m_edgeCrossing;
    std::vector<Crossing> m_crossings;
};

} // namespace

std::vector<Isoline> traceIsolines(const IsolineGrid& grid, double level)
{
    // Fewer than two points along an axis leave no cell to draw a line through.
    if (grid.countI() < 2 || grid.countJ() < 2 || !std::isfinite(level))
        return {};
    return LevelTracer(grid, level).trace();
}

IsolinePen isolinePenFor(double level, double limit)
{
    if (std::fabs(level - limit) < 0.0001)
        return IsolinePen::AtLimit;
    return level < limit ? IsolinePen::BelowLimit : IsolinePen::AboveLimit;
}

std::uint32_t isolinePenColour(const CViewSettings& settings, IsolinePen pen)
{
    std::size_t slot = 5;
    std::uint32_t fallback = CViewSettings::kBlue;
    if (pen == IsolinePen::BelowLimit) {
        slot = 4;
        fallback = CViewSettings::kGreen;
    } else if (pen == IsolinePen::AboveLimit) {
        slot = 6;
        fallback = CViewSettings::kRed;
    }
    const std::uint32_t colour = settings.m_colors[slot] & 0xFFFFFF;
    return colour == CViewSettings::kWhite ? fallback : colour;
}

std::string isolineLabel(double level)
{
    if (level < 1.0)
        return formatC("%1.2f", level);
    if (level < 10.0)
        return formatC("%1.1f", level);
    return formatC("%1.0f", level);
}

IsolineLevels isolineLevelsOf(const CWorkSystem& area)
{
    const CViewSettings& settings = area.m_viewSettings;
    switch (area.m_quantityCode) {
    case 89:
        return { settings.m_isoUgr, settings.m_ugrLimit };
    case 141:
        return { settings.m_isoLuminance, settings.m_luminanceLimit };
    case 161:
        return { settings.m_isoGr, settings.m_grLimit };
    default:
        return { settings.m_isoIlluminance, settings.m_illuminanceLimit };
    }
}

double isolineLevelValue(const std::string& text)
{
    return readTypedNumber(text).value_or(0.0);
}

} // namespace kzev
