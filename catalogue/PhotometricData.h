#pragma once

#include <string>
#include <vector>

namespace kzev {

/**
 * The photometry of one luminaire as read from a EULUMDAT or IES file, before it
 * goes into a maker's workbook: the stored C-planes with their gammas and
 * intensities in cd/klm, the symmetry code and the catalogue fields.
 *
 * The plane angles are kept in the range the symmetry code covers, ascending:
 * 0..360 for code 0, the single plane 0 for code 1, 0..180 for code 2,
 * 270..450 for code 3 (270 through 360 to 90, unwrapped) and 0..90 for code 4.
 */
struct PhotometricData {
    /** 0 none, 1 rotational, 2 about C0-C180, 3 about C90-C270, 4 about both. */
    int symmetry = 0;
    /** C-plane count and C step as the file's header gives them. */
    int headerPlaneCount = 0;
    double headerCStep = 0.0;
    /** Gamma count and gamma step as the file's header gives them. */
    int headerGammaCount = 0;
    double headerGammaStep = 0.0;

    /** Angles of the stored planes (degrees, ascending, see above). */
    std::vector<double> planeAngles;
    /** Gamma angles (degrees, ascending). */
    std::vector<double> gammaAngles;
    /** Intensities in cd/klm, plane by plane, gammas within a plane. */
    std::vector<double> intensities;
    /** Steps between stored planes and between gammas (degrees). */
    double cStep = 0.0;
    double gammaStep = 0.0;

    /** Catalogue fields; dimensions in millimetres. */
    std::string maker; ///< the file's maker: EULUMDAT line 1, IES [MANUFAC]
    std::string luminaireNumber;
    std::string luminaireName;
    std::string lampType;
    std::string fileNameField;
    double length = 0.0;
    double width = 0.0;
    double height = 0.0;
    double luminousLength = 0.0;
    double luminousWidth = 0.0;
    double luminousHeight = 0.0;
    int lampCount = 0;
    /** Watts of all lamps together and the light output ratio in per cent, as the file gives them. */
    double totalWattage = 0.0;
    double lightOutputRatio = 0.0;
    /** Lamp flux (lm) the cd/klm refer to: lamps x lumens, or the luminaire's own flux. */
    double lampFlux = 0.0;
    /** Whether the file gave absolute photometry. */
    bool absolute = false;

    /** Number of gammas per stored plane. */
    [[nodiscard]] int gammaCount() const { return static_cast<int>(gammaAngles.size()); }
    /** Number of stored planes. */
    [[nodiscard]] int planeCount() const { return static_cast<int>(planeAngles.size()); }

    /** Returns the stored intensity of a plane and a gamma (by index). */
    [[nodiscard]] double value(int plane, int gamma) const;

    /**
     * Returns the intensity at (c, gamma) interpolated linearly in gamma on the two
     * neighbouring stored planes and then linearly in C. Angles outside the stored
     * range take the nearest edge; for code 0 the circle closes from the last plane
     * back to plane 0 at 360.
     */
    [[nodiscard]] double InterpolateMeasured(double c, double gamma) const;

    /**
     * Returns the intensity in any direction (c in 0..360) by the public meaning of
     * the symmetry code; gammas outside the measured range give 0.
     */
    [[nodiscard]] double intensityAt(double c, double gamma) const;

    /** Whether planes and gammas already lie on uniform steps. */
    [[nodiscard]] bool isUniform() const;

    /**
     * Brings planes and gammas onto uniform steps that start at the first stored
     * angle and end at the last; code 0 is closed with a plane at 360.
     */
    void ResampleToUniformGrid();

    /** Keeps every second plane of a full-circle 1-degree table (C step 2). */
    void HalveCPlanes();

    /**
     * Returns the luminous flux of the stored distribution in the intensities'
     * unit times steradian (cd/klm gives lm per 1000 lm of lamp flux).
     */
    [[nodiscard]] double integratedFlux() const;
};

/**
 * Returns the luminous flux of a table of intensities (in the unit times sr)
 * over the given stored planes and gammas, expanded by the symmetry code.
 * Linear in gamma, integrated exactly against sin(gamma); trapezoids in C.
 */
[[nodiscard]] double integrateFlux(int symmetry, const std::vector<double>& planeAngles,
    const std::vector<double>& gammaAngles, const std::vector<double>& intensities);

} // namespace kzev
