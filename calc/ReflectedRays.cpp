#include "calc/ReflectedRays.h"

#include "calc/SimdLanes.h"

#include <algorithm>

#pragma GCC diagnostic ignored "-Wpsabi" // the lane helpers are inlined, see SimdLanes.h

namespace kzev {

namespace {

// The running sums, four lanes each; the viewing directions' follow.
enum Sum : std::size_t {
    kPlaneMaintained,
    kPlaneInitial,
    kTowardsXPlus,
    kTowardsXMinus,
    kTowardsYPlus,
    kTowardsYMinus,
    kUpwards,
    kDownwards,
    kHorizontalComponent,
    kSpherical,
    kNormalPlus,
    kNormalMinus,
    kObserver,
    kOverDirections,
    kCounted,
    kFixedSums
};

struct Block {
    const double* x;
    const double* y;
    const double* z;
    const double* dn;
    const double* maintained;
    const double* initial;
    std::size_t count; // whole lanes
};

struct PointFrame {
    CVector normal;
    CVector toObserver;
    double inverseObserverLength;
    const double* directions;
    std::size_t directionCount;
};

[[gnu::target_clones("avx2", "default")]] void sumRays(const Block& block, const PointFrame& frame, double* lanes)
{
    using simd::Lanes;
    using simd::load;
    using simd::splat;
    const Lanes zero = splat(0.0);
    const Lanes one = splat(1.0);
    Lanes sums[kFixedSums];
    for (std::size_t k = 0; k < kFixedSums; ++k)
        sums[k] = load(lanes + 4 * k);
    double* byDirection = lanes + 4 * kFixedSums;
    const CVector& n = frame.normal;
    const CVector& o = frame.toObserver;

    for (std::size_t i = 0; i < block.count; i += simd::kLanes) {
        Lanes x = load(block.x + i);
        Lanes y = load(block.y + i);
        Lanes z = load(block.z + i);
        Lanes dn = load(block.dn + i);
        const Lanes d = simd::sqrt(x * x + y * y + z * z);
        const auto counted = (d > 0.04) & (dn >= 0.0001);
        // A ray that does not count becomes a harmless one that brings nothing.
        x = counted ? x : zero;
        y = counted ? y : zero;
        z = counted ? z : zero;
        dn = counted ? dn : zero;
        const Lanes inverse = 1.0 / (counted ? d : one);
        const Lanes k = inverse * inverse * (dn * inverse);
        const Lanes em = counted ? k * load(block.maintained + i) : zero;
        const Lanes ei = counted ? k * load(block.initial + i) : zero;

        const Lanes along = x * n.x + y * n.y + z * n.z;
        const Lanes cn = simd::abs(along) * inverse;
        sums[kPlaneMaintained] += cn * em;
        sums[kPlaneInitial] += cn * ei;
        const Lanes cx = simd::abs(x) * inverse;
        const Lanes cy = simd::abs(y) * inverse;
        const Lanes cz = simd::abs(z) * inverse;
        sums[kUpwards] += z >= 0.0 ? em * cz : zero;
        sums[kDownwards] += z < 0.0 ? em * cz : zero;
        sums[kTowardsXPlus] += x >= 0.0 ? em * cx : zero;
        sums[kTowardsXMinus] += x < 0.0 ? em * cx : zero;
        sums[kTowardsYPlus] += y >= 0.0 ? em * cy : zero;
        sums[kTowardsYMinus] += y < 0.0 ? em * cy : zero;
        sums[kSpherical] += em;
        sums[kHorizontalComponent] += em * simd::sqrt(cx * cx + cy * cy);
        sums[kNormalPlus] += along >= 0.0 ? em * cn : zero;
        sums[kNormalMinus] += along < 0.0 ? em * cn : zero;
        sums[kCounted] += counted ? one : zero;
        // Light that arrives from the observer's side, as in the direct pass.
        const Lanes towards = x * o.x + y * o.y + z * o.z;
        sums[kObserver] += towards < 0.0 ? em * (-towards * inverse * frame.inverseObserverLength) : zero;
        const auto lit = ei > 0.0;
        for (std::size_t w = 0; w < frame.directionCount; ++w) {
            const double* v = frame.directions + 3 * w;
            const Lanes alongView = x * v[0] + y * v[1] + z * v[2];
            const Lanes share = lit & (alongView < 0.0) ? -alongView * inverse * ei : zero;
            simd::store(byDirection + 4 * w, load(byDirection + 4 * w) + share);
            sums[kOverDirections] += share;
        }
    }
    for (std::size_t k = 0; k < kFixedSums; ++k)
        simd::store(lanes + 4 * k, sums[k]);
}

struct RowTarget {
    double* x;
    double* y;
    double* z;
    double* dn;
    double* maintained;
    double* initial;
};

// Row r of the parts, four at a time: the same arithmetic, part by part, as the scalar path.
[[gnu::target_clones("avx2", "default")]] void writeRow(const CVector& p, const PartGrid& grid, int r, const RowTarget& to)
{
    using simd::Lanes;
    const CVector row = grid.first + (r * grid.partU) * grid.unitU;
    const CVector& v = grid.unitV;
    const CVector& n = grid.normal;
    for (int s = 0; s < grid.columns; s += simd::kLanes) {
        const Lanes index = Lanes { 0.0, 1.0, 2.0, 3.0 } + static_cast<double>(s);
        const Lanes offset = index * grid.partV;
        const Lanes x = p.x - (row.x + offset * v.x);
        const Lanes y = p.y - (row.y + offset * v.y);
        const Lanes z = p.z - (row.z + offset * v.z);
        const std::size_t at = static_cast<std::size_t>(s);
        simd::store(to.x + at, x);
        simd::store(to.y + at, y);
        simd::store(to.z + at, z);
        simd::store(to.dn + at, x * n.x + y * n.y + z * n.z);
        simd::store(to.maintained + at, simd::splat(grid.maintained));
        simd::store(to.initial + at, simd::splat(grid.initial));
    }
}

double total(const std::vector<double>& lanes, std::size_t sum)
{
    return ((lanes[4 * sum] + lanes[4 * sum + 1]) + lanes[4 * sum + 2]) + lanes[4 * sum + 3];
}

} // namespace

RayGatherer::RayGatherer(const CVector& normal, const CVector& toObserver, const std::vector<CVector>& directions)
    : m_normal(normal)
    , m_toObserver(toObserver)
{
    const double length = toObserver.Length();
    m_inverseObserverLength = length > 0.0 ? 1.0 / length : 0.0;
    for (const CVector& w : directions) {
        m_directions.push_back(w.x);
        m_directions.push_back(w.y);
        m_directions.push_back(w.z);
    }
    m_lanes.assign(4 * (kFixedSums + directions.size()), 0.0);
}

void RayGatherer::addRow(const CVector& p, const PartGrid& grid, int r)
{
    const std::size_t columns = static_cast<std::size_t>(std::max(grid.columns, 0));
    // A row is at most a hundred parts; it is written whole lanes at a time into the block's room.
    if (m_count + columns > kBlock)
        sumBlock();
    const RowTarget to { m_x.data() + m_count, m_y.data() + m_count, m_z.data() + m_count, m_dn.data() + m_count,
        m_maintained.data() + m_count, m_initial.data() + m_count };
    writeRow(p, grid, r, to);
    m_count += columns;
}

void RayGatherer::sumBlock()
{
    // The last lanes bring nothing: no component along the element's normal.
    std::size_t whole = m_count;
    for (; whole % simd::kLanes != 0; ++whole) {
        m_x[whole] = m_y[whole] = m_z[whole] = 0.0;
        m_dn[whole] = m_maintained[whole] = m_initial[whole] = 0.0;
    }
    const Block block { m_x.data(), m_y.data(), m_z.data(), m_dn.data(), m_maintained.data(), m_initial.data(),
        whole };
    const PointFrame frame { m_normal, m_toObserver, m_inverseObserverLength, m_directions.data(),
        m_directions.size() / 3 };
    sumRays(block, frame, m_lanes.data());
    m_count = 0;
}

RaySums RayGatherer::finish()
{
    if (m_count > 0)
        sumBlock();
    RaySums sums;
    for (std::size_t i = 0; i < 4; ++i)
        sums.vertical[i] = total(m_lanes, kTowardsXPlus + i);
    sums.belowAbove[0] = total(m_lanes, kUpwards);
    sums.belowAbove[1] = total(m_lanes, kDownwards);
    sums.horizontalComponent = total(m_lanes, kHorizontalComponent);
    sums.spherical = total(m_lanes, kSpherical);
    sums.normal[0] = total(m_lanes, kNormalPlus);
    sums.normal[1] = total(m_lanes, kNormalMinus);
    sums.observer = total(m_lanes, kObserver);
    sums.overDirections = total(m_lanes, kOverDirections);
    sums.planeMaintained = total(m_lanes, kPlaneMaintained);
    sums.planeInitial = total(m_lanes, kPlaneInitial);
    for (std::size_t w = 0; w < m_directions.size() / 3; ++w)
        sums.byDirection.push_back(total(m_lanes, kFixedSums + w));
    sums.anyLight = total(m_lanes, kCounted) > 0.0;
    return sums;
}

} // namespace kzev
