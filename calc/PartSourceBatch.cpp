#include "calc/PartSourceBatch.h"

#include <cmath>
#include <cstdint>
#include <cstring>

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

// What the table reads and the sums need of each part source, worked out by the first loop.
struct Geometry {
    alignas(64) double entry[PartSourceBatch::kCapacity]; // of the whole angles, exact in a double
    alignas(64) double cRest[PartSourceBatch::kCapacity];
    alignas(64) double gammaRest[PartSourceBatch::kCapacity];
    alignas(64) double gamma[PartSourceBatch::kCapacity];
    alignas(64) double inverse[PartSourceBatch::kCapacity]; // 1 / distance; 0 for a source the point ignores
    alignas(64) double horizontal[PartSourceBatch::kCapacity]; // the cosine's horizontal component
    alignas(64) double intensity[PartSourceBatch::kCapacity];
};

// A copy for AVX2 where the processor has it, chosen when the program starts. The copies give
// the same bits: no contraction into fused multiply-adds (-ffp-contract=off for this file),
// and vector square roots and divisions are rounded exactly as scalar ones.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define KZEV_VECTOR_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define KZEV_VECTOR_CLONES
#endif

// Works out the angles and the distance of the part sources 0 to n − 1. Branch-free on
// purpose: every condition is a select, so the loop runs on vectors.
KZEV_VECTOR_CLONES void workOutGeometry(const PartSourceRays& rays, std::size_t n, Geometry* __restrict g)
{
    for (std::size_t i = 0; i < n; ++i) {
        const double x = rays.x[i];
        const double y = rays.y[i];
        const double z = rays.z[i];
        const double squared = x * x + y * y + z * z;
        const double length = std::sqrt(squared);
        // Nothing reaches a point within 4 cm of a part source.
        const bool valid = length > 0.04;

        // Gamma as AngleOfCosine gives it, with acos(|cos|) taken as atan2(sin, |cos|) scaled by
        // the length: atan2 of the ray's distance from the optical axis and its part along it.
        const double along = rays.optical[i];
        const double absAlong = std::fabs(along);
        const double offSquared = squared - along * along;
        const double off = std::sqrt(offSquared > 0.0 ? offSquared : 0.0);
        const bool steep = off > absAlong;
        const double smallG = steep ? absAlong : off;
        const double bigG = steep ? off : absAlong;
        const bool upperG = smallG > kTanPiBy8 * bigG;
        const double numeratorG = upperG ? smallG - bigG : smallG;
        const double denominatorG = upperG ? smallG + bigG : (bigG > 0.0 ? bigG : 1.0);

        // C as atan2(towards C90, towards C0), likewise by its ratio.
        const double u = rays.c0[i];
        const double v = rays.c90[i];
        const bool offAxis = u * u + v * v > 1e-10;
        const double au = std::fabs(u);
        const double av = std::fabs(v);
        const bool nearC90 = av > au;
        const double smallC = nearC90 ? au : av;
        const double bigC = offAxis ? (nearC90 ? av : au) : 1.0;
        const bool upperC = smallC > kTanPiBy8 * bigC;
        const double numeratorC = upperC ? smallC - bigC : smallC;
        const double denominatorC = upperC ? smallC + bigC : bigC;

        // One division for the three quotients: the divider is the loop's narrowest unit.
        const double lengthOr1 = valid ? length : 1.0;
        const double q = 1.0 / (lengthOr1 * denominatorG * denominatorC);
        const double inverse = valid ? denominatorG * denominatorC * q : 0.0;
        const double ratioG = numeratorG * (lengthOr1 * denominatorC * q);
        const double ratioC = numeratorC * (lengthOr1 * denominatorG * q);

        const double fromAxis = (upperG ? 0.25 * kPi : 0.0) + atanSmall(ratioG);
        const double t = RadToDeg(steep ? 0.5 * kPi - fromAxis : fromAxis);
        const double cosine = along * inverse;
        double gamma = cosine >= 1e-5 ? t : 180.0 - t;
        gamma = std::fabs(1.0 - cosine) <= 1e-5 ? 0.0 : gamma;
        gamma = std::fabs(cosine + 1.0) <= 1e-5 ? 180.0 : gamma;
        gamma = gamma >= 0.0 ? gamma : 0.0; // NaN as GetIntensity takes it
        gamma = gamma > 180.0 ? 180.0 : gamma;

        double turn = (upperC ? 0.25 * kPi : 0.0) + atanSmall(ratioC);
        turn = nearC90 ? 0.5 * kPi - turn : turn;
        turn = u < 0.0 ? kPi - turn : turn;
        double c = RadToDeg(std::copysign(turn, v));
        c = c < 0.0 ? c + 360.0 : c;
        c = offAxis ? c : 0.0;
        c = c >= 360.0 ? IntensityTable::kLastC : c;
        c = c >= 0.0 ? c : 0.0;

        const double cWhole = static_cast<double>(static_cast<std::int32_t>(c));
        const double gammaWhole = static_cast<double>(static_cast<std::int32_t>(gamma));
        g->entry[i] = cWhole * IntensityTable::kGammas + gammaWhole;
        g->cRest[i] = c - cWhole;
        g->gammaRest[i] = gamma - gammaWhole;
        g->gamma[i] = gamma;
        g->inverse[i] = inverse;
        const double cx = x * inverse;
        const double cy = y * inverse;
        g->horizontal[i] = valid ? std::sqrt(cx * cx + cy * cy) : 0.0;
    }
}

