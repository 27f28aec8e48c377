#pragma once

#include <functional>

class CKzevDoc;
class CLampSystem;

namespace kzev {

/**
 * What the pages of the lamp-system sheet share: the document, the room and
 * lamp-system indexes, the sheet's working copy, and the push that copies
 * the working copy into the document while the sheet is open.
 */
struct LampSheetContext {
    CKzevDoc* doc = nullptr;
    int room = -1;
    int lampSystem = -1;
    CLampSystem* working = nullptr;
    std::function<void()> push;
};

/** A page of the lamp-system sheet: filled as it is shown, written back as it is left. */
class ILampSheetPage {
public:
    virtual ~ILampSheetPage() = default;
    /** Fills the page from the working copy. */
    virtual void OnSetActive() = 0;
    /** Writes the page into the working copy and pushes it into the document. */
    virtual void OnKillActive() = 0;
};

} // namespace kzev
