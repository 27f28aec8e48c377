#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kzev {
class Archive;
}

/**
 * One calculation point of a visual-task area: the off flag, the twenty-three
 * result values of the last calculation and three lists with one value per
 * viewing direction of the area. The point has no position of its own; its
 * area places it on the grid.
 *
 * Values are addressed by their position 1 to 23 through value(); the names
 * of the positions are in PointValue.
 */
class CPointCalc {
public:
    /** Number of result values a point holds. */
    static constexpr int kValueCount = 23;

    /** Positions of the result values (1-based, as the quantity tables count them). */
    enum PointValue : int {
        kVerticalXPlus = 1,
        kVerticalXMinus = 2,
        kVerticalYPlus = 3,
        kVerticalYMinus = 4,
        kHorizontalZPlus = 5,
        kHorizontal = 6,
        kCylindrical = 7,
        kSpherical = 8,
        kNormalPlus = 9,
        kNormalMinus = 10,
        kEleventh = 11,
        kDirectMaintained = 12,
        kReflectedMaintained = 13,
        kRoadLuminance = 14,
        kUgr = 15,
        kCamera = 16,
        kReflectedOverDirections = 17,
        kDaylightFactor = 18,
        kDirectInitial = 19,
        kReflectedInitial = 20,
        kGr = 21,
        kTwentySecond = 22,
        kGiven = 23,
    };

    /**
     * A glare value (UGR, GR) that could not be computed: kept apart from 0,
     * which means no glare, and shown as "–". Glare ratings are never negative.
     */
    static constexpr double kNotComputed = -1.0;
    /** Returns whether a glare value is kNotComputed. */
    [[nodiscard]] static constexpr bool IsNotComputed(double value) { return value < -0.5; }

    std::int32_t m_off = 0;                     ///< 1: inside an obstacle, left out of statistics
    std::array<double, kValueCount> m_values{}; ///< values 1 to 23 at indexes 0 to 22
    std::vector<double> m_ugrByDirection;       ///< list 1: UGR per viewing direction
    std::vector<double> m_grByDirection;        ///< list 2: GR per viewing direction
    std::vector<double> m_reflectedByDirection; ///< list 3: reflected contribution per direction

    CPointCalc() = default;

    /** Returns value number position (1 to 23). */
    [[nodiscard]] double value(int position) const
    {
        assert(position >= 1 && position <= kValueCount);
        return m_values[static_cast<std::size_t>(position - 1)];
    }
    /** Returns value number position (1 to 23) for writing. */
    double& value(int position)
    {
        assert(position >= 1 && position <= kValueCount);
        return m_values[static_cast<std::size_t>(position - 1)];
    }

    /** Stores the current layout, or loads the layout of the process-wide file version. */
    void Serialize(kzev::Archive& ar);

    /** Returns the smallest record a point can have in any file version. */
    [[nodiscard]] static constexpr std::size_t MinRecordBytes() { return 4 + 15 * 8; }

    bool operator==(const CPointCalc&) const = default;
};

namespace kzev {

/**
 * Stores the points of a grid (a count, then each point's record of the
 * current layout) or loads those of the process-wide file version. A grid may
 * hold a million points: their records are written in one piece and read a
 * record at a time, each checked against what the input holds, where a record
 * by record Serialize would test every value.
 */
void serializePoints(Archive& ar, std::vector<CPointCalc>& points);

/** Returns count points without results, for a grid of count nodes (up to a million). */
[[nodiscard]] std::vector<CPointCalc> emptyGrid(std::size_t count);

/** Returns the bytes serializePoints stores for the points. */
[[nodiscard]] std::size_t storedPointBytes(const std::vector<CPointCalc>& points);

} // namespace kzev
