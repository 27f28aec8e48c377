#pragma once

#include "model/CLamp.h"
#include "model/CLuminaire.h"

#include <cstdint>
#include <vector>

namespace kzev {

/**
 * The document's luminaire and lamp lists as the passes see them, indexed
 * like the lamp systems' luminaire and lamp indexes. Lookups return null for
 * an index outside the lists, so an unresolved lamp system never reads past
 * them. The luminaires are writable for the one fix the direct pass makes
 * (a luminaire without width is laid out as a square).
 */
class CalcCatalogue {
public:
    CalcCatalogue(std::vector<CLuminaire>& luminaires, const std::vector<CLamp>& lamps)
        : m_luminaires(&luminaires)
        , m_lamps(&lamps)
    {
    }

    [[nodiscard]] CLuminaire* luminaire(std::int32_t index) const
    {
        return index >= 0 && static_cast<std::size_t>(index) < m_luminaires->size()
            ? &(*m_luminaires)[static_cast<std::size_t>(index)]
            : nullptr;
    }
    [[nodiscard]] const CLamp* lamp(std::int32_t index) const
    {
        return index >= 0 && static_cast<std::size_t>(index) < m_lamps->size()
            ? &(*m_lamps)[static_cast<std::size_t>(index)]
            : nullptr;
    }

private:
    std::vector<CLuminaire>* m_luminaires;
    const std::vector<CLamp>* m_lamps;
};

/** Index of the luminous length and width in CLuminaire::m_luminousDimensions. */
inline constexpr std::size_t kLuminousLength = 0;
inline constexpr std::size_t kLuminousWidth = 1;

} // namespace kzev
