#pragma once

#include "model/CVector.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kzev {
class Archive;
}

// The classes of a daylight project file (*.nep), read only so that its rooms,
// task areas and obstacles can be taken over. Every Serialize reads one record
// of the file's format version; fields this program does not use are read to
// keep the stream in step and kept where they are cheap.

namespace kzev {
/** The first format version of the current generation; older files lack every gated field. */
inline constexpr std::int32_t kKnepVersion4000 = 4000;
}

/** A calculation point of a daylight work plane. */
class CKnepPointCalc {
public:
    std::uint32_t m_value0 = 0;
    double m_first = 0.0;   ///< first daylight component
    double m_second = 0.0;  ///< second daylight component
    double m_fourth = 1.0;

    void Serialize(kzev::Archive& ar, std::int32_t version);
    static constexpr std::size_t kMinRecordBytes = 4 + 3 * 8;
};

/** A daylight work plane: a grid of points on a plane. */
class CKnepWorkSystem {
public:
    std::string m_name;
    std::uint32_t m_rows = 0;
    std::uint32_t m_pointsPerRow = 0;
    double m_reflectance = 0.0;
    std::array<std::int32_t, 5> m_ints { 112, 0, 1, 0, -1 };
    std::array<double, 3> m_doubles {};
    std::uint32_t m_value4001 = 0;
    std::vector<CKnepPointCalc> m_points;
    CVector m_origin { 0.0, 0.0, 0.85 };
    CVector m_axis1 { 1.0, 0.0, 0.0 };
    CVector m_axis2 { 0.0, 1.0, 0.0 };
    CVector m_direction1 { 1.0, 0.0, 0.0 };
    CVector m_direction2 { 0.0, 0.0, 1.0 };
    /** Where the two counts stand in the file; the reflectance follows them. */
    std::size_t m_countsAt = 0;

    void Serialize(kzev::Archive& ar, std::int32_t version);
    static constexpr std::size_t kMinRecordBytes = 1 + 2 * 4 + 8 + 5 * 4 + 3 * 8 + 4 + 5 * 24;
};

/** A daylight window system; read and dropped. */
class CKnepWindowSystem {
public:
    std::string m_name;

    void Serialize(kzev::Archive& ar, std::int32_t version);
    static constexpr std::size_t kMinRecordBytes = 1 + 2 * 4 + 8 + 4 * 4 + 4 * 8 + 6 * 24;
};

/** A daylight obstacle system. */
class CKnepXSystem {
public:
    std::string m_name;
    std::array<std::int32_t, 2> m_flags { 1, 1 };
    std::array<double, 2> m_doubles { 0.5, 0.0 };
    std::array<std::int32_t, 3> m_ints { 0, 1, 0 };
    std::array<std::uint32_t, 2> m_values { 1, 1 };
    std::uint32_t m_colour = 0xFFFFFF;
    std::uint32_t m_last = 0xFFFFFFFF;
    std::array<CVector, 6> m_vectors {};
    /** Where the two flags (the counts) stand in the file; the two doubles follow them. */
    std::size_t m_flagsAt = 0;

    CKnepXSystem();
    void Serialize(kzev::Archive& ar, std::int32_t version);
    static constexpr std::size_t kMinRecordBytes = 1 + 2 * 4 + 2 * 8 + 3 * 4 + 2 * 4 + 6 * 24;
};

/** A daylight room with its work planes, windows and obstacles. */
class CKnepRoom {
public:
    std::string m_name;
    std::int32_t m_k = 0;
    double m_d1 = 3.0;
    double m_d2 = 6.0;
    double m_d3 = 10.0;
    /** Ceiling, four walls, floor and a seventh value. */
    std::array<double, 7> m_reflectances { 0.7, 0.5, 0.5, 0.5, 0.5, 0.3, 0.7 };
    std::int32_t m_l = 0;
    std::vector<CKnepWorkSystem> m_workSystemsA;
    std::vector<CKnepWorkSystem> m_workSystemsB;
    std::vector<CKnepWindowSystem> m_windowsA;
    std::vector<CKnepWindowSystem> m_windowsB;
    std::vector<CKnepXSystem> m_obstacles;
    std::array<std::vector<std::string>, 3> m_stringLists;
    CVector m_position { 0.0, 0.0, 0.0 };
    /** Where the three dimensions (D3, D2, D1) and the reflectances stand in the file. */
    std::size_t m_dimensionsAt = 0;
    std::size_t m_reflectancesAt = 0;

    CKnepRoom();
    void Serialize(kzev::Archive& ar, std::int32_t version);
    static constexpr std::size_t kMinRecordBytes = 1 + 4 + 3 * 8 + 9 * 4 + 4 + 8 + 4 * 4 + 7 * 8 + 3 * 4 + 5 * 4 + 3 * 2 + 24;
};

/** A daylight building: its rooms. */
class CKnepBuilding {
public:
    std::string m_name;
    std::vector<CKnepRoom> m_rooms;

    /** Holds one default room, as a new building does. */
    CKnepBuilding();
    void Serialize(kzev::Archive& ar, std::int32_t version);
    static constexpr std::size_t kMinRecordBytes = 1 + 2 * 4 + 2 * 8 + 3 * 4 + 2 * 4 + 4 + 6 * 24;
};
