#include "calc/PolygonFormFactor.h"

#include "calc/SimdLanes.h"

#pragma GCC diagnostic ignored "-Wpsabi" // the lane helpers are inlined, see SimdLanes.h

namespace kzev {

namespace {

using simd::Lanes;
using simd::splat;

// The angle atan2(y, x) for y ≥ 0, in [0, π]: one division and Cody and Waite's rational
// approximation of the arc tangent on [0, 0.66], its argument reduced by π/4 and π/2 with the
// low bits of those constants added back. Within an ulp or two of the library's atan2.
[[gnu::always_inline]] inline Lanes angleOf(Lanes y, Lanes x)
{
    constexpr double kP0 = -8.750608600031904122785e-1;
    constexpr double kP1 = -1.615753718733365076637e1;
    constexpr double kP2 = -7.500855792314704667340e1;
    constexpr double kP3 = -1.228866684490136173410e2;
    constexpr double kP4 = -6.485021904942025371773e1;
    constexpr double kQ0 = 2.485846490142306297962e1;
    constexpr double kQ1 = 1.650270098316988542046e2;
    constexpr double kQ2 = 4.328810604912902668951e2;
    constexpr double kQ3 = 4.853903996359136964868e2;
    constexpr double kQ4 = 1.945506571482613964425e2;
    constexpr double kMoreBits = 6.123233995736765886130e-17;
    constexpr double kQuarterPi = 0.78539816339744830962;
    constexpr double kHalfPi = 1.57079632679489661923;
    constexpr double kPi = 3.14159265358979323846;
    const Lanes ax = simd::abs(x);
    const auto steep = y > ax;
    const Lanes least = steep ? ax : y;
    const Lanes most = steep ? y : ax;
    // Above 0.66 the argument t becomes (t − 1) / (t + 1), around π/4.
    const auto far = least > 0.66 * most;
    const Lanes t = (far ? least - most : least) / (far ? least + most : most);
    const Lanes z = t * t;
    const Lanes p = (((kP0 * z + kP1) * z + kP2) * z + kP3) * z + kP4;
    const Lanes q = ((((z + kQ0) * z + kQ1) * z + kQ2) * z + kQ3) * z + kQ4;
    Lanes a = t * (z * p / q) + t;
    a = far ? kQuarterPi + (a + 0.5 * kMoreBits) : a;
    a = steep ? kHalfPi - a + kMoreBits : a;
    return x < 0.0 ? kPi - a + 2.0 * kMoreBits : a;
}

using Mask = decltype(Lanes {} > 0.0);

// The term of the edge a → b (corners relative to the points) in the contour integral, 0 for an
// edge of no length.
[[gnu::always_inline]] inline Lanes edgeTerm(const CVector& n, Lanes ax, Lanes ay, Lanes az, Lanes bx, Lanes by, Lanes bz)
{
    const Lanes cx = ay * bz - az * by;
    const Lanes cy = az * bx - ax * bz;
    const Lanes cz = ax * by - ay * bx;
    const Lanes cross = simd::sqrt(cx * cx + cy * cy + cz * cz);
    const Mask counts = cross > 0.0;
    const Lanes safe = counts ? cross : splat(1.0);
    const Lanes angle = angleOf(safe, ax * bx + ay * by + az * bz);
    return counts ? angle * (n.x * cx + n.y * cy + n.z * cz) / safe : splat(0.0);
}

} // namespace

// Four points at a time, one lane each, the edges in the order of pointToPolygonFactor. Where a
// point sees the quadrilateral cut by its plane, the cut polygon is kept as eight slots (each
// corner and each crossing of a side), a slot left empty repeating the vertex before it so that
// its edge has no length.
[[gnu::target_clones("avx2", "default")]] double sumOfPolygonFactors(
    std::span<const CVector> points, const CVector& n, const std::array<CVector, 4>& corners)
{
    constexpr double kTwoPi = 2.0 * 3.14159265358979323846;
    double total = 0.0;
    std::size_t i = 0;
    for (; i + simd::kLanes <= points.size(); i += simd::kLanes) {
        Lanes px;
        Lanes py;
        Lanes pz;
        for (int l = 0; l < simd::kLanes; ++l) {
            px[l] = points[i + static_cast<std::size_t>(l)].x;
            py[l] = points[i + static_cast<std::size_t>(l)].y;
            pz[l] = points[i + static_cast<std::size_t>(l)].z;
        }
        Lanes rx[4];
        Lanes ry[4];
        Lanes rz[4];
        Lanes h[4];
        bool whole = true; // every corner of every lane in front
        for (std::size_t c = 0; c < 4; ++c) {
            rx[c] = corners[c].x - px;
            ry[c] = corners[c].y - py;
            rz[c] = corners[c].z - pz;
            h[c] = rx[c] * n.x + ry[c] * n.y + rz[c] * n.z;
            const Mask front = h[c] > 0.0;
            for (int l = 0; l < simd::kLanes; ++l)
                whole = whole && front[l] != 0;
        }
        Lanes sum = splat(0.0);
        if (whole) {
            for (std::size_t c = 0; c < 4; ++c) {
                const std::size_t d = (c + 1) % 4;
                sum += edgeTerm(n, rx[c], ry[c], rz[c], rx[d], ry[d], rz[d]);
            }
        } else {
            Lanes vx[8];
            Lanes vy[8];
            Lanes vz[8];
            Mask kept[8];
            for (std::size_t c = 0; c < 4; ++c) {
                const std::size_t d = (c + 1) % 4;
                vx[2 * c] = rx[c];
                vy[2 * c] = ry[c];
                vz[2 * c] = rz[c];
                kept[2 * c] = h[c] > 0.0;
                const Lanes f = h[c] / (h[c] - h[d]);
                vx[2 * c + 1] = rx[c] + f * (rx[d] - rx[c]);
                vy[2 * c + 1] = ry[c] + f * (ry[d] - ry[c]);
                vz[2 * c + 1] = rz[c] + f * (rz[d] - rz[c]);
                kept[2 * c + 1] = (h[c] > 0.0) != (h[d] > 0.0);
            }
            // The last vertex kept stands in before the first.
            Lanes x = splat(0.0);
            Lanes y = splat(0.0);
            Lanes z = splat(0.0);
            for (std::size_t j = 0; j < 8; ++j) {
                x = kept[j] ? vx[j] : x;
                y = kept[j] ? vy[j] : y;
                z = kept[j] ? vz[j] : z;
            }
            for (std::size_t j = 0; j < 8; ++j) {
                vx[j] = x = kept[j] ? vx[j] : x;
                vy[j] = y = kept[j] ? vy[j] : y;
                vz[j] = z = kept[j] ? vz[j] : z;
            }
            for (std::size_t j = 0; j < 8; ++j) {
                const std::size_t k = (j + 1) % 8;
                sum += edgeTerm(n, vx[j], vy[j], vz[j], vx[k], vy[k], vz[k]);
            }
        }
        for (int l = 0; l < simd::kLanes; ++l)
            total += std::fabs(sum[l]) / kTwoPi;
    }
    for (; i < points.size(); ++i)
        total += pointToPolygonFactor(points[i], n, corners);
    return total;
}

} // namespace kzev
