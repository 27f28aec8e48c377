#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CKzevDoc;
class CRoom;

namespace kzev {

/**
 * What the point-calculation page shows and edits: the calculation switches
 * of the room, its surface division and uncertainty, and the document's
 * steps and calculation options, as the controls hold them (numbers as the
 * texts of their combo boxes and edits).
 */
struct PointCalcValues {
    std::int32_t computeIlluminance = 0;
    std::int32_t computeUgr = 0;
    std::int32_t computeGr = 0;
    std::int32_t computeRoadLuminance = 0;
    std::int32_t reflectedComponent = 0;
    std::int32_t wallReflections = 0;
    std::int32_t testPoints = 0;
    std::string divisionRatio;
    std::string elementarySize;
    std::string minimumSize;
    std::string iterations;
    std::string lengthStep;
    std::string angleStep;
    std::string cylinderStep;
    std::int32_t immediateCalc = 0;
    std::int32_t saveBeforeCalc = 0;
    std::string uncertainty;
    std::int32_t printUncertainty = 0;

    bool operator==(const PointCalcValues&) const = default;
};

/** The text shown for an elementary surface that is not divided. */
inline constexpr const char* kNoDivisionText = "<Nedělit>";

/** Returns the page's values for the room and the document, in the unit of lengths the document uses. */
[[nodiscard]] PointCalcValues fillPointCalc(const CKzevDoc& doc, const CRoom& room);

/**
 * Writes the values back: the room's settings, with the document marked
 * modified and the room's up-to-date marks cleared where a change affects
 * results, and the document's steps and options. Switching the reflected
 * component off drops the calculation surfaces of the room's modes (the
 * results of the reflected pass); the page has asked first.
 */
void storePointCalc(CKzevDoc& doc, CRoom& room, const PointCalcValues& values);

/**
 * Asks whether the reflected component may be switched off when that drops
 * calculated surfaces of the room's modes; true when the user agrees or
 * nothing would be lost. The room's visual-task areas are never touched.
 */
[[nodiscard]] bool confirmReflectionOff(const CRoom& room);

/** The drop-down items of the page's combo boxes; the lengths in the document's unit. */
struct PointCalcLists {
    std::vector<std::string> divisionRatio;
    std::vector<std::string> elementarySize;
    std::vector<std::string> minimumSize;
    std::vector<std::string> iterations;
    std::vector<std::string> lengthStep;
    std::vector<std::string> angleStep;
    std::vector<std::string> cylinderStep;
};
[[nodiscard]] PointCalcLists pointCalcLists(std::int32_t unitMm);

} // namespace kzev
