#pragma once

#include "model/CVector.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace kzev {
class Archive;
}

/**
 * An obstacle system: a regular array of equal boxes in a room. Obstacle
 * (i, j) is the box with corner m_origin + i × m_spacing1 + j × m_spacing2
 * spanned by the edges a, b and c. Members follow the order of the record's
 * table.
 */
class CXSystem {
public:
    std::string m_name;                          ///< shown in the project tree
    CVector m_origin{ 0.0, 0.0, 0.0 };           ///< corner of obstacle (0, 0), metres
    CVector m_edgeA{ 0.0, 0.0, 0.0 };
    CVector m_edgeB{ 0.0, 0.0, 0.0 };
    CVector m_edgeC{ 0.0, 0.0, 0.0 };
    CVector m_spacing1{ 0.0, 0.0, 0.0 };         ///< offset to the next obstacle, first direction
    CVector m_spacing2{ 0.0, 0.0, 0.0 };         ///< offset to the next obstacle, second direction
    std::int32_t m_count1 = 1;
    std::int32_t m_count2 = 1;
    double m_reflectance = 0.5;
    double m_transmittance = 0.0;
    std::int32_t m_extra1 = 0;                   ///< the raster flag: 1 draws the lattice of the pitches
    std::int32_t m_rectangular = 1;              ///< 1: the box edges run along X, Y and Z
    std::int32_t m_off = 0;                      ///< 1: left out everywhere
    std::uint32_t m_colour = 0xFFFFFF;           ///< drawing colour 0x00BBGGRR
    std::int32_t m_noRay = 0;                    ///< 1: casts no shadow, gets no surfaces
    std::int32_t m_generalPitch = 0;             ///< 1: the pitches may point anywhere, not only along X and Y
    std::int32_t m_extra4 = 0;                   ///< kept, copied and stored; 0 so saves repeat
    CVector m_seventhVector{ 0.0, 0.0, 0.0 };    ///< kept, copied and stored
    std::int32_t m_drawingFlag = 1;              ///< picks one of the view's two drawing styles
    std::int32_t m_shadingFlag = 1;              ///< 0: left out of the obstacle and ray tests

    /** Makes a system named "Soustava překážek 1" with the drawing colour given. */
    explicit CXSystem(std::uint32_t colour = 0xFFFFFF);

    /**
     * The most obstacles a system may have (and the most along each
     * direction): far more than any room holds,
     * and what the view draws and the ray tests go through in reasonable
     * time. A file that asks for more is refused.
     */
    static constexpr std::int64_t kMaxObstacles = 10000;

    /** Returns the number of obstacles; 0 when either count is 0 or less. */
    [[nodiscard]] std::int64_t ObstacleCount() const;
    /** Returns whether the counts lie within kMaxObstacles, so that the array can be drawn and computed. */
    [[nodiscard]] bool IsWithinLimits() const;
    /** Returns the corner of obstacle (i, j). */
    [[nodiscard]] CVector ObstacleCorner(std::int32_t i, std::int32_t j) const;

    /** Stores the current layout, or loads the layout of the process-wide file version. */
    void Serialize(kzev::Archive& ar);

    /** Returns the smallest record a system can have in any file version. */
    [[nodiscard]] static constexpr std::size_t MinRecordBytes()
    {
        return 1 + 2 * 4 + 2 * 8 + 2 * 4 + 6 * 24;
    }

    bool operator==(const CXSystem&) const = default;
};
