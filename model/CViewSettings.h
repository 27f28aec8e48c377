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

/**
 * How a room or a visual-task area is shown and printed: the switches of the
 * plan's layers and labels, eight colours (0x00BBGGRR), the view code, the
 * isoline values of the four result quantities as typed texts, their limit
 * values and the daylight options of the values page. Members follow the
 * order of the record (V1 to V53).
 */
class CViewSettings {
public:
    static constexpr std::uint32_t kWhite = 0xFFFFFF;
    static constexpr std::uint32_t kGreen = 0x00FF00;
    static constexpr std::uint32_t kBlue = 0xFF0000;
    static constexpr std::uint32_t kRed = 0x0000FF;

    std::string m_title;                      ///< V1
    std::int32_t m_draw3D = 1;                ///< V2 "&3D zobrazení"
    std::int32_t m_drawRoom = 1;              ///< V3
    std::int32_t m_drawObstacles = 1;         ///< V4
    std::int32_t m_drawPoints = 0;            ///< V5
    std::int32_t m_fillSurfaces = 1;          ///< V6
    std::int32_t m_surfaceLabels = 0;         ///< V7
    std::int32_t m_pointLabels = 0;           ///< V8
    std::int32_t m_relief = 0;                ///< V9
    std::int32_t m_isolines = 0;              ///< V10
    std::int32_t m_luminaires = 1;            ///< V11
    std::int32_t m_lampSystemLabels = 0;      ///< V12
    std::int32_t m_luminaireAxes = 0;         ///< V13
    std::int32_t m_luminaireCoordinates = 0;  ///< V14
    std::int32_t m_luminaireCharacteristics = 0; ///< V15
    std::int32_t m_luminaireType = 0;         ///< V16
    std::int32_t m_glareMarks = 0;            ///< V17
    std::int32_t m_displaySwitch = 0;         ///< V18 (user setting DrawOgl)
    std::int32_t m_print = 1;                 ///< V19
    std::array<std::uint32_t, 8> m_colors{};  ///< V20 to V27
    std::vector<std::string> m_isoIlluminance; ///< V28, lux
    std::vector<std::string> m_isoUgr;        ///< V29
    std::vector<std::string> m_isoLuminance;  ///< V30, cd/m²
    std::vector<std::string> m_isoGr;         ///< V31
    std::int32_t m_showIlluminance = 1;       ///< V32
    std::int32_t m_showRoadLuminance = 0;     ///< V33
    std::int32_t m_showUgr = 1;               ///< V34
    std::int32_t m_showGr = 0;                ///< V35
    std::int32_t m_allAreas = 1;              ///< V36
    double m_illuminanceLimit = 500.0;        ///< V37, lux
    double m_luminanceLimit = 1.0;            ///< V38, cd/m²
    double m_ugrLimit = 19.0;                 ///< V39
    double m_grLimit = 50.0;                  ///< V40
    double m_brightness = 0.5;                ///< V41 "Jas" of the visualisation, 0 to 1
    double m_perspective = 0.0;               ///< V42 "Perspektiva", -100 to 100
    std::int32_t m_viewCode = 112;            ///< V43: 112 floor, 113 ceiling, 114 to 117 walls
    double m_intensityCurveScale = 0.05;      ///< V44 "Měřítko charakteristiky": drawn length per cd
    std::int32_t m_glareMarkSize = 7;         ///< V45 "Velikost značek oslnění"
    CVector m_viewVector1{ 0.0, 0.0, 0.0 };   ///< V46; zero so that saving twice gives the same bytes
    CVector m_viewVector2{ 0.0, 0.0, 0.0 };   ///< V47; likewise
    double m_displayValue5 = 0.5;             ///< V48
    double m_displayValue6 = 0.5;             ///< V49
    std::int32_t m_artificialOff = 0;         ///< V50 "Vypnout umělou osvětlenost"
    std::int32_t m_addDaylight = 0;           ///< V51 "Přičíst denní osvětlenost"
    std::int32_t m_daylightAvailable = 0;     ///< V52: 1 offers the two daylight switches
    double m_outdoorIlluminance = 20000.0;    ///< V53, lux

    /** Makes the defaults: white four times, then green, blue, red and red. */
    CViewSettings();
    /** Makes the defaults with the eight colours given (a room passes white for all). */
    explicit CViewSettings(const std::array<std::uint32_t, 8>& colors);

    /** Stores the current layout, or loads the layout of the process-wide file version. */
    void Serialize(kzev::Archive& ar);

    /** Returns the smallest record view settings can have in any file version. */
    [[nodiscard]] static constexpr std::size_t MinRecordBytes()
    {
        // title, 16 LONGs, 8 colours, 3 doubles and 2 LONGs, 2 vectors, 4 list counts
        return 1 + 16 * 4 + 8 * 4 + 3 * 8 + 2 * 4 + 2 * 24 + 4 * 2;
    }

    bool operator==(const CViewSettings&) const = default;
};
