#pragma once

#include <cstddef>

namespace kzev {

// Where each lumen-method result stands in a lamp system's two arrays. The
// arrays keep the order of the project file (A1 to A7, B1 to B6); these names
// are what the calculation writes and the report prints.

/** Positions in CLampSystem::m_lumenA: illuminances, lux. */
struct LumenIlluminance {
    static constexpr std::size_t kInitialAverage = 0;      ///< A1: average on the work plane, initial
    static constexpr std::size_t kMaintainedReflected = 1; ///< A2: reflected part of it, maintained
    static constexpr std::size_t kInitialReflected = 2;    ///< A3: reflected part of it, initial
    static constexpr std::size_t kInitialCeiling = 3;      ///< A4
    static constexpr std::size_t kInitialWalls = 4;        ///< A5
    static constexpr std::size_t kMaintainedCeiling = 5;   ///< A6
    static constexpr std::size_t kMaintainedWalls = 6;     ///< A7
};

/** Positions in CLampSystem::m_lumenB: luminances, cd/m². */
struct LumenLuminance {
    static constexpr std::size_t kMaintainedCeiling = 0; ///< B1
    static constexpr std::size_t kMaintainedWalls = 1;   ///< B2
    static constexpr std::size_t kMaintainedFloor = 2;   ///< B3
    static constexpr std::size_t kInitialCeiling = 3;    ///< B4
    static constexpr std::size_t kInitialWalls = 4;      ///< B5
    static constexpr std::size_t kInitialFloor = 5;      ///< B6
};

} // namespace kzev
