#include "calc/ObstacleScene.h"

#include "calc/SegmentFace.h"
#include "model/CRoom.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kzev {

namespace {

CVector lowest(const CVector& a, const CVector& b)
{
    return { std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z) };
}

CVector highest(const CVector& a, const CVector& b)
{
    return { std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z) };
}

// Widens a bounding box a little, so that rounding never rejects a segment the face test would accept.
void widen(CVector& low, CVector& high)
{
    const double slack = 1e-7 * (1.0 + std::max({ std::fabs(low.x), std::fabs(low.y), std::fabs(low.z),
                                       std::fabs(high.x), std::fabs(high.y), std::fabs(high.z) }));
    low = { low.x - slack, low.y - slack, low.z - slack };
    high = { high.x + slack, high.y + slack, high.z + slack };
}

// Slab test: whether the segment p .. p + d meets the axis-aligned box.
bool segmentMeetsBounds(const CVector& p, const CVector& d, const CVector& low, const CVector& high)
{
    double enter = 0.0;
    double leave = 1.0;
    const double start[3] = { p.x, p.y, p.z };
    const double step[3] = { d.x, d.y, d.z };
    const double lo[3] = { low.x, low.y, low.z };
    const double hi[3] = { high.x, high.y, high.z };
    for (int axis = 0; axis < 3; ++axis) {
        if (std::fabs(step[axis]) < 1e-300) {
            if (start[axis] < lo[axis] || start[axis] > hi[axis])
                return false;
            continue;
        }
        const double inverse = 1.0 / step[axis];
        double t0 = (lo[axis] - start[axis]) * inverse;
        double t1 = (hi[axis] - start[axis]) * inverse;
        if (t0 > t1)
            std::swap(t0, t1);
        enter = std::max(enter, t0);
        leave = std::min(leave, t1);
        if (enter > leave)
            return false;
    }
    return true;
}

CVector reversed(const CVector& v)
{
    return { -v.x, -v.y, -v.z };
}

// Whether two bounding boxes are apart by more than the slack along some axis.
bool apart(const CVector& low, const CVector& high, const CVector& otherLow, const CVector& otherHigh, double slack)
{
    return low.x > otherHigh.x + slack || otherLow.x > high.x + slack || low.y > otherHigh.y + slack
        || otherLow.y > high.y + slack || low.z > otherHigh.z + slack || otherLow.z > high.z + slack;
}

// A face plane of a bundle's pyramid: the range its points span along the normal (not unit), and
// the slack scaled by the normal's length.
struct BundlePlane {
    CVector normal;
    double least;
    double most;
    double slack;
};

} // namespace

ObstacleScene::ObstacleScene(const CRoom& room)
{
    const double minDim = room.m_minimumSurfaceSize;
    const auto& systems = room.m_obstacleSystems;
    for (std::size_t index = 0; index < systems.size(); ++index) {
        const CXSystem& xs = systems[index];
        if (xs.m_off == 1 || xs.m_noRay == 1 || xs.m_shadingFlag == 0)
            continue;
        System s;
        s.index = static_cast<std::int32_t>(index);
        s.transmittance = xs.m_transmittance;
        s.e1 = xs.m_edgeA;
        s.e2 = xs.m_edgeB;
        s.e3 = xs.m_edgeC;
        s.n1 = reversed(s.e1);
        s.n2 = reversed(s.e2);
        s.n3 = reversed(s.e3);
        const double la = s.e1.Length();
        const double lb = s.e2.Length();
        const double lc = s.e3.Length();
        s.skip12 = la < minDim && lb < minDim;
        s.skip32 = lc < minDim && lb < minDim;
        s.skip31 = lc < minDim && la < minDim;
        bool first = true;
        for (std::int32_t a = 0; a < xs.m_count1; ++a) {
            for (std::int32_t b = 0; b < xs.m_count2; ++b) {
                Box box;
                box.a = a;
                box.b = b;
                box.corner = xs.ObstacleCorner(a, b);
                box.opposite = box.corner + s.e3 + s.e1 + s.e2;
                box.low = box.corner;
                box.high = box.corner;
                for (const CVector& v : { box.corner + s.e1, box.corner + s.e2, box.corner + s.e3,
                         box.corner + s.e1 + s.e2, box.corner + s.e1 + s.e3, box.corner + s.e2 + s.e3,
                         box.opposite }) {
                    box.low = lowest(box.low, v);
                    box.high = highest(box.high, v);
                }
                widen(box.low, box.high);
                box.middle = 0.5 * (box.low + box.high);
                box.half = 0.5 * (box.high - box.low);
                s.low = first ? box.low : lowest(s.low, box.low);
                s.high = first ? box.high : highest(s.high, box.high);
                first = false;
                s.boxes.push_back(box);
            }
        }
        if (!s.boxes.empty())
            m_systems.push_back(std::move(s));
    }
}

