#pragma once

#include "model/CWorkSystem.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kzev {
class Archive;
}

/**
 * A mode ("Režim") of a room: a name and the mode's own calculation surfaces
 * (walls, ceiling, floor and obstacle faces), which the inter-reflection
 * rebuilds for the mode. The visual-task areas belong to the room and name
 * their mode by index.
 */
class CLampState {
public:
    std::string m_name;                  ///< the mode's name
    std::vector<CWorkSystem> m_surfaces; ///< calculation surfaces, owned by value

    /** Makes a mode named "Soustava svítidel 1" without surfaces. */
    CLampState();

    /**
     * Stores the name and the surfaces. Loading appends the surfaces read to
     * those the mode already holds.
     */
    void Serialize(kzev::Archive& ar);

    /** Returns the smallest record a mode can have. */
    [[nodiscard]] static constexpr std::size_t MinRecordBytes() { return 1 + 4; }

    bool operator==(const CLampState&) const = default;
};
