#pragma once

#include "model/CVector.h"

#include <cmath>

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
 * the convention of the direct pass: gamma by one acos of the component
 * along the optical axis, C by one atan2 of the components along C0 and C90.
 */
class LuminaireFrame {
public:
    explicit LuminaireFrame(const COneLampSystem& luminaire);

    /** Returns C and gamma of the direction from the luminaire towards a target. */
    [[nodiscard]] PhotometricAngles anglesTowards(const CVector& direction) const
    {
        return anglesTowards(direction, direction.Length());
    }

    /** The same for a direction whose length the caller has already worked out. */
    [[nodiscard]] PhotometricAngles anglesTowards(const CVector& direction, double length) const
    {
        PhotometricAngles angles;
        // Divided by the optical axis's own rounded length, gamma is AngleBetween's to the last bit.
        if (!(std::fabs(length) <= 1e-5) && !(std::fabs(m_opticalLength) <= 1e-5))
            angles.gamma = AngleOfCosine(DotProduct(direction, m_optical) / length / m_opticalLength);
        const double towardsC0 = DotProduct(direction, m_c0);
        const double towardsC90 = DotProduct(direction, m_length);
        // Along the optical axis the C plane is undefined; C0 is read there.
        if (towardsC0 * towardsC0 + towardsC90 * towardsC90 > 1e-10) {
            angles.c = RadToDeg(std::atan2(towardsC90, towardsC0));
            if (angles.c < 0.0)
                angles.c += 360.0;
        }
        return angles;
    }

    [[nodiscard]] const CVector& reference() const { return m_reference; }
    [[nodiscard]] const CVector& optical() const { return m_optical; }
    [[nodiscard]] const CVector& length() const { return m_length; }

private:
    CVector m_reference; // C0 as given
    CVector m_optical;   // gamma 0
    CVector m_length;    // C90
    CVector m_c0;        // C0 square to the optical axis, for the C angle
    double m_opticalLength;
};

} // namespace kzev
