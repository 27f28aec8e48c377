#pragma once

#include "model/CLampSystem.h"
#include "model/CVector.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

class CKzevDoc;
class CRoom;

namespace kzev {

/** One luminaire block as a channel reads it from the drawing, in drawing units. */
struct LuminaireBlock {
    /** Text of the block's "SVITIDLO" attribute. */
    std::string attribute;
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    /** Rotation of the block in degrees. */
    double rotation = 0.0;
    /** The automation walks bring the orientation angle below 360; the extraction does not. */
    bool wrapAngle = false;
    /** Extrusion direction, when the channel reads it. */
    std::optional<CVector> normal;
};

/** The numbers of a luminaire attribute text that the import reads (fields 6 to 11). */
struct LuminaireBlockFields {
    long letter = 0;
    long number = 0;
    long database = 0;
    long record = 0;
    long lamp1 = 0;
    long lamp2 = 0;
};

/** Reads fields 6 to 11 of an attribute text split at single blanks; a missing or bad field is 0. */
[[nodiscard]] LuminaireBlockFields readLuminaireBlockFields(const std::string& attribute);

/** Returns the legend code of a letter index and number ("A12", or "A" for a number of 0 or below). */
[[nodiscard]] std::string luminaireCode(long letter, long number);

/** The two corners of the crossing window that selects a room's volume, in drawing units. */
struct CadSelectionWindow {
    CVector first;
    CVector second;
};

/**
 * Returns the window of the room: from its origin to its far corner at the
 * height 100000 (drawing units). The IntelliCAD-type walk starts it far
 * below the floor instead of at the origin's height.
 */
[[nodiscard]] CadSelectionWindow roomSelectionWindow(const CRoom& room, bool millimetres, bool fromFarBelow);

/** What an import did, for the report after it. */
struct LuminaireImportReport {
    int imported = 0;
    /** Blocks whose maker has no workbook in the data folder: maker number and count of blocks. */
    std::vector<std::pair<long, int>> unknownMakers;
    /** Blocks whose luminaire could not be identified or found in its maker's workbook. */
    int unidentified = 0;
    /** Blocks whose lamp could not be found. */
    int withoutLamp = 0;
    [[nodiscard]] int skipped() const;
};

/**
 * Turns luminaire blocks into the lamp systems of a room. The systems are
 * built aside, so the room keeps its own until the whole drawing was read
 * and commit() replaces them. Blocks of one luminaire and lamp at one
 * mounting height form one lamp system, each keeping its own position and
 * turn. A block of a maker without a workbook is counted and passed over
 * without opening anything; a luminaire or lamp that cannot be had is asked
 * for once, not once per block.
 */
class LuminaireBlockImport {
public:
    LuminaireBlockImport(CKzevDoc& document, const CRoom& room);

    /** Converts one block and adds it to its lamp system; false when it was passed over. */
    bool add(const LuminaireBlock& block);

    [[nodiscard]] const std::vector<CLampSystem>& systems() const { return m_systems; }
    [[nodiscard]] const LuminaireImportReport& report() const { return m_report; }

    /**
     * Replaces the room's lamp systems by the imported ones as one undo step,
     * clears the room's calculation state and marks the project modified.
     */
    void commit(CRoom& room);

private:
    /** Returns the luminaire identity (database, record) of the block, or none when it is passed over. */
    std::optional<std::pair<long, long>> identify(const LuminaireBlockFields& fields);
    bool makerKnown(long database);

    CKzevDoc& m_document;
    CVector m_roomOrigin;
    bool m_millimetres;
    std::size_t m_modeCount;
    std::vector<CLampSystem> m_systems;
    LuminaireImportReport m_report;
    std::set<long> m_knownMakers;
    std::set<std::pair<long, long>> m_failedLuminaires;
    std::set<std::pair<long, long>> m_failedLamps;
};

} // namespace kzev
