#pragma once

#include "model/COneLampSystem.h"
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
 * An arrangement of luminaires of one type with one lamp in a room: a regular
 * grid given by origin, two pitches and two counts, or a non-regular set of
 * single luminaires. Holds its luminaires by value, the identity of luminaire
 * and lamp in the makers' databases, the lumen-method and limiting-luminance
 * values of its design page, and its binding to a source system it is derived
 * from.
 */
class CLampSystem {
public:
    CLampSystem();

    std::string m_name;
    /** First luminaire; a negative z stands for "at the mounting height". */
    CVector m_origin { 0.0, 0.0, -1.0 };
    CVector m_pitch1 { 0.0, 0.0, 0.0 };
    CVector m_pitch2 { 0.0, 0.0, 0.0 };
    CVector m_opticalAxis { 0.0, 0.0, -1.0 };
    CVector m_c0Axis { 0.0, 1.0, 0.0 };
    std::int32_t m_count1 = 1;
    std::int32_t m_count2 = 1;
    /** "Naklonění", degrees. */
    double m_tilt = 0.0;
    /** "Natočení", degrees. */
    double m_turn = 0.0;
    /** "Otočení", degrees. */
    double m_rotation = 90.0;
    /** Index into the document's luminaire list, filled on resolution; not stored. */
    std::int32_t m_luminaireIndex = -1;
    /** Index into the document's lamp list, filled on resolution; not stored. */
    std::int32_t m_lampIndex = -1;
    std::int32_t m_luminaireRecord = 0;
    std::int32_t m_luminaireDatabase = 0;
    std::int32_t m_lampRecord = 0;
    std::int32_t m_lampDatabase = 0;
    /** Maintained average illuminance, lux: input and result of the lumen method. */
    double m_em = 300.0;
    /** Lumen-method illuminances A1 to A7, lux. */
    std::array<double, 7> m_lumenA {};
    double m_workPlaneHeight = 0.0;
    double m_mountingHeight = 0.0;
    double m_maintenanceFactor = 0.8;
    /** Total count used and returned by the lumen method. */
    std::int32_t m_numberOfLuminaires = 1;
    /** Lumen-method luminances B1 to B6, cd/m². */
    std::array<double, 6> m_lumenB {};
    std::string m_luminaireName;
    std::string m_lampName;
    std::int32_t m_generalPitch = 0;
    std::int32_t m_generalOrientation = 0;
    std::int32_t m_centreOnLayout = 1;
    /** Kept and copied for the property pages; not stored. */
    std::int32_t m_pageState = 0;
    /** 1 by angles, 2 by a direction point, 3 by a vector. */
    std::int32_t m_axisEntry = 1;
    std::int32_t m_selectedLuminaire = 0;
    std::int32_t m_nonRegular = 0;
    /** 1 = the whole system is neither drawn nor calculated. */
    std::int32_t m_switchedOff = 0;
    std::int32_t m_directApply = -1;
    std::int32_t m_catalogueGroup = 0;
    std::vector<COneLampSystem> m_luminaires;
    /** Limiting-luminance method, per viewing direction. */
    std::array<double, 2> m_criticalAngles {};
    /** Per viewing direction and gamma 45, 55, 65, 75, 85 degrees. */
    std::array<std::array<double, 5>, 2> m_luminance {};
    std::array<std::array<double, 5>, 2> m_limit {};
    std::array<std::array<std::int32_t, 5>, 2> m_pass {};
    std::array<std::int32_t, 2> m_verdicts {};
    /** Flux of one lamp, lumen. */
    double m_lampFlux = 0.0;
    /** 1 = m_lampFlux is the user's and wins over the catalogue flux. */
    std::int32_t m_ownFlux = 0;
    /** 1 − calculation uncertainty, set with the maintenance factor. */
    double m_uncertaintyFactor = 1.0;
    /** 0 mirror X, 1 mirror Y, 2 diagonal, 3 shift; −1 unbound. */
    std::int32_t m_bindingType = -1;
    /** Index of the source system in the room; −1 = none. */
    std::int32_t m_sourceSystem = -1;
    CVector m_bindingVector { 0.0, 0.0, 0.0 };
    /** Index in the list of used luminaires, written by the legend; not stored. */
    std::int32_t m_legendIndex = -1;

    /**
     * The most luminaires a regular layout may have (count 1 × count 2, and
     * each count): far more than any project holds; a file that asks for
     * more is refused.
     */
    static constexpr std::int64_t kMaxLuminaires = 65536;

    /** Stores or loads the lamp-system record, skipping what older versions lack. */
    void Serialize(kzev::Archive& ar);

    /** Returns the smallest record a lamp system can have in any file version. */
    [[nodiscard]] static constexpr std::size_t MinRecordBytes()
    {
        // name, ids, lumen method, flags, angles, limiting cells, luminaire count, three vectors
        return 1 + 4 * 4 + 8 + 5 * 8 + 8 + 4 + 10 * 8 + 7 * 4 + 3 * 8 + 4 + 2 * 8 + 2 * 4 + 10 * 20 + 4 + 3 * 24;
    }

    /** Gives every luminaire exactly one mode factor per mode of the room. */
    void FitModeFactors(std::size_t modeCount);
};
