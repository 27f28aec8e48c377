#pragma once

namespace kzev {

/** What changed the edited lamp system, so that the page shows the right fields. */
enum class LampChange { Move, Aim, Carry, LuminaireSelected, LuminaireSwitched };

/**
 * The open property dialog that handed its object to the view. The view
 * changes the object by the mouse and tells the dialog, which shows the new
 * values in its fields and keeps the document in step. While a link is set
 * the view's drags and double clicks work on the dialog's object.
 */
class IEditLink {
public:
    virtual ~IEditLink() = default;
    /** The page the sheet shows (lamp-system sheet: 1 the regular page, 2 the non-regular page). */
    [[nodiscard]] virtual int activePage() const { return -1; }
    /** The index in the room of the lamp system the sheet edits; -1 for other dialogs. */
    [[nodiscard]] virtual int editedLampSystemIndex() const { return -1; }
    /** A change of the edited lamp system begins: the page's values go into the document, one undo step is taken. */
    virtual void beginLampChange() {}
    /** The edited lamp system changed: the page shows it, its luminaires are laid out and the document follows. */
    virtual void lampSystemChanged(LampChange change) = 0;
    /** The edited obstacle system moved: the dialog shows its position. */
    virtual void obstaclesMoved() {}
    /** The edited area moved: the dialog shows its position and the areas bound to it follow. */
    virtual void areaMoved() {}
    /** Calculation points of the edited area were switched. */
    virtual void areaPointsSwitched() {}
    /** A change by the mouse has ended: the project counts as modified. */
    virtual void changeEnded() {}
};

} // namespace kzev
