#include "calc/ObstacleScene.h"

#include "calc/SegmentFace.h"
#include "calc/SimdLanes.h"
#include "model/CRoom.h"

#include <algorithm>
#include <array>
#include <cmath>

#pragma GCC diagnostic ignored "-Wpsabi" // the lane helpers are inlined, see SimdLanes.h

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

// The inverse of each component of a segment's step, for the slab tests of one segment.
struct SegmentInverse {
    double step[3];
    double inverse[3];

    explicit SegmentInverse(const CVector& d)
        : step { d.x, d.y, d.z }
        , inverse { 1.0 / d.x, 1.0 / d.y, 1.0 / d.z }
    {
    }
};

// Slab test: whether the segment p .. p + d meets the axis-aligned box.
bool segmentMeetsBounds(const CVector& p, const SegmentInverse& d, const CVector& low, const CVector& high)
{
    double enter = 0.0;
    double leave = 1.0;
    const double start[3] = { p.x, p.y, p.z };
    const double lo[3] = { low.x, low.y, low.z };
    const double hi[3] = { high.x, high.y, high.z };
    for (int axis = 0; axis < 3; ++axis) {
        if (std::fabs(d.step[axis]) < 1e-300) {
            if (start[axis] < lo[axis] || start[axis] > hi[axis])
                return false;
            continue;
        }
        const double inverse = d.inverse[axis];
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

// The pyramid a bundle of segments fills (from the points of a convex polygon to one apex), as
// the culling sees it: its bounding box and, made when first needed, the planes of its faces with
// the range its points span along each.
class BundleHull {
public:
    static constexpr std::size_t kMostCorners = 8;

    BundleHull(std::span<const CVector> corners, const CVector& apex)
        : m_corners(corners)
        , m_apex(apex)
        , m_low(apex)
        , m_high(apex)
    {
        for (const CVector& c : corners) {
            m_low = lowest(m_low, c);
            m_high = highest(m_high, c);
        }
        // Far more than any rounding of the face test, far less than any box worth culling.
        m_slack = 1e-6
            * (1.0 + std::max({ std::fabs(m_low.x), std::fabs(m_low.y), std::fabs(m_low.z), std::fabs(m_high.x),
                std::fabs(m_high.y), std::fabs(m_high.z) }));
    }

    [[nodiscard]] double slack() const { return m_slack; }
    [[nodiscard]] const CVector& low() const { return m_low; }
    [[nodiscard]] const CVector& high() const { return m_high; }

    [[nodiscard]] bool apartFrom(const CVector& low, const CVector& high) const
    {
        return apart(m_low, m_high, low, high, m_slack);
    }

    // The range of the bundle's points along a direction.
    void span(const CVector& normal, double& least, double& most) const
    {
        least = most = DotProduct(normal, m_apex);
        for (const CVector& c : m_corners) {
            const double along = DotProduct(normal, c);
            least = std::min(least, along);
            most = std::max(most, along);
        }
    }

    // Whether a face plane of the pyramid has the box wholly on its far side.
    bool separatedFrom(const CVector& middle, const CVector& half)
    {
        if (!m_planesMade)
            makePlanes();
        for (std::size_t i = 0; i < m_planeCount; ++i) {
            const Plane& plane = m_planes[i];
            const double centre = DotProduct(plane.normal, middle);
            const double extent = std::fabs(plane.normal.x) * half.x + std::fabs(plane.normal.y) * half.y
                + std::fabs(plane.normal.z) * half.z;
            if (centre - extent > plane.most + plane.slack || centre + extent < plane.least - plane.slack)
                return true;
        }
        return false;
    }

private:
    struct Plane {
        CVector normal;
        double least;
        double most;
        double slack; // scaled by the normal's length
    };

    void addPlane(const CVector& normal)
    {
        // The sum of the components stands in for the length: never less, and no square root.
        const double length = std::fabs(normal.x) + std::fabs(normal.y) + std::fabs(normal.z);
        if (!(length > 1e-150) || !std::isfinite(length) || m_planeCount == m_planes.size())
            return;
        Plane plane { normal, 0.0, 0.0, m_slack * length };
        span(normal, plane.least, plane.most);
        m_planes[m_planeCount++] = plane;
    }

    void makePlanes()
    {
        m_planesMade = true;
        const std::span<const CVector> c = m_corners;
        if (c.size() == 2) {
            // A fan of segments from a line: its triangle's plane, and across each side within it.
            const CVector normal = CrossProduct(c[0] - m_apex, c[1] - m_apex);
            addPlane(normal);
            addPlane(CrossProduct(normal, c[1] - c[0]));
            addPlane(CrossProduct(normal, c[0] - m_apex));
            addPlane(CrossProduct(normal, c[1] - m_apex));
        } else if (c.size() >= 3 && c.size() <= kMostCorners) {
            for (std::size_t i = 0; i < c.size(); ++i)
                addPlane(CrossProduct(c[i] - m_apex, c[(i + 1) % c.size()] - m_apex));
            addPlane(CrossProduct(c[1] - c[0], c[2] - c[0]));
        }
    }

    std::span<const CVector> m_corners;
    CVector m_apex;
    CVector m_low;
    CVector m_high;
    double m_slack;
    bool m_planesMade = false;
    std::array<Plane, kMostCorners + 1> m_planes; // NOLINT: filled before use, up to m_planeCount
    std::size_t m_planeCount = 0;
};

// The faces of a box (bit i for the i-th face tested) whose plane some segment of the bundle may
// cross, 0 when the bundle keeps clear of the box. spans holds the bundle's range along the
// system's three face normals, worked out at the first box that needs it.
template <class SystemData, class BoxData>
std::uint32_t facesReached(BundleHull& hull, const SystemData& s, const BoxData& box, double (&least)[3],
    double (&most)[3], bool& spanned)
{
    if (hull.apartFrom(box.low, box.high) || hull.separatedFrom(box.middle, box.half))
        return 0;
    if (!spanned) {
        hull.span(s.n12, least[0], most[0]);
        hull.span(s.n32, least[1], most[1]);
        hull.span(s.n31, least[2], most[2]);
        spanned = true;
    }
    const double clear[3] = { hull.slack() * s.length12, hull.slack() * s.length32, hull.slack() * s.length31 };
    std::uint32_t faces = 0;
    for (std::uint32_t f = 0; f < 6; ++f) {
        const std::uint32_t axis = f % 3;
        if (!(least[axis] > box.planes[f] + clear[axis] || most[axis] < box.planes[f] - clear[axis]))
            faces |= 1u << f;
    }
    return faces;
}

// A box's numbers for the four-segment test: its bounding box (low, high), each face's corner and
// two sides, then for a box whose edges run along the axes: 1 when it is one, per axis the planes
// of its two faces across that axis (low, high), those faces' places in the test, the faces' area
// per axis, and the box's largest coordinate.
constexpr std::size_t kAlignedAt = 6 + 6 * 9;
constexpr std::size_t kAlignedLow = kAlignedAt + 1;
constexpr std::size_t kAlignedHigh = kAlignedLow + 3;
constexpr std::size_t kAlignedFaceLow = kAlignedHigh + 3;
constexpr std::size_t kAlignedFaceHigh = kAlignedFaceLow + 3;
constexpr std::size_t kAlignedArea = kAlignedFaceHigh + 3;
constexpr std::size_t kAlignedScale = kAlignedArea + 3;
constexpr std::size_t kLaneData = kAlignedScale + 1;

// What a comparison of lanes gives (its element type differs between compilers).
using Mask = decltype(simd::Lanes {} < simd::Lanes {});

[[gnu::always_inline]] inline double determinant3Of(double m0, double m1, double m2, double m3, double m4, double m5,
    double m6, double m7, double m8)
{
    return determinant3(m0, m1, m2, m3, m4, m5, m6, m7, m8);
}

// determinant3 with the third column in lanes, in its order of operations.
[[gnu::always_inline]] inline simd::Lanes determinant3Third(double m0, double m1, simd::Lanes m2, double m3, double m4,
    simd::Lanes m5, double m6, double m7, simd::Lanes m8)
{
    return m1 * m5 * m6 + m2 * m3 * m7 + m0 * m4 * m8 - (m2 * m4 * m6 + m0 * m5 * m7 + m1 * m3 * m8);
}

// Which of four segments from p to ends[lane] cross each listed box, as segmentMeetsBounds
// and crossesBox tell it: crossed[4·i + lane] is −1 or 0 for box i. The same operations per lane as
// the scalar tests, their early returns kept as masks.
[[gnu::target_clones("avx2", "default")]] void laneCrossings(const double* p, const CVector* ends,
    const double* const* boxes, const std::uint32_t* faces, std::size_t count, bool margin, long long* crossed)
{
    using simd::Lanes;
    // Built in registers: a vector load of numbers just stored one by one would wait on the stores.
    const Lanes d[3] = { Lanes { ends[0].x - p[0], ends[1].x - p[0], ends[2].x - p[0], ends[3].x - p[0] },
        Lanes { ends[0].y - p[1], ends[1].y - p[1], ends[2].y - p[1], ends[3].y - p[1] },
        Lanes { ends[0].z - p[2], ends[1].z - p[2], ends[2].z - p[2], ends[3].z - p[2] } };
    Lanes inverse[3];
    Mask tiny[3];
    for (int axis = 0; axis < 3; ++axis) {
        inverse[axis] = 1.0 / d[axis];
        tiny[axis] = simd::abs(d[axis]) < 1e-300;
    }
    const Lanes m[3] = { -d[0], -d[1], -d[2] };
    // For the boxes along the axes: the segments' longest component, and the size of the scene's
    // numbers at the start.
    const Lanes dx = simd::abs(d[0]);
    const Lanes dy = simd::abs(d[1]);
    const Lanes dz = simd::abs(d[2]);
    const Lanes dxy = dx > dy ? dx : dy;
    const Lanes longest = dxy > dz ? dxy : dz;
    const double startSize = std::max({ std::fabs(p[0]), std::fabs(p[1]), std::fabs(p[2]) });
    for (std::size_t i = 0; i < count; ++i) {
        const double* b = boxes[i];
        Mask hit = Mask {};
        if (b[kAlignedAt] != 0.0) {
            // A box along the axes: a segment that enters a face well inside its edges, well
            // within the segment's accepted part and not grazing it, is one that face's test
            // takes; the margins stand far above the rounding of that test (in the face's
            // coordinates about 1e-14 of the scene's size over the segment's slope to the face).
            // Such a segment passes the bounding-box test too, by as far.
            const double* lo = b + kAlignedLow;
            const double* hi = b + kAlignedHigh;
            const double scale = 1.0 + std::max(startSize, b[kAlignedScale]);
            // Both faces across each axis: a segment from a point on the box leaves it by the far one.
            for (std::size_t face = 0; face < 6; ++face) {
                const std::size_t axis = face % 3;
                const bool high = face >= 3;
                const auto place = static_cast<std::uint32_t>(b[(high ? kAlignedFaceHigh : kAlignedFaceLow) + axis]);
                if (!(faces[i] & (1u << place)))
                    continue;
                const Lanes slope = simd::abs(inverse[axis]);
                const Lanes sigma = ((high ? hi[axis] : lo[axis]) - p[axis]) * inverse[axis];
                const Lanes sigmaMargin = 1e-8 * scale * slope;
                const Lanes inside = 1e-8 * scale * (1.0 + longest * slope);
                Mask taken = (sigma > 0.0001 + sigmaMargin) & (sigma < 0.9999 - sigmaMargin)
                    & (simd::abs(d[axis]) * b[kAlignedArea + axis] >= 2e-9);
                for (const std::size_t other : { (axis + 1) % 3, (axis + 2) % 3 }) {
                    const Lanes at = p[other] + sigma * d[other];
                    taken &= (at > lo[other] + inside) & (at < hi[other] - inside);
                }
                hit |= taken;
            }
            if ((hit[0] & hit[1] & hit[2] & hit[3]) != 0) {
                for (int lane = 0; lane < 4; ++lane)
                    crossed[4 * i + static_cast<std::size_t>(lane)] = hit[lane];
                continue;
            }
        }
        Lanes enter = simd::splat(0.0);
        Lanes leave = simd::splat(1.0);
        Mask alive = enter == enter;
        for (int axis = 0; axis < 3; ++axis) {
            const double start = p[axis];
            const double lo = b[axis];
            const double hi = b[3 + axis];
            const Mask outside = (start < lo || start > hi) ? Mask {} - 1 : Mask {};
            Lanes t0 = (lo - start) * inverse[axis];
            Lanes t1 = (hi - start) * inverse[axis];
            const Mask swapped = t0 > t1;
            const Lanes low = swapped ? t1 : t0;
            const Lanes high = swapped ? t0 : t1;
            const Lanes entered = enter < low ? low : enter;
            const Lanes left = high < leave ? high : leave;
            enter = tiny[axis] ? enter : entered;
            leave = tiny[axis] ? leave : left;
            alive &= tiny[axis] ? ~outside : ~(enter > leave);
        }
        hit &= alive;
        const Mask unsettled = alive & ~hit;
        bool any = (unsettled[0] | unsettled[1] | unsettled[2] | unsettled[3]) != 0;
        for (std::uint32_t f = 0; any && f < 6; ++f) {
            if (!(faces[i] & (1u << f)))
                continue;
            const double* face = b + 6 + 9 * f;
            const double kx = face[0], ky = face[1], kz = face[2];
            const double ux = face[3], uy = face[4], uz = face[5];
            const double vx = face[6], vy = face[7], vz = face[8];
            const Lanes det = determinant3Third(ux, vx, m[0], uy, vy, m[1], uz, vz, m[2]);
            const double rx = p[0] - kx;
            const double ry = p[1] - ky;
            const double rz = p[2] - kz;
            const Lanes alpha = determinant3Third(rx, vx, m[0], ry, vy, m[1], rz, vz, m[2]) / det;
            Mask through = alive & ~hit & (simd::abs(det) >= 1e-9) & ~((alpha <= 0.0) | (alpha >= 1.0));
            // No lane left that this face could change.
            if ((through[0] | through[1] | through[2] | through[3]) == 0)
                continue;
            const Lanes beta = determinant3Third(ux, rx, m[0], uy, ry, m[1], uz, rz, m[2]) / det;
            const Lanes sigma = determinant3Of(ux, vx, rx, uy, vy, ry, uz, vz, rz) / det;
            through &= ~((beta <= 0.0) | (beta >= 1.0));
            through &= margin ? ((sigma > 0.0001) & (sigma < 0.9999)) : ((sigma > 0.0) & (sigma < 1.0));
            hit |= through;
            const Mask settled = hit | ~alive;
            if ((settled[0] & settled[1] & settled[2] & settled[3]) != 0)
                break;
        }
        hit &= alive;
        for (int lane = 0; lane < 4; ++lane)
            crossed[4 * i + static_cast<std::size_t>(lane)] = hit[lane];
    }
}

// The axis a vector runs along, −1 when it has more than one component (or none).
int axisOf(const CVector& v)
{
    const int nonZero = (v.x != 0.0 ? 1 : 0) + (v.y != 0.0 ? 1 : 0) + (v.z != 0.0 ? 1 : 0);
    if (nonZero != 1)
        return -1;
    return v.x != 0.0 ? 0 : (v.y != 0.0 ? 1 : 2);
}

// Appends the numbers of a box along the axes (zeros for another) to its lane data.
void appendAligned(const CVector& e1, const CVector& e2, const CVector& e3, const CVector& cornerAt,
    const CVector& oppositeAt, std::vector<double>& to)
{
    std::array<double, kLaneData - kAlignedAt> aligned {};
    // The faces in the order of the test: 0 and 3 across e3's axis, 1 and 4 across e1's, 2 and 5 across e2's.
    const int across[3] = { axisOf(e3), axisOf(e1), axisOf(e2) };
    const bool alongAxes = across[0] >= 0 && across[1] >= 0 && across[2] >= 0 && across[0] != across[1]
        && across[1] != across[2] && across[0] != across[2];
    if (alongAxes) {
        const double corner[3] = { cornerAt.x, cornerAt.y, cornerAt.z };
        const double opposite[3] = { oppositeAt.x, oppositeAt.y, oppositeAt.z };
        double extent[3];
        for (int pair = 0; pair < 3; ++pair) {
            const int axis = across[pair];
            const bool cornerLow = corner[axis] <= opposite[axis];
            aligned[kAlignedLow - kAlignedAt + axis] = cornerLow ? corner[axis] : opposite[axis];
            aligned[kAlignedHigh - kAlignedAt + axis] = cornerLow ? opposite[axis] : corner[axis];
            aligned[kAlignedFaceLow - kAlignedAt + axis] = cornerLow ? pair : pair + 3;
            aligned[kAlignedFaceHigh - kAlignedAt + axis] = cornerLow ? pair + 3 : pair;
            extent[axis] = std::fabs(opposite[axis] - corner[axis]);
        }
        double largest = 0.0;
        for (int axis = 0; axis < 3; ++axis) {
            aligned[kAlignedArea - kAlignedAt + axis] = extent[(axis + 1) % 3] * extent[(axis + 2) % 3];
            largest = std::max({ largest, std::fabs(corner[axis]), std::fabs(opposite[axis]) });
        }
        aligned[kAlignedScale - kAlignedAt] = largest;
        aligned[0] = std::isfinite(largest) ? 1.0 : 0.0;
    }
    to.insert(to.end(), aligned.begin(), aligned.end());
}

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
        s.n12 = CrossProduct(s.e1, s.e2);
        s.n32 = CrossProduct(s.e3, s.e2);
        s.n31 = CrossProduct(s.e1, s.e3);
        s.length12 = s.n12.Length();
        s.length32 = s.n32.Length();
        s.length31 = s.n31.Length();
        {
            const CVector* sides[6][2] = { { &s.e1, &s.e2 }, { &s.e3, &s.e2 }, { &s.e1, &s.e3 }, { &s.n1, &s.n2 },
                { &s.n3, &s.n2 }, { &s.n1, &s.n3 } };
            const CVector* normals[3] = { &s.n12, &s.n32, &s.n31 };
            const double lengths[3] = { s.length12, s.length32, s.length31 };
            for (int f = 0; f < 6; ++f) {
                const CVector& u = *sides[f][0];
                const CVector& v = *sides[f][1];
                const CVector& n = *normals[f % 3];
                const double area = lengths[f % 3];
                // Sides of a millimetre at least: the bundle test's margins are shares of them.
                s.measurable[f] = u.Length() >= 1e-3 && v.Length() >= 1e-3 && area > 0.0;
                // r = α·u + β·v in the face's plane gives α = r · (v × n) / |n|², β = r · (n × u) / |n|².
                const double inverse = s.measurable[f] ? 1.0 / (area * area) : 0.0;
                s.alongFirst[f] = inverse * CrossProduct(v, n);
                s.alongSecond[f] = inverse * CrossProduct(n, u);
            }
        }
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
                box.planes[0] = DotProduct(s.n12, box.corner);
                box.planes[1] = DotProduct(s.n32, box.corner);
                box.planes[2] = DotProduct(s.n31, box.corner);
                box.planes[3] = DotProduct(s.n12, box.opposite);
                box.planes[4] = DotProduct(s.n32, box.opposite);
                box.planes[5] = DotProduct(s.n31, box.opposite);
                s.low = first ? box.low : lowest(s.low, box.low);
                s.high = first ? box.high : highest(s.high, box.high);
                first = false;
                s.boxes.push_back(box);
                const CVector* faceData[6][3] = { { &box.corner, &s.e1, &s.e2 }, { &box.corner, &s.e3, &s.e2 },
                    { &box.corner, &s.e1, &s.e3 }, { &box.opposite, &s.n1, &s.n2 }, { &box.opposite, &s.n3, &s.n2 },
                    { &box.opposite, &s.n1, &s.n3 } };
                for (const CVector* v : { &box.low, &box.high })
                    s.laneData.insert(s.laneData.end(), { v->x, v->y, v->z });
                for (const auto& face : faceData) {
                    for (const CVector* v : face)
                        s.laneData.insert(s.laneData.end(), { v->x, v->y, v->z });
                }
                appendAligned(s.e1, s.e2, s.e3, box.corner, box.opposite, s.laneData);
            }
        }
        s.laneFaces = (s.skip12 ? 0u : 9u) | (s.skip32 ? 0u : 18u) | (s.skip31 ? 0u : 36u);
        if (!s.boxes.empty()) {
            m_firstBox.push_back(m_firstBox.empty() ? 0 : m_firstBox.back() + m_systems.back().boxes.size());
            m_plainShares = m_plainShares && std::isfinite(s.transmittance) && s.transmittance >= 0.0;
            m_systems.push_back(std::move(s));
        }
    }
}

