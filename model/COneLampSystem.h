#pragma once

#include "model/CVector.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kzev {
class Archive;
}

/**
 * One luminaire of a lamp system: where it hangs, where it points, how it is
 * turned about its optical axis, whether it is switched off, and its share of
 * output in each mode of its room (entry k belongs to the room's mode k).
 */
class COneLampSystem {
public:
    /** Reference point in room coordinates, metres. */
    CVector m_position { 0.0, 0.0, -1.0 };
    /** Direction of gamma 0; not necessarily a unit vector. */
    CVector m_opticalAxis { 0.0, 0.0, -1.0 };
    /** Direction of the C0 half-plane: the turn about the optical axis. */
    CVector m_c0Axis { 1.0, 0.0, 0.0 };
    /** 1 = switched off, contributes to no calculation. */
    std::int32_t m_switchedOff = 0;
    /** Output share per mode of the room, 1.0 = full output. */
    std::vector<double> m_modeFactors { 1.0 };

    /** Stores or loads the record; the factors are read only from version 1016 on. */
    void Serialize(kzev::Archive& ar);

    /**
     * Gives the luminaire exactly one factor per mode: missing ones are added
     * at full output, ones beyond the room's modes are dropped.
     */
    void FitModeFactors(std::size_t modeCount);

    bool operator==(const COneLampSystem&) const = default;

    /** Returns the factor of a mode, 0 for a mode the luminaire has no entry for. */
    [[nodiscard]] double ModeFactor(std::size_t mode) const;
};
