#pragma once

#include <cmath>
#include <numbers>

namespace kzev::dxfangle {

// The drawing holds its angles in radians; a DXF file holds degrees (group
// 50). Both turn counter-clockwise from the x axis, so only the unit
// differs. dxflib converts some of its angle fields when it reads and hands
// others over as the file has them. This is the one word on it:
//
//   field                   dxflib hands over
//   DL_TextData::angle      radians
//   DL_AttributeData::angle radians
//   DL_InsertData::angle    degrees
//   DL_MTextData::angle     radians or the file's degrees, by the version of
//                           a "999 dxflib" comment, and by a field it leaves
//                           unset when a file has none: never used; the
//                           reader takes group 50 (degrees) from the file
//
// The entities with an angle (TEXT, MTEXT, INSERT, ATTRIB) are written by
// hand, in degrees through fileDegrees().

enum class Field { Text, Attribute, Insert };

constexpr bool dxflibRadians(Field field) { return field != Field::Insert; }

/** Returns a dxflib angle field's value in radians. */
inline double fromDxflib(Field field, double value)
{
    return dxflibRadians(field) ? value : value * std::numbers::pi / 180.0;
}

/** Returns degrees as a file holds them, in radians. */
inline double fromFileDegrees(double degrees) { return degrees * std::numbers::pi / 180.0; }

/**
 * Returns the degrees written for an angle. They are kept to a billionth of a
 * degree, so that what is read back and written again gives the same digits.
 */
inline double fileDegrees(double radians)
{
    const double degrees = radians * 180.0 / std::numbers::pi;
    const double kept = std::round(degrees * 1e9) / 1e9;
    return kept == 0.0 ? 0.0 : kept;
}

/** Returns the angle as written, in radians: what the positions and directions written with it are worked from. */
inline double asWritten(double radians) { return fromFileDegrees(fileDegrees(radians)); }

} // namespace kzev::dxfangle
