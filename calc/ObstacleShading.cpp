#include "calc/ObstacleShading.h"

#include "calc/SegmentFace.h"
#include "model/CRoom.h"

#include <cmath>

namespace {

std::int32_t intersect(const CVector& k, const CVector& u, const CVector& v, const CVector& p, const CVector& d,
    bool margin)
{
    return kzev::segmentFaceCrossing(k, u, v, p, d, margin);
}

// Whether the segment crosses one of the box's faces; faces whose two edges
// are both shorter than minDim are left out (minDim < 0 tests all six).
bool segmentCrossesBox(const CXSystem& xs, const CVector& corner, const CVector& p, const CVector& d, bool margin,
    double la, double lb, double lc, double minDim)
{
    const CVector& e1 = xs.m_edgeA;
    const CVector& e2 = xs.m_edgeB;
    const CVector& e3 = xs.m_edgeC;
    const CVector opposite = corner + e3 + e1 + e2;
    const CVector n1 { -e1.x, -e1.y, -e1.z };
    const CVector n2 { -e2.x, -e2.y, -e2.z };
    const CVector n3 { -e3.x, -e3.y, -e3.z };
    const bool skip12 = la < minDim && lb < minDim;
    const bool skip32 = lc < minDim && lb < minDim;
    const bool skip31 = lc < minDim && la < minDim;
    if (!skip12 && intersect(corner, e1, e2, p, d, margin) == 2)
        return true;
    if (!skip32 && intersect(corner, e3, e2, p, d, margin) == 2)
        return true;
    if (!skip31 && intersect(corner, e1, e3, p, d, margin) == 2)
        return true;
    if (!skip12 && intersect(opposite, n1, n2, p, d, margin) == 2)
        return true;
    if (!skip32 && intersect(opposite, n3, n2, p, d, margin) == 2)
        return true;
    if (!skip31 && intersect(opposite, n1, n3, p, d, margin) == 2)
        return true;
    return false;
}

int facesCrossed(const CXSystem& xs, const CVector& corner, const CVector& p, const CVector& d)
{
    const CVector& e1 = xs.m_edgeA;
    const CVector& e2 = xs.m_edgeB;
    const CVector& e3 = xs.m_edgeC;
    const CVector opposite = corner + e3 + e1 + e2;
    const CVector n1 { -e1.x, -e1.y, -e1.z };
    const CVector n2 { -e2.x, -e2.y, -e2.z };
    const CVector n3 { -e3.x, -e3.y, -e3.z };
    int count = 0;
    count += intersect(corner, e1, e2, p, d, false) == 2;
    count += intersect(corner, e3, e2, p, d, false) == 2;
    count += intersect(corner, e1, e3, p, d, false) == 2;
    count += intersect(opposite, n1, n2, p, d, false) == 2;
    count += intersect(opposite, n3, n2, p, d, false) == 2;
    count += intersect(opposite, n1, n3, p, d, false) == 2;
    return count;
}

} // namespace

std::int32_t IntersectSegmentFace(const CVector& corner, const CVector& edgeU, const CVector& edgeV,
    const CVector& start, const CVector& segment, bool margin)
{
    return intersect(corner, edgeU, edgeV, start, segment, margin);
}

namespace kzev {

std::int32_t findObstacleOnRay(const CVector& q, const CVector& p, const CRoom& room, double& transmittance,
    bool margin, std::int32_t skippedSystem)
{
    const CVector d = q - p;
    const double minDim = room.m_minimumSurfaceSize;
    std::int32_t first = 0;
    double product = 1.0;
    const auto& systems = room.m_obstacleSystems;
    for (std::size_t index = 0; index < systems.size(); ++index) {
        const CXSystem& xs = systems[index];
        if (skippedSystem >= 10 && static_cast<std::int32_t>(index) + 10 == skippedSystem)
            continue;
        if (xs.m_off == 1 || xs.m_noRay == 1 || xs.m_shadingFlag == 0)
            continue;
        const double la = xs.m_edgeA.Length();
        const double lb = xs.m_edgeB.Length();
        const double lc = xs.m_edgeC.Length();
        bool crossed = false;
        for (std::int32_t a = 0; a < xs.m_count1 && !crossed; ++a) {
            for (std::int32_t b = 0; b < xs.m_count2 && !crossed; ++b)
                crossed = segmentCrossesBox(xs, xs.ObstacleCorner(a, b), p, d, margin, la, lb, lc, minDim);
        }
        if (!crossed)
            continue;
        if (first == 0)
            first = static_cast<std::int32_t>(index) + 1;
        product *= xs.m_transmittance;
        // An opaque system ends the search: nothing further can let light through.
        if (product <= 0.0)
            break;
    }
    if (first != 0)
        transmittance = product;
    return first;
}

bool isPointInObstacle(const CRoom& room, const CVector& p)
{
    const CVector plusX { 1000000.0, 0.0, 0.0 };
    const CVector minusX { -1000000.0, 0.0, 0.0 };
    for (const CXSystem& xs : room.m_obstacleSystems) {
        if (xs.m_off == 1 || xs.m_shadingFlag == 0)
            continue;
        for (std::int32_t a = 0; a < xs.m_count1; ++a) {
            for (std::int32_t b = 0; b < xs.m_count2; ++b) {
                const CVector corner = xs.ObstacleCorner(a, b);
                if (facesCrossed(xs, corner, p, plusX) == 1 && facesCrossed(xs, corner, p, minusX) == 1)
                    return true;
            }
        }
    }
    return false;
}

void markObstructedPoints(CRoom& room)
{
    for (CWorkSystem& area : room.m_workSystems) {
        if (area.m_excluded == 1 || area.m_markingExcluded == 1)
            continue;
        std::size_t record = 0;
        for (std::int32_t i = 0; i < area.m_count1; ++i) {
            for (std::int32_t j = 0; j < area.m_count2; ++j, ++record) {
                // An area whose point array is shorter than its grid has nothing to mark there.
                if (record >= area.m_points.size())
                    break;
                area.m_points[record].m_off = isPointInObstacle(room, area.PointPosition(i, j)) ? 1 : 0;
            }
        }
    }
}

} // namespace kzev
