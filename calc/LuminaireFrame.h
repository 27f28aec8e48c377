#pragma once

#include "model/CVector.h"

class COneLampSystem;

namespace kzev {

/** The photometric angles of one direction out of a luminaire, in degrees. */
struct PhotometricAngles {
    double c = 0.0;     ///< C-plane, 0 to below 360, counted from C0 towards C90
    double gamma = 0.0; ///< from the optical axis, 0 to 180
};

/**
 * The unit axes of one luminaire as it is aimed: its own optical axis and C0
 * axis, and the C90 axis that follows from them. Built once per luminaire,
 * it turns directions into the C and gamma angles of the intensity table by
 * the convention of the direct pass.
 */
class LuminaireFrame {
public:
    explicit LuminaireFrame(const COneLampSystem& luminaire);

    /** Returns C and gamma of the direction from the luminaire towards a target. */
    [[nodiscard]] PhotometricAngles anglesTowards(const CVector& direction) const;

    [[nodiscard]] const CVector& optical() const { return m_optical; }

private:
    CVector m_reference; // C0
    CVector m_optical;   // gamma 0
    CVector m_length;    // C90
};

} // namespace kzev
