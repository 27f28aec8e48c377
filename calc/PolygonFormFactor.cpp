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

} // namespace

// Four points at a time, one lane each, the edges in the order of pointToPolygonFactor.
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
        auto whole = px == px; // every lane until a corner is not in front
        for (std::size_t c = 0; c < 4; ++c) {
            rx[c] = corners[c].x - px;
            ry[c] = corners[c].y - py;
            rz[c] = corners[c].z - pz;
            whole &= rx[c] * n.x + ry[c] * n.y + rz[c] * n.z > 0.0;
        }
        Lanes sum = splat(0.0);
        for (std::size_t c = 0; c < 4; ++c) {
            const std::size_t d = (c + 1) % 4;
            const Lanes cx = ry[c] * rz[d] - rz[c] * ry[d];
            const Lanes cy = rz[c] * rx[d] - rx[c] * rz[d];
            const Lanes cz = rx[c] * ry[d] - ry[c] * rx[d];
            const Lanes cross = simd::sqrt(cx * cx + cy * cy + cz * cz);
            const auto counts = cross > 0.0;
            const Lanes safe = counts ? cross : splat(1.0);
            const Lanes angle = angleOf(safe, rx[c] * rx[d] + ry[c] * ry[d] + rz[c] * rz[d]);
            sum += counts ? angle * (n.x * cx + n.y * cy + n.z * cz) / safe : splat(0.0);
        }
        for (int l = 0; l < simd::kLanes; ++l) {
            total += whole[l] ? std::fabs(sum[l]) / kTwoPi
                              : pointToPolygonFactor(points[i + static_cast<std::size_t>(l)], n, corners);
        }
    }
    for (; i < points.size(); ++i)
        total += pointToPolygonFactor(points[i], n, corners);
    return total;
}

} // namespace kzev
