#pragma once

#include "model/CLuminaire.h"
#include "model/COneLampSystem.h"
#include "model/CVector.h"

namespace kzev {

/**
 * The body of one luminaire as the plan and the 3-D view draw it: the unit
 * frame of its entry (u the optical axis, v the second axis, w across both)
 * and the luminaire's three dimensions.
 */
struct LuminaireBody {
    CVector u;
    CVector v;
    CVector w;
    double d1 = 0.0;
    double d2 = 0.0;
    double d3 = 0.0;

    [[nodiscard]] static LuminaireBody of(const COneLampSystem& entry, const CLuminaire& luminaire)
    {
        LuminaireBody body;
        body.u = entry.m_opticalAxis.Normalized();
        body.v = entry.m_c0Axis.Normalized();
        body.w = CrossProduct(body.u, body.v).Normalized();
        body.d1 = luminaire.m_overallDimensions[0];
        body.d2 = luminaire.m_overallDimensions[1];
        body.d3 = luminaire.m_overallDimensions[2];
        return body;
    }

    /** Returns the diameter of a round body: its width, or its length where the width is missing. */
    [[nodiscard]] double diameter() const { return d2 > 0.0 ? d2 : d1; }
};

} // namespace kzev
