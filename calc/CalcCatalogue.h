#pragma once

#include "calc/IntensityTable.h"
#include "model/CLamp.h"
#include "model/CLuminaire.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace kzev {

/**
 * The document's luminaire and lamp lists as the passes see them, indexed
 * like the lamp systems' luminaire and lamp indexes. Lookups return null for
 * an index outside the lists, so an unresolved lamp system never reads past
 * them. The luminaires are writable for the one fix the direct pass makes
 * (a luminaire without width is laid out as a square).
 *
 * A catalogue lives for one calculation run (or one design command): the
 * intensity tables it hands out are built at their first request and kept
 * until it goes, so every pass and thread of the run reads the same ones.
 * A run after a luminaire was changed takes a new catalogue and so new tables.
 */
class CalcCatalogue {
public:
    CalcCatalogue(std::vector<CLuminaire>& luminaires, const std::vector<CLamp>& lamps)
        : m_luminaires(&luminaires)
        , m_lamps(&lamps)
        , m_tables(std::make_shared<TableCache>())
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

    /**
     * The intensity table of the luminaire at the index, as the luminaire
     * stood when the table was first asked for; null for an index outside
     * the list. The table stays where it is while the catalogue (or a copy
     * of it) lives; safe to call from any thread.
     */
    [[nodiscard]] const IntensityTable* intensityTable(std::int32_t index) const;

private:
    struct TableCache {
        std::mutex lock;
        std::vector<std::unique_ptr<const IntensityTable>> tables; // by luminaire index, built when asked
    };

    std::vector<CLuminaire>* m_luminaires;
    const std::vector<CLamp>* m_lamps;
    std::shared_ptr<TableCache> m_tables;
};

/** Index of the luminous length and width in CLuminaire::m_luminousDimensions. */
inline constexpr std::size_t kLuminousLength = 0;
inline constexpr std::size_t kLuminousWidth = 1;

} // namespace kzev
