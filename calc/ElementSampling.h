#pragma once

#include <cmath>
#include <cstddef>

namespace kzev {

/** The most cells elementSamples cuts a side into, and so the most samples per side. */
inline constexpr int kMostCells = 8;
inline constexpr std::size_t kMostSamples = 2 * kMostCells;

/**
 * Sample points per side with which an element of a calculation surface is
 * averaged for a light source at the given distance: the side is cut into
 * cells, finer the nearer the source, each holding the two points of the
 * Gauss–Legendre rule, so that a smooth light is averaged to fourth order.
 */
[[nodiscard]] inline int elementSamples(double side, double distance)
{
    constexpr double kCellsPerRatio = 3.0;
    return 2 * static_cast<int>(std::fmin(std::trunc(side / distance * kCellsPerRatio) + 1.0, double { kMostCells }));
}

/** Offset of sample i of n along a side, as a fraction of the side from the element's centre; all weigh alike. */
[[nodiscard]] inline double sampleOffset(int i, int n)
{
    constexpr double kGauss = 0.28867513459481287; // half of 1 / sqrt(3)
    const int cells = n / 2;
    const double within = (i % 2 == 0) ? 0.5 - kGauss : 0.5 + kGauss;
    return (i / 2 + within) / cells - 0.5;
}

} // namespace kzev