// Four doubles as one value; on a processor without AVX the compiler uses two SSE2 registers.
// The helpers below pass them by value: they are inlined, so the note that such a call's
// convention differs with and without AVX concerns no call that is made.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"
using Lanes = double __attribute__((vector_size(32)));
using LaneMask = std::int64_t __attribute__((vector_size(32)));

inline Lanes load(const double* p)
{
    Lanes v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline Lanes select(LaneMask mask, Lanes a, Lanes b)
{
    LaneMask ai;
    LaneMask bi;
    std::memcpy(&ai, &a, sizeof a);
    std::memcpy(&bi, &b, sizeof b);
    const LaneMask r = (ai & mask) | (bi & ~mask);
    Lanes out;
    std::memcpy(&out, &r, sizeof out);
    return out;
}

// Adds the light of the part sources 0 to n − 1 (n a multiple of four) into the running sums.
KZEV_VECTOR_CLONES void addLight(const PartSourceRays& rays, const Geometry& g, std::size_t n, const CVector& normal,
    double (&lanes)[PartSourceBatch::kSums][PartSourceBatch::kLanes])
{
    Lanes sums[PartSourceBatch::kSums];
    for (int k = 0; k < PartSourceBatch::kSums; ++k)
        sums[k] = load(lanes[k]);
    const Lanes zero {};
    for (std::size_t i = 0; i < n; i += PartSourceBatch::kLanes) {
        const Lanes inverse = load(g.inverse + i);
        const LaneMask valid = inverse > zero;
        const Lanes x = select(valid, load(rays.x + i), zero);
        const Lanes y = select(valid, load(rays.y + i), zero);
        const Lanes z = select(valid, load(rays.z + i), zero);
        const Lanes intensity = load(g.intensity + i);
        const Lanes inverseSquare = inverse * inverse;
        const Lanes e = intensity * load(rays.maintained + i) * inverseSquare;
        const Lanes initial = intensity * load(rays.initial + i) * inverseSquare;

        const LaneMask xPlus = x >= zero;
        const LaneMask yPlus = y >= zero;
        const LaneMask zPlus = z >= zero;
        const Lanes ex = e * (select(xPlus, x, -x) * inverse);
        const Lanes ey = e * (select(yPlus, y, -y) * inverse);
        const Lanes ez = e * (select(zPlus, z, -z) * inverse);
        sums[PartSourceBatch::kXPlus] += select(xPlus, ex, zero);
        sums[PartSourceBatch::kXMinus] += select(xPlus, zero, ex);
        sums[PartSourceBatch::kYPlus] += select(yPlus, ey, zero);
        sums[PartSourceBatch::kYMinus] += select(yPlus, zero, ey);
        sums[PartSourceBatch::kUp] += select(zPlus, ez, zero);
        sums[PartSourceBatch::kDown] += select(zPlus, zero, ez);
        sums[PartSourceBatch::kSpherical] += e;
        sums[PartSourceBatch::kHorizontalComponent] += e * load(g.horizontal + i);

        const Lanes alongNormal = x * normal.x + y * normal.y + z * normal.z;
        const LaneMask front = alongNormal >= zero;
        const Lanes cn = select(front, alongNormal, -alongNormal) * inverse;
        const Lanes en = e * cn;
        sums[PartSourceBatch::kNormalPlus] += select(front, en, zero);
        sums[PartSourceBatch::kNormalMinus] += select(front, zero, en);
        sums[PartSourceBatch::kBothFaces] += en;
        sums[PartSourceBatch::kBothFacesInitial] += initial * cn;

        // Only light coming towards the observer counts for it.
        const Lanes towardsObserver = select(valid, load(rays.observer + i), zero);
        const LaneMask towards = towardsObserver < zero;
        sums[PartSourceBatch::kObserver] += select(towards, e * (-towardsObserver * inverse), zero);
    }
    for (int k = 0; k < PartSourceBatch::kSums; ++k)
        std::memcpy(lanes[k], &sums[k], sizeof sums[k]);
}
#pragma GCC diagnostic pop

} // namespace

PartSourceBatch::PartSourceBatch(const CVector& unitNormal)
    : m_normal(unitNormal)
{
}

