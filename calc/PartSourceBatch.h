#pragma once

#include "calc/IntensityTable.h"
#include "model/CVector.h"

#include <cstddef>
#include <vector>

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
    const IntensityTable* table[kCapacity];
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
 * flat arrays and evaluated a batch at a time: a vectorised loop works out
 * the angles and the distance of all of them, a scalar one reads the
 * intensity tables, and a vectorised one adds the light into four running
 * sums per quantity, source i into sum i mod 4. The four are added at the
 * end, so the result depends only on the order the sources were added.
 */
class PartSourceBatch {
public:
    static constexpr std::size_t kCapacity = PartSourceRays::kCapacity;
    static constexpr std::size_t kLanes = 4;

    /** unitNormal is the plane's unit normal, or the zero vector when it has none. */
    explicit PartSourceBatch(const CVector& unitNormal);
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
        m_rays.table[i] = &table;
        if (++m_count == kCapacity)
            flush();
    }

    /** Evaluates what is left and returns the point's sums. */
    [[nodiscard]] PointSums finish();

    /** Running sums, one row of four per quantity. */
    enum Sum {
        kXPlus,
        kXMinus,
        kYPlus,
        kYMinus,
        kUp,
        kDown,
        kHorizontalComponent,
        kSpherical,
        kNormalPlus,
        kNormalMinus,
        kObserver,
        kBothFaces,
        kBothFacesInitial,
        kSums
    };

private:
    void flush();

    CVector m_normal;
    std::size_t m_count = 0;
    alignas(64) double m_lanes[kSums][kLanes] {};
    PartSourceRays m_rays;
};

/**
 * Where the luminaires of a pass stand, the sides of their luminous areas
 * and their axes, one array per quantity, so that how far a point is from
 * each of them, whether each stays one part and, for a luminaire that does,
 * its ray, are worked out for many luminaires in one vectorised loop.
 */
class LuminaireSpots {
public:
    static constexpr std::size_t kChunk = 128;

    /** What a point sees of luminaires first to first + count − 1 (at most kChunk). */
    struct Seen {
        /** Distance as Distance gives it. */
        double distance[kChunk];
        /**
         * 1 when the luminaire is more than 4 cm away and surely stays one part
         * (its sides over the distance times the ratio below 1); then the ray from its centre.
         */
        double whole[kChunk];
        double x[kChunk];
        double y[kChunk];
        double z[kChunk];
        /** The ray along the C0 direction, the C90 and the optical axis, and towards the observer. */
        double c0[kChunk];
        double c90[kChunk];
        double optical[kChunk];
        double observer[kChunk];
    };

    /** Adds a luminaire: centre, luminous length and width, its unit C0 direction, C90 and optical axes. */
    void add(const CVector& position, double length, double width, const CVector& c0, const CVector& c90,
        const CVector& optical);
    [[nodiscard]] std::size_t size() const { return m_x.size(); }

    /** Works out what p sees of the luminaires first to first + count − 1; observer is a unit direction. */
    void measure(const CVector& p, double ratio, const CVector& observer, std::size_t first, std::size_t count,
        Seen& seen) const;

private:
    std::vector<double> m_x;
    std::vector<double> m_y;
    std::vector<double> m_z;
    std::vector<double> m_length;
    std::vector<double> m_width;
    std::vector<double> m_axes[9]; // C0, C90, optical: x, y, z of each
};

} // namespace kzev
