#pragma once

#include "model/CPointCalc.h"
#include "model/CVector.h"
#include "model/CViewSettings.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kzev {
class Archive;

/** Viewing directions of one area: one a degree is the finest any observer needs; the glare
 *  passes keep a value per direction and point, so the count bounds their memory. */
inline constexpr std::int32_t kMaxViewingDirections = 360;
} // namespace kzev

/**
 * A visual-task area, a calculation surface of a wall, ceiling, floor or
 * obstacle face, or a road field: a named plane grid of calculation points,
 * the quantity it evaluates, its viewing directions, binding, the summary of
 * its last calculation and its own view settings. Owns its points by value.
 *
 * Point k = i × m_count2 + j lies at m_origin + i × m_step1 + j × m_step2.
 * Members follow the order of the record's table.
 */
class CWorkSystem {
public:
    /** Positions of the summary blocks. */
    enum SummarySlot : int {
        kSlotVerticalXPlus = 0,
        kSlotVerticalXMinus = 1,
        kSlotVerticalYPlus = 2,
        kSlotVerticalYMinus = 3,
        kSlotHorizontalZPlus = 4,
        kSlotHorizontal = 5,
        kSlotCylindrical = 6,
        kSlotCamera = 7,
        kSlotSpherical = 8,
        kSlotNormalPlus = 9,
        kSlotNormalMinus = 10,
        kSlotEleventh = 11,
        kSlotUgr = 12,
        kSlotRoadLuminance = 13,
        kSlotFifteenth = 14,
    };
    static constexpr int kSummarySlots = 15;
    using SummaryBlock = std::array<double, kSummarySlots>;

    std::string m_name;                            ///< shown in the tree and on prints
    CVector m_origin{ 0.0, 0.0, 0.75 };            ///< point 0, metres
    CVector m_step1{ 1.0, 0.0, 0.0 };              ///< grid step along the first direction
    CVector m_step2{ 0.0, 1.0, 0.0 };              ///< grid step along the second direction
    CVector m_viewDirection{ 1.0, 0.0, 0.0 };      ///< observer's line of sight
    CVector m_normal{ 0.0, 0.0, 0.0 };             ///< plane normal when m_normalMode is 0
    CVector m_cameraPosition{ 0.0, 0.0, 0.0 };     ///< camera for the quantity 160
    std::int32_t m_count1 = 0;                     ///< points along step 1
    std::int32_t m_count2 = 0;                     ///< points along step 2
    double m_reflectance = 0.5;                    ///< ρ; luminance = value × ρ / pi
    double m_maintenanceRatio = 0.9;               ///< "Z"
    std::int32_t m_viewCode = 112;                 ///< plane orientation as a view code
    std::int32_t m_quantityCode = 94;              ///< see kzev::Quantity
    std::int32_t m_surfaceKind = 6;                ///< 0-3 walls, 4 ceiling, 5 floor, 6 other
    std::int32_t m_obstacleNumber = -1;            ///< obstacle system of an obstacle face
    std::int32_t m_surfaceNumber = -1;             ///< 1-6 room surfaces, obstacle number + 10
    std::int32_t m_excluded = 0;                   ///< tree check box: 1 = left out
    std::int32_t m_normalMode = 1;                 ///< 1 area (normal from steps), 0 surface
    std::int32_t m_markingExcluded = 0;            ///< 1: the obstacle test skips the area
    std::int32_t m_extra1 = 0;                     ///< kept, copied and stored
    std::uint32_t m_colour = 0xFFFFFF;             ///< drawing colour 0x00BBGGRR
    std::vector<CPointCalc> m_points;              ///< m_count1 × m_count2 points
    SummaryBlock m_min{};                          ///< smallest value per slot
    SummaryBlock m_max{};                          ///< largest value per slot
    SummaryBlock m_avg{};                          ///< mean value per slot
    double m_grMin = 0.0;
    double m_grValue2 = 0.0;                       ///< kept, copied and stored
    double m_grAverage = 0.0;
    double m_grValue4 = 0.0;                       ///< kept, copied and stored
    double m_grMax = 0.0;
    double m_thresholdIncrement = 0.0;             ///< "TIMax" of a road area
    std::array<double, 3> m_furtherDoubles{};      ///< kept, copied and stored
    std::int32_t m_tilt = 0;                       ///< viewing directions' inclination, degrees
    std::int32_t m_firstDirection = 0;             ///< azimuth of the first direction, degrees
    std::int32_t m_directionCount = 4;             ///< number of viewing directions, 0 .. kMaxViewingDirections
    std::int32_t m_directionStep = 90;             ///< degrees between directions
    std::int32_t m_extra2 = 0;                     ///< kept, copied and stored
    std::int32_t m_modeIndex = 0;                  ///< the room's mode the area is calculated for
    std::int32_t m_bindingKind = 0;                ///< 4: bound to another area
    std::int32_t m_boundArea = 0;                  ///< index of that area in the same array
    CVector m_bindingOffset{ 0.0, 0.0, 0.0 };      ///< position relative to the bound area
    std::string m_secondText;                      ///< kept, copied and stored
    std::int32_t m_extra3 = 1;                     ///< kept, copied and stored
    std::int32_t m_reflectedComponent = 1;         ///< "Odražená složka"
    std::int32_t m_tiFlag = 0;                     ///< not 0: compute the threshold increment
    std::int32_t m_drivingDirection = 1;           ///< 1: driver looks along +X
    double m_longitudinalUniformity = 0.0;         ///< "Ul"
    double m_uniformity = 0.0;                     ///< minimum / mean of the shown quantity
    CViewSettings m_viewSettings;                  ///< the area's own display settings
    /**
     * 1: the area's figures are of a lighting since changed and no run has computed it since (it did not
     * take part); it shows none. Not stored: that run clears them, so no file keeps a stale figure.
     */
    std::int32_t m_resultsStale = 0;

