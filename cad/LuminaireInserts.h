#pragma once

#include "model/CVector.h"

#include <string>
#include <vector>

class CKzevDoc;
class CLamp;
class CLuminaire;
class COneLampSystem;
class CRoom;

namespace kzev {

/** The legend letter number and legend number of a legend key ("C12" gives 3 and 12, "" gives -1 and -1). */
struct LegendNumbers {
    long letter = -1;
    long number = -1;
};
[[nodiscard]] LegendNumbers legendNumbers(const std::string& key);

/**
 * Returns the text of a luminaire block's first attribute: six fixed numbers,
 * the legend numbers of the key, the luminaire's catalogue file and record
 * numbers and the lamp's. The CAD import finds the luminaire and lamp by it.
 */
[[nodiscard]] std::string luminaireDataString(const std::string& key, const CLuminaire& luminaire, const CLamp& lamp);

/** Returns the number that begins at the fifth character of a block name, 0 when there is none. */
[[nodiscard]] int blockTypeNumber(const std::string& blockName);

/** Returns the insertion scale of a named block: DxfScale for types 31-40 and 51-56, else 100 (never below 0.001). */
[[nodiscard]] double blockScale(const std::string& blockName, int dxfScale);

/** Returns the plan rotation of a luminaire block in degrees, 0 to 360. */
[[nodiscard]] double planRotation(const COneLampSystem& position);

/** How luminaires go into a CAD drawing. */
struct InsertOptions {
    /** Every luminaire is the common block file, scaled to its dimensions. */
    bool genericBlock = false;
    /** Leading blanks of a block name are kept (the IntelliCAD-type model sends them). */
    bool keepLeadingBlanks = false;
};

/** One luminaire block to insert, in drawing units. */
struct LuminaireInsert {
    CVector point;
    std::string block;
    double scaleX = 1.0;
    double scaleY = 1.0;
    double scaleZ = 1.0;
    /** Plan rotation r in degrees. */
    double rotation = 0.0;
    /** Aimed away from straight down in a lamp system whose luminaires are tilted one by one. */
    bool tilted = false;
    /** Tilt, turn and rotation about the optical axis (degrees) of a tilted luminaire. */
    double tilt = 0.0;
    double turn = 0.0;
    double spin = 0.0;
    /** First attribute: the luminaire data string. */
    std::string data;
    /** Second attribute "POPIS": the legend key, empty when the legend has none. */
    std::string key;
};

/**
 * Returns the block insertions of the room's switched-on luminaires, lamp
 * system by lamp system in list order. A lamp system whose luminaire has no
 * block name, or whose luminaire or lamp cannot be had from the databases, is
 * left out with one line in the calculation log.
 *
 * Positions are the room's plus its origin (at the origin's height with
 * "Exportovat do výšky 0"), times 1000 in a project in millimetres. Block
 * scales are in millimetres of the drawing, so a project in metres gets them
 * a thousand times smaller.
 */
[[nodiscard]] std::vector<LuminaireInsert> luminaireInserts(CKzevDoc& document, const CRoom& room,
    const InsertOptions& options);

/** Returns the file of the common luminaire block in the program folder. */
[[nodiscard]] std::string genericBlockFile();

} // namespace kzev
