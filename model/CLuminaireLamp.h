#pragma once

#include <cstdint>
#include <string>

namespace kzev {
class Archive;
}

/**
 * One entry of the project's list of used luminaire and lamp combinations:
 * the texts the legends print, the identity of luminaire and lamp, the lamp
 * flux, and how many switched-on luminaires use it since the last rebuild.
 */
class CLuminaireLamp {
public:
    std::string m_luminaireName;
    std::string m_luminaireType;
    std::string m_manufacturer;
    std::string m_lampDescription;
    /** "IP.." or a class beginning with "I". */
    std::string m_protection;
    /** Name in the sibling module's lamp list; "*" when there is none. */
    std::string m_legendName = "*";
    std::int32_t m_luminaireRecord = -1;
    std::int32_t m_luminaireDatabase = -1;
    std::int32_t m_lampRecord = -1;
    std::int32_t m_lampDatabase = -1;
    /** Lamp flux of the lamp systems using the entry, lumen. */
    double m_lampFlux = 0.0;
    /** 1 when a lamp system used the entry at the last rebuild; not stored. */
    std::int32_t m_used = 0;
    /** Switched-on luminaires using the entry; not stored. */
    std::int32_t m_count = 0;

    /** Stores or loads the entry's record; it has no version test of its own. */
    void Serialize(kzev::Archive& ar);
};
