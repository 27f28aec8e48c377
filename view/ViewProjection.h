#pragma once

#include "model/CVector.h"
#include "platform/DrawSurface.h"

#include <array>
#include <cstdint>

class CRoom;

namespace kzev {

/** The six views of the plan, by their stored codes. */
namespace ViewCode {
inline constexpr int Floor = 112;
inline constexpr int Ceiling = 113;
inline constexpr int Wall1 = 114;
inline constexpr int Wall2 = 115;
inline constexpr int Wall3 = 116;
inline constexpr int Wall4 = 117;
} // namespace ViewCode

/** Device rectangle onto which the scene is fitted; on screen bottom > top. */
struct PlanRect {
    int left = 0;
    int bottom = 0;
    int right = 0;
    int top = 0;
};

/** Everything the plan layout needs besides the scene. */
struct LayoutInput {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool print = false;
    int topOffset = 0;
    int gap = 0;
    /** Height of "Áj" in the current font. */
    int textHeight = 0;
    /** Output scale (1.0 on screen). */
    double outputScale = 1.0;
    /** Room's plan zoom factor. */
    double zoom = 1.0;
    /** Room's print scale denominator n of 1:n (0 fits the page, negative as on screen). */
    int printScale = 0;
    /** Page margins in millimetres. */
    int marginLeft = 0;
    int marginRight = 0;
    int marginBottom = 0;
    /** On screen: the plan stands in the middle of the room left around it, not in its lower left corner. */
    bool centre = false;
};

/**
 * The projection of room points (metres; x along the length, y along the
 * width, z up) onto the device for one of the six view codes: the scene's
 * bounding box, the plan rectangle it is fitted to, and a parallel
 * projection with an optional pull of deep points towards a vanishing point.
 * The screen, the printed page and the mouse share it.
 */
class ViewProjection {
public:
    /** Stores the view code; codes outside 112 to 117 project like the floor view. */
    void setViewCode(int code) { m_viewCode = code; }
    [[nodiscard]] int viewCode() const { return m_viewCode; }
    void setDepthEffect(bool on) { m_depthEffect = on; }
    void setVanishingFractions(double horizontal, double vertical);

    /** Sets the box: from the origin to the room's size, widened by obstacles and luminaires; zero without a room. */
    void computeSceneExtents(const CRoom* room);
    void setSceneExtents(const std::array<double, 3>& minimum, const std::array<double, 3>& maximum);
    /** Widens the box to hold the point, each coordinate on its own; a point on the box changes nothing. */
    void ExtendSceneExtents(const CVector& p);
    [[nodiscard]] const std::array<double, 3>& sceneMinimum() const { return m_min; }
    [[nodiscard]] const std::array<double, 3>& sceneMaximum() const { return m_max; }

    /** Horizontal extent HX of the current view. */
    [[nodiscard]] double horizontalExtent() const;
    /** Vertical extent HY of the current view. */
    [[nodiscard]] double verticalExtent() const;

    /** Computes the plan rectangle and the vanishing point. */
    void computePlanLayout(const LayoutInput& input);
    void setPlanRect(const PlanRect& plan) { m_plan = plan; }
    [[nodiscard]] const PlanRect& planRect() const { return m_plan; }
    [[nodiscard]] DevicePoint vanishingPoint() const { return m_vanishing; }

    /** Projects a room point onto the device. */
    [[nodiscard]] DevicePoint project(double x, double y, double z) const;
    /**
     * Returns the room point that projects onto the device point and whose
     * coordinate along the viewing direction (z for floor and ceiling, y for
     * walls 1 and 3, x for walls 2 and 4) is the one given. Exact up to the
     * rounding to device units.
     */
    [[nodiscard]] std::array<double, 3> unproject(int px, int py, double depthCoordinate) const;

    /** Distance of two points measured in the two axes the view shows (all three for other codes). */
    [[nodiscard]] double distanceInViewPlane(double x1, double x2, double y1, double y2, double z1, double z2) const;
    /** 1 when both shown coordinates lie between their bounds (inclusive, either order); 1 for other codes. */
    [[nodiscard]] int testInViewPlaneRange(double x, double xBound1, double xBound2, double y, double yBound1,
        double yBound2, double z, double zBound1, double zBound2) const;

private:
    struct ViewAxes {
        double h;
        double v;
        double depth;
    };
    [[nodiscard]] ViewAxes axesOf(double x, double y, double z) const;

    int m_viewCode = ViewCode::Floor;
    bool m_depthEffect = false;
    double m_fractionH = 0.5;
    double m_fractionV = 0.5;
    std::array<double, 3> m_min {};
    std::array<double, 3> m_max {};
    PlanRect m_plan;
    DevicePoint m_vanishing;
};

/** n times the integer part of the output scale: marks and widths on paper. */
[[nodiscard]] int scaleSize(int n, double outputScale);

} // namespace kzev
