#pragma once

#include <cstdint>
#include <optional>
#include <vector>

class CLampSystem;
class COneLampSystem;
class CLuminaire;
class CRoom;

namespace kzev {

class CalcCatalogue;

/**
 * Returns the luminous flux of one luminaire of the lamp system: its number
 * of lamps times the system's own lamp flux when the own-flux flag is 1, else
 * times the catalogue flux of the system's lamp; none when that lamp is not
 * in the list.
 */
[[nodiscard]] std::optional<double> luminaireFlux(const CLampSystem& system, const CLuminaire& luminaire,
    const CalcCatalogue& catalogue);

/** A switched-on lamp system of a room with its luminaire and the flux of one of its luminaires. */
struct LitLampSystem {
    const CLampSystem* system;
    CLuminaire* luminaire;
    double flux;
};

/**
 * Returns the switched-on lamp systems of the room in array order. When one
 * has no luminaire or lamp in the lists, shows the message naming it and
 * returns none: a pass must not go on with part of the light missing.
 */
[[nodiscard]] std::optional<std::vector<LitLampSystem>> litLampSystems(const CRoom& room,
    const CalcCatalogue& catalogue);

/**
 * Returns the share of its output the luminaire gives in the mode: its
 * factor there, 0 when it is switched off or the mode leaves it dark (a
 * factor of 0.001 or less) or the mode is not one of the room's.
 */
[[nodiscard]] double outputInMode(const COneLampSystem& position, std::int32_t mode);

} // namespace kzev