bool ObstacleScene::crossesBox(const System& s, const Box& box, const CVector& p, const CVector& d, bool margin)
{
    // The faces in the order of the full test, each left out as it leaves them out.
    if (!s.skip12 && segmentFaceCrossing(box.corner, s.e1, s.e2, p, d, margin) == 2)
        return true;
    if (!s.skip32 && segmentFaceCrossing(box.corner, s.e3, s.e2, p, d, margin) == 2)
        return true;
    if (!s.skip31 && segmentFaceCrossing(box.corner, s.e1, s.e3, p, d, margin) == 2)
        return true;
    if (!s.skip12 && segmentFaceCrossing(box.opposite, s.n1, s.n2, p, d, margin) == 2)
        return true;
    if (!s.skip32 && segmentFaceCrossing(box.opposite, s.n3, s.n2, p, d, margin) == 2)
        return true;
    if (!s.skip31 && segmentFaceCrossing(box.opposite, s.n1, s.n3, p, d, margin) == 2)
        return true;
    return false;
}

std::int32_t ObstacleScene::crossing(const CVector& q, const CVector& p, double& transmittance, bool margin,
    std::int32_t skippedSystem, const ObstacleBoxId& skippedBox) const
{
    const CVector d = q - p;
    std::int32_t first = 0;
    double product = 1.0;
    for (const System& s : m_systems) {
        if (skippedSystem >= 10 && s.index + 10 == skippedSystem)
            continue;
        if (!segmentMeetsBounds(p, d, s.low, s.high))
            continue;
        const bool ownSystem = skippedBox.system == s.index;
        bool crossed = false;
        for (const Box& box : s.boxes) {
            if (ownSystem && box.a == skippedBox.a && box.b == skippedBox.b)
                continue;
            if (segmentMeetsBounds(p, d, box.low, box.high) && crossesBox(s, box, p, d, margin)) {
                crossed = true;
                break;
            }
        }
        if (!crossed)
            continue;
        if (first == 0)
            first = s.index + 1;
        product *= s.transmittance;
        // An opaque system ends the search: nothing further can let light through.
        if (product <= 0.0)
            break;
    }
    if (first != 0)
        transmittance = product;
    return first;
}