bool ObstacleScene::crossesBox(
    const System& s, const Box& box, const CVector& p, const CVector& d, bool margin, std::uint32_t faces)
{
    // The faces in the order of the full test, each left out as it leaves them out.
    if (!s.skip12 && (faces & 1u) && segmentFaceCrossing(box.corner, s.e1, s.e2, p, d, margin) == 2)
        return true;
    if (!s.skip32 && (faces & 2u) && segmentFaceCrossing(box.corner, s.e3, s.e2, p, d, margin) == 2)
        return true;
    if (!s.skip31 && (faces & 4u) && segmentFaceCrossing(box.corner, s.e1, s.e3, p, d, margin) == 2)
        return true;
    if (!s.skip12 && (faces & 8u) && segmentFaceCrossing(box.opposite, s.n1, s.n2, p, d, margin) == 2)
        return true;
    if (!s.skip32 && (faces & 16u) && segmentFaceCrossing(box.opposite, s.n3, s.n2, p, d, margin) == 2)
        return true;
    if (!s.skip31 && (faces & 32u) && segmentFaceCrossing(box.opposite, s.n1, s.n3, p, d, margin) == 2)
        return true;
    return false;
}

std::int32_t ObstacleScene::crossing(const CVector& q, const CVector& p, double& transmittance, bool margin,
    std::int32_t skippedSystem, const ObstacleBoxId& skippedBox) const
{
    const CVector d = q - p;
    const SegmentInverse inverse(d);
    std::int32_t first = 0;
    double product = 1.0;
    for (const System& s : m_systems) {
        if (skippedSystem >= 10 && s.index + 10 == skippedSystem)
            continue;
        if (!segmentMeetsBounds(p, inverse, s.low, s.high))
            continue;
        const bool ownSystem = skippedBox.system == s.index;
        bool crossed = false;
        for (const Box& box : s.boxes) {
            if (ownSystem && box.a == skippedBox.a && box.b == skippedBox.b)
                continue;
            if (segmentMeetsBounds(p, inverse, box.low, box.high) && crossesBox(s, box, p, d, margin)) {
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
    BundleHull hull(corners, apex);
    for (std::size_t k = 0; k < m_systems.size(); ++k) {
        const System& s = m_systems[k];
        if (skippedSystem >= 10 && s.index + 10 == skippedSystem)
            continue;
        if (hull.apartFrom(s.low, s.high))
            continue;
        double least[3];
        double most[3];
        bool spanned = false;
        const bool ownSystem = skippedBox.system == s.index;
        for (std::size_t j = 0; j < s.boxes.size(); ++j) {
            const Box& box = s.boxes[j];
            if (ownSystem && box.a == skippedBox.a && box.b == skippedBox.b)
                continue;
            const std::uint32_t faces = facesReached(hull, s, box, least, most, spanned);
            if (faces != 0)
                boxes.push_back({ static_cast<std::uint32_t>(k), static_cast<std::uint32_t>(j), faces });
        }
    }
}

void ObstacleScene::gatherBundleAmong(std::span<const CVector> corners, const CVector& apex,
    std::span<const BoxRef> among, std::vector<BoxRef>& boxes) const
{
    boxes.clear();
    BundleHull hull(corners, apex);
    double least[3];
    double most[3];
    bool spanned = false;
    for (std::size_t i = 0; i < among.size(); ++i) {
        if (i > 0 && among[i].system != among[i - 1].system)
            spanned = false;
        const System& s = m_systems[among[i].system];
        const std::uint32_t faces
            = among[i].faces & facesReached(hull, s, s.boxes[among[i].box], least, most, spanned);
        if (faces != 0)
            boxes.push_back({ among[i].system, among[i].box, faces });
    }
}

void ObstacleScene::viewFrom(const CVector& apex, View& view) const
{
    view.m_apex = apex;
    view.m_boxes.clear();
    for (const System& s : m_systems) {
        for (const Box& box : s.boxes) {
            View::Seen seen;
            const CVector k = box.corner;
            const CVector corners[8] = { k, k + s.e1, k + s.e2, k + s.e3, k + s.e1 + s.e2, k + s.e1 + s.e3,
                k + s.e2 + s.e3, box.opposite };
            // The twelve edges, as pairs of corners.
            constexpr int kEdges[12][2] = { { 0, 1 }, { 0, 2 }, { 0, 3 }, { 1, 4 }, { 1, 5 }, { 2, 4 }, { 2, 6 },
                { 3, 5 }, { 3, 6 }, { 4, 7 }, { 5, 7 }, { 6, 7 } };
            for (const auto& edge : kEdges) {
                const CVector normal = CrossProduct(corners[edge[0]] - apex, corners[edge[1]] - apex);
                const double size = std::fabs(normal.x) + std::fabs(normal.y) + std::fabs(normal.z);
                if (!(size > 1e-150) || !std::isfinite(size))
                    continue;
                // The box's own rounding, so that a corner of the edge counts as on the plane.
                const double tolerance = 1e-9 * size
                    * (1.0 + std::max({ std::fabs(box.low.x), std::fabs(box.low.y), std::fabs(box.low.z),
                        std::fabs(box.high.x), std::fabs(box.high.y), std::fabs(box.high.z), std::fabs(apex.x),
                        std::fabs(apex.y), std::fabs(apex.z) }));
                double least = 0.0;
                double most = 0.0;
                for (const CVector& c : corners) {
                    const double along = DotProduct(normal, c - apex);
                    least = std::min(least, along);
                    most = std::max(most, along);
                }
                if (most <= tolerance)
                    seen.planes[seen.planeCount++] = { normal, DotProduct(normal, apex), size };
                else if (least >= -tolerance)
                    seen.planes[seen.planeCount++] = { -1.0 * normal, -DotProduct(normal, apex), size };
            }
            view.m_boxes.push_back(seen);
        }
    }
}

std::size_t ObstacleScene::viewBytes() const
{
    std::size_t boxes = 0;
    for (const System& s : m_systems)
        boxes += s.boxes.size();
    return boxes * sizeof(View::Seen);
}

std::uint32_t ObstacleScene::facesInView(const View& view, std::size_t system, std::size_t box,
    std::span<const CVector> corners, const CVector& low, const CVector& high, double slack, bool& within,
    double (&spans)[7]) const
{
    within = false;
    const System& s = m_systems[system];
    const Box& b = s.boxes[box];
    if (apart(low, high, b.low, b.high, slack))
        return 0;
    const View::Seen& seen = view.m_boxes[m_firstBox[system] + box];
    const CVector& apex = view.m_apex;
    // Every corner beyond one plane of the outline: the segments from the apex stay beyond it, and
    // the box lies behind it. Only for a box that lets nothing through is it worth knowing that the
    // corners lie inside the outline.
    bool inside = seen.planeCount > 0 && s.transmittance <= 0.0;
    if (corners.size() == 4) {
        // The four corners side by side, each the same sum as below.
        const simd::Lanes cx { corners[0].x, corners[1].x, corners[2].x, corners[3].x };
        const simd::Lanes cy { corners[0].y, corners[1].y, corners[2].y, corners[3].y };
        const simd::Lanes cz { corners[0].z, corners[1].z, corners[2].z, corners[3].z };
        for (std::size_t i = 0; i < seen.planeCount; ++i) {
            const View::Plane& plane = seen.planes[i];
            const double clear = slack * plane.size;
            const simd::Lanes along = plane.normal.x * cx + plane.normal.y * cy + plane.normal.z * cz - plane.offset;
            const Mask over = along > clear;
            if ((over[0] & over[1] & over[2] & over[3]) != 0)
                return 0;
            const Mask under = along < -clear;
            inside = inside && (under[0] & under[1] & under[2] & under[3]) != 0;
        }
        // A surface's or an element's bundle keeps every face: its few rays test them sooner than
        // its range along the normals is worked out. Rows narrow them.
        within = inside && s.transmittance <= 0.0;
        return kAllFaces;
    }
    for (std::size_t i = 0; i < seen.planeCount; ++i) {
        const View::Plane& plane = seen.planes[i];
        const double clear = slack * plane.size;
        bool beyond = true;
        for (const CVector& c : corners) {
            const double along = DotProduct(plane.normal, c) - plane.offset;
            beyond = beyond && along > clear;
            inside = inside && along < -clear;
            if (!beyond && !inside)
                break;
        }
        if (beyond)
            return 0;
    }
    // The bundle's range along the system's face normals: a face whose plane it does not reach is
    // crossed by no segment of it.
    const double lengths[3] = { s.length12, s.length32, s.length31 };
    double* least = spans + 1;
    double* most = spans + 4;
    if (spans[0] == 0.0) {
        const CVector* normals[3] = { &s.n12, &s.n32, &s.n31 };
        for (int axis = 0; axis < 3; ++axis) {
            least[axis] = most[axis] = DotProduct(*normals[axis], apex);
            for (const CVector& c : corners) {
                const double along = DotProduct(*normals[axis], c);
                least[axis] = std::min(least[axis], along);
                most[axis] = std::max(most[axis], along);
            }
        }
        spans[0] = 1.0;
    }
    std::uint32_t faces = 0;
    for (std::uint32_t f = 0; f < 6; ++f) {
        const std::uint32_t axis = f % 3;
        const double clear = slack * lengths[axis];
        if (!(least[axis] > b.planes[f] + clear || most[axis] < b.planes[f] - clear))
            faces |= 1u << f;
    }
    within = faces != 0 && inside && s.transmittance <= 0.0;
    return faces;
}

void ObstacleScene::gatherBundle(const View& view, std::span<const CVector> corners, std::int32_t skippedSystem,
    const ObstacleBoxId& skippedBox, std::vector<BoxRef>& boxes, bool& perhapsStopped) const
{
    boxes.clear();
    perhapsStopped = false;
    const BundleHull hull(corners, view.m_apex);
    for (std::size_t k = 0; k < m_systems.size(); ++k) {
        const System& s = m_systems[k];
        if (skippedSystem >= 10 && s.index + 10 == skippedSystem)
            continue;
        if (hull.apartFrom(s.low, s.high))
            continue;
        const bool ownSystem = skippedBox.system == s.index;
        double spans[7] = {};
        for (std::size_t j = 0; j < s.boxes.size(); ++j) {
            const Box& box = s.boxes[j];
            if (ownSystem && box.a == skippedBox.a && box.b == skippedBox.b)
                continue;
            bool within = false;
            const std::uint32_t faces
                = facesInView(view, k, j, corners, hull.low(), hull.high(), hull.slack(), within, spans);
            if (faces != 0)
                boxes.push_back({ static_cast<std::uint32_t>(k), static_cast<std::uint32_t>(j), faces });
            perhapsStopped = perhapsStopped || within;
        }
    }
}

void ObstacleScene::gatherBundleAmong(const View& view, std::span<const CVector> corners,
    std::span<const BoxRef> among, std::vector<BoxRef>& boxes, bool& perhapsStopped) const
{
    boxes.clear();
    perhapsStopped = false;
    const BundleHull hull(corners, view.m_apex);
    double spans[7] = {};
    for (std::size_t i = 0; i < among.size(); ++i) {
        const BoxRef& ref = among[i];
        if (i > 0 && ref.system != among[i - 1].system)
            spans[0] = 0.0;
        bool within = false;
        const std::uint32_t faces = ref.faces
            & facesInView(view, ref.system, ref.box, corners, hull.low(), hull.high(), hull.slack(), within, spans);
        if (faces != 0)
            boxes.push_back({ ref.system, ref.box, faces });
        perhapsStopped = perhapsStopped || within;
    }
}

namespace {

// Keeps of the columns low..high those with b >= bound (slope < 0) or b <= bound (slope > 0).
inline void keepBeside(std::int32_t& low, std::int32_t& high, double bound, bool upper, std::int32_t columns)
{
    const double last = columns - 1;
    if (upper) {
        if (!(bound >= 0.0))
            high = -1;
        else if (bound < last)
            high = std::min(high, static_cast<std::int32_t>(bound));
    } else {
        if (!(bound <= last))
            low = columns;
        else if (bound > 0.0)
            low = std::max(low, static_cast<std::int32_t>(std::ceil(bound)));
    }
}

} // namespace

void ObstacleScene::gridSpans(const View& view, std::span<const CVector> whole, const CVector& start,
    const CVector& stepU, const CVector& stepV, std::int32_t rows, std::int32_t columns,
    std::span<const BoxRef> among, std::vector<GridSpan>& spans) const
{
    const std::size_t n = among.size();
    spans.assign(static_cast<std::size_t>(std::max(rows, 0)) * n, GridSpan { 0, columns - 1, 0, columns - 1 });
    if (rows <= 0 || columns <= 0 || n == 0)
        return;
    // The whole grid's slack is never less than one cell's; doubled, it also covers the rounding
    // of the grid's sums against the cells' own corners.
    const BundleHull hull(whole, view.m_apex);
    const double slack = 2.0 * hull.slack();
    const CVector& apex = view.m_apex;
    const double apexAt[3] = { apex.x, apex.y, apex.z };
    struct Cut {
        CVector normal;
        double offset;
        double clear;
        bool outline;
    };
    for (std::size_t i = 0; i < n; ++i) {
        const System& s = m_systems[among[i].system];
        const Box& b = s.boxes[among[i].box];
        const View::Seen& seen = view.m_boxes[m_firstBox[among[i].system] + among[i].box];
        const bool canBeInside = seen.planeCount > 0 && s.transmittance <= 0.0;
        std::array<Cut, 18> cuts;
        std::size_t count = 0;
        for (std::size_t k = 0; k < seen.planeCount; ++k)
            cuts[count++] = { seen.planes[k].normal, seen.planes[k].offset, slack * seen.planes[k].size, true };
        // The bounding box's sides with the apex beyond them: the cell beyond them too keeps clear.
        const double lows[3] = { b.low.x, b.low.y, b.low.z };
        const double highs[3] = { b.high.x, b.high.y, b.high.z };
        for (int axis = 0; axis < 3; ++axis) {
            const CVector unit { axis == 0 ? 1.0 : 0.0, axis == 1 ? 1.0 : 0.0, axis == 2 ? 1.0 : 0.0 };
            if (apexAt[axis] > highs[axis] + slack)
                cuts[count++] = { unit, highs[axis], slack, false };
            if (apexAt[axis] < lows[axis] - slack)
                cuts[count++] = { -1.0 * unit, -lows[axis], slack, false };
        }
        if (!canBeInside) {
            for (std::int32_t a = 0; a < rows; ++a) {
                spans[static_cast<std::size_t>(a) * n + i].insideLow = 0;
                spans[static_cast<std::size_t>(a) * n + i].insideHigh = -1;
            }
        }
        for (std::size_t k = 0; k < count; ++k) {
            const Cut& cut = cuts[k];
            const double v0 = DotProduct(cut.normal, start) - cut.offset;
            const double du = DotProduct(cut.normal, stepU);
            const double dv = DotProduct(cut.normal, stepV);
            // A cell's lowest and highest corner along the plane's normal.
            const double least = std::min(du, 0.0) + std::min(dv, 0.0);
            const double most = std::max(du, 0.0) + std::max(dv, 0.0);
            // Beyond the plane, clear of it: v0 + a·du + b·dv + least > clear; within it all
            // corners below −clear. Along a row the columns kept end where b·dv passes the room.
            const double room = cut.clear - v0 - least;
            const double insideRoom = -cut.clear - v0 - most;
            const bool inside = cut.outline && canBeInside;
            if (!std::isfinite(room) || !std::isfinite(insideRoom) || !std::isfinite(du) || !std::isfinite(dv))
                continue;
            if (dv == 0.0) {
                for (std::int32_t a = 0; a < rows; ++a) {
                    GridSpan& g = spans[static_cast<std::size_t>(a) * n + i];
                    if (room - a * du < 0.0)
                        g.high = -1;
                    if (inside && insideRoom - a * du < 0.0)
                        g.insideHigh = -1;
                }
                continue;
            }
            const double inverse = 1.0 / dv;
            const bool upper = dv > 0.0;
            const double first = room * inverse;
            const double insideFirst = insideRoom * inverse;
            const double perRow = du * inverse;
            for (std::int32_t a = 0; a < rows; ++a) {
                GridSpan& g = spans[static_cast<std::size_t>(a) * n + i];
                keepBeside(g.low, g.high, first - a * perRow, upper, columns);
                if (inside)
                    keepBeside(g.insideLow, g.insideHigh, insideFirst - a * perRow, upper, columns);
            }
        }
    }
}

bool ObstacleScene::bundleStopped(
    std::span<const CVector> corners, const CVector& apex, std::span<const BoxRef> boxes) const
{
    if (!m_plainShares || corners.empty())
        return false;
    double scale = std::max({ std::fabs(apex.x), std::fabs(apex.y), std::fabs(apex.z) });
    for (const CVector& c : corners)
        scale = std::max({ scale, std::fabs(c.x), std::fabs(c.y), std::fabs(c.z) });
    // Margins far above the rounding of the face test: in metres off the face's plane, and as a
    // share of the face's sides and of the segments.
    const double clearance = 1e-4 * (1.0 + scale);
    constexpr double kInside = 1e-3;
    // Whether face f of the box takes in every segment: the apex well clear on one side of its
    // plane, every corner on the other, and where the segments to the corners cross the plane
    // inside the face; the crossings of the others fill the hull of those.
    const auto takesWhole = [&](const System& s, const Box& box, std::uint32_t f, const CVector& n, double margin,
                                double atApex) {
        const double fromApex = atApex - box.planes[f];
        if (!(std::fabs(fromApex) >= margin))
            return false;
        const CVector& k = f < 3 ? box.corner : box.opposite;
        for (const CVector& c : corners) {
            const double fromCorner = DotProduct(n, c) - box.planes[f];
            if (!(fromCorner * fromApex < 0.0) || !(std::fabs(fromCorner) >= margin))
                return false;
            const double sigma = fromApex / (fromApex - fromCorner);
            const CVector r = (apex + sigma * (c - apex)) - k;
            const double alpha = DotProduct(r, s.alongFirst[f]);
            const double beta = DotProduct(r, s.alongSecond[f]);
            if (!(sigma >= kInside && sigma <= 1.0 - kInside && alpha >= kInside && alpha <= 1.0 - kInside
                    && beta >= kInside && beta <= 1.0 - kInside))
                return false;
        }
        return true;
    };
    for (const BoxRef& ref : boxes) {
        const System& s = m_systems[ref.system];
        if (!(s.transmittance <= 0.0))
            continue;
        const Box& box = s.boxes[ref.box];
        const bool skipped[3] = { s.skip12, s.skip32, s.skip31 };
        const CVector* normals[3] = { &s.n12, &s.n32, &s.n31 };
        const double lengths[3] = { s.length12, s.length32, s.length31 };
        for (std::uint32_t axis = 0; axis < 3; ++axis) {
            if (skipped[axis])
                continue;
            const double atApex = DotProduct(*normals[axis], apex);
            // The segments enter the box through the one face of the pair, or leave it through the other.
            for (const std::uint32_t f : { axis, axis + 3 }) {
                if (s.measurable[f] && (ref.faces & (1u << f))
                    && takesWhole(s, box, f, *normals[axis], clearance * lengths[axis], atApex))
                    return true;
            }
        }
    }
    return false;
}

std::int32_t ObstacleScene::crossingAmong(std::span<const BoxRef> boxes, const CVector& q, const CVector& p,
    double& transmittance, bool margin) const
{
    const CVector d = q - p;
    const SegmentInverse inverse(d);
    std::int32_t first = 0;
    double product = 1.0;
    std::size_t i = 0;
    while (i < boxes.size()) {
        const std::uint32_t system = boxes[i].system;
        const System& s = m_systems[system];
        bool crossed = false;
        for (; i < boxes.size() && boxes[i].system == system; ++i) {
            const Box& box = s.boxes[boxes[i].box];
            if (!crossed && segmentMeetsBounds(p, inverse, box.low, box.high)
                && crossesBox(s, box, p, d, margin, boxes[i].faces))
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

void ObstacleScene::crossingAmong4(std::span<const BoxRef> boxes, const CVector (&q)[4], const CVector& p, int count,
    std::int32_t (&first)[4], double (&transmittance)[4], bool margin) const
{
    constexpr std::size_t kMostBoxes = 64;
    const std::size_t n = boxes.size();
    CVector ends[4];
    for (int lane = 0; lane < 4; ++lane)
        ends[lane] = q[lane < count ? lane : 0];
    const double start[3] = { p.x, p.y, p.z };
    std::array<const double*, kMostBoxes> data;
    std::array<std::uint32_t, kMostBoxes> faces;
    std::array<long long, 4 * kMostBoxes> crossed;
    if (n > kMostBoxes) {
        // A long list is rare: one segment at a time.
        for (int lane = 0; lane < count; ++lane)
            first[lane] = crossingAmong(boxes, q[lane], p, transmittance[lane], margin);
        return;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const System& s = m_systems[boxes[i].system];
        data[i] = s.laneData.data() + kLaneData * boxes[i].box;
        faces[i] = boxes[i].faces & s.laneFaces;
    }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized" // the first n entries are set, and only those are read
#endif
    laneCrossings(start, ends, data.data(), faces.data(), n, margin, crossed.data());
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
    // The systems crossed in the order of crossingAmong, all lanes at once; a lane is done once
    // its product is 0.
    const unsigned counted = (1u << count) - 1u;
    unsigned done = 0;
    std::int32_t hit[4] = {};
    double product[4] = { 1.0, 1.0, 1.0, 1.0 };
    std::size_t i = 0;
    while (i < n && done != counted) {
        const std::uint32_t system = boxes[i].system;
        unsigned crossedLanes = 0;
        for (; i < n && boxes[i].system == system; ++i) {
            for (unsigned lane = 0; lane < 4; ++lane)
                crossedLanes |= crossed[4 * i + lane] != 0 ? 1u << lane : 0u;
        }
        crossedLanes &= counted & ~done;
        if (crossedLanes == 0)
            continue;
        const System& s = m_systems[system];
        for (unsigned lane = 0; lane < 4; ++lane) {
            if (!(crossedLanes & (1u << lane)))
                continue;
            if (hit[lane] == 0)
                hit[lane] = s.index + 1;
            product[lane] *= s.transmittance;
            if (product[lane] <= 0.0)
                done |= 1u << lane;
        }
    }
    for (int lane = 0; lane < count; ++lane) {
        first[lane] = hit[lane];
        if (hit[lane] != 0)
            transmittance[lane] = product[lane];
    }
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
