#pragma once

#include <cstdint>
#include <vector>

namespace kzev {

/** Result codes of the point conversions, with the values the automation world gives them. */
using CadResult = std::int32_t;
inline constexpr CadResult kCadOk = 0;
inline constexpr CadResult kCadInvalidArg = static_cast<CadResult>(0x80070057u);
inline constexpr CadResult kCadOutOfMemory = static_cast<CadResult>(0x8007000Eu);
inline constexpr CadResult kCadBadIndex = static_cast<CadResult>(0x8002000Bu);
/** The status of an omitted optional argument. */
inline constexpr CadResult kCadParamNotFound = static_cast<CadResult>(0x80020004u);
/** The status of a server error raised by the CAD program (a cancelled prompt among them). */
inline constexpr CadResult kCadException = static_cast<CadResult>(0x80020009u);

/** Variant types used by the CAD link. */
inline constexpr std::uint16_t kVtEmpty = 0;
inline constexpr std::uint16_t kVtI4 = 3;
inline constexpr std::uint16_t kVtR8 = 5;
inline constexpr std::uint16_t kVtError = 10;
inline constexpr std::uint16_t kVtArray = 0x2000;

/**
 * A value passed to or returned by a CAD automation call: empty, a long, an
 * omitted argument, or an array of doubles with its bounds (a point is a
 * one-dimensional array of three doubles with lower bound 0).
 */
struct CadVariant {
    std::uint16_t type = kVtEmpty;
    std::int32_t longValue = 0;
    std::int32_t errorCode = 0;
    /** Number of array dimensions; the doubles are stored flat. */
    std::int32_t dimensions = 0;
    std::int32_t lowerBound = 0;
    std::vector<double> values;

    [[nodiscard]] static CadVariant empty() { return {}; }
    /** Returns the omitted optional argument. */
    [[nodiscard]] static CadVariant omitted();
    [[nodiscard]] static CadVariant fromLong(std::int32_t value);
    /** Returns a one-dimensional array of doubles with lower bound 0. */
    [[nodiscard]] static CadVariant doubles(std::vector<double> values);
    [[nodiscard]] bool isOmitted() const { return type == kVtError && errorCode == kCadParamNotFound; }
};

/** Makes the point VARIANT of x, y, z: an array of three doubles with bounds 0..2. */
CadResult CreatePointSafeArray(CadVariant& out, double x, double y, double z);
/** Reads a point VARIANT of exactly three doubles; any other shape leaves the output untouched. */
CadResult VariantToPoint3d(double (&out)[3], const CadVariant& value);
/** Reads a vertex VARIANT of exactly two doubles; any other shape leaves the output untouched. */
CadResult VariantToPoint2d(double (&out)[2], const CadVariant& value);

} // namespace kzev