void PartSourceBatch::flush()
{
    std::size_t n = m_count;
    m_count = 0;
    if (n == 0)
        return;
    // Up to a whole number of lanes with sources that give nothing (no length: ignored).
    for (; n % kLanes != 0; ++n) {
        m_rays.x[n] = m_rays.y[n] = m_rays.z[n] = 0.0;
        m_rays.c0[n] = m_rays.c90[n] = m_rays.optical[n] = m_rays.observer[n] = 0.0;
        m_rays.initial[n] = m_rays.maintained[n] = 0.0;
        m_rays.table[n] = m_rays.table[0];
    }
    Geometry g;
    workOutGeometry(m_rays, n, &g);
    for (std::size_t i = 0; i < n; ++i) {
        g.intensity[i] = m_rays.table[i]->read(g.entry[i], g.cRest[i], g.gammaRest[i], g.gamma[i]);
    }
    addLight(m_rays, g, n, m_normal, m_lanes);
}

PointSums PartSourceBatch::finish()
{
    flush();
    double total[kSums];
    for (int k = 0; k < kSums; ++k)
        total[k] = (m_lanes[k][0] + m_lanes[k][1]) + (m_lanes[k][2] + m_lanes[k][3]);
    PointSums s;
    s.vertical[0] = total[kXPlus];
    s.vertical[1] = total[kXMinus];
    s.vertical[2] = total[kYPlus];
    s.vertical[3] = total[kYMinus];
    s.belowAbove[0] = total[kUp];
    s.belowAbove[1] = total[kDown];
    s.horizontalComponent = total[kHorizontalComponent];
    s.spherical = total[kSpherical];
    s.normal[0] = total[kNormalPlus];
    s.normal[1] = total[kNormalMinus];
    s.observer = total[kObserver];
    s.bothFaces = total[kBothFaces];
    s.bothFacesInitial = total[kBothFacesInitial];
    return s;
}

namespace {

struct SpotArrays {
    const double* x;
    const double* y;
    const double* z;
    const double* length;
    const double* width;
    const double* axes[9];
};

// The luminaires' side of LuminaireSpots::measure, in one loop that runs on vectors.
KZEV_VECTOR_CLONES void measureSpots(const SpotArrays& a, const CVector& p, double ratio, const CVector& observer,
    std::size_t count, LuminaireSpots::Seen* __restrict out)
{
    // Copies in registers; out is the only way to what the loop writes, so the loop runs on vectors.
    const double px = p.x;
    const double py = p.y;
    const double pz = p.z;
    const double ox = observer.x;
    const double oy = observer.y;
    const double oz = observer.z;
    const double* x = a.x;
    const double* y = a.y;
    const double* z = a.z;
    const double* length = a.length;
    const double* width = a.width;
    const double* c0x = a.axes[0];
    const double* c0y = a.axes[1];
    const double* c0z = a.axes[2];
    const double* c90x = a.axes[3];
    const double* c90y = a.axes[4];
    const double* c90z = a.axes[5];
    const double* opticalX = a.axes[6];
    const double* opticalY = a.axes[7];
    const double* opticalZ = a.axes[8];
    for (std::size_t i = 0; i < count; ++i) {
        const double dx = px - x[i];
        const double dy = py - y[i];
        const double dz = pz - z[i];
        const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
        const double d0 = d < 1e-5 ? 1e-5 : d;
        out->distance[i] = d0;
        // A luminaire stays one part, at its centre, when both sides over d0 times the ratio
        // are below 1. Told without dividing, with a margin far above the rounding: a luminaire
        // within it is left to the caller, who divides.
        const double limit = d0 * (1.0 - 1e-9);
        const bool whole
            = d0 > 0.04 && std::fabs(length[i] * ratio) < limit && std::fabs(width[i] * ratio) < limit;
        out->whole[i] = whole ? 1.0 : 0.0;
        out->x[i] = dx;
        out->y[i] = dy;
        out->z[i] = dz;
        out->c0[i] = dx * c0x[i] + dy * c0y[i] + dz * c0z[i];
        out->c90[i] = dx * c90x[i] + dy * c90y[i] + dz * c90z[i];
        out->optical[i] = dx * opticalX[i] + dy * opticalY[i] + dz * opticalZ[i];
        out->observer[i] = dx * ox + dy * oy + dz * oz;
    }
}

} // namespace

void LuminaireSpots::add(const CVector& position, double length, double width, const CVector& c0,
    const CVector& c90, const CVector& optical)
{
    m_x.push_back(position.x);
    m_y.push_back(position.y);
    m_z.push_back(position.z);
    m_length.push_back(length);
    m_width.push_back(width);
    const CVector* axes[3] = { &c0, &c90, &optical };
    for (int k = 0; k < 3; ++k) {
        m_axes[3 * k].push_back(axes[k]->x);
        m_axes[3 * k + 1].push_back(axes[k]->y);
        m_axes[3 * k + 2].push_back(axes[k]->z);
    }
}

void LuminaireSpots::measure(const CVector& p, double ratio, const CVector& observer, std::size_t first,
    std::size_t count, Seen& seen) const
{
    SpotArrays a { m_x.data() + first, m_y.data() + first, m_z.data() + first, m_length.data() + first,
        m_width.data() + first, {} };
    for (int k = 0; k < 9; ++k)
        a.axes[k] = m_axes[k].data() + first;
    measureSpots(a, p, ratio, observer, count < kChunk ? count : kChunk, &seen);
}

} // namespace kzev
