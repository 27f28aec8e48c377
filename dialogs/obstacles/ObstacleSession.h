#pragma once

#include "model/CXSystem.h"

#include <cstdint>
#include <optional>
#include <string>

class CKzevDoc;
class CRoom;

namespace kzev {

/**
 * The obstacle system dialog without its window: the working copy of one
 * obstacle system of a room, the buttons' arithmetic on it and the
 * write-back on OK. The room's calculation marks are cleared by the first
 * change and come back on Storno.
 */
class ObstacleSession {
public:
    ObstacleSession(CKzevDoc& doc, int room, int obstacle);

    /** Whether the room and the obstacle system exist. */
    [[nodiscard]] bool valid() const { return m_valid; }
    [[nodiscard]] CXSystem& working() { return m_working; }
    [[nodiscard]] const CXSystem& working() const { return m_working; }
    [[nodiscard]] int roomIndex() const { return m_room; }
    [[nodiscard]] int obstacleIndex() const { return m_obstacle; }
    [[nodiscard]] bool modified() const { return m_modified; }

    /** Ends the opening: from now on a change counts, and the marks as they are now come back on Storno. */
    void endOpening();
    /** Notes a change and clears the room's calculation marks; nothing while the dialog opens. */
    void markModified();

    /** A length as the edits show it, by the document's unit. */
    [[nodiscard]] std::string lengthText(double metres) const;
    /** A typed length in metres; a decimal comma counts, a text that is no length gives none. */
    [[nodiscard]] std::optional<double> lengthOf(const std::string& text) const;

    /** Moves the position by the document's length step (dx, dy each −1, 0 or 1). */
    void step(int dx, int dy);
    /** Counts from the pitches and the room's size; false when both pitches are too short to say. */
    bool countsFromPitches();
    /** Centres the array in the room's plan; z stays. */
    void centre();

    /** What two points picked in the CAD drawing give. */
    enum class CadPick { Box, Length, Width, Height, Pitch1, Pitch2 };
    /**
     * Takes two points picked in the CAD drawing (in the user's unit): the
     * whole box between two corners, placed in the room (its height the
     * room's when both corners lie at one height), or one edge or pitch as
     * the vector from the first point to the second. Counts as a change.
     */
    void takeCadPoints(CadPick pick, const CVector& first, const CVector& second);
    /**
     * Takes the colour into the working copy and, at once, into every
     * calculation area of the room's modes that covers a face of this system.
     */
    void setColour(std::uint32_t colour);

    /** Whether the counts can be drawn and computed. */
    [[nodiscard]] bool countsAllowed() const { return m_working.IsWithinLimits(); }
    /**
     * Writes the working copy into the room (its switch in the project tree
     * stays the room's); the project becomes modified when anything changed.
     */
    void ok();
    /** Puts the room's calculation marks back as they were at opening. */
    void cancel();

private:
    [[nodiscard]] CRoom* room();

    CKzevDoc& m_doc;
    int m_room;
    int m_obstacle;
    bool m_valid = false;
    bool m_suppress = true;
    bool m_modified = false;
    CXSystem m_working;
    std::int32_t m_openedResults = 0;
    std::int32_t m_openedSurfaces = 0;
};

} // namespace kzev
