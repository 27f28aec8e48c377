#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kzev {

/**
 * A luminaire's photometry as the passes read it: luminous intensity in
 * candela per 1000 lm of lamp flux for a C angle (0..360) and a gamma angle
 * (0..180), both in degrees, gamma counted from the optical axis.
 */
class IIntensityTable {
public:
    virtual ~IIntensityTable() = default;
    [[nodiscard]] virtual double intensity(double c, double gamma) const = 0;
};

/**
 * What the passes read of one luminaire type of the document's list. The
 * table is not owned: it lives as long as the document's luminaire does.
 */
struct CalcLuminaire {
    const IIntensityTable* table = nullptr;
    /** Luminous length and width, metres. */
    double length = 0.0;
    double width = 0.0;
    std::int32_t lampCount = 1;
    /** 1 to 6; read by the interior maintenance factor. */
    std::int32_t maintenanceCategory = 0;
    /** Protection text such as "IP65"; read by the outdoor maintenance factor. */
    std::string protection;
};

/** What the passes read of one lamp type of the document's list. */
struct CalcLamp {
    /** Lumen. */
    double flux = 0.0;
    /** Rated life, hours. */
    std::int32_t life = 0;
    /** Residual luminous-flux fraction ("Gama"). */
    double gamma = 0.0;
    /** Lumen-depreciation time constant in hours ("Tau"). */
    double tau = 0.0;
};

/**
 * The document's luminaire and lamp lists, indexed like the lamp systems'
 * luminaire and lamp indexes. Lookups return null for an index outside the
 * lists, so an unresolved lamp system never reads past them.
 */
struct CalcCatalogue {
    std::vector<CalcLuminaire> luminaires;
    std::vector<CalcLamp> lamps;

    [[nodiscard]] CalcLuminaire* luminaire(std::int32_t index)
    {
        return index >= 0 && static_cast<std::size_t>(index) < luminaires.size() ? &luminaires[static_cast<std::size_t>(index)] : nullptr;
    }
    [[nodiscard]] const CalcLuminaire* luminaire(std::int32_t index) const
    {
        return index >= 0 && static_cast<std::size_t>(index) < luminaires.size() ? &luminaires[static_cast<std::size_t>(index)] : nullptr;
    }
    [[nodiscard]] const CalcLamp* lamp(std::int32_t index) const
    {
        return index >= 0 && static_cast<std::size_t>(index) < lamps.size() ? &lamps[static_cast<std::size_t>(index)] : nullptr;
    }
};

} // namespace kzev
