#pragma once

#include "dialogs/areas/VisualTaskLayout.h"
#include "model/CWorkSystem.h"

#include <functional>
#include <string_view>

class CKzevDoc;

namespace kzev {

/**
 * The visual-task area dialog without its window: the working copy of one
 * area of a room, the layouts on it, and the write-back on OK. Nothing
 * reaches the document before OK, except a new area laid out at opening.
 */
class VisualTaskSession {
public:
    VisualTaskSession(CKzevDoc& doc, int room, int area);

    /** Whether the room and the area exist. */
    [[nodiscard]] bool valid() const { return m_valid; }
    [[nodiscard]] CWorkSystem& working() { return m_working; }
    [[nodiscard]] const CWorkSystem& working() const { return m_working; }
    [[nodiscard]] RoomExtents extents() const;
    [[nodiscard]] int roomIndex() const { return m_room; }
    [[nodiscard]] int areaIndex() const { return m_area; }

    /**
     * The steps of opening: a new area in a room over 100 m long takes ten
     * times its pitches, is laid out by pitch and written into the document
     * at once with the display switches of a new area.
     */
    void open();

    [[nodiscard]] AreaOrientation orientation() const { return m_orientation; }
    void setOrientation(AreaOrientation orientation);
    /** Takes the quantity and sets the display switches that go with it. */
    void setQuantity(std::int32_t code);
    /**
     * Takes typed counts. The preview draws the grid from its counts; the
     * point array is made once, on OK, so typing a large count costs nothing.
     */
    void setCounts(std::int32_t first, std::int32_t second);

    /**
     * Takes a typed length (in the document's unit) into the target, in
     * metres; a text that reads no length keeps the target and gives false.
     */
    bool takeLength(double& target, std::string_view typed) const;
    /** Takes typed counts; false, and the counts kept, when either is no whole number from 0. */
    bool takeCounts(std::string_view first, std::string_view second);
    /** Takes a typed reflectance from 0 to 1; false, and the reflectance kept, for any other text. */
    bool takeReflectance(std::string_view typed);
    /** Takes a typed whole number of the observer's directions; false, and the target kept, for any other text. */
    static bool takeWhole(std::int32_t& target, std::string_view typed);

    bool fromWalls = false;
    bool layOutByPitch();
    bool layOutByCount();
    void centre();
    /** Fits the grid between two corners picked in the CAD drawing; false when its pitches cannot say. */
    bool layOutByCadCorners(const CadCorners& corners);
    /** Moves the origin in plan by the document's length step (dx, dy of −1, 0 or 1). */
    void move(int dx, int dy);

    enum class OkResult { Written, CountTooLarge, DirectionsOutOfRange, DaylightDeclined };
    /**
     * Writes the working copy back into the room when its counts are allowed
     * and a loss of daylight values is accepted (the question is asked only
     * then); the room's results become out of date and the project modified.
     */
    OkResult ok(const std::function<bool()>& acceptDaylightLoss);

private:
    void writeBack();

    CKzevDoc& m_doc;
    int m_room;
    int m_area;
    bool m_valid = false;
    CWorkSystem m_working;
    AreaOrientation m_orientation = AreaOrientation::Horizontal;
    bool m_daylightLoss = false;
};

/** The table of given values: a header row of x, a header column of y (millimetres), the values. */
[[nodiscard]] std::vector<std::vector<std::string>> valueTableCells(const CWorkSystem& area);

/**
 * Stores the table's values back into the points; a decimal comma is read as
 * the point it stands for, and a cell that is no number keeps the point's value.
 */
void storeValueTable(CWorkSystem& area, const std::function<std::string(int row, int column)>& cell);

} // namespace kzev
