#pragma once

#include "model/CVector.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CPointCalc;
class CWorkSystem;

namespace kzev {

/**
 * Returns whether a room-surface area of the surface code is left out of the
 * view of the view code: the surface between the viewer and the plan (the
 * ceiling in the floor view, wall 3 when looking at wall 1, ...). Surface
 * codes outside 0 to 5 and view codes outside 112 to 117 leave nothing out.
 */
[[nodiscard]] bool surfaceLeftOutInView(std::int32_t surfaceCode, std::int32_t viewCode);

/** Returns the illuminance of a room-surface point: the sum of its two surface components. */
[[nodiscard]] double pointTotalValue(const CPointCalc& point);

/**
 * Returns the shade factor of the false-colour map: 0.64453125 for 0 up to
 * 0.99609375 for the maximum, or nothing when the maximum is not above 0
 * (no results, all dark): then the map is not drawn at all. Values outside
 * 0 to the maximum are held to its ends.
 */
[[nodiscard]] std::optional<double> falseColourShade(double value, double maximum);

/** Returns the colour 0x00BBGGRR with each channel times the shade, truncated. */
[[nodiscard]] std::uint32_t shadedColour(std::uint32_t colour, double shade);

/** One filled cell of the false-colour map: four room corners and its colour. */
struct FalseColourCell {
    std::array<CVector, 4> corners;
    std::uint32_t colour = 0;
};

/**
 * Returns the cells of the false-colour map of the surface areas in the view
 * code (DrawFalseColourMap): every point of every area not left out gets the
 * cell around it in its area's colour, shaded by value × reflectance against
 * the largest such value. Nothing when that maximum is not above 0; an area
 * with fewer points than its counts promise is skipped.
 */
[[nodiscard]] std::vector<FalseColourCell> falseColourCells(
    const std::vector<CWorkSystem>& areas, std::int32_t viewCode);

/** A value written at a point of the plan. */
struct ValueLabel {
    CVector at;
    std::string text;
    std::uint32_t colour = 0; ///< 0x00BBGGRR
};

inline constexpr std::uint32_t kLabelBlack = 0x000000;
inline constexpr std::uint32_t kLabelGreen = 0x00FF00; ///< minimum
inline constexpr std::uint32_t kLabelRed = 0x0000FF;   ///< maximum

/**
 * Returns the smallest and largest value the area's points show for its quantity code, with its view
 * settings' daylight options as they are now (points in obstacles left out); the stored summary when
 * no point counts.
 */
[[nodiscard]] std::pair<double, double> areaValueRange(const CWorkSystem& area);

/**
 * Returns the value labels of a visual-task area (DrawWorkSystemResults): one
 * per point not in an obstacle, formatted by magnitude, green where its text
 * reads as the area's minimum and red where it reads as the maximum.
 */
[[nodiscard]] std::vector<ValueLabel> pointValueLabels(const CWorkSystem& area);

/**
 * Returns the value labels of a room-surface area (DrawPointValueTexts):
 * the surface illuminance of every point as "%1.0f", or its luminance
 * (× reflectance / pi) when asLuminance is set.
 */
[[nodiscard]] std::vector<ValueLabel> surfaceValueLabels(const CWorkSystem& area, bool asLuminance);

} // namespace kzev
