#pragma once

#include <cmath>

namespace kzev {

/**
 * Sample points per side with which an element of a calculation surface is
 * averaged for a light source at the given distance: the side is cut into
 * cells, finer the nearer the source, each holding the two points of the
 * Gauss–Legendre rule, so that a smooth light is averaged to fourth order.
 */
[[nodiscard]] inline int elementSamples(double side, double distance)
{
    constexpr double kCellsPerRatio = 3.0;
    constexpr double kMostCells = 8.0;
    return 2 * static_cast<int>(std::fmin(std::trunc(side / distance * kCellsPerRatio) + 1.0, kMostCells));
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
