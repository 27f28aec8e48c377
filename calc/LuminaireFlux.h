#pragma once

#include <optional>

class CLampSystem;
class CLuminaire;

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

} // namespace kzev
