#pragma once

#include "model/CVector.h"

#include <cmath>
#include <cstdint>

namespace kzev {

/** The determinant of the 3 × 3 matrix given row by row, in Determinant3's order of operations. */
[[nodiscard]] inline double determinant3(double m0, double m1, double m2, double m3, double m4, double m5, double m6,
    double m7, double m8)
{
    return m1 * m5 * m6 + m2 * m3 * m7 + m0 * m4 * m8 - (m2 * m4 * m6 + m0 * m5 * m7 + m1 * m3 * m8);
}

/**
 * Cramer's rule on k + α·u + β·v = p + σ·d, the columns of the system being
 * u, v and −d: 2 when the segment crosses the inside of the face, 1 when its
 * line meets the inside outside the accepted part of the segment, 0 when it
 * misses or runs parallel. With the margin a face within a ten-thousandth of
 * the segment's length of either end does not count.
 */
[[nodiscard]] inline std::int32_t segmentFaceCrossing(const CVector& k, const CVector& u, const CVector& v,
    const CVector& p, const CVector& d, bool margin)
{
    const double mx = -d.x;
    const double my = -d.y;
    const double mz = -d.z;
    const double det = determinant3(u.x, v.x, mx, u.y, v.y, my, u.z, v.z, mz);
    if (!(std::fabs(det) >= 1e-9))
        return 0;
    const double rx = p.x - k.x;
    const double ry = p.y - k.y;
    const double rz = p.z - k.z;
    const double alpha = determinant3(rx, v.x, mx, ry, v.y, my, rz, v.z, mz) / det;
    if (alpha <= 0.0 || alpha >= 1.0)
        return 0;
    const double beta = determinant3(u.x, rx, mx, u.y, ry, my, u.z, rz, mz) / det;
    if (beta <= 0.0 || beta >= 1.0)
        return 0;
    const double sigma = determinant3(u.x, v.x, rx, u.y, v.y, ry, u.z, v.z, rz) / det;
    if (margin) {
        if (sigma > 0.0001 && sigma < 0.9999)
            return 2;
    } else if (sigma > 0.0 && sigma < 1.0) {
        return 2;
    }
    return (sigma <= 0.0 || sigma >= 1.0) ? 1 : 0;
}

} // namespace kzev
