#pragma once

#include <cstdint>
#include <string>

/**
 * One lamp type of a maker's database ("Lamps$"): identity, group, texts,
 * power, life, flux, the two parameters of the maintenance factor and the
 * colour rendering. Never stored in a project; loaded again by its identity
 * pair (database number, record number).
 */
class MakerWorkbook;

class CLamp {
public:
    std::int32_t m_databaseNumber = 0;
    /** "Věta". */
    std::int32_t m_recordNumber = 0;
    std::int32_t m_group = 0;
    std::int32_t m_subgroup = 0;
    std::string m_type;
    std::string m_name;
    /** Watts; a luminaire's power shared by its lamps need not be whole. */
    double m_power = 0.0;
    /** Hours. */
    std::int32_t m_life = 0;
    /** Lumen. */
    double m_luminousFlux = 0.0;
    double m_gamma = 0.0;
    double m_tau = 0.0;
    double m_ppr = 0.0;
    /** Ra; 0.001 or less means not given. */
    double m_colourRendering = 0.0;
    /** 1 for a clear lamp. */
    std::int32_t m_clear = 0;
    /** Set by the constructor and copied; nothing here changes it. */
    std::int32_t m_flag = 1;

    /**
     * Loads the lamp from its maker's workbook; 1 when found and read. On 0
     * the object is left as it was; with showMessages 0 no message box appears.
     */
    int LoadFromDatabase(long databaseNumber, long recordNumber, int showMessages);
    /** The same, from the maker's workbook the caller keeps open for several records. */
    int LoadFromDatabase(MakerWorkbook& workbook, long databaseNumber, long recordNumber, int showMessages);
    /** Returns "T8,36W/840,36W,3350lm,20000hod,Ra 85"; a flux of 0 or more replaces the lamp's own. */
    [[nodiscard]] std::string GetDescription(double flux) const;
};

namespace kzev {

/** A lamp power as the catalogue shows it: whole watts as "36", others with their decimals ("7.5"). */
[[nodiscard]] std::string lampPowerText(double watts);

/** A catalogue figure (a power, a light output ratio) as shown: "65", "64.97", "7.75". */
[[nodiscard]] std::string catalogueFigureText(double value);

} // namespace kzev
