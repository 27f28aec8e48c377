#pragma once

#include <cstdint>

namespace kzev {

/**
 * Quantity codes: which result a visual-task area evaluates. Areas keep the
 * code as a stored 32-bit number; any code without a name of its own reads
 * as the horizontal illuminance.
 */
enum class Quantity : std::int32_t {
    Ugr = 89,
    VerticalYMinus = 91,
    HorizontalZPlus = 93,
    Horizontal = 94,
    Cylindrical = 95,
    Spherical = 96,
    NormalPlus = 97,
    NormalMinus = 98,
    VerticalXPlus = 126,
    VerticalXMinus = 127,
    VerticalYPlus = 128,
    RoadLuminance = 141,
    Camera = 160,
    Gr = 161,
    DiffuseLuminancePlus = 166,
    DiffuseLuminanceMinus = 167,
    Given = 168,
};

[[nodiscard]] constexpr std::int32_t quantityCode(Quantity quantity)
{
    return static_cast<std::int32_t>(quantity);
}

// 1/pi with pi taken as 3.141592, so luminances match stored projects.
inline constexpr double kInversePi = 0.3183099524062959;

/**
 * Returns the point value position (1 to 23) that a quantity code shows; for
 * 166 and 167 the normal illuminance that the luminance is derived from.
 */
[[nodiscard]] int pointValueOfQuantity(std::int32_t code);

/**
 * Returns the summary slot (0 to 14) that a quantity code reads; -1 for the
 * GR code 161, whose figures stand apart from the blocks.
 */
[[nodiscard]] int summarySlotOfQuantity(std::int32_t code);

/** Returns whether the code is a luminance of a diffuse surface (166, 167): value × ρ / pi. */
[[nodiscard]] constexpr bool isDiffuseLuminance(std::int32_t code)
{
    return code == quantityCode(Quantity::DiffuseLuminancePlus)
        || code == quantityCode(Quantity::DiffuseLuminanceMinus);
}

} // namespace kzev
