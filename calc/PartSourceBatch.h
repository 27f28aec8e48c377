#pragma once

#include "calc/IntensityTable.h"
#include "model/CVector.h"

#include <cstddef>

namespace kzev {

/** The part sources of a batch, one array per quantity (see PartSourceBatch::add). */
struct PartSourceRays {
    static constexpr std::size_t kCapacity = 128;
    alignas(64) double x[kCapacity];
    alignas(64) double y[kCapacity];
    alignas(64) double z[kCapacity];
    alignas(64) double c0[kCapacity];
    alignas(64) double c90[kCapacity];
    alignas(64) double optical[kCapacity];
    alignas(64) double observer[kCapacity];
    alignas(64) double initial[kCapacity];
    alignas(64) double maintained[kCapacity];
    const double* table[kCapacity];
};

/** Sums of one point over all part sources of the direct pass, added to the point once it is done. */
struct PointSums {
    double vertical[4] {}; // x+, x−, y+, y−
    double belowAbove[2] {}; // light going up (from below), going down
    double horizontalComponent = 0.0;
    double spherical = 0.0;
    double normal[2] {}; // along the plane's normal, against it
    double observer = 0.0;
    double bothFaces = 0.0; // maintained, on the plane whichever side
    double bothFacesInitial = 0.0;
};

/**
 * The part sources that light one point, gathered over all luminaires in
 * flat arrays and evaluated a few hundred at a time: one loop works out the
 * geometry of all of them (distance, the gamma and C angles, the cosines
 * towards each face) in a form the compiler vectorises, and a second reads
 * the intensity tables and adds into the sums in the order the sources were
 * added, so the sums do not depend on where a batch ends.
 */
class PartSourceBatch {
public:
    static constexpr std::size_t kCapacity = PartSourceRays::kCapacity;

    /** unitNormal is the plane's unit normal, or the zero vector when it has none. */
    PartSourceBatch(const CVector& unitNormal, PointSums& sums)
        : m_normal(unitNormal)
        , m_sums(sums)
    {
    }
    PartSourceBatch(const PartSourceBatch&) = delete;
    PartSourceBatch& operator=(const PartSourceBatch&) = delete;

    /**
     * Adds one part source: the ray from it to the point, the ray's
     * components along the luminaire's C0 direction, C90 axis and optical
     * axis (unit, square to each other), the ray along the unit direction to
     * the observer, and its factors without the table's intensity and the
     * inverse square (initial and maintained).
     */
    void add(const CVector& ray, double towardsC0, double towardsC90, double alongOptical, double towardsObserver,
        double initial, double maintained, const IntensityTable& table)
    {
        const std::size_t i = m_count;
        m_rays.x[i] = ray.x;
        m_rays.y[i] = ray.y;
        m_rays.z[i] = ray.z;
        m_rays.c0[i] = towardsC0;
        m_rays.c90[i] = towardsC90;
        m_rays.optical[i] = alongOptical;
        m_rays.observer[i] = towardsObserver;
        m_rays.initial[i] = initial;
        m_rays.maintained[i] = maintained;
        m_rays.table[i] = table.data();
        if (++m_count == kCapacity)
            flush();
    }

    /** Evaluates the part sources added so far into the sums. */
    void flush();

private:
    CVector m_normal;
    PointSums& m_sums;
    std::size_t m_count = 0;
    PartSourceRays m_rays;
};

} // namespace kzev
