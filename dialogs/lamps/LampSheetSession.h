#pragma once

#include "model/CLampSystem.h"

#include <optional>

class CKzevDoc;
class CRoom;

namespace kzev {

/**
 * The lamp-system sheet without its window: the snapshot of the room's lamp
 * systems taken as it opens, the working copy its pages edit, the push of
 * the working copy into the document while it is open, and the three ways
 * out: OK keeps the working copy, Cancel restores the snapshot, Esc keeps
 * what was pushed.
 */
class LampSheetSession {
public:
    LampSheetSession(CKzevDoc& doc, int room, int lampSystem);

    /** Takes the snapshot and the working copy; false when the room or the lamp system does not exist. */
    bool Begin();
    [[nodiscard]] CLampSystem& working() { return m_working; }
    [[nodiscard]] int room() const { return m_room; }
    [[nodiscard]] int lampSystem() const { return m_lampSystem; }

    /** Copies the working copy into the document; the room's results are out of date then. */
    void Push();
    /** Keeps the working copy with the page that was active; marks the project modified. */
    void Ok(int activePage);
    /** Puts the room's lamp systems back as they were when the sheet opened, and the validity of its results. */
    void Cancel();
    /** Leaves the document as the pages pushed it; a pushed change still counts as a change of the project. */
    void Escape();

private:
    [[nodiscard]] CRoom* roomOfDocument() const;
    [[nodiscard]] CLampSystem* systemOfDocument() const;

    CKzevDoc& m_doc;
    int m_room;
    int m_lampSystem;
    CLampSystem m_working;
    struct ResultMarks {
        std::int32_t resultsValid = 0;
        std::int32_t surfacesUpToDate = 0;
    };
    ResultMarks m_openedResults;
    bool m_pushed = false;
    bool m_begun = false;
};

} // namespace kzev
