#pragma once

#include <string>

class CKzevDoc;
class CRoom;

namespace kzev {

// Deleting the objects of a project. Each removes the object from its array,
// keeps every index that pointed into the array right (bound lamp systems,
// the luminaires' per-mode factors, the areas' modes and bound areas), clears
// the room's results where they no longer hold, and marks the project
// modified.

/** What a deletion did: deleted, or refused with the message to show (empty for a silent refusal). */
struct DeleteResult {
    bool deleted = false;
    std::string refusal;
};

/** Returns whether lamp system i may be deleted: it exists, is bound to nothing and nothing is bound to it. */
[[nodiscard]] bool canDeleteLampSystem(const CRoom& room, int index);
/** Returns whether mode i may be deleted: it exists and is not the room's last mode. */
[[nodiscard]] bool canDeleteMode(const CRoom& room, int index);

/** Deletes the room; the rooms behind it move down. */
DeleteResult deleteRoom(CKzevDoc& doc, int room);

/**
 * Deletes a lamp system that takes part in no binding (refused otherwise, so
 * that no caller can leave a bound system without its source); every bound
 * system whose source stood behind it follows its source.
 */
DeleteResult deleteLampSystem(CKzevDoc& doc, int room, int index);

/** Deletes a visual-task area; areas bound to a later area follow it, those bound to this one are freed. */
DeleteResult deleteWorkSystem(CKzevDoc& doc, int room, int index);

/** Deletes an obstacle system. */
DeleteResult deleteObstacleSystem(CKzevDoc& doc, int room, int index);

/**
 * Deletes a mode that no visual-task area belongs to: refused with
 * "Režim nelze odstranit / je přiřazen místu úkolu ..." naming the first such
 * area, and silently for the room's last mode. Every luminaire loses the
 * mode's factor, and areas of later modes keep their mode.
 */
DeleteResult deleteMode(CKzevDoc& doc, int room, int index);

} // namespace kzev
