#pragma once

#include "model/CVector.h"

#include <array>
#include <optional>

namespace kzev {

/** Where the 3-D camera stands and looks, and how large the scene is across the view. */
struct GLEyeTarget {
    CVector eye;
    CVector target;
    double sceneSize = 0.0;
};

/**
 * The camera of the 3-D view. It looks at the room from outside along the
 * view direction of the plan (112 from above, 113 from below, 114 to 117
 * towards the walls), as far from the scene as the scene is large.
 */
class GLCamera {
public:
    /**
     * Returns the eye, target and scene size for the view code, the scene
     * extents, the room's position and the distance offset (applied x 0.1);
     * none for a code outside 112 to 117.
     */
    [[nodiscard]] static std::optional<GLEyeTarget> eyeTarget(int viewCode, const std::array<double, 3>& sceneMinimum,
        const std::array<double, 3>& sceneMaximum, const CVector& roomPosition, double distanceOffset);
    /** Returns the up vector of the view code: y for the floor and ceiling views, z for the walls. */
    [[nodiscard]] static CVector up(int viewCode);
    /**
     * Moves the eye for one wheel notch: forward (delta above 0) brings it
     * nearer by the step along the axis the view code looks along, but never
     * nearer to the target than kNearestEye along it, so that the eye stays on
     * its side of the target and the picture never turns over.
     */
    [[nodiscard]] static CVector wheelEye(int viewCode, const CVector& eye, const CVector& target, double wheelStep,
        int delta);
    /** The nearest the wheel brings the eye to the target along the view axis (the near plane's distance), m. */
    static constexpr double kNearestEye = 1.0;
    /**
     * Returns the point moved by a middle drag of dx, dy pixels: 0.05 room
     * units per pixel, across the view so that the scene follows the mouse.
     */
    [[nodiscard]] static CVector dragStep(int viewCode, const CVector& point, int dx, int dy);
};

/** Returns 0.5 x (1 + log10(10 x v / M x rho)): 1 at the maximum, 0.5 at a tenth, 0 at a hundredth. */
[[nodiscard]] double GLBrightnessFromValue(double value, double maximum, double reflectance);

/**
 * Returns the step in whole degrees with which a round body is drawn from the
 * angle increment: its whole-degree part, but never below 1 degree so that
 * the circle always closes.
 */
[[nodiscard]] int roundBodyStep(double angleIncrement);

} // namespace kzev
