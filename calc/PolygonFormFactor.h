#pragma once

#include "model/CVector.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <span>

namespace kzev {

/**
 * Configuration factor from a point with unit normal n to a planar polygon
 * of up to four corners (Lambert's contour integral): the share of the light
 * of a uniform diffuse polygon that an element at the point receives, so
 * that its illuminance is the polygon's exitance times the factor. Only the
 * part of the polygon in front of the element counts: the polygon is cut at
 * the element's plane first.
 */
[[nodiscard]] inline double pointToPolygonFactor(const CVector& p, const CVector& n, const std::array<CVector, 4>& corners)
{
    // Corners relative to p, cut to the half-space in front (Sutherland–Hodgman against one plane).
    std::array<CVector, 8> kept {};
    std::size_t count = 0;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const CVector& a = corners[i];
        const CVector& b = corners[(i + 1) % corners.size()];
        const CVector ra { a.x - p.x, a.y - p.y, a.z - p.z };
        const CVector rb { b.x - p.x, b.y - p.y, b.z - p.z };
        const double ha = ra.x * n.x + ra.y * n.y + ra.z * n.z;
        const double hb = rb.x * n.x + rb.y * n.y + rb.z * n.z;
        if (ha > 0.0)
            kept[count++] = ra;
        if ((ha > 0.0) != (hb > 0.0)) {
            const double f = ha / (ha - hb);
            kept[count++] = { ra.x + f * (rb.x - ra.x), ra.y + f * (rb.y - ra.y), ra.z + f * (rb.z - ra.z) };
        }
    }
    if (count < 3)
        return 0.0;
    double sum = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        const CVector& a = kept[i];
        const CVector& b = kept[(i + 1) % count];
        const CVector c { a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x };
        const double cross = std::sqrt(c.x * c.x + c.y * c.y + c.z * c.z);
        if (!(cross > 0.0))
            continue;
        const double angle = std::atan2(cross, a.x * b.x + a.y * b.y + a.z * b.z);
        sum += angle * (n.x * c.x + n.y * c.y + n.z * c.z) / cross;
    }
    return std::fabs(sum) / (2.0 * 3.14159265358979323846);
}

/**
 * The sum of pointToPolygonFactor(p, n, corners) over the points, added in
 * their order, equal to it but for rounding: the points are worked out four
 * at a time, with an arc tangent within an ulp or two of the library's (the
 * last few, short of four, by pointToPolygonFactor itself).
 */
[[nodiscard]] double sumOfPolygonFactors(std::span<const CVector> points, const CVector& n, const std::array<CVector, 4>& corners);

} // namespace kzev
