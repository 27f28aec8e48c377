#pragma once

#include <string>

namespace kzev {

/** Justification of a DXF text (group 72): the given point is its left end, centre or right end. */
enum DxfTextJustify : int { kDxfLeft = 0, kDxfCentre = 1, kDxfRight = 2 };

// The group-code writer of the DXF export. Each function appends complete
// group pairs (the code right-aligned in three characters, then the value) to
// the text of the file. Numbers are written in the C locale whatever the
// user's locale, so the file reads alike on every machine.

/** Appends 0 SECTION, 2 ENTITIES. */
void DxfWriteEntitiesHeader(std::string& out);
/** Appends 0 ENDSEC, 0 EOF. */
void DxfWriteTrailer(std::string& out);
/** Appends a LINE in the plane z = 0. */
void DxfWriteLine2D(std::string& out, double x1, double y1, double x2, double y2, int colour, const std::string& layer);
/** Appends a LINE between two points in space. */
void DxfWriteLine3D(std::string& out, double x1, double y1, double z1, double x2, double y2, double z2, int colour,
    const std::string& layer);
/**
 * Appends a TEXT in colour 7 at (x, y), turned by the angle in degrees. A
 * centred or right-justified text also gets its alignment point; its first
 * point is estimated with every character 0.75 of the height wide. The height
 * is written with one decimal, or with six when one would lose it.
 */
void DxfWriteText(std::string& out, int justification, double x, double y, double height, double angle,
    const std::string& text, const std::string& layer);

} // namespace kzev
