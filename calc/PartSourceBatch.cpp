#include "calc/PartSourceBatch.h"

#include <cmath>
#include <cstdint>

namespace kzev {

namespace {

// The library's atan2 works in true radians; only the conversion to degrees takes the model's pi.
constexpr double kPi = 3.14159265358979323846;
constexpr double kTanPiBy8 = 0.41421356237309503;

// atan(x) for |x| <= tan(pi/8): the odd polynomial of fdlibm's atan, within an ulp.
inline double atanSmall(double x)
{
    const double z = x * x;
    const double w = z * z;
    const double s1 = z
        * (3.33333333333329318027e-01
            + w
                * (1.42857142725034663711e-01
                    + w
                        * (9.09088713343650656196e-02
                            + w
                                * (6.66107313738753120669e-02
                                    + w * (4.97687799461593236017e-02 + w * 1.62858201153657823623e-02)))));
    const double s2 = w
        * (-1.99999999998764832476e-01
            + w
                * (-1.11111104054623557880e-01
                    + w
                        * (-7.69187620504482999495e-02
                            + w * (-5.83357013379057348645e-02 + w * -3.65315727442169155270e-02))));
    return x - x * (s1 + s2);
}

// atan(small / big) for 0 <= small <= big, big > 0, in 0 to pi/4: above tan(pi/8) it is taken
// about pi/4, so the polynomial only sees |x| <= tan(pi/8). The one division is outside any
// select, so the loop stays free of branches.
inline double atanOfRatio(double small, double big)
{
    const bool upper = small > kTanPiBy8 * big;
    const double x = (upper ? small - big : small) / (upper ? small + big : big);
    return (upper ? 0.25 * kPi : 0.0) + atanSmall(x);
}

// What the second loop needs of each part source: where it reads the table, and the
// inverse square and cosines towards the faces (all 0 for a source the point ignores).
struct Geometry {
    alignas(64) std::int32_t entry[PartSourceBatch::kCapacity];
    alignas(64) double cRest[PartSourceBatch::kCapacity];
    alignas(64) double gammaRest[PartSourceBatch::kCapacity];
    alignas(64) double inverseSquare[PartSourceBatch::kCapacity];
    alignas(64) double xPlus[PartSourceBatch::kCapacity];
    alignas(64) double xMinus[PartSourceBatch::kCapacity];
    alignas(64) double yPlus[PartSourceBatch::kCapacity];
    alignas(64) double yMinus[PartSourceBatch::kCapacity];
    alignas(64) double zPlus[PartSourceBatch::kCapacity];
    alignas(64) double zMinus[PartSourceBatch::kCapacity];
    alignas(64) double horizontal[PartSourceBatch::kCapacity];
    alignas(64) double normalPlus[PartSourceBatch::kCapacity];
    alignas(64) double normalMinus[PartSourceBatch::kCapacity];
    alignas(64) double observer[PartSourceBatch::kCapacity];
};

// A copy for AVX2 where the processor has it, chosen when the program starts. The copies give
// the same bits: no contraction into fused multiply-adds (-ffp-contract=off for this file),
// and vector square roots and divisions are rounded exactly as scalar ones.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define KZEV_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define KZEV_VECTOR_CLONES
#endif

// Works out the geometry of the part sources 0 to n − 1. Branch-free on purpose: every
// condition is a select, so the loop runs on vectors.
KZEV_VECTOR_CLONES void workOutGeometry(const PartSourceRays& rays, std::size_t n, const CVector& normal,
    Geometry& g)
{
    const double nx = normal.x;
    const double ny = normal.y;
    const double nz = normal.z;
    for (std::size_t i = 0; i < n; ++i) {
        const double rx = rays.x[i];
        const double ry = rays.y[i];
        const double rz = rays.z[i];
        const double length = std::sqrt(rx * rx + ry * ry + rz * rz);
        // Nothing reaches a point within 4 cm of a part source.
        const bool valid = length > 0.04;
        const double reciprocal = 1.0 / length;
        const double inverse = valid ? reciprocal : 0.0;
        const double x = valid ? rx : 0.0;
        const double y = valid ? ry : 0.0;
        const double z = valid ? rz : 0.0;

        // Gamma as AngleOfCosine gives it, with acos(a) taken as atan2(sqrt(1 - a²), a).
        const double cosine = rays.optical[i] * inverse;
        const double absCosine = std::fabs(cosine) > 1.0 ? 1.0 : std::fabs(cosine);
        const double sine = std::sqrt((1.0 - absCosine) * (1.0 + absCosine));
        const bool steep = sine > absCosine;
        const double fromCosine = atanOfRatio(steep ? absCosine : sine, steep ? sine : absCosine);
        const double t = RadToDeg(steep ? 0.5 * kPi - fromCosine : fromCosine);
        double gamma = cosine >= 1e-5 ? t : 180.0 - t;
        gamma = std::fabs(1.0 - cosine) <= 1e-5 ? 0.0 : gamma;
        gamma = std::fabs(cosine + 1.0) <= 1e-5 ? 180.0 : gamma;
        gamma = gamma >= 0.0 ? gamma : 0.0; // NaN as GetIntensity takes it
        gamma = gamma > 180.0 ? 180.0 : gamma;

        // C as atan2(towards C90, towards C0) in degrees, 0 to below 360; 0 along the optical axis.
        const double u = rays.c0[i];
        const double v = rays.c90[i];
        const bool offAxis = u * u + v * v > 1e-10;
        const double au = std::fabs(u);
        const double av = std::fabs(v);
        const bool nearC90 = av > au;
        double turn = atanOfRatio(nearC90 ? au : av, offAxis ? (nearC90 ? av : au) : 1.0);
        turn = nearC90 ? 0.5 * kPi - turn : turn;
        turn = u < 0.0 ? kPi - turn : turn;
        double c = RadToDeg(std::copysign(turn, v));
        c = c < 0.0 ? c + 360.0 : c;
        c = offAxis ? c : 0.0;
        c = c >= 360.0 ? IntensityTable::kLastC : c;
        c = c >= 0.0 ? c : 0.0;

        const std::int32_t ci = static_cast<std::int32_t>(c);
        const std::int32_t gi = static_cast<std::int32_t>(gamma);
        g.entry[i] = ci * IntensityTable::kGammas + gi;
        g.cRest[i] = c - ci;
        g.gammaRest[i] = gamma - gi;
        g.inverseSquare[i] = inverse * inverse;

        const double cx = std::fabs(x) * inverse;
        const double cy = std::fabs(y) * inverse;
        const double cz = std::fabs(z) * inverse;
        g.xPlus[i] = x >= 0.0 ? cx : 0.0;
        g.xMinus[i] = x >= 0.0 ? 0.0 : cx;
        g.yPlus[i] = y >= 0.0 ? cy : 0.0;
        g.yMinus[i] = y >= 0.0 ? 0.0 : cy;
        g.zPlus[i] = z >= 0.0 ? cz : 0.0;
        g.zMinus[i] = z >= 0.0 ? 0.0 : cz;
        g.horizontal[i] = std::sqrt(cx * cx + cy * cy);
        const double alongNormal = x * nx + y * ny + z * nz;
        const double cn = std::fabs(alongNormal) * inverse;
        g.normalPlus[i] = alongNormal >= 0.0 ? cn : 0.0;
        g.normalMinus[i] = alongNormal >= 0.0 ? 0.0 : cn;
        const double towardsObserver = rays.observer[i];
        g.observer[i] = valid && towardsObserver < 0.0 ? -towardsObserver * inverse : 0.0;
    }
}

} // namespace

void PartSourceBatch::flush()
{
    const std::size_t n = m_count;
    m_count = 0;
    if (n == 0)
        return;
    Geometry g;
    workOutGeometry(m_rays, n, m_normal, g);

    // The tables and the sums, in the order the sources were added.
    PointSums s = m_sums;
    for (std::size_t i = 0; i < n; ++i) {
        const double intensity = IntensityTable::interpolate(m_rays.table[i] + g.entry[i], g.cRest[i], g.gammaRest[i]);
        const double e = intensity * m_rays.maintained[i] * g.inverseSquare[i];
        const double initial = intensity * m_rays.initial[i] * g.inverseSquare[i];
        s.vertical[0] += e * g.xPlus[i];
        s.vertical[1] += e * g.xMinus[i];
        s.vertical[2] += e * g.yPlus[i];
        s.vertical[3] += e * g.yMinus[i];
        s.belowAbove[0] += e * g.zPlus[i];
        s.belowAbove[1] += e * g.zMinus[i];
        s.spherical += e;
        s.horizontalComponent += e * g.horizontal[i];
        const double cn = g.normalPlus[i] + g.normalMinus[i];
        s.normal[0] += e * g.normalPlus[i];
        s.normal[1] += e * g.normalMinus[i];
        s.observer += e * g.observer[i];
        s.bothFaces += e * cn;
        s.bothFacesInitial += initial * cn;
    }
    m_sums = s;
}

} // namespace kzev
