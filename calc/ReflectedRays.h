#pragma once

#include "model/CVector.h"

#include <array>
#include <cstddef>
#include <vector>

namespace kzev {

/**
 * The parts of one element in rows: part (r, s) at first + (r·partU)·unitU +
 * (s·partV)·unitV, each with the element's normal and weights.
 */
struct PartGrid {
    CVector first;
    CVector unitU;
    CVector unitV;
    CVector normal;
    double partU;
    double partV;
    int rows;
    int columns;
    double maintained;
    double initial;
};

/** What the reflected rays arriving at one point of an area add up to. */
struct RaySums {
    double vertical[4] {};        // towards +x, −x, +y, −y
    double belowAbove[2] {};      // light travelling up, down
    double horizontalComponent = 0.0;
    double spherical = 0.0;
    double normal[2] {};           // on the face the normal leaves, the other
    double observer = 0.0;
    double overDirections = 0.0;
    double planeMaintained = 0.0;
    double planeInitial = 0.0;
    std::vector<double> byDirection; // per viewing direction
    bool anyLight = false;           // whether a ray counted at all
};

/**
 * Sums the reflected rays arriving at one point of an area. A ray is given by
 * its vector dir from the part of the element to the point, dn = dir · the
 * element's normal, and the part's maintained and initial weights w (its
 * intensity normal to it, shares already applied): it brings w · dn / |dir|³
 * to the point and counts when |dir| > 0.04 m and dn ≥ 0.0001. The rays are
 * kept in blocks and summed block by block on flat arrays, four lanes at a
 * time, so the sums depend only on the order in which the rays are added.
 */
class RayGatherer {
public:
    /**
     * normal: the unit normal of the point's plane (the zero vector when it
     * has none); toObserver: from the point to the observer; directions: the
     * unit viewing directions.
     */
    RayGatherer(const CVector& normal, const CVector& toObserver, const std::vector<CVector>& directions);

    void add(const CVector& dir, double dn, double maintained, double initial)
    {
        if (m_count == kBlock)
            sumBlock();
        m_x[m_count] = dir.x;
        m_y[m_count] = dir.y;
        m_z[m_count] = dir.z;
        m_dn[m_count] = dn;
        m_maintained[m_count] = maintained;
        m_initial[m_count] = initial;
        ++m_count;
    }

    /** Adds the rays of row r of the parts to point p, the part facing away too (it does not count). */
    void addRow(const CVector& p, const PartGrid& grid, int r);

    /** The sums of every ray added. */
    [[nodiscard]] RaySums finish();

private:
    static constexpr std::size_t kBlock = 256;
    // A block rounded up to whole lanes.
    static constexpr std::size_t kRoom = kBlock + 4;

    void sumBlock();

    std::size_t m_count = 0;
    alignas(32) std::array<double, kRoom> m_x;
    alignas(32) std::array<double, kRoom> m_y;
    alignas(32) std::array<double, kRoom> m_z;
    alignas(32) std::array<double, kRoom> m_dn;
    alignas(32) std::array<double, kRoom> m_maintained;
    alignas(32) std::array<double, kRoom> m_initial;
    CVector m_normal;
    CVector m_toObserver;
    double m_inverseObserverLength;
    std::vector<double> m_directions; // x, y, z of each
    std::vector<double> m_lanes;      // four lanes of each running sum
};

} // namespace kzev