void ObstacleScene::gatherBundle(std::span<const CVector> corners, const CVector& apex, std::int32_t skippedSystem,
    const ObstacleBoxId& skippedBox, std::vector<BoxRef>& boxes) const
{
    boxes.clear();
    constexpr std::size_t kMostCorners = 8;
    const bool shaped = corners.size() >= 3 && corners.size() <= kMostCorners;
    CVector low = apex;
    CVector high = apex;
    for (const CVector& c : corners) {
        low = lowest(low, c);
        high = highest(high, c);
    }
    // Far more than any rounding of the face test, far less than any box worth culling.
    const double slack = 1e-6
        * (1.0 + std::max({ std::fabs(low.x), std::fabs(low.y), std::fabs(low.z), std::fabs(high.x),
            std::fabs(high.y), std::fabs(high.z) }));
    std::array<BundlePlane, kMostCorners + 1> planes {};
    std::size_t planeCount = 0;
    const auto addPlane = [&](const CVector& normal) {
        const double length = normal.Length();
        if (!(length > 1e-150) || !std::isfinite(length))
            return;
        BundlePlane plane { normal, DotProduct(normal, apex), DotProduct(normal, apex), slack * length };
        for (const CVector& c : corners) {
            const double along = DotProduct(normal, c);
            plane.least = std::min(plane.least, along);
            plane.most = std::max(plane.most, along);
        }
        planes[planeCount++] = plane;
    };
    if (shaped) {
        for (std::size_t i = 0; i < corners.size(); ++i)
            addPlane(CrossProduct(corners[i] - apex, corners[(i + 1) % corners.size()] - apex));
        addPlane(CrossProduct(corners[1] - corners[0], corners[2] - corners[0]));
    }
    for (std::size_t k = 0; k < m_systems.size(); ++k) {
        const System& s = m_systems[k];
        if (skippedSystem >= 10 && s.index + 10 == skippedSystem)
            continue;
        if (apart(low, high, s.low, s.high, slack))
            continue;
        const bool ownSystem = skippedBox.system == s.index;
        for (std::size_t j = 0; j < s.boxes.size(); ++j) {
            const Box& box = s.boxes[j];
            if (ownSystem && box.a == skippedBox.a && box.b == skippedBox.b)
                continue;
            if (apart(low, high, box.low, box.high, slack))
                continue;
            bool separated = false;
            for (std::size_t i = 0; i < planeCount && !separated; ++i) {
                const BundlePlane& plane = planes[i];
                const double middle = DotProduct(plane.normal, box.middle);
                const double extent = std::fabs(plane.normal.x) * box.half.x + std::fabs(plane.normal.y) * box.half.y
                    + std::fabs(plane.normal.z) * box.half.z;
                separated = middle - extent > plane.most + plane.slack || middle + extent < plane.least - plane.slack;
            }
            if (!separated)
                boxes.push_back({ static_cast<std::uint32_t>(k), static_cast<std::uint32_t>(j) });
        }
    }
}

std::int32_t ObstacleScene::crossingAmong(std::span<const BoxRef> boxes, const CVector& q, const CVector& p,
    double& transmittance, bool margin) const
{
    const CVector d = q - p;
    std::int32_t first = 0;
    double product = 1.0;
    std::size_t i = 0;
    while (i < boxes.size()) {
        const std::uint32_t system = boxes[i].system;
        const System& s = m_systems[system];
        bool crossed = false;
        for (; i < boxes.size() && boxes[i].system == system; ++i) {
            const Box& box = s.boxes[boxes[i].box];
            if (!crossed && segmentMeetsBounds(p, d, box.low, box.high) && crossesBox(s, box, p, d, margin))
                crossed = true;
        }
        if (!crossed)
            continue;
        if (first == 0)
            first = s.index + 1;
        product *= s.transmittance;
        if (product <= 0.0)
            break;
    }
    if (first != 0)
        transmittance = product;
    return first;
}

ObstacleBoxId ObstacleScene::boxOfFace(std::int32_t system, const CVector& pointOnFace, const CVector& outward) const
{
    const CVector unit = outward.Normalized();
    for (const System& s : m_systems) {
        if (s.index != system)
            continue;
        const double det = determinant3(s.e1.x, s.e2.x, s.e3.x, s.e1.y, s.e2.y, s.e3.y, s.e1.z, s.e2.z, s.e3.z);
        if (!(std::fabs(det) > 1e-12))
            return {};
        // A point just inside the face lies inside its box: its coordinates along the edges are within 0..1.
        const double scale = std::max({ s.e1.Length(), s.e2.Length(), s.e3.Length() });
        const CVector inside = pointOnFace - (1e-4 * scale) * unit;
        for (const Box& box : s.boxes) {
            const CVector r = inside - box.corner;
            const double x = determinant3(r.x, s.e2.x, s.e3.x, r.y, s.e2.y, s.e3.y, r.z, s.e2.z, s.e3.z) / det;
            const double y = determinant3(s.e1.x, r.x, s.e3.x, s.e1.y, r.y, s.e3.y, s.e1.z, r.z, s.e3.z) / det;
            const double z = determinant3(s.e1.x, s.e2.x, r.x, s.e1.y, s.e2.y, r.y, s.e1.z, s.e2.z, r.z) / det;
            if (x > 0.0 && x < 1.0 && y > 0.0 && y < 1.0 && z > 0.0 && z < 1.0)
                return { s.index, box.a, box.b };
        }
    }
    return {};
}

} // namespace kzev
