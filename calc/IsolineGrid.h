#pragma once

#include "model/CVector.h"

#include <cstdint>
#include <vector>

class CPointCalc;
class CWorkSystem;

namespace kzev {

/**
 * Returns the value a calculation point shows for its area's quantity code,
 * as isolines, false colours and point labels read it: the result of that
 * code; for 166 and 167 the normal illuminance as the luminance of the area's
 * reflectance; for the horizontal illuminance the artificial part unless the
 * area's view settings switch it off, plus the daylight part when they add it.
 */
[[nodiscard]] double areaPointValue(const CWorkSystem& area, const CPointCalc& point);

/**
 * One visual-task area's results laid on a regular grid for isoline tracing:
 * a value and an obstructed flag per grid point, indexed by (i, j) along the
 * area's two step vectors, with the plane origin and steps of the area's
 * orientation.
 *
 * At most kMaxPoints points are kept along each axis. A larger area is
 * sampled down: every s-th point is taken and the step grows s times, so the
 * grid never holds more than kMaxPoints × kMaxPoints values. The buffers keep
 * their capacity between loads, so one grid serves every area and repaint.
 */
class IsolineGrid {
public:
    static constexpr std::int32_t kMaxPoints = 1024;

    /**
     * Fills the grid from the area (LoadWorkSystemGrid). An area with a
     * negative count, or with fewer points stored than its counts promise,
     * leaves an empty grid.
     */
    void load(const CWorkSystem& area);

    /** Returns whether the grid holds no point. */
    [[nodiscard]] bool empty() const { return m_countI == 0 || m_countJ == 0; }
    /** Points along the first axis (last index i + 1). */
    [[nodiscard]] std::int32_t countI() const { return m_countI; }
    /** Points along the second axis (last index j + 1). */
    [[nodiscard]] std::int32_t countJ() const { return m_countJ; }
    /** Grid point i is area point i × strideI(); 1 unless the area was sampled down. */
    [[nodiscard]] std::int32_t strideI() const { return m_strideI; }
    [[nodiscard]] std::int32_t strideJ() const { return m_strideJ; }

    /** Returns the value of grid point (i, j); the indexes must lie in the grid. */
    [[nodiscard]] double value(std::int32_t i, std::int32_t j) const { return m_values[index(i, j)]; }
    /** Returns whether grid point (i, j) lies in an obstacle and is left out of isolines. */
    [[nodiscard]] bool obstructed(std::int32_t i, std::int32_t j) const { return m_obstructed[index(i, j)] != 0; }

    /** Plane origin and steps by the area's orientation code (x0, y0, dx, dy). */
    [[nodiscard]] double x0() const { return m_x0; }
    [[nodiscard]] double y0() const { return m_y0; }
    [[nodiscard]] double dx() const { return m_dx; }
    [[nodiscard]] double dy() const { return m_dy; }

    /**
     * Returns the room point of the fractional grid position (u, v), where
     * grid point (i, j) is (u, v) = (i, j): origin + u × step 1 + v × step 2
     * with the steps of the grid. This places isolines on the area's own
     * points whatever way its plane is turned.
     */
    [[nodiscard]] CVector roomPoint(double u, double v) const;

private:
    [[nodiscard]] std::size_t index(std::int32_t i, std::int32_t j) const
    {
        return static_cast<std::size_t>(j) * static_cast<std::size_t>(m_countI) + static_cast<std::size_t>(i);
    }

    std::vector<double> m_values;
    std::vector<std::uint8_t> m_obstructed;
    std::int32_t m_countI = 0;
    std::int32_t m_countJ = 0;
    std::int32_t m_strideI = 1;
    std::int32_t m_strideJ = 1;
    double m_x0 = 0.0;
    double m_y0 = 0.0;
    double m_dx = 0.0;
    double m_dy = 0.0;
    CVector m_origin { 0.0, 0.0, 0.0 };
    CVector m_step1 { 0.0, 0.0, 0.0 };
    CVector m_step2 { 0.0, 0.0, 0.0 };
};

} // namespace kzev