    /** Makes an area with the defaults and the drawing colour given. */
    explicit CWorkSystem(std::uint32_t colour = 0xFFFFFF);

    /**
     * Returns the value of point index for the area's quantity code; 0.0 for
     * an index outside the point array.
     */
    [[nodiscard]] double GetPointValue(std::int32_t index) const;

    /**
     * The most points a grid may have: what the area dialog allows (1023
     * along each direction) and a little more, all that the view draws and
     * the calculation computes. A file that asks for more is refused.
     */
    static constexpr std::int64_t kMaxPoints = std::int64_t { 1 } << 20;

    /** Returns count 1 × count 2, a count below 0 taken as 0. */
    [[nodiscard]] std::int64_t GridPointCount() const;

    /**
     * Returns whether the grid can be drawn and computed: counts and nodes at
     * most kMaxPoints, and either no points yet (never calculated) or one per node.
     */
    [[nodiscard]] bool HasUsableGrid() const;

    /** Returns the position of grid point (i, j). */
    [[nodiscard]] CVector PointPosition(std::int32_t i, std::int32_t j) const;

    /** Stores the current layout, or loads the layout of the process-wide file version. */
    void Serialize(kzev::Archive& ar);

    /** Returns the smallest record an area can have in any file version. */
    [[nodiscard]] static constexpr std::size_t MinRecordBytes()
    {
        // first fields, 39 summary doubles, point count, five vectors
        return 1 + 2 * 4 + 8 + 3 * 4 + 39 * 8 + 4 + 5 * 24;
    }

    bool operator==(const CWorkSystem&) const = default;
};

namespace kzev {

/**
 * Moves every other area bound to the area at index current (binding kind 4)
 * to reference + its own binding offset, after the current area was moved.
 */
void moveBoundAreas(std::vector<CWorkSystem>& areas, std::int32_t current, const CVector& reference);

} // namespace kzev
