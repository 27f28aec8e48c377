#pragma once

#include "model/CLuminaire.h"

#include <cmath>
#include <cstddef>
#include <vector>

namespace kzev {

/**
 * A luminaire's intensity table as the passes read it, built once per pass:
 * the same values and the same bilinear interpolation as
 * CLuminaire::GetIntensity, so the same results (none outside the gammas the
 * photometry covers), but a read at angles already in range needs no range
 * fixing. Entry c × 181 + gamma as in the luminaire; one spare entry after
 * the last keeps the reads at gamma 180 of plane 359 inside the table.
 */
class IntensityTable {
public:
    /** Entries per C plane (gamma 0 to 180). */
    static constexpr int kGammas = 181;
    /** The largest C a read takes: GetIntensity reads C 360 as this. */
    static constexpr double kLastC = 359.9999;

    explicit IntensityTable(const CLuminaire& luminaire);

    /** The intensity at (C, gamma) in degrees, angles out of range brought in as GetIntensity does. */
    [[nodiscard]] double value(double c, double gamma) const;

    /**
     * The intensity at C in 0 to kLastC and gamma in 0 to 180 as GetIntensity reads it:
     * entry is cWhole × 181 + gammaWhole, the rests what is left over of each angle;
     * 0 outside the gammas the photometry covers.
     */
    [[nodiscard]] double read(double entry, double cRest, double gammaRest, double gamma) const
    {
        if (!(gamma >= m_firstGamma + 1.0 && gamma <= m_lastGamma - 1.0)) {
            double held = gamma;
            if (!CLuminaire::HoldWithinCovered(held, m_firstGamma, m_lastGamma))
                return 0.0;
            if (held != gamma) {
                entry += held - std::floor(gamma);
                gammaRest = 0.0;
            }
        }
        return interpolate(data() + static_cast<std::size_t>(entry), cRest, gammaRest);
    }

    /** The entries, C plane after C plane. */
    [[nodiscard]] const double* data() const { return m_values.data(); }

    /**
     * The intensity at C in 0 to kLastC and gamma in 0 to 180, from the entry
     * at the whole angles below them (data() + cWhole × 181 + gammaWhole) and
     * what is left over of each angle.
     */
    [[nodiscard]] static double interpolate(const double* e, double cRest, double gammaRest)
    {
        double i0 = e[0];
        double i1 = e[kGammas];
        // Within a thousandth of a degree of a whole gamma the table's own value is taken, as
        // GetIntensity does.
        if (gammaRest > 0.999) {
            i0 = e[1];
            i1 = e[kGammas + 1];
        } else if (gammaRest >= 0.001) {
            i0 += (e[1] - e[0]) * gammaRest;
            i1 += (e[kGammas + 1] - e[kGammas]) * gammaRest;
        }
        return cRest >= 0.001 ? i0 + (i1 - i0) * cRest : i0;
    }

private:
    std::vector<double> m_values;
    double m_firstGamma = 0.0;
    double m_lastGamma = 180.0;
};

} // namespace kzev
